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
    {QT_TRANSLATE_NOOP("ItemTexts", "Black"), {0, 0, 0}},
    {QT_TRANSLATE_NOOP("ItemTexts", "White"), {1, 1, 1}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Dark Red"), {0.42, 0, 0}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Red"), {1, 0, 0}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Light Red"), {1, 0.5, 0.5}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Dark Yellow"), {0.42, 0.42, 0}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Yellow"), {1, 1, 0}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Light Yellow"), {1, 1, 0.5}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Dark Green"), {0, 0.42, 0}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Green"), {0, 1, 0}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Light Green"), {0.5, 1, 0.5}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Dark Cyan"), {0, 0.42, 0.42}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Cyan"), {0, 1, 1}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Light Cyan"), {0.58, 1, 1}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Dark Blue"), {0, 0, 0.42}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Blue"), {0, 0, 1}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Light Blue"), {0.5, 0.5, 1}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Dark Magenta"), {0.42, 0, 0.42}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Magenta"), {1, 0, 1}},
    {QT_TRANSLATE_NOOP("ItemTexts", "Light Magenta"), {1, 0.58, 1}},
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
    return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "1/4 (Quarter)"), QT_TRANSLATE_NOOP("ItemTexts", "1/8 (Eighth)"),
                       QT_TRANSLATE_NOOP("ItemTexts", "Dotted 1/8"), QT_TRANSLATE_NOOP("ItemTexts", "1/8 Triplet"),
                       QT_TRANSLATE_NOOP("ItemTexts", "1/16 (Sixteenth)"), QT_TRANSLATE_NOOP("ItemTexts", "1/2 (Half)"),
                       QT_TRANSLATE_NOOP("ItemTexts", "Dotted 1/4"), QT_TRANSLATE_NOOP("ItemTexts", "1/4 Triplet")});
}

QStringList fontSizes()
{
    return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "Small"), QT_TRANSLATE_NOOP("ItemTexts", "Medium"),
                       QT_TRANSLATE_NOOP("ItemTexts", "Large"), QT_TRANSLATE_NOOP("ItemTexts", "Extra Large")});
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
    return fromLatin1(
        {QT_TRANSLATE_NOOP("ItemTexts", "Quarter"), QT_TRANSLATE_NOOP("ItemTexts", "Eighth"),
         QT_TRANSLATE_NOOP("ItemTexts", "Dotted Eighth"), QT_TRANSLATE_NOOP("ItemTexts", "Eighth Triplet"),
         QT_TRANSLATE_NOOP("ItemTexts", "Sixteenth"), QT_TRANSLATE_NOOP("ItemTexts", "Dotted Sixteenth"),
         QT_TRANSLATE_NOOP("ItemTexts", "Sixteenth Triplet"), QT_TRANSLATE_NOOP("ItemTexts", "Thirty-second"),
         QT_TRANSLATE_NOOP("ItemTexts", "Half"), QT_TRANSLATE_NOOP("ItemTexts", "Dotted Quarter"),
         QT_TRANSLATE_NOOP("ItemTexts", "Quarter Triplet"), QT_TRANSLATE_NOOP("ItemTexts", "Whole"),
         QT_TRANSLATE_NOOP("ItemTexts", "Dotted Half"), QT_TRANSLATE_NOOP("ItemTexts", "Half Triplet")});
}

QStringList staticLevels()
{
    return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "Off (Low)"), QT_TRANSLATE_NOOP("ItemTexts", "On (High)")});
}

QStringList pulseCounts()
{
    QStringList items;
    for (int n = 1; n <= 31; ++n)
        items.append(n == 1 ? QStringLiteral(QT_TRANSLATE_NOOP("ItemTexts", "1 pulse"))
                            : QStringLiteral(QT_TRANSLATE_NOOP("ItemTexts", "%1 pulses")).arg(n));
    return items;
}

