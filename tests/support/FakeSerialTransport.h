#pragma once

#include "link/SerialPortTransport.h"

#include <QList>
#include <QStringList>

#include <functional>

// A serial device for tests: records what is opened and written, and lets the test
// deliver received bytes and the removal of the device.
class FakeSerialTransport : public SerialPortTransport
{
    Q_OBJECT
public:
    explicit FakeSerialTransport(QObject *parent = nullptr) : SerialPortTransport(parent) {}

    bool open(const QString &path, const Settings &settings, QString &error) override;
    bool write(const QByteArray &bytes) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString path() const override { return m_path; }

    // Set by the test: a non-empty text makes the next opens fail with it.
    QString failOpenWith;
    // Set by the test: the next this many writes are refused (and not recorded).
    int refuseWrites = 0;
    // Called after every open asked for (e.g. to change the port list as a restart does).
    std::function<void(const QString &path, const Settings &settings)> onOpen;
    // Called with every write (after it is recorded), e.g. to answer like a pedal.
    std::function<void(const QByteArray &)> onWrite;

    // Every open asked for, in order.
    struct OpenCall
    {
        QString path;
        Settings settings;
    };
    QList<OpenCall> opens;
    QList<QByteArray> writes;
    QString written() const { return QString::fromUtf8(writes.join()); } // all writes as one text
    QStringList writtenTexts() const;
    void clearWrites() { writes.clear(); }

    void receive(const QByteArray &bytes) { Q_EMIT dataReceived(bytes); }
    void unplug();

private:
    bool m_open = false;
    QString m_path;
};
