#pragma once

#include "ReplyChunker.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

// A pseudo-terminal whose far end (the slave device) is the pedal's serial port as the
// editor sees it. Bytes the editor writes arrive through received(); write() queues the
// pedal's replies and writes them without blocking, cut as the chunker says (with a short
// pause between chunks, so that the editor reads them separately).
class PseudoTerminal : public QObject
{
    Q_OBJECT
public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    // Opens the pair in raw mode. Returns false with the system's error text.
    bool open(QString &error);
    // The device path the editor opens, e.g. /dev/pts/7.
    QString devicePath() const { return m_path; }

    void setChunker(const ReplyChunker &chunker) { m_chunker = chunker; }
    void write(const QByteArray &bytes);

    // The line speed the editor set last (9600 unless changed), read from the terminal.
    int lineSpeed() const;

Q_SIGNALS:
    void received(const QByteArray &bytes);
    // Someone set the line to 1200 baud (the boot-loader touch of a firmware update). The
    // line is set back to 9600 baud, as the board's boot loader would come up.
    void touched();

private:
    void readAvailable();
    void writeSome();
    void watchLine();

    int m_master = -1;
    int m_slave = -1; // kept open so that the pair survives the editor closing its port
    QString m_path;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer *m_pause = nullptr;
    QTimer *m_lineWatch = nullptr;
    ReplyChunker m_chunker;
    QByteArray m_out;
    int m_chunkLeft = 0;
};