QStringList jackModes(int jack)
{
    switch (jack) {
    case 0:
        return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "Static"), QT_TRANSLATE_NOOP("ItemTexts", "Tap Output"),
                           QT_TRANSLATE_NOOP("ItemTexts", "Footswitch Input"),
                           QT_TRANSLATE_NOOP("ItemTexts", "Expression Input")});
    case 1:
        return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "Static"), QT_TRANSLATE_NOOP("ItemTexts", "Tap Output"),
                           QT_TRANSLATE_NOOP("ItemTexts", "Footswitch Input"),
                           QT_TRANSLATE_NOOP("ItemTexts", "MIDI Output")});
    case 2:
        return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "Static"), QT_TRANSLATE_NOOP("ItemTexts", "Tap Output"),
                           QT_TRANSLATE_NOOP("ItemTexts", "Footswitch Input"),
                           QT_TRANSLATE_NOOP("ItemTexts", "CV Output")});
    default:
        return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "Static"), QT_TRANSLATE_NOOP("ItemTexts", "Tap Output"),
                           QT_TRANSLATE_NOOP("ItemTexts", "MIDI Output")});
    }
}

QStringList footFunctions(bool hold)
{
    if (hold)
        return fromLatin1(
            {QT_TRANSLATE_NOOP("ItemTexts", "Nothing"), QT_TRANSLATE_NOOP("ItemTexts", "Toggle Global Tempo"),
             QT_TRANSLATE_NOOP("ItemTexts", "Next Song"), QT_TRANSLATE_NOOP("ItemTexts", "Previous Song"),
             QT_TRANSLATE_NOOP("ItemTexts", "Next Setlist Song"),
             QT_TRANSLATE_NOOP("ItemTexts", "Previous Setlist Song"),
             QT_TRANSLATE_NOOP("ItemTexts", "Start/Stop MIDI Clock"), QT_TRANSLATE_NOOP("ItemTexts", "Tempo Up"),
             QT_TRANSLATE_NOOP("ItemTexts", "Tempo Down"), QT_TRANSLATE_NOOP("ItemTexts", "Go to Song"), // 9: preset
             QT_TRANSLATE_NOOP("ItemTexts", "Send MIDI Stack"),                                          // 10: stack
             QT_TRANSLATE_NOOP("ItemTexts", "Reset Timers"), QT_TRANSLATE_NOOP("ItemTexts", "Tuner")});
    return fromLatin1(
        {QT_TRANSLATE_NOOP("ItemTexts", "Nothing"), QT_TRANSLATE_NOOP("ItemTexts", "Tap Tempo"),
         QT_TRANSLATE_NOOP("ItemTexts", "Next Song"), QT_TRANSLATE_NOOP("ItemTexts", "Previous Song"),
         QT_TRANSLATE_NOOP("ItemTexts", "Next Setlist Song"), QT_TRANSLATE_NOOP("ItemTexts", "Previous Setlist Song"),
         QT_TRANSLATE_NOOP("ItemTexts", "Start/Stop MIDI Clock"), QT_TRANSLATE_NOOP("ItemTexts", "Tempo Up"),
         QT_TRANSLATE_NOOP("ItemTexts", "Tempo Down"), QT_TRANSLATE_NOOP("ItemTexts", "Toggle Global Tempo"),
         QT_TRANSLATE_NOOP("ItemTexts", "Go to Song"),      // 10: preset
         QT_TRANSLATE_NOOP("ItemTexts", "Send MIDI Stack"), // 11: stack
         QT_TRANSLATE_NOOP("ItemTexts", "Reset Timers"), QT_TRANSLATE_NOOP("ItemTexts", "Tuner")});
}

QStringList stopMidiClockOptions()
{
    return fromLatin1(
        {QT_TRANSLATE_NOOP("ItemTexts", "Keep MIDI Clock"), QT_TRANSLATE_NOOP("ItemTexts", "Stop MIDI Clock")});
}

QStringList stopRepeatingOptions()
{
    return fromLatin1({QT_TRANSLATE_NOOP("ItemTexts", "Keep Repeating Stack"),
                       QT_TRANSLATE_NOOP("ItemTexts", "Stop Repeating Stack")});
}

QStringList mimicOptions()
{
    return fromLatin1(
        {QT_TRANSLATE_NOOP("ItemTexts", "Don't Mimic"), QT_TRANSLATE_NOOP("ItemTexts", "Mimic Footswitch")});
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
