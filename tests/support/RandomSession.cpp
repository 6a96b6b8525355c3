#include "RandomSession.h"

#include <algorithm>

namespace {

const QString kNameSigns = QStringLiteral("!#$%&()*+,-./:<=>?@^{|}~");

// Letters outside ASCII, some of them outside the Basic Multilingual Plane, for the
// names that the format carries as any text.
const char32_t kWideLetters[] = {U'\u00e9', U'\u00df',     U'\u0416',     U'\u03a9',     U'\u4e2d',
                                 U'\u65e5', U'\U0001F3B5', U'\U0001F941', U'\U0001D11E', U'\U00010348'};

} // namespace

RandomSession::RandomSession(quint32 seed) : m_random(seed) {}

qint64 RandomSession::between(qint64 lo, qint64 hi)
{
    return lo + qint64(m_random.bounded(quint64(hi - lo + 1)));
}

bool RandomSession::chance(int percent)
{
    return between(1, 100) <= percent;
}

QString RandomSession::songName()
{
    const int length = int(between(0, 30));
    int breaks = 0;
    QString name;
    for (int i = 0; i < length; ++i) {
        const int kind = int(between(0, 9));
        if (kind == 0 && breaks < 4) {
            name += QLatin1Char('\n');
            ++breaks;
        } else if (kind == 1) {
            name += kNameSigns.at(between(0, kNameSigns.size() - 1));
        } else if (kind == 2) {
            name += QLatin1Char(' ');
        } else if (kind == 3) {
            name += QLatin1Char(char('0' + between(0, 9)));
        } else {
            const char base = chance(50) ? 'a' : 'A';
            name += QLatin1Char(char(base + between(0, 25)));
        }
    }
    return name;
}

QString RandomSession::text(int maxCodePoints, bool wide)
{
    const int length = int(between(0, maxCodePoints));
    QString out;
    for (int i = 0; i < length; ++i) {
        if (wide && chance(15)) {
            const char32_t c = kWideLetters[between(0, qint64(std::size(kWideLetters)) - 1)];
            out += QString::fromUcs4(&c, 1);
        } else if (chance(10)) {
            out += QLatin1Char(' ');
        } else {
            out += QLatin1Char(char('!' + between(0, 93)));
            // Characters the text form uses for itself, and line breaks, stay out.
            const QChar last = out.back();
            if (last == QLatin1Char(']') || last == QLatin1Char('`') || last == QLatin1Char('['))
                out.back() = QLatin1Char('x');
        }
    }
    return out;
}

void RandomSession::fillSong(Song &song)
{
    song.UpdateName(songName());
    song.UpdateTempo(between(40, 300));
    song.Fraction = between(0, 9);
    song.FontSize = between(0, 9);
    song.BackgroundColour = between(0, 19);
    song.ForegroundColour = between(0, 19);
    for (qint64 Song::*division :
         {&Song::DivisionOne, &Song::DivisionTwo, &Song::DivisionThree, &Song::DivisionFour, &Song::DivisionMidi})
        song.*division = between(0, 30);
    song.ExpStack = between(0, 127);
    const auto &jacks = songJacks();
    for (size_t j = 0; j < jacks.size(); ++j) {
        // Jack 4 has no fourth mode; a static level other than 0 and 1, or a pulse count
        // of 31 or more, has no code of its own.
        const qint64 mode = between(0, j == 3 ? 2 : 3);
        song.*(jacks[j].mode) = mode;
        song.*(jacks[j].level) = mode == 0 ? between(0, 1) : 0;
        song.*(jacks[j].pulses) = mode == 1 ? between(0, 30) : 5;
    }
    song.MidiStackReference = between(0, 127);
    for (qint64 Song::*flag : {&Song::StopMidiClock, &Song::StopRepeatingMessage, &Song::MimicFootswitch})
        song.*flag = between(0, 1);
    song.ProgramChange = between(1, 128);
    song.BankChange = between(1, 128);
    for (const SongInput &input : songInputs()) {
        song.*(input.function) = between(0, 20);
        song.*(input.preset) = between(0, 127);
        song.*(input.stack) = between(0, 127);
    }
}

void RandomSession::fillMenu(Menu &menu)
{
    // The last position of each rule, in the order of MenuRule.
    const qint64 lastPosition[] = {1, 15, 29, 225, 40, 94};
    for (const MenuField &f : menuFields())
        menu.*(f.member) = MenuRules::valueForPosition(f.rule, between(0, lastPosition[int(f.rule)]));
    // Fields whose lists are longer than two items.
    menu.RepeatingMidiStackReference = between(0, 127);
    menu.RepeatingMidiClickAmount = between(0, 31);
    menu.ChannelConvert1Type = between(0, 6);
    menu.ChannelConvert2Type = between(0, 6);
    for (qint64 Menu::*m : {&Menu::OnePolarity, &Menu::TwoPolarity, &Menu::ThreePolarity, &Menu::FourPolarity})
        menu.*m = between(0, 1);
    menu.TftRotation = between(0, 3);
    menu.PcMonitorChannel = between(0, 16);
    menu.RepeatingDiv = between(0, 20);
    const auto &fields = menuFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const QLatin1String name(fields[i].name);
        if (!name.startsWith(QLatin1String("Incoming")))
            continue;
        if (name.endsWith(QLatin1String("Type")))
            menu.*(fields[i].member) = between(0, 6);
        else if (name.endsWith(QLatin1String("Message")) || name.endsWith(QLatin1String("Value")))
            menu.*(fields[i].member) = between(0, 128);
    }
}

void RandomSession::fill(DataHandler &store)
{
    fill(store, Options());
}

void RandomSession::fill(DataHandler &store, const Options &options)
{
    for (const SongRef &song : store.SongList)
        fillSong(*song);
    fillMenu(store.GlobalMenu);

    for (MidiStack &stack : store.MidiStackList) {
        stack.Name = text(30, options.wideNames);
        for (MidiStackMessage &m : stack.MidiStackMessageList) {
            m.Typey = between(0, 6);
            // Type 0 on channel 0 is the empty slot; every other type names a channel.
            m.Channel = between(m.Typey == 0 ? 0 : 1, 16);
            m.Message = between(0, 255);
            m.Value = between(0, 255);
            m.Name = chance(20) ? QStringLiteral("EMPTY") : text(30, options.wideNames);
        }
    }

    const int entries = options.libraryEntries >= 0 ? options.libraryEntries : int(between(0, 40));
    store.MidiMessageLibrary.clear();
    store.MidiMessageLibrary.reserve(size_t(entries));
    for (int i = 0; i < entries; ++i)
        store.MidiMessageLibrary.emplace_back(text(20, options.wideNames), text(20, options.wideNames),
                                              text(20, options.wideNames), between(0, 6), between(0, 255),
                                              between(0, 255));

    if (options.shuffleSongs) {
        for (size_t i = store.SongList.size(); i > 1; --i)
            std::swap(store.SongList[i - 1], store.SongList[size_t(between(0, qint64(i) - 1))]);
        const int length = int(between(1, DataHandler::SongCount));
        store.Setlist.clear();
        for (int i = 0; i < length; ++i)
            store.Setlist.push_back(store.SongList[size_t(between(0, DataHandler::SongCount - 1))]);
    }
}
