// virtual-pedal: plays the pedal on a pseudo-terminal, so that the editor and
// pedal-session can be tried and tested without the pedal on the desk.

#include "PseudoTerminal.h"
#include "ReplyChunker.h"
#include "SignalWatcher.h"
#include "VirtualPedal.h"

#include "format/Encodings.h"
#include "format/SessionReader.h"
#include "format/SessionWriter.h"
#include "format/TextFileSaver.h"
#include "model/Diagnostics.h"
#include "model/Normaliser.h"

#include "PedalVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "virtual-pedal: %s\n", text.toLocal8Bit().constData());
}

bool parseCount(const QString &text, int minimum, int &out)
{
    qint64 value = 0;
    if (!Encodings::parseDigits(text, value, 10) || value < minimum || value > std::numeric_limits<int>::max())
        return false;
    out = int(value);
    return true;
}

// The event log: every line with the seconds since start (monotonic, to check pacing)
// and the wall-clock time.
class EventLog
{
public:
    bool open(const QString &path, QString &error)
    {
        if (path == QLatin1String("-")) {
            m_file.open(stderr, QIODevice::WriteOnly);
        } else {
            m_file.setFileName(path);
            if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
                error = m_file.errorString();
                return false;
            }
        }
        m_clock.start();
        return true;
    }
    bool isOpen() const { return m_file.isOpen(); }
    void write(const QString &line)
    {
        if (!m_file.isOpen())
            return;
        const double seconds = double(m_clock.nsecsElapsed()) / 1e9;
        const QString stamped =
            QStringLiteral("+%1 %2 %3\n")
                .arg(seconds, 0, 'f', 6)
                .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("hh:mm:ss.zzz")), line);
        m_file.write(stamped.toUtf8());
        m_file.flush();
    }

private:
    QFile m_file;
    QElapsedTimer m_clock;
};

// What the command line asks for.
struct Settings
{
    ReplyChunker chunker;
    int answerLimit = -1;
    QString logPath;
    QString sessionPath;
    QString savePath;
    QString linkPath;
};

// Status 2 for a command line it cannot use, as pedal-session's; -1 to go on.
constexpr int GoOn = -1;
constexpr int UsageError = 2;

// The values of --chunk-size, --random-chunks, --seed and --answer-limit.
int readCounts(const QCommandLineParser &parser, Settings &settings)
{
    const QString chunkOption = QStringLiteral("chunk-size");
    int chunkSize = 64;
    if (parser.isSet(chunkOption) && !parseCount(parser.value(chunkOption), 1, chunkSize)) {
        printError(QStringLiteral("--chunk-size needs a whole number of 1 or more"));
        return UsageError;
    }
    if (parser.isSet(QStringLiteral("random-chunks"))) {
        qint64 seed = 1;
        const QString seedOption = QStringLiteral("seed");
        if (parser.isSet(seedOption)
            && (!Encodings::parseDigits(parser.value(seedOption), seed, 10)
                || seed > std::numeric_limits<quint32>::max())) {
            printError(QStringLiteral("--seed needs a whole number"));
            return UsageError;
        }
        settings.chunker = ReplyChunker::random(chunkSize, quint32(seed));
    } else if (parser.isSet(chunkOption)) {
        settings.chunker = ReplyChunker::fixed(chunkSize);
    }
    const QString answerOption = QStringLiteral("answer-limit");
    if (parser.isSet(answerOption) && !parseCount(parser.value(answerOption), 0, settings.answerLimit)) {
        printError(QStringLiteral("--answer-limit needs a whole number of 0 or more"));
        return UsageError;
    }
    return GoOn;
}

// Step 1, the options: GoOn, or the status to end with.
int readOptions(const QStringList &arguments, Settings &settings)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays the pedal on a pseudo-terminal. Prints the device path on its first line of output "
                       "and runs until it is stopped (Ctrl-C, SIGTERM, SIGHUP)."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption linkOption(
        QStringLiteral("link"), QStringLiteral("Also make a symbolic link at <path> to the device (removed at exit)."),
        QStringLiteral("path"));
    const QCommandLineOption sessionOption(
        QStringLiteral("session"), QStringLiteral("Start from the session in <file> instead of the factory session."),
        QStringLiteral("file"));
    const QCommandLineOption saveOption(QStringLiteral("save"),
                                        QStringLiteral("Write the pedal's session to <file> when it ends."),
                                        QStringLiteral("file"));
    const QCommandLineOption chunkOption(
        QStringLiteral("chunk-size"),
        QStringLiteral("Write replies in chunks of <n> bytes (the largest chunk with --random-chunks; default 64)."),
        QStringLiteral("n"));
    const QCommandLineOption randomOption(QStringLiteral("random-chunks"),
                                          QStringLiteral("Write replies in chunks of random sizes."));
    const QCommandLineOption seedOption(
        QStringLiteral("seed"), QStringLiteral("Seed of the random chunk sizes (default 1)."), QStringLiteral("s"));
    const QCommandLineOption logOption(
        QStringLiteral("log"),
        QStringLiteral("Write every command and upload piece received, with times, to <file> (\"-\": standard error)."),
        QStringLiteral("file"));
    const QCommandLineOption answerOption(
        QStringLiteral("answer-limit"),
        QStringLiteral("Answer only the first <n> load requests, then stay silent (a pedal that stops answering)."),
        QStringLiteral("n"));
    parser.addOptions(
        {linkOption, sessionOption, saveOption, chunkOption, randomOption, seedOption, logOption, answerOption});
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return UsageError;
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        printError(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
        return UsageError;
    }
    settings.logPath = parser.value(logOption);
    settings.sessionPath = parser.value(sessionOption);
    settings.savePath = parser.value(saveOption);
    settings.linkPath = parser.value(linkOption);
    return readCounts(parser, settings);
}

