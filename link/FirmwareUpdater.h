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
//   1200 baud and dropped: the board restarts into its boot loader); list the ports again
//   and take the boot-loader port; wait 4 seconds; run the tool; success when its output
//   contains "bytes to flash"; the pedal counts as not connected afterwards ("COM333")
//   either way. The tool's output, the touch and the result go to the pedal log.
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
    // An empty text when `path` is a firmware image that can be written, else why not:
    // missing, not a file, unreadable, empty or larger than MaxImageBytes. `info` gets
    // its size and date.
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

    // The tool and arguments of the last run (for diagnostics and tests).
    QString lastTool() const { return m_tool; }
    QStringList lastArguments() const { return m_arguments; }

Q_SIGNALS:
    // The update ended. `details`: the tool's whole output, or what went wrong before it
    // could run.
    void finished(bool success, const QString &details);

private:
    void runTool();
    void toolDone(const QString &output, bool started);
    void end(bool success, const QString &details);

    SerialHandler &m_serial;
    Scheduler &m_scheduler;
    QProcess *m_process = nullptr;
    QByteArray m_output;
    QString m_tool;
    QStringList m_arguments;
    bool m_running = false;
    quint64 m_runId = 0;
};
