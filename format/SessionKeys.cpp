#include "SessionKeys.h"

#include <QHash>

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace {

using Page = SessionKeys::Page;

using List = ItemTexts::List;

constexpr SessionKey songNumber(const char *key, const char *label, qint64 Song::*field, int width, Page page,
                                List items)
{
    SessionKey k{key, KeyKind::SongNumber, width, true, page, label};
    k.songField = field;
    k.items = items;
    return k;
}

// A song field typed as a number, from `lowest` to `highest`.
constexpr SessionKey typed(SessionKey k, qint64 lowest, qint64 highest)
{
    k.lowest = lowest;
    k.highest = highest;
    return k;
}

constexpr SessionKey jackCode(const char *key, const char *label, int jack)
{
    SessionKey k{key, KeyKind::JackCode, 2, true, Page::SetJacks, label};
    k.jack = jack;
    return k;
}

constexpr SessionKey stackNumbers(const char *key, const char *label, KeyKind kind, qint64 MidiStackMessage::*field)
{
    SessionKey k{key, kind, 3, true, Page::Midi, label};
    k.stackField = field;
    return k;
}

constexpr SessionKey libraryText(const char *key, const char *label, QString MidiMessage::*field)
{
    SessionKey k{key, KeyKind::LibraryText, 20, false, Page::Midi, label};
    k.libraryText = field;
    return k;
}

constexpr SessionKey libraryNumber(const char *key, const char *label, qint64 MidiMessage::*field, int width)
{
    SessionKey k{key, KeyKind::LibraryNumber, width, false, Page::Midi, label};
    k.libraryNumber = field;
    return k;
}

// The 42 keys of the footswitch inputs are named after the inputs: "<stem>Function",
// "<stem>Preset", "<stem>Stack", for the 14 inputs in their order; their labels say the
// same as the pages that edit them ("Foot switch tap song", "Jack 1 tip hold function").
struct InputKeyNames
{
    std::array<QByteArray, 42> names;
    std::array<QByteArray, 42> labels;
    InputKeyNames()
    {
        const auto &inputs = songInputs();
        const char *kinds[] = {"Function", "Preset", "Stack"};
        const char *kindWords[] = {"function", "song", "stack"};
        for (size_t kind = 0; kind < 3; ++kind) {
            for (size_t i = 0; i < inputs.size(); ++i) {
                // Foot tap, foot hold, then tap and hold of jack 1 tip, jack 1 ring, jack 2 tip...
                const QByteArray where = i < 2
                    ? QByteArray("Foot switch")
                    : "Jack " + QByteArray::number(int(i - 2) / 4 + 1) + ((i - 2) / 2 % 2 == 0 ? " tip" : " ring");
                names[kind * 14 + i] = QByteArray(inputs[i].stem) + kinds[kind];
                labels[kind * 14 + i] = where + (inputs[i].hold ? " hold " : " tap ") + kindWords[kind];
            }
        }
    }
};

constexpr Page songs = Page::Songs;

// The keys before the footswitch inputs, in their order.
constexpr SessionKey kSongKeys[] = {
    {"Name", KeyKind::SongName, 30, true, songs, "Name"},
    typed({"Tempos", KeyKind::SongTempo, 3, true, songs, "Tempo"}, 40, 300),
    songNumber("Fractions", "Tap fraction", &Song::Fraction, 1, songs, List::Fractions),
    songNumber("FontSizes", "Font size", &Song::FontSize, 1, songs, List::FontSizes),
    typed(songNumber("BackgroundColours", "Background colour", &Song::BackgroundColour, 2, songs, List::Colours), 0,
          19),
    typed(songNumber("ForegroundColours", "Text colour", &Song::ForegroundColour, 2, songs, List::Colours), 0, 19),
    songNumber("DivisionOnes", "Jack 1 division", &Song::DivisionOne, 2, songs, List::Divisions),
    songNumber("DivisionTwos", "Jack 2 division", &Song::DivisionTwo, 2, songs, List::Divisions),
    songNumber("DivisionThrees", "Jack 3 division", &Song::DivisionThree, 2, songs, List::Divisions),
    songNumber("DivisionFours", "Jack 4 division", &Song::DivisionFour, 2, songs, List::Divisions),
    songNumber("DivisionMidis", "MIDI clock division", &Song::DivisionMidi, 2, songs, List::Divisions),
    songNumber("ExpStack", "Jack 1 expression stack", &Song::ExpStack, 3, Page::SetJacks, List::Stacks),
    jackCode("NumPulsesOnes", "Jack 1", 0),
    jackCode("NumPulsesTwos", "Jack 2", 1),
    jackCode("NumPulsesThrees", "Jack 3", 2),
    jackCode("NumPulsesFours", "Jack 4", 3),
    songNumber("MidiStackReferences", "MIDI stack", &Song::MidiStackReference, 3, songs, List::Stacks),
    {"PresetOptions", KeyKind::PresetOptions, 3, true, songs, "MIDI options"},
    typed(songNumber("ProgramChanges", "Program change", &Song::ProgramChange, 3, songs, List::None), 1, 128),
    typed(songNumber("BankChanges", "Bank change", &Song::BankChange, 3, songs, List::None), 1, 128),
    {"Setlist", KeyKind::Setlist, 3, true, Page::Setlist, "Setlist"},
};

// The keys after the footswitch inputs, in their order.
constexpr SessionKey kOtherKeys[] = {
    {"Global", KeyKind::Global, SessionKeys::GlobalBlockLength, true, Page::Global, "Global"},
    {"MidiStackNames", KeyKind::StackNames, 30, false, Page::Midi, "Name"},
    {"MidiStackMessageNames", KeyKind::StackMessageNames, 30, false, Page::Midi, "Name"},
    stackNumbers("MidiStackMessageChannels", "Type and Channel", KeyKind::StackChannels, nullptr),
    stackNumbers("MidiStackMessageMessages", "Message", KeyKind::StackMessages, &MidiStackMessage::Message),
    stackNumbers("MidiStackMessageValues", "Value", KeyKind::StackValues, &MidiStackMessage::Value),
    libraryText("LibraryManufacturers", "Manufacturer", &MidiMessage::Manufacturer),
    libraryText("LibraryDevices", "Device", &MidiMessage::Device),
    libraryText("LibraryActions", "Action", &MidiMessage::Action),
    libraryNumber("LibraryTypes", "Type", &MidiMessage::Typey, 1),
    libraryNumber("LibraryMessages", "Message", &MidiMessage::Message, 3),
    libraryNumber("LibraryValues", "Value", &MidiMessage::Value, 3),
};

constexpr size_t kInputCount = std::tuple_size<std::decay_t<decltype(songInputs())>>::value;
static_assert(std::size(kSongKeys) + 3 * kInputCount + std::size(kOtherKeys) == SessionKeys::Count,
              "the key table holds every key once");

std::array<SessionKey, SessionKeys::Count> buildKeys()
{
    static const InputKeyNames inputNames;
    std::array<SessionKey, SessionKeys::Count> keys{};
    auto next = std::copy(std::begin(kSongKeys), std::end(kSongKeys), keys.begin());
    // The foot switch belongs to the Songs page, the inputs of jacks 1-3 to the Set Jacks page.
    const auto &inputs = songInputs();
    for (size_t kind = 0; kind < 3; ++kind) {
        for (size_t i = 0; i < inputs.size(); ++i) {
            const SongInput &input = inputs[i];
            qint64 Song::*field = kind == 0 ? input.function : kind == 1 ? input.preset : input.stack;
            const List items = kind == 0 ? (input.hold ? List::HoldFunctions : List::TapFunctions)
                : kind == 1              ? List::Songs
                                         : List::Stacks;
            *next++ =
                songNumber(inputNames.names[kind * 14 + i].constData(), inputNames.labels[kind * 14 + i].constData(),
                           field, kind == 0 ? 2 : 3, i < 2 ? songs : Page::SetJacks, items);
        }
    }
    std::copy(std::begin(kOtherKeys), std::end(kOtherKeys), next);
    return keys;
}

} // namespace

