#pragma once

#include <QtGlobal>

#include <array>

// How the position p of the chosen item in a field's value list relates to the stored value v.
enum class MenuRule {
    Same,        // v = p
    PlusOne,     // v = p + 1
    PlusTwo,     // v = p + 2
    PlusThirty,  // v = p + 30
    MinusTwenty, // v = p - 20
    Delay,       // v = 60 + 10 p
};

#define PEDAL_MENU_INCOMING(X, msg, controller)                                                    \
    X(Incoming##msg##Type, 0, Same) X(Incoming##msg##Channel, 3, PlusOne)                         \
    X(Incoming##msg##Message, controller, Same) X(Incoming##msg##Value, 128, Same)

// The 104 global settings in declaration order: name, factory value, position rule.
#define PEDAL_MENU_FIELDS(X)                                                                       \
    X(SendMidiClock, 1, Same) X(ReceiveMidiClock, 1, Same) X(SendProgramChanges, 1, Same)          \
    X(MidiThru, 1, Same) X(DisplayInMillis, 0, Same) X(RecallOnce, 0, Same)                        \
    X(RecallSetlist, 0, Same) X(DiamondMod, 0, Same) X(GlobalTempo, 0, Same)                       \
    X(StopMidiClockThru, 0, Same) X(DisplayNameOnly, 0, Same) X(MetroEnabled, 0, Same)             \
    X(MidiChannelIn, 1, PlusOne) X(MidiChannelOut, 1, PlusOne) X(MidiThreshold, 1, PlusOne)        \
    X(OneClickLength, 33, PlusThirty) X(TwoClickLength, 33, PlusThirty)                            \
    X(ThreeClickLength, 33, PlusThirty) X(FourClickLength, 33, PlusThirty)                         \
    X(OnePolarity, 0, Same) X(TwoPolarity, 0, Same) X(ThreePolarity, 0, Same)                      \
    X(FourPolarity, 0, Same) X(RepeatingMidiStackReference, 0, Same)                               \
    X(RepeatingMidiClickAmount, 0, Same) X(OffsetBpmOne, 0, MinusTwenty)                           \
    X(OffsetBpmTwo, 0, MinusTwenty) X(OffsetBpmThree, 0, MinusTwenty)                              \
    X(OffsetBpmFour, 0, MinusTwenty) X(MidiPulseAmount, 31, PlusTwo)                               \
    X(AudioThreshold, 1, PlusOne) X(LedClickAmount, 31, PlusTwo)                                   \
    X(ChannelConvert1Enabled, 0, Same) X(ChannelConvert1Type, 0, Same)                             \
    X(ChannelConvert1ChannelFrom, 1, PlusOne) X(ChannelConvert1ChannelTo, 5, PlusOne)              \
    X(ChannelConvert2Enabled, 0, Same) X(ChannelConvert2Type, 0, Same)                             \
    X(ChannelConvert2ChannelFrom, 1, PlusOne) X(ChannelConvert2ChannelTo, 5, PlusOne)              \
    PEDAL_MENU_INCOMING(X, Tap, 93) PEDAL_MENU_INCOMING(X, SetTempo, 94)                           \
    PEDAL_MENU_INCOMING(X, NextPreset, 95) PEDAL_MENU_INCOMING(X, PrevPreset, 96)                  \
    PEDAL_MENU_INCOMING(X, SetPreset, 97) PEDAL_MENU_INCOMING(X, GlobalTempo, 98)                  \
    PEDAL_MENU_INCOMING(X, Division1, 99) PEDAL_MENU_INCOMING(X, Division2, 100)                   \
    PEDAL_MENU_INCOMING(X, Division3, 101) PEDAL_MENU_INCOMING(X, Division4, 102)                  \
    PEDAL_MENU_INCOMING(X, DivisionMidi, 103)                                                      \
    X(TftRotation, 0, Same) X(PcMonitorChannel, 0, Same) X(RepeatingDiv, 0, Same)                  \
    PEDAL_MENU_INCOMING(X, SendStack, 104) PEDAL_MENU_INCOMING(X, RepeatStack, 105)                \
    PEDAL_MENU_INCOMING(X, MidiClock, 106)                                                         \
    X(StackDelay, 60, Delay)                                                                       \
    PEDAL_MENU_INCOMING(X, ResetTimers, 107)

// The pedal's global settings: 104 integer fields.
class Menu
{
public:
    static constexpr int FieldCount = 104;
    using Values = std::array<qint64, FieldCount>;

    // All 104 values in declaration order.
    explicit Menu(const Values &values);

    static Menu factory();
    static Values factoryValues();
    void resetToFactory();

    Values values() const;
    bool operator==(const Menu &other) const { return values() == other.values(); }

#define PEDAL_DECLARE_MENU_FIELD(name, factory, rule) qint64 name = 0;
    PEDAL_MENU_FIELDS(PEDAL_DECLARE_MENU_FIELD)
#undef PEDAL_DECLARE_MENU_FIELD
};

struct MenuField
{
    const char *name;
    qint64 Menu::*member;
    qint64 factory;
    MenuRule rule;
};

// The 104 fields in declaration order.
const std::array<MenuField, Menu::FieldCount> &menuFields();

// The 15 incoming messages in declaration order: "Tap", "SetTempo", ... "ResetTimers".
const std::array<const char *, 15> &incomingMessageNames();

namespace MenuRules {
// Stored value for item position p, and item position for stored value v.
qint64 valueForPosition(MenuRule rule, qint64 p);
qint64 positionForValue(MenuRule rule, qint64 v);
} // namespace MenuRules
