#pragma once

#include <QString>
#include <QStringList>

struct MenuField;

// The item lists of the Global Settings page. Every global field is edited through one
// list of one of these kinds; the item at position p stands for the stored value given
// by the field's position rule. The fixed lists belong to the page definition, the
// run-time lists (click lengths, stack delay, amounts, incoming numbers) are built in
// the exact form the pedal's settings use. Stack names come from the shared stack model.
class GlobalItemTexts
{
public:
    enum class Kind {
        Flag,              // "Off", "On"
        Channel,           // MIDI channels "1" .. "16"
        Threshold,         // "1" .. "10"
        Polarity,          // "Positive", "Negative"
        Offset,            // "-20" .. "0" .. "+20"
        MessageType,       // the seven message kinds in their numbering
        Rotation,          // display rotation in degrees
        MonitorChannel,    // "Off", then channels "1" .. "16"
        RepeatingDivision, // the tap divisions of the songs
        ClickLength,       // "30" .. "255"
        StackDelay,        // "0 ms", "70 ms" .. "1000 ms"
        PulseAmount,       // "2" .. "30", "Infinite"
        RepeatAmount,      // "0" .. "30", "Infinite"
        IncomingNumber,    // "0" .. "127", "Any"
        StackName,         // the names of the 128 stacks (shared model)
    };
    static constexpr int KindCount = int(Kind::StackName) + 1;

    // The list kind of a global field, decided by its position rule and its name.
    static Kind kindOf(const MenuField &field);

    // The items of a list kind, in order. Empty for StackName, whose items are the
    // stack names of the session.
    static QStringList items(Kind kind);

    // The number of characters of the longest item of a list kind: the list is made that
    // wide, no wider. Stack names get room for a number and a short name.
    static int widestItem(Kind kind);

    // Shown in place of an item when a stored value has no item in its list.
    static QString outOfRangeText(qint64 value);
};
