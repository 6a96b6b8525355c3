#pragma once

#include <QString>
#include <QtGlobal>

// One message slot of a MIDI stack. Type 0 on channel 0 means "no message".
class MidiStackMessage
{
public:
    MidiStackMessage(qint64 typey, qint64 channel, qint64 message, qint64 value, const QString &name)
        : Typey(typey), Channel(channel), Message(message), Value(value), Name(name)
    {}

    static MidiStackMessage empty() { return MidiStackMessage(0, 0, 0, 0, QStringLiteral("EMPTY")); }
    void clear() { *this = empty(); }
    bool operator==(const MidiStackMessage &o) const
    {
        return Typey == o.Typey && Channel == o.Channel && Message == o.Message && Value == o.Value && Name == o.Name;
    }

    qint64 Typey;
    qint64 Channel;
    qint64 Message;
    qint64 Value;
    QString Name;
};
