#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

// Runs the `virtual-pedal` program, which plays the pedal on a pseudo-terminal, and makes
// its device count as a newly attached serial port: the device path (the program's first
// line of output) is appended to PEDAL_EXTRA_PORTS, which the port listing reads. The
// program is ended when this object goes, and (on Linux) ends by itself when the process
// that started it is gone, however that went; it leaves no files behind.
class VirtualPedalProcess : public QObject
{
    Q_OBJECT
public:
    explicit VirtualPedalProcess(QObject *parent = nullptr);
    ~VirtualPedalProcess() override;

    // The program next to the editor, in the build tree's tools folder, or on PATH;
    // empty when there is none.
    static QString findProgram();
    // Appends a path to the colon-separated PEDAL_EXTRA_PORTS (once).
    static void addExtraPort(const QString &path);

    // Starts the program (once). Emits attached() or failed() later.
    bool start(const QString &program);
    bool running() const;
    QString devicePath() const { return m_devicePath; }
    void stop();

Q_SIGNALS:
    void attached(const QString &devicePath);
    void failed(const QString &problem);

private:
    void readOutput();

    QProcess m_process;
    QByteArray m_output;
    QString m_devicePath;
    bool m_reported = false;
};