// Step 2, the log (--log): false when it cannot be written.
bool openLog(EventLog &eventLog, const QString &path)
{
    QString error;
    if (path.isEmpty() || eventLog.open(path, error))
        return true;
    printError(QStringLiteral("cannot write the log %1: %2").arg(path, error));
    return false;
}

// Step 3, the pedal's session (--session): false when the file cannot be read.
bool loadSession(VirtualPedal &pedal, const QString &path)
{
    if (path.isEmpty())
        return true;
    SessionReader reader;
    reader.setLegacyAccepted(true); // a file of the older layout is read as far as it goes
    if (reader.readFile(path, pedal.session()) != SessionReader::Status::Read) {
        printError(reader.problem());
        return false;
    }
    reader.apply(pedal.session());
    Normaliser::normalise(pedal.session());
    return true;
}

// Step 4, the link to the device (--link): false when it would replace a file that is not
// a symbolic link, or cannot be made.
bool makeLink(const QString &linkPath, const QString &device)
{
    if (linkPath.isEmpty())
        return true;
    const QByteArray link = QFile::encodeName(linkPath);
    struct stat info
    {};
    if (::lstat(link.constData(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            printError(QStringLiteral("%1 exists and is not a symbolic link; it is left alone").arg(linkPath));
            return false;
        }
        ::unlink(link.constData());
    }
    if (::symlink(QFile::encodeName(device).constData(), link.constData()) != 0) {
        printError(
            QStringLiteral("cannot make the link %1: %2").arg(linkPath, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    return true;
}

// Only our own link: anything that replaced it in the meantime stays.
void removeLink(const QString &linkPath, const QString &device)
{
    if (linkPath.isEmpty())
        return;
    const QByteArray link = QFile::encodeName(linkPath);
    char target[4096] = {};
    const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
    if (n > 0 && QByteArray(target, int(n)) == QFile::encodeName(device))
        ::unlink(link.constData());
}

// --save: the pedal's session as a session file. Returns the exit status.
int saveSession(const VirtualPedal &pedal, const QString &path)
{
    if (path.isEmpty())
        return 0;
    SessionWriter writer;
    writer.setAllKeyFlags(true);
    const QString failure =
        TextFileSaver::writeAtomically(path, writer.write(pedal.session(), SessionWriter::Form::File));
    if (failure.isEmpty())
        return 0;
    printError(QStringLiteral("cannot save the session to %1: %2").arg(path, failure));
    return 1;
}

// Step 5, the run: the pedal answers on `pty` until a signal stops it.
void run(QCoreApplication &app, PseudoTerminal &pty, VirtualPedal &pedal, EventLog &eventLog)
{
    // In place before the path is printed: whoever reads the path may stop the pedal at
    // once, and it must still remove its link and save. (A signal before the event loop
    // runs waits in the watcher's pipe and ends the loop as soon as it starts.)
    SignalWatcher watcher;
    if (!watcher.install())
        printError(QStringLiteral("cannot watch for SIGINT, SIGTERM and SIGHUP; end it with SIGKILL"));
    QObject::connect(&watcher, &SignalWatcher::stopRequested, &app, [&](int number) {
        eventLog.write(QStringLiteral("stopping on signal %1").arg(number));
        app.quit();
    });

    std::printf("%s\n", pty.devicePath().toLocal8Bit().constData());
    std::fflush(stdout);
    eventLog.write(QStringLiteral("pedal ready on %1").arg(pty.devicePath()));

    // The boot-loader touch: a real board would restart into its boot loader here.
    QObject::connect(&pty, &PseudoTerminal::touched, &app, [&] {
        eventLog.write(QStringLiteral("1200-baud touch: the board restarts into its boot loader"));
        std::fprintf(stderr, "virtual-pedal: 1200-baud touch on %s\n", pty.devicePath().toLocal8Bit().constData());
    });
    QObject::connect(&pty, &PseudoTerminal::received, &app,
                     [&](const QByteArray &bytes) { pty.write(pedal.receive(bytes)); });
    app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("virtual-pedal"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PEDAL_VERSION));
    // Standard output holds only the device path; everything else goes to standard error.
    Diagnostics::setSink(printError);

    Settings settings;
    if (const int status = readOptions(app.arguments(), settings); status != GoOn)
        return status;
    EventLog eventLog;
    if (!openLog(eventLog, settings.logPath))
        return 1;
    VirtualPedal pedal([&eventLog](const QString &line) { eventLog.write(line); });
    pedal.setAnswerLimit(settings.answerLimit);
    if (!loadSession(pedal, settings.sessionPath))
        return 1;

    PseudoTerminal pty;
    pty.setChunker(settings.chunker);
    QString error;
    if (!pty.open(error)) {
        printError(QStringLiteral("cannot open a pseudo-terminal: %1").arg(error));
        return 1;
    }
    if (!makeLink(settings.linkPath, pty.devicePath()))
        return 1;
    run(app, pty, pedal, eventLog);
    const int status = saveSession(pedal, settings.savePath);
    removeLink(settings.linkPath, pty.devicePath());
    return status;
}
