#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a signal of the event loop (through a pipe written by
// the handler), so that the program ends cleanly: files saved, link removed.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    // Installs the handlers. Returns false when the pipe cannot be made.
    bool install();

Q_SIGNALS:
    void stopRequested(int signalNumber);

private:
    static void handler(int signalNumber);
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
