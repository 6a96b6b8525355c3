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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("virtual-pedal"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PEDAL_VERSION));
    // Standard output holds only the device path; everything else goes to standard error.
    Diagnostics::setSink(printError);

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
    // A command line it cannot use is a usage error (status 2), as pedal-session's are.
    if (!parser.parse(app.arguments())) {
        printError(parser.errorText());
        return 2;
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty()) {
        printError(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
        return 2;
    }

    ReplyChunker chunker;
    int chunkSize = 64;
    if (parser.isSet(chunkOption) && !parseCount(parser.value(chunkOption), 1, chunkSize)) {
        printError(QStringLiteral("--chunk-size needs a whole number of 1 or more"));
        return 2;
    }
    if (parser.isSet(randomOption)) {
        qint64 seed = 1;
        if (parser.isSet(seedOption)
            && (!Encodings::parseDigits(parser.value(seedOption), seed, 10)
                || seed > std::numeric_limits<quint32>::max())) {
            printError(QStringLiteral("--seed needs a whole number"));
            return 2;
        }
        chunker = ReplyChunker::random(chunkSize, quint32(seed));
    } else if (parser.isSet(chunkOption)) {
        chunker = ReplyChunker::fixed(chunkSize);
    }
    int answerLimit = -1;
    if (parser.isSet(answerOption) && !parseCount(parser.value(answerOption), 0, answerLimit)) {
        printError(QStringLiteral("--answer-limit needs a whole number of 0 or more"));
        return 2;
    }

    EventLog eventLog;
    if (parser.isSet(logOption)) {
        QString error;
        if (!eventLog.open(parser.value(logOption), error)) {
            printError(QStringLiteral("cannot write the log %1: %2").arg(parser.value(logOption), error));
            return 1;
        }
    }

    VirtualPedal pedal([&eventLog](const QString &line) { eventLog.write(line); });
    pedal.setAnswerLimit(answerLimit);
    if (parser.isSet(sessionOption)) {
        SessionReader reader;
        reader.setLegacyAccepted(true); // a file of the older layout is read as far as it goes
        if (reader.readFile(parser.value(sessionOption), pedal.session()) != SessionReader::Status::Read) {
            printError(reader.problem());
            return 1;
        }
        reader.apply(pedal.session());
        Normaliser::normalise(pedal.session());
    }
    const QString savePath = parser.value(saveOption);

    PseudoTerminal pty;
    pty.setChunker(chunker);
    QString error;
    if (!pty.open(error)) {
        printError(QStringLiteral("cannot open a pseudo-terminal: %1").arg(error));
        return 1;
    }

    const QString linkPath = parser.value(linkOption);
    if (!linkPath.isEmpty()) {
        const QByteArray link = QFile::encodeName(linkPath);
        struct stat info
        {};
        if (::lstat(link.constData(), &info) == 0) {
            if (!S_ISLNK(info.st_mode)) {
                printError(QStringLiteral("%1 exists and is not a symbolic link; it is left alone").arg(linkPath));
                return 1;
            }
            ::unlink(link.constData());
        }
        if (::symlink(QFile::encodeName(pty.devicePath()).constData(), link.constData()) != 0) {
            printError(QStringLiteral("cannot make the link %1: %2")
                           .arg(linkPath, QString::fromLocal8Bit(std::strerror(errno))));
            return 1;
        }
    }

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
    QObject::connect(&pty, &PseudoTerminal::received, &app, [&](const QByteArray &bytes) {
        const QByteArray reply = pedal.receive(bytes);
        pty.write(reply);
    });

    app.exec();

    int status = 0;
    if (!savePath.isEmpty()) {
        SessionWriter writer;
        writer.setAllKeyFlags(true);
        const QString failure =
            TextFileSaver::writeAtomically(savePath, writer.write(pedal.session(), SessionWriter::Form::File));
        if (!failure.isEmpty()) {
            printError(QStringLiteral("cannot save the session to %1: %2").arg(savePath, failure));
            status = 1;
        }
    }
    if (!linkPath.isEmpty()) {
        // Only our own link: anything that replaced it in the meantime stays.
        const QByteArray link = QFile::encodeName(linkPath);
        char target[4096] = {};
        const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
        if (n > 0 && QByteArray(target, int(n)) == QFile::encodeName(pty.devicePath()))
            ::unlink(link.constData());
    }
    return status;
}
