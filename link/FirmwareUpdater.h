#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

class QProcess;
class Scheduler;
class SerialHandler;

// Writes a firmware image into the pedal. Nothing here asks or shows anything: the window
// (or pedal-session flash) finds the image, checks it (checkImage), asks, and then calls
// start(); the result comes back through finished(). Steps of start(), in order, without
// blocking the event loop:
//   find the flashing tool (missing: start() says where it was looked for, and nothing
//   runs); close the pedal's port; list the ports; the 1200-baud touch (the line set to
//   1200 baud and dropped: the board restarts into its boot loader; when the port cannot
//   be opened for it the update ends there, before the tool runs); list the ports again
//   and take the boot-loader port; wait 4 seconds; run the tool; success only when it
//   ends by itself with status 0 and its output contains "bytes to flash" (verdict());
//   the pedal counts as not connected afterwards ("COM333") either way, and no port is
//   held. The tool's output goes to the pedal log line by line as it arrives; the touch
//   and the result go there too.
//
// From start() to finished() the serial handler counts the port as taken by the update
// (SerialHandler::setUpdating()): every pedal command and Connect are refused meanwhile.
//
// Resources folder (the tool "bossac" and the shipped image "Kestil_V2.bin"):
//   $PEDAL_RESOURCES_DIR when set (and then only there); otherwise
//   <executable's folder>/../share/pedal-editor, then <executable's folder>/resources.
// The tool is taken from the resources folder, else from PATH.
class FirmwareUpdater : public QObject
{
    Q_OBJECT
public:
    static constexpr int BootLoaderWaitMs = 4000;
    static constexpr int ToolTimeoutMs = 5 * 60 * 1000;
    static const QString ToolName;  // "bossac"
    static const QString ImageName; // "Kestil_V2.bin"
    // Larger than this is no firmware image of the pedal's board.
    static constexpr qint64 MaxImageBytes = 4 * 1024 * 1024;

    FirmwareUpdater(SerialHandler &serial, Scheduler &scheduler, QObject *parent = nullptr);
    ~FirmwareUpdater() override;

    struct ImageInfo
    {
        QString path;
        qint64 size = 0;
        QDateTime modified;
    };
    // The headline of every refusal of checkImage().
    static const QString NotFirmware; // "This file is not firmware for the pedal"
    // An empty text when `path` is a firmware image that can be written, else why not, in
    // words that follow NotFirmware ("its first word 0x… is no stack address in RAM"):
    // missing, not a file, unreadable, empty, larger than MaxImageBytes, or not starting
    // with the vector table of an Arm Cortex-M program (the initial stack pointer inside
    // the SRAM region 0x20000000-0x3FFFFFFF, the reset address odd, for Thumb code, and
    // below 0x20000000). Nothing is touched. `info` gets its size and date.
    static QString checkImage(const QString &path, ImageInfo *info = nullptr);

    // Starts the update with the image at `imagePath` on `port` (the pedal's port name when
    // empty). Returns an empty text once started; otherwise why it cannot start (an update
    // running, no pedal port, the tool not found, the image refused), and then the pedal
    // has not been touched.
    QString start(const QString &imagePath, const QString &port = QString());
    bool running() const { return m_running; }

    static QStringList resourceDirs();
    // The tool in the resources folders, else on PATH; empty when not found.
    static QString findTool();
    // The image in the resources folders; empty when not found.
    static QString findImage();

    // The boot-loader port: the port name, unless an entry of `after` differs from the
    // entry of `before` at the same position (the last such entry wins).
    static QString bootLoaderPort(const QString &portName, const QStringList &before, const QStringList &after);
    // The tool's port argument for a device path: its first 5 characters dropped, every
    // "cu." turned into "tty.".
    static QString toolPortArgument(const QString &devicePath);
    // The characters from position k to the end; "**STRING TOO SHORT" when shorter than k.
    static QString dropFirst(const QString &text, int k);
    static QStringList toolArguments(const QString &portArgument, const QString &imagePath);
    // How a run of the tool `toolName` ended: an empty text for success (it ended by
    // itself, with status 0, and printed "bytes to flash"), else why it failed.
    static QString verdict(const QString &toolName, const QString &output, bool timedOut, bool crashed, int exitCode);
    // The last `count` lines of a tool's output as a terminal shows them (a line that is
    // rewritten with carriage returns counts with its last state; blank lines are left out).
    static QString lastLines(const QString &output, int count = 10);

    // The tool and arguments of the last run (for diagnostics and tests).
    QString lastTool() const { return m_tool; }
    QStringList lastArguments() const { return m_arguments; }

Q_SIGNALS:
    // The update ended. `details`: on success the last lines of the tool's output; on
    // failure, first a line that says why (the tool's verdict, or what went wrong before
    // it could run), then, after a blank line, the tool's last lines when it printed any.
    void finished(bool success, const QString &details);

private:
    void runTool();
    void takeOutput(bool all);
    void toolDone(const QString &failedToStart = QString());
    void end(bool success, const QString &details);

    SerialHandler &m_serial;
    Scheduler &m_scheduler;
    QProcess *m_process = nullptr;
    QByteArray m_output;
    qsizetype m_logged = 0; // bytes of m_output already in the pedal log
    bool m_timedOut = false;
    QString m_tool;
    QStringList m_arguments;
    bool m_running = false;
    quint64 m_runId = 0;
};