const std::array<SessionKey, SessionKeys::Count> &SessionKeys::all()
{
    static const std::array<SessionKey, Count> keys = buildKeys();
    return keys;
}

int SessionKeys::indexOf(QStringView key)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int i = 0; i < Count; ++i)
            h.insert(QString::fromLatin1(all()[size_t(i)].key), i);
        return h;
    }();
    return index.value(key.toString(), -1);
}

std::vector<int> SessionKeys::keysOfPage(Page page)
{
    std::vector<int> keys;
    for (int i = 0; i < Count; ++i)
        if (at(i).gated && (page == Page::All || at(i).page == page))
            keys.push_back(i);
    return keys;
}

QString SessionKeys::pageTitle(Page page)
{
    switch (page) {
    case Page::Songs: return QStringLiteral(QT_TRANSLATE_NOOP("SessionKeys", "Songs"));
    case Page::SetJacks: return QStringLiteral(QT_TRANSLATE_NOOP("SessionKeys", "Set Jacks"));
    case Page::Setlist: return QStringLiteral(QT_TRANSLATE_NOOP("SessionKeys", "Setlist"));
    case Page::Midi: return QStringLiteral(QT_TRANSLATE_NOOP("SessionKeys", "Midi Management"));
    case Page::Global: return QStringLiteral(QT_TRANSLATE_NOOP("SessionKeys", "Global Settings"));
    case Page::All: break;
    }
    return QString();
}

