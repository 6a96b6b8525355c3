#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// A pseudo-terminal pair for tests: the slave path opens like a serial device
// (QSerialPort accepts it; it has no RTS line), the master side is the "device" end that
// the test reads and writes. Reading spins the Qt event loop, so a QSerialPort on the
// slave side keeps delivering while the test waits.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    // Opens a new pair. Returns false (see error()) when the system has no ptys.
    bool open();
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    QString error() const { return m_error; }
    int masterFd() const { return m_master; }

    // Writes to the master end (the bytes arrive at the slave's reader).
    bool write(const QByteArray &bytes);
    // Reads what has arrived at the master end, waiting up to `timeoutMs` for at least
    // `atLeast` bytes in all (while spinning the event loop).
    QByteArray read(int atLeast, int timeoutMs);
    // Reads until `done(received so far)` holds or `timeoutMs` has passed.
    QByteArray readUntil(const std::function<bool(const QByteArray &)> &done, int timeoutMs);
    // Spins the event loop for `ms`, collecting what arrives at the master end.
    QByteArray drain(int ms);

private:
    QByteArray readAvailable();

    int m_master = -1;
    QString m_slavePath;
    QString m_error;
};
