#include "SessionKeys.h"

#include <QHash>

namespace {

SessionKey songNumber(const char *key, qint64 Song::*field, int width)
{
    SessionKey k{key, KeyKind::SongNumber, width, true};
    k.songField = field;
    return k;
}

SessionKey jackCode(const char *key, int jack)
{
    SessionKey k{key, KeyKind::JackCode, 2, true};
    k.jack = jack;
    return k;
}

SessionKey stackNumbers(const char *key, KeyKind kind, qint64 MidiStackMessage::*field)
{
    SessionKey k{key, kind, 3, true};
    k.stackField = field;
    return k;
}

SessionKey libraryText(const char *key, QString MidiMessage::*field)
{
    SessionKey k{key, KeyKind::LibraryText, 20, false};
    k.libraryText = field;
    return k;
}

SessionKey libraryNumber(const char *key, qint64 MidiMessage::*field, int width)
{
    SessionKey k{key, KeyKind::LibraryNumber, width, false};
    k.libraryNumber = field;
    return k;
}

// The 42 keys of the footswitch inputs are named after the inputs: "<stem>Function",
// "<stem>Preset", "<stem>Stack", for the 14 inputs in their order.
struct InputKeyNames
{
    std::array<QByteArray, 42> names;
    InputKeyNames()
    {
        const auto &inputs = songInputs();
        const char *kinds[] = {"Function", "Preset", "Stack"};
        for (size_t kind = 0; kind < 3; ++kind)
            for (size_t i = 0; i < inputs.size(); ++i)
                names[kind * 14 + i] = QByteArray(inputs[i].stem) + kinds[kind];
    }
};

std::array<SessionKey, SessionKeys::Count> buildKeys()
{
    static const InputKeyNames inputNames;
    std::array<SessionKey, SessionKeys::Count> keys{};
    size_t n = 0;
    keys[n++] = {"Name", KeyKind::SongName, 30, true};
    keys[n++] = {"Tempos", KeyKind::SongTempo, 3, true};
    keys[n++] = songNumber("Fractions", &Song::Fraction, 1);
    keys[n++] = songNumber("FontSizes", &Song::FontSize, 1);
    keys[n++] = songNumber("BackgroundColours", &Song::BackgroundColour, 2);
    keys[n++] = songNumber("ForegroundColours", &Song::ForegroundColour, 2);
    keys[n++] = songNumber("DivisionOnes", &Song::DivisionOne, 2);
    keys[n++] = songNumber("DivisionTwos", &Song::DivisionTwo, 2);
    keys[n++] = songNumber("DivisionThrees", &Song::DivisionThree, 2);
    keys[n++] = songNumber("DivisionFours", &Song::DivisionFour, 2);
    keys[n++] = songNumber("DivisionMidis", &Song::DivisionMidi, 2);
    keys[n++] = songNumber("ExpStack", &Song::ExpStack, 3);
    keys[n++] = jackCode("NumPulsesOnes", 0);
    keys[n++] = jackCode("NumPulsesTwos", 1);
    keys[n++] = jackCode("NumPulsesThrees", 2);
    keys[n++] = jackCode("NumPulsesFours", 3);
    keys[n++] = songNumber("MidiStackReferences", &Song::MidiStackReference, 3);
    keys[n++] = {"PresetOptions", KeyKind::PresetOptions, 3, true};
    keys[n++] = songNumber("ProgramChanges", &Song::ProgramChange, 3);
    keys[n++] = songNumber("BankChanges", &Song::BankChange, 3);
    keys[n++] = {"Setlist", KeyKind::Setlist, 3, true};
    const auto &inputs = songInputs();
    for (size_t i = 0; i < inputs.size(); ++i)
        keys[n++] = songNumber(inputNames.names[i].constData(), inputs[i].function, 2);
    for (size_t i = 0; i < inputs.size(); ++i)
        keys[n++] = songNumber(inputNames.names[14 + i].constData(), inputs[i].preset, 3);
    for (size_t i = 0; i < inputs.size(); ++i)
        keys[n++] = songNumber(inputNames.names[28 + i].constData(), inputs[i].stack, 3);
    keys[n++] = {"Global", KeyKind::Global, SessionKeys::GlobalBlockLength, true};
    keys[n++] = {"MidiStackNames", KeyKind::StackNames, 30, false};
    keys[n++] = {"MidiStackMessageNames", KeyKind::StackMessageNames, 30, false};
    keys[n++] = stackNumbers("MidiStackMessageChannels", KeyKind::StackChannels, nullptr);
    keys[n++] = stackNumbers("MidiStackMessageMessages", KeyKind::StackMessages, &MidiStackMessage::Message);
    keys[n++] = stackNumbers("MidiStackMessageValues", KeyKind::StackValues, &MidiStackMessage::Value);
    keys[n++] = libraryText("LibraryManufacturers", &MidiMessage::Manufacturer);
    keys[n++] = libraryText("LibraryDevices", &MidiMessage::Device);
    keys[n++] = libraryText("LibraryActions", &MidiMessage::Action);
    keys[n++] = libraryNumber("LibraryTypes", &MidiMessage::Typey, 1);
    keys[n++] = libraryNumber("LibraryMessages", &MidiMessage::Message, 3);
    keys[n++] = libraryNumber("LibraryValues", &MidiMessage::Value, 3);
    Q_ASSERT(n == SessionKeys::Count);
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
    // Key positions in the table, counted from 0 (the "Name" key is 0).
    std::vector<int> keys;
    auto range = [&keys](int first, int last) {
        for (int i = first; i <= last; ++i)
            keys.push_back(i);
    };
    switch (page) {
    case Page::Songs:
        range(0, 10);   // Name ... DivisionMidis
        range(16, 19);  // MidiStackReferences ... BankChanges
        range(21, 22);  // FootTapFunction, FootHoldFunction
        range(35, 36);  // FootTapPreset, FootHoldPreset
        range(49, 50);  // FootTapStack, FootHoldStack
        break;
    case Page::SetJacks:
        range(11, 15);  // ExpStack, NumPulses*
        range(23, 34);  // jack input functions
        range(37, 48);  // jack input presets
        range(51, 62);  // jack input stacks
        break;
    case Page::Setlist: range(20, 20); break;
    case Page::Midi: range(66, 68); break;
    case Page::Global: range(63, 63); break;
    case Page::All:
        range(0, 63);
        range(66, 68);
        break;
    }
    return keys;
}

bool SessionKeys::pageFromName(QStringView name, Page &page)
{
    static const struct { const char *name; Page page; } pages[] = {
        {"songs", Page::Songs}, {"setjacks", Page::SetJacks}, {"setlist", Page::Setlist},
        {"midi", Page::Midi},   {"global", Page::Global},     {"all", Page::All}};
    for (const auto &p : pages) {
        if (name == QLatin1String(p.name)) {
            page = p.page;
            return true;
        }
    }
    return false;
}

const std::vector<GlobalBlockField> &globalBlockFields()
{
    using F = GlobalBlockField;
    static const std::vector<GlobalBlockField> fields = [] {
        std::vector<GlobalBlockField> v;
        int offset = 0;
        auto add = [&](int width, F::Kind kind, std::array<qint64 Menu::*, 8> members) {
            v.push_back({offset, width, kind, members});
            offset += width;
        };
        auto number = [&](int width, qint64 Menu::*m) { add(width, F::Number, {m}); };
        auto incoming = [&](const std::array<qint64 Menu::*, 4> &g) {
            add(3, F::Status, {g[0], g[1]});
            number(3, g[2]);
            number(3, g[3]);
        };
        add(3, F::Bits, {&Menu::SendMidiClock, &Menu::ReceiveMidiClock, &Menu::SendProgramChanges,
                         &Menu::MidiThru});
        add(3, F::Bits, {&Menu::DisplayInMillis, &Menu::RecallOnce, &Menu::RecallSetlist,
                         &Menu::DiamondMod, &Menu::GlobalTempo, &Menu::StopMidiClockThru,
                         &Menu::DisplayNameOnly, &Menu::MetroEnabled});
        number(2, &Menu::MidiChannelIn);
        number(2, &Menu::MidiChannelOut);
        number(2, &Menu::MidiThreshold);
        for (auto m : {&Menu::OneClickLength, &Menu::TwoClickLength, &Menu::ThreeClickLength,
                       &Menu::FourClickLength})
            number(3, m);
        for (auto m : {&Menu::OnePolarity, &Menu::TwoPolarity, &Menu::ThreePolarity, &Menu::FourPolarity})
            number(1, m);
        number(3, &Menu::RepeatingMidiStackReference);
        number(2, &Menu::RepeatingMidiClickAmount);
        for (auto m : {&Menu::OffsetBpmOne, &Menu::OffsetBpmTwo, &Menu::OffsetBpmThree, &Menu::OffsetBpmFour})
            add(2, F::Offset, {m});
        number(2, &Menu::MidiPulseAmount);
        number(2, &Menu::AudioThreshold);
        number(2, &Menu::LedClickAmount);
        number(1, &Menu::ChannelConvert1Enabled);
        add(3, F::Status, {&Menu::ChannelConvert1Type, &Menu::ChannelConvert1ChannelFrom});
        add(3, F::ConverterTo, {&Menu::ChannelConvert1Type, &Menu::ChannelConvert1ChannelTo});
        number(1, &Menu::ChannelConvert2Enabled);
        add(3, F::Status, {&Menu::ChannelConvert2Type, &Menu::ChannelConvert2ChannelFrom});
        add(3, F::ConverterTo, {&Menu::ChannelConvert2Type, &Menu::ChannelConvert2ChannelTo});
#define PEDAL_INCOMING_GROUP(msg)                                                                  \
    incoming({&Menu::Incoming##msg##Type, &Menu::Incoming##msg##Channel,                           \
              &Menu::Incoming##msg##Message, &Menu::Incoming##msg##Value})
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
        number(1, &Menu::TftRotation);
        number(2, &Menu::PcMonitorChannel);
        number(2, &Menu::RepeatingDiv);
        PEDAL_INCOMING_GROUP(SendStack);
        PEDAL_INCOMING_GROUP(RepeatStack);
        PEDAL_INCOMING_GROUP(MidiClock);
        number(4, &Menu::StackDelay);
        PEDAL_INCOMING_GROUP(ResetTimers);
#undef PEDAL_INCOMING_GROUP
        Q_ASSERT(offset == SessionKeys::GlobalBlockLength);
        return v;
    }();
    return fields;
}