QString SessionKeys::fieldLabel(qint64 Song::*field)
{
    if (field == &Song::Tempo)
        return QLatin1String(at(indexOf(u"Tempos")).label);
    for (const SessionKey &key : all())
        if (key.kind == KeyKind::SongNumber && key.songField == field)
            return QLatin1String(key.label);
    for (const OptionBit &option : optionBits)
        if (option.field == field)
            return QLatin1String(option.label);
    // A jack's three fields share its key: "Jack 2 mode", "Jack 2 static level", "Jack 2 pulses".
    for (const SessionKey &key : all()) {
        if (key.kind != KeyKind::JackCode)
            continue;
        const SongJack &jack = songJacks()[size_t(key.jack)];
        for (const JackPart &part : jackParts)
            if (field == jack.*(part.field))
                return QLatin1String(key.label) + QLatin1String(part.suffix);
    }
    return QString();
}

bool SessionKeys::pageFromName(QStringView name, Page &page)
{
    static const struct
    {
        const char *name;
        Page page;
    } pages[] = {{"songs", Page::Songs}, {"setjacks", Page::SetJacks}, {"setlist", Page::Setlist},
                 {"midi", Page::Midi},   {"global", Page::Global},     {"all", Page::All}};
    for (const auto &p : pages) {
        if (name == QLatin1String(p.name)) {
            page = p.page;
            return true;
        }
    }
    return false;
}

namespace {

// Lays out the fields of the global block one after the other.
struct GlobalBlockLayout
{
    using F = GlobalBlockField;
    std::array<GlobalBlockField, GlobalBlockFieldCount> fields{};
    int count = 0;
    int offset = 0;

