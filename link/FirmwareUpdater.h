#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class Dialogs;
class QProcess;
class Scheduler;
class SerialHandler;

// Writes the firmware that this program needs into the pedal (the window's firmware
// button calls upload()). Steps, in order, without blocking the event loop:
//   connected test; "About to upload" confirmation; find the flashing tool and the image
//   (a missing one: an alert naming what is missing and where it was looked for, and
//   nothing runs); close the pedal's port; list the ports; the 1200-baud touch (open the
//   pedal's port at 1200 baud and close it: the board restarts into its boot loader);
//   list the ports again and take the boot-loader port; wait 4 seconds; run the tool;
//   "Success!" when its output contains "bytes to flash", else "Upload Failed:" with the
//   output; the pedal counts as not connected afterwards ("COM333") in both cases.
//
// Resources folder (the tool "bossac" and the image "Kestil_V2.bin"):
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

    FirmwareUpdater(SerialHandler &serial, Dialogs &dialogs, Scheduler &scheduler,
                    QObject *parent = nullptr);
    ~FirmwareUpdater() override;

    // The firmware button.
    void upload();
    bool running() const { return m_running; }

    static QStringList resourceDirs();
    // The tool in the resources folders, else on PATH; empty when not found.
    static QString findTool();
    // The image in the resources folders; empty when not found.
    static QString findImage();

    // The boot-loader port: the port name, unless an entry of `after` differs from the
    // entry of `before` at the same position (the last such entry wins).
    static QString bootLoaderPort(const QString &portName, const QStringList &before,
                                  const QStringList &after);
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
    // The update ended (after its result alert).
    void finished(bool success);

private:
    void runTool();
    void toolDone(const QString &output, bool started);
    void end(bool success);

    SerialHandler &m_serial;
    Dialogs &m_dialogs;
    Scheduler &m_scheduler;
    QProcess *m_process = nullptr;
    QByteArray m_output;
    QString m_tool;
    QStringList m_arguments;
    bool m_running = false;
    quint64 m_runId = 0;
};
