#pragma once

#include "CodePoints.h"

#include <QString>
#include <QtGlobal>

// One entry of the MIDI message library: a described message without a channel.
class MidiMessage
{
public:
    MidiMessage(const QString &manufacturer, const QString &device, const QString &action, qint64 typey, qint64 message,
                qint64 value)
        : Manufacturer(manufacturer), Device(device), Action(action), Typey(typey), Message(message), Value(value)
    {}

    // The stack message name made from this entry: up to 9 characters of the device,
    // "-", up to 10 characters of the action (characters are code points: a cut never
    // splits one).
    QString stackMessageName() const
    {
        return CodePoints::left(Device, 9) + QLatin1Char('-') + CodePoints::left(Action, 10);
    }

    bool operator==(const MidiMessage &o) const
    {
        return Manufacturer == o.Manufacturer && Device == o.Device && Action == o.Action && Typey == o.Typey
            && Message == o.Message && Value == o.Value;
    }

    QString Manufacturer;
    QString Device;
    QString Action;
    qint64 Typey;
    qint64 Message;
    qint64 Value;
};
