#include "DiffCommand.h"
#include "SessionTool.h"
#include "TransferCommands.h"

#include "model/Diagnostics.h"

#include "PedalVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

// The commands and what they take. An option name ending in '=' takes a value.
struct Command
{
    const char *name;
    const char *options;
    int files;          // the positional arguments it needs
    const char *needed; // the usage error when they are missing
    int (*run)(const QCommandLineParser &args);
};

const Command commands[] = {
    {"new", "o=", 0, "", SessionTool::newCommand},
    {"open", "o= accept-legacy", 1, "a session file is needed", SessionTool::openCommand},
    {"json", "accept-legacy", 1, "a session file is needed", SessionTool::jsonCommand},
    {"upload", "page= accept-legacy", 1, "a session file is needed", SessionTool::uploadCommand},
    {"send", "port= page= changes-from= timeout= log= accept-legacy", 1, "a session file is needed", sendCommand},
    {"receive", "port= page= base= o= timeout= log= accept-legacy", 0, "", receiveCommand},
    {"flash", "port= log=", 1, "a firmware image is needed", flashCommand},
    {"diff", "json accept-legacy", 2, "two session files are needed", diffCommand},
};

int usageError(const QString &problem)
{
    SessionTool::err(problem);
    return 2;
}

int runCommand(const Command &command, const QStringList &args)
{
    QCommandLineParser parser;
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
    QCoreApplication app(argc, argv);
    // Standard output holds only results; everything else goes to standard error.
    Diagnostics::setSink([](const QString &line) { std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData()); });

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        SessionTool::printUsage(args.isEmpty() ? stderr : stdout);
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
    usageError(QStringLiteral("unknown command \"%1\"").arg(name));
    SessionTool::printUsage(stderr);
    return 2;
}