    constexpr void add(int width, F::Kind kind, std::array<qint64 Menu::*, 8> members)
    {
        fields[size_t(count++)] = {offset, width, kind, members};
        offset += width;
    }
    constexpr void number(int width, qint64 Menu::*m) { add(width, F::Number, {m}); }
    // An incoming message: its status (type and channel), then its two data bytes.
    constexpr void incoming(qint64 Menu::*type, qint64 Menu::*channel, qint64 Menu::*message, qint64 Menu::*value)
    {
        add(3, F::Status, {type, channel});
        number(3, message);
        number(3, value);
    }
};

constexpr GlobalBlockLayout globalBlockLayout()
{
    using F = GlobalBlockField;
    GlobalBlockLayout b;
    b.add(3, F::Bits, {&Menu::SendMidiClock, &Menu::ReceiveMidiClock, &Menu::SendProgramChanges, &Menu::MidiThru});
    b.add(3, F::Bits,
          {&Menu::DisplayInMillis, &Menu::RecallOnce, &Menu::RecallSetlist, &Menu::DiamondMod, &Menu::GlobalTempo,
           &Menu::StopMidiClockThru, &Menu::DisplayNameOnly, &Menu::MetroEnabled});
    b.number(2, &Menu::MidiChannelIn);
    b.number(2, &Menu::MidiChannelOut);
    b.number(2, &Menu::MidiThreshold);
    for (auto m : {&Menu::OneClickLength, &Menu::TwoClickLength, &Menu::ThreeClickLength, &Menu::FourClickLength})
        b.number(3, m);
    for (auto m : {&Menu::OnePolarity, &Menu::TwoPolarity, &Menu::ThreePolarity, &Menu::FourPolarity})
        b.number(1, m);
    b.number(3, &Menu::RepeatingMidiStackReference);
    b.number(2, &Menu::RepeatingMidiClickAmount);
    for (auto m : {&Menu::OffsetBpmOne, &Menu::OffsetBpmTwo, &Menu::OffsetBpmThree, &Menu::OffsetBpmFour})
        b.add(2, F::Offset, {m});
    b.number(2, &Menu::MidiPulseAmount);
    b.number(2, &Menu::AudioThreshold);
    b.number(2, &Menu::LedClickAmount);
    b.number(1, &Menu::ChannelConvert1Enabled);
    b.add(3, F::Status, {&Menu::ChannelConvert1Type, &Menu::ChannelConvert1ChannelFrom});
    b.add(3, F::ConverterTo, {&Menu::ChannelConvert1Type, &Menu::ChannelConvert1ChannelTo});
    b.number(1, &Menu::ChannelConvert2Enabled);
    b.add(3, F::Status, {&Menu::ChannelConvert2Type, &Menu::ChannelConvert2ChannelFrom});
    b.add(3, F::ConverterTo, {&Menu::ChannelConvert2Type, &Menu::ChannelConvert2ChannelTo});
// clang-format off
#define PEDAL_INCOMING_GROUP(msg)                                                                  \
    b.incoming(&Menu::Incoming##msg##Type, &Menu::Incoming##msg##Channel,                          \
               &Menu::Incoming##msg##Message, &Menu::Incoming##msg##Value)
    // clang-format on
    PEDAL_INCOMING_GROUP(Tap);
    PEDAL_INCOMING_GROUP(SetTempo);
    PEDAL_INCOMING_GROUP(NextPreset);
    PEDAL_INCOMING_GROUP(PrevPreset);
    PEDAL_INCOMING_GROUP(SetPreset);
    PEDAL_INCOMING_GROUP(GlobalTempo);
    PEDAL_INCOMING_GROUP(Division1);
    PEDAL_INCOMING_GROUP(Division2);
    PEDAL_INCOMING_GROUP(Division3);
    PEDAL_INCOMING_GROUP(Division4);
    PEDAL_INCOMING_GROUP(DivisionMidi);
    b.number(1, &Menu::TftRotation);
    b.number(2, &Menu::PcMonitorChannel);
    b.number(2, &Menu::RepeatingDiv);
    PEDAL_INCOMING_GROUP(SendStack);
    PEDAL_INCOMING_GROUP(RepeatStack);
    PEDAL_INCOMING_GROUP(MidiClock);
    b.number(4, &Menu::StackDelay);
    PEDAL_INCOMING_GROUP(ResetTimers);
#undef PEDAL_INCOMING_GROUP
    return b;
}

constexpr GlobalBlockLayout kGlobalBlock = globalBlockLayout();
static_assert(kGlobalBlock.count == GlobalBlockFieldCount, "the global block has a row per field");
static_assert(kGlobalBlock.offset == SessionKeys::GlobalBlockLength, "the fields cover the global block");

} // namespace

const std::array<GlobalBlockField, GlobalBlockFieldCount> &globalBlockFields()
{
    return kGlobalBlock.fields;
}
