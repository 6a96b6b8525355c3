#include "CheckCommand.h"
#include "DiffCommand.h"
#include "SessionTool.h"
#include "SetlistCommand.h"
#include "SongsCommands.h"
#include "TransferCommands.h"
#include "WatchCommand.h"

#include "model/Diagnostics.h"

#include "PedalVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {

// The commands: what they take, their usage and what they do (the help of the program and
// of each command come from here). An option name ending in '=' takes a value.
struct Command
{
    const char *name;
    const char *usage; // the arguments after the name; one line per form
    const char *description;
    const char *options;
    int files;          // the positional arguments it needs
    const char *needed; // the usage error when they are missing
    int (*run)(const QCommandLineParser &args);
};

const Command commands[] = {
    {"new", "[-o OUT]", "Writes the factory session.", "o=", 0, "", SessionTool::newCommand},
    {"open", "FILE [-o OUT] [--accept-legacy]", "Opens a session file as the editor does and writes it as Save would.",
     "o= accept-legacy", 1, "a session file is needed", SessionTool::openCommand},
    {"json", "FILE [--accept-legacy]", "Prints a session file as JSON.", "accept-legacy", 1, "a session file is needed",
     SessionTool::jsonCommand},
    {"upload", "FILE --page PAGE [--accept-legacy]",
     "Prints exactly what sending the page (or all) writes to the pedal.", "page= accept-legacy", 1,
     "a session file is needed", SessionTool::uploadCommand},
    {"send",
     "FILE --port DEVICE --page PAGE [--timeout SECONDS] [--log LOG] [--accept-legacy]\n"
     "FILE --port DEVICE --changes-from BASE [--timeout SECONDS] [--log LOG] [--accept-legacy]",
     "Sends a session file to the pedal: a page, all, or only what differs from BASE.",
     "port= page= changes-from= timeout= log= accept-legacy", 1, "a session file is needed", sendCommand},
    {"watch", "FILE --port DEVICE [--base BASE] [--timeout SECONDS] [--log LOG] [--accept-legacy]",
     "Sends a session file to the pedal, then what each save of it changes.", "port= base= timeout= log= accept-legacy",
     1, "a session file is needed", watchCommand},
    {"receive", "--port DEVICE --page PAGE [--base FILE] [-o OUT] [--timeout SECONDS] [--log LOG] [--accept-legacy]",
     "Loads a page (or all) from the pedal and writes the session file.",
     "port= page= base= o= timeout= log= accept-legacy", 0, "", receiveCommand},
    {"flash", "IMAGE --port DEVICE [--log LOG]", "Writes a firmware image into the pedal.", "port= log=", 1,
     "a firmware image is needed", flashCommand},
    {"diff", "A B [--json] [--accept-legacy]",
     "Lists what differs between two session files (status 0 the same, 1 different).", "json accept-legacy", 2,
     "two session files are needed", diffCommand},
    {"setlist", "FILE [--format text|csv|markdown|pdf] [-o OUT] [--layout stage|compact] [--accept-legacy]",
     "Writes the setlist as text, CSV, Markdown or a PDF to print.", "format= o= layout= accept-legacy", 1,
     "a session file is needed", setlistCommand},
    {"check", "FILE [--json] [--accept-legacy]",
     "Lists what to mend in a session file before a gig (status 0 nothing found, 1 findings).", "json accept-legacy", 1,
     "a session file is needed", checkCommand},
    {"songs", "FILE [--csv] [-o OUT] [--accept-legacy]",
     "Writes the 128 songs of a session file as CSV (--csv, the form it writes).", "csv o= accept-legacy", 1,
     "a session file is needed", songsCommand},
    {"import-songs", "FILE CSV [-o OUT] [--accept-legacy]",
     "Takes the songs of a CSV file into a session file (status 1 when values are refused; OUT still takes the "
     "rest).",
     "o= accept-legacy", 2, "a session file and a CSV file are needed", importSongsCommand},
};

const char *const Pages = "PAGE is songs, setjacks, setlist, midi, global or all.";

int usageError(const QString &problem)
{
    SessionTool::err(problem);
    return 2;
}

// "usage: pedal-session NAME FORM" for each form of the command, then its description.
void printCommandHelp(const Command &command)
{
    QString text;
    for (const QString &form : QString::fromLatin1(command.usage).split(QLatin1Char('\n')))
        text += (text.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       "))
            + QStringLiteral("pedal-session %1 %2\n").arg(QLatin1String(command.name), form);
    text += QString::fromLatin1(command.description) + QLatin1Char('\n');
    if (QString::fromLatin1(command.options).contains(QLatin1String("page=")))
        text += QString::fromLatin1(Pages) + QLatin1Char('\n');
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

// The usage and the commands, one line each.
void printUsage(std::FILE *to)
{
    QString text = QStringLiteral("usage: pedal-session COMMAND ARGUMENTS...\n"
                                  "       pedal-session COMMAND --help\n"
                                  "       pedal-session --help | --version\n\ncommands:\n");
    // The descriptions line up after the longest name.
    qsizetype width = 10;
    for (const Command &command : commands)
        width = qMax(width, qsizetype(qstrlen(command.name)) + 2);
    for (const Command &command : commands)
        text += QStringLiteral("  %1%2\n")
                    .arg(QLatin1String(command.name), -int(width))
                    .arg(QLatin1String(command.description));
    std::fputs(text.toLocal8Bit().constData(), to);
}

int runCommand(const Command &command, const QStringList &args)
{
    QCommandLineParser parser;
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (QString name : QString::fromLatin1(command.options).split(QLatin1Char(' '))) {
        const bool takesValue = name.endsWith(QLatin1Char('='));
        if (takesValue)
            name.chop(1);
        parser.addOption(QCommandLineOption(name, QString(), takesValue ? QStringLiteral("value") : QString()));
    }
    if (!parser.parse(QStringList{QStringLiteral("pedal-session")} + args)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty()) // a value missing
            return usageError(parser.errorText());
        const QString dashes = unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
        return usageError(QStringLiteral("unexpected argument \"%1%2\"").arg(dashes, unknown.first()));
    }
    if (parser.isSet(QStringLiteral("help"))) {
        printCommandHelp(command);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > command.files)
        return usageError(QStringLiteral("unexpected argument \"%1\"").arg(files.at(command.files)));
    if (files.size() < command.files)
        return usageError(QString::fromLatin1(command.needed));
    return command.run(parser);
}

} // namespace

int main(int argc, char **argv)
{
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    // A PDF paints text, which needs the fonts of a QGuiApplication; on the offscreen
    // platform it needs no display.
    std::unique_ptr<QCoreApplication> app;
    if (setlistDrawsPages(raw)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Standard error keeps to this program's own lines: the platform's notes (a
        // runtime folder not set, fonts looked for) are not told.
        static const QtMessageHandler platformHandler = qInstallMessageHandler(nullptr);
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                platformHandler(type, context, text);
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Standard output holds only results; everything else goes to standard error.
    Diagnostics::setSink([](const QString &line) { SessionTool::err(line); });

    QStringList args = app->arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    if (args.first() == QLatin1String("--version") || args.first() == QLatin1String("-v")) {
        std::printf("pedal-session %s\n", PEDAL_VERSION);
        return 0;
    }
    const QString name = args.takeFirst();
    for (const Command &command : commands)
        if (name == QLatin1String(command.name))
            return runCommand(command, args);
    return usageError(QStringLiteral("unknown command \"%1\" (pedal-session --help lists the commands)").arg(name));
}
