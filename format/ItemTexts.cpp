#include "ItemTexts.h"

#include <array>

namespace ItemTexts {

namespace {
struct NamedRgb
{
    const char *name;
    Rgb rgb;
};

// Black, white, then the dark, full and light shades of red, yellow, green, cyan, blue
// and magenta.
const std::array<NamedRgb, 20> colourTable = {{
    {"Black", {0, 0, 0}},
    {"White", {1, 1, 1}},
    {"Dark Red", {0.42, 0, 0}},
    {"Red", {1, 0, 0}},
    {"Light Red", {1, 0.5, 0.5}},
    {"Dark Yellow", {0.42, 0.42, 0}},
    {"Yellow", {1, 1, 0}},
    {"Light Yellow", {1, 1, 0.5}},
    {"Dark Green", {0, 0.42, 0}},
    {"Green", {0, 1, 0}},
    {"Light Green", {0.5, 1, 0.5}},
    {"Dark Cyan", {0, 0.42, 0.42}},
    {"Cyan", {0, 1, 1}},
    {"Light Cyan", {0.58, 1, 1}},
    {"Dark Blue", {0, 0, 0.42}},
    {"Blue", {0, 0, 1}},
    {"Light Blue", {0.5, 0.5, 1}},
    {"Dark Magenta", {0.42, 0, 0.42}},
    {"Magenta", {1, 0, 1}},
    {"Light Magenta", {1, 0.58, 1}},
}};

QStringList fromLatin1(std::initializer_list<const char *> items)
{
    QStringList list;
    list.reserve(int(items.size()));
    for (const char *item : items)
        list.append(QString::fromLatin1(item));
    return list;
}
} // namespace

QStringList fractions()
{
    return fromLatin1({"1/4 (Quarter)", "1/8 (Eighth)", "Dotted 1/8", "1/8 Triplet", "1/16 (Sixteenth)", "1/2 (Half)",
                       "Dotted 1/4", "1/4 Triplet"});
}

QStringList fontSizes()
{
    return fromLatin1({"Small", "Medium", "Large", "Extra Large"});
}

QStringList colourNames()
{
    QStringList names;
    for (const NamedRgb &c : colourTable)
        names.append(QString::fromLatin1(c.name));
    return names;
}

QStringList divisions()
{
    return fromLatin1({"Quarter", "Eighth", "Dotted Eighth", "Eighth Triplet", "Sixteenth", "Dotted Sixteenth",
                       "Sixteenth Triplet", "Thirty-second", "Half", "Dotted Quarter", "Quarter Triplet", "Whole",
                       "Dotted Half", "Half Triplet"});
}

QStringList staticLevels()
{
    return fromLatin1({"Off (Low)", "On (High)"});
}

QStringList pulseCounts()
{
    QStringList items;
    for (int n = 1; n <= 31; ++n)
        items.append(n == 1 ? QStringLiteral("1 pulse") : QStringLiteral("%1 pulses").arg(n));
    return items;
}

QStringList jackModes(int jack)
{
    switch (jack) {
    case 0: return fromLatin1({"Static", "Tap Output", "Footswitch Input", "Expression Input"});
    case 1: return fromLatin1({"Static", "Tap Output", "Footswitch Input", "MIDI Output"});
    case 2: return fromLatin1({"Static", "Tap Output", "Footswitch Input", "CV Output"});
    default: return fromLatin1({"Static", "Tap Output", "MIDI Output"});
    }
}

QStringList footFunctions(bool hold)
{
    if (hold)
        return fromLatin1({"Nothing", "Toggle Global Tempo", "Next Song", "Previous Song", "Next Setlist Song",
                           "Previous Setlist Song", "Start/Stop MIDI Clock", "Tempo Up", "Tempo Down",
                           "Go to Song",      // 9: preset
                           "Send MIDI Stack", // 10: stack
                           "Reset Timers", "Tuner"});
    return fromLatin1({"Nothing", "Tap Tempo", "Next Song", "Previous Song", "Next Setlist Song",
                       "Previous Setlist Song", "Start/Stop MIDI Clock", "Tempo Up", "Tempo Down",
                       "Toggle Global Tempo",
                       "Go to Song",      // 10: preset
                       "Send MIDI Stack", // 11: stack
                       "Reset Timers", "Tuner"});
}

QStringList stopMidiClockOptions()
{
    return fromLatin1({"Keep MIDI Clock", "Stop MIDI Clock"});
}

QStringList stopRepeatingOptions()
{
    return fromLatin1({"Keep Repeating Stack", "Stop Repeating Stack"});
}

QStringList mimicOptions()
{
    return fromLatin1({"Don't Mimic", "Mimic Footswitch"});
}

QStringList items(List list, int jack)
{
    switch (list) {
    case List::Fractions: return fractions();
    case List::FontSizes: return fontSizes();
    case List::Colours: return colourNames();
    case List::Divisions: return divisions();
    case List::StaticLevels: return staticLevels();
    case List::PulseCounts: return pulseCounts();
    case List::JackModes: return jackModes(jack);
    case List::TapFunctions: return footFunctions(false);
    case List::HoldFunctions: return footFunctions(true);
    case List::StopMidiClock: return stopMidiClockOptions();
    case List::StopRepeating: return stopRepeatingOptions();
    case List::Mimic: return mimicOptions();
    case List::None:
    case List::Songs:
    case List::Stacks: break;
    }
    return QStringList();
}

Rgb colourRgb(qint64 position)
{
    if (position < 0 || position >= qint64(colourTable.size()))
        return {0, 0, 0};
    return colourTable[size_t(position)].rgb;
}

} // namespace ItemTexts
