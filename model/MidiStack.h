#pragma once

#include "MidiStackMessage.h"

#include <vector>

// A named list of exactly ten messages that the pedal sends together.
class MidiStack
{
public:
    static constexpr int MessageCount = 10;

    MidiStack(qint64 id, const QString &name, std::vector<MidiStackMessage> messages)
        : ID(id), Name(name), MidiStackMessageList(std::move(messages))
    {}

    static QString factoryName(qint64 position) { return QStringLiteral("Midi Stack %1").arg(position + 1); }
    static MidiStack factory(qint64 position)
    {
        return MidiStack(position, factoryName(position),
                         std::vector<MidiStackMessage>(MessageCount, MidiStackMessage::empty()));
    }
    void clearMessages()
    {
        for (MidiStackMessage &m : MidiStackMessageList)
            m.clear();
    }

    qint64 ID;
    QString Name;
    std::vector<MidiStackMessage> MidiStackMessageList;
};
