#include "SessionKeys.h"

#include <QHash>

#include <cctype>

namespace {

using Page = SessionKeys::Page;

SessionKey songNumber(const char *key, const char *label, qint64 Song::*field, int width, Page page)
{
    SessionKey k{key, KeyKind::SongNumber, width, true, page, label};
    k.songField = field;
    return k;
}

SessionKey jackCode(const char *key, const char *label, int jack)
{
    SessionKey k{key, KeyKind::JackCode, 2, true, Page::SetJacks, label};
    k.jack = jack;
    return k;
}

SessionKey stackNumbers(const char *key, const char *label, KeyKind kind, qint64 MidiStackMessage::*field)
{
    SessionKey k{key, kind, 3, true, Page::Midi, label};
    k.stackField = field;
    return k;
}

SessionKey libraryText(const char *key, const char *label, QString MidiMessage::*field)
{
    SessionKey k{key, KeyKind::LibraryText, 20, false, Page::Midi, label};
    k.libraryText = field;
    return k;
}

SessionKey libraryNumber(const char *key, const char *label, qint64 MidiMessage::*field, int width)
{
    SessionKey k{key, KeyKind::LibraryNumber, width, false, Page::Midi, label};
    k.libraryNumber = field;
    return k;
}

// The 42 keys of the footswitch inputs are named after the inputs: "<stem>Function",
// "<stem>Preset", "<stem>Stack", for the 14 inputs in their order; their labels are the
// same words apart ("Jack 1 Tip Tap Function").
struct InputKeyNames
{
    std::array<QByteArray, 42> names;
    std::array<QByteArray, 42> labels;
    InputKeyNames()
    {
        const auto &inputs = songInputs();
        const char *kinds[] = {"Function", "Preset", "Stack"};
        for (size_t kind = 0; kind < 3; ++kind) {
            for (size_t i = 0; i < inputs.size(); ++i) {
                names[kind * 14 + i] = QByteArray(inputs[i].stem) + kinds[kind];
                QByteArray label;
                for (const char c : names[kind * 14 + i]) {
                    const bool digit = c >= '0' && c <= '9';
                    if (!label.isEmpty()
                        && ((c >= 'A' && c <= 'Z')
                            || (digit && !std::isdigit(static_cast<unsigned char>(label.back())))))
                        label += ' ';
                    label += c;
                }
                labels[kind * 14 + i] = label;
            }
        }
    }
};

std::array<SessionKey, SessionKeys::Count> buildKeys()
{
    static const InputKeyNames inputNames;
    std::array<SessionKey, SessionKeys::Count> keys{};
    size_t n = 0;
    const Page songs = Page::Songs;
    keys[n++] = {"Name", KeyKind::SongName, 30, true, songs, "Name"};
    keys[n++] = {"Tempos", KeyKind::SongTempo, 3, true, songs, "Tempo"};
    keys[n++] = songNumber("Fractions", "Fraction", &Song::Fraction, 1, songs);
    keys[n++] = songNumber("FontSizes", "Font Size", &Song::FontSize, 1, songs);
    keys[n++] = songNumber("BackgroundColours", "Background Colour", &Song::BackgroundColour, 2, songs);
    keys[n++] = songNumber("ForegroundColours", "Foreground Colour", &Song::ForegroundColour, 2, songs);
    keys[n++] = songNumber("DivisionOnes", "Division One", &Song::DivisionOne, 2, songs);
    keys[n++] = songNumber("DivisionTwos", "Division Two", &Song::DivisionTwo, 2, songs);
    keys[n++] = songNumber("DivisionThrees", "Division Three", &Song::DivisionThree, 2, songs);
    keys[n++] = songNumber("DivisionFours", "Division Four", &Song::DivisionFour, 2, songs);
    keys[n++] = songNumber("DivisionMidis", "Division Midi", &Song::DivisionMidi, 2, songs);
    keys[n++] = songNumber("ExpStack", "Exp Stack", &Song::ExpStack, 3, Page::SetJacks);
    keys[n++] = jackCode("NumPulsesOnes", "Jack 1 Output", 0);
    keys[n++] = jackCode("NumPulsesTwos", "Jack 2 Output", 1);
    keys[n++] = jackCode("NumPulsesThrees", "Jack 3 Output", 2);
    keys[n++] = jackCode("NumPulsesFours", "Jack 4 Output", 3);
    keys[n++] = songNumber("MidiStackReferences", "Midi Stack", &Song::MidiStackReference, 3, songs);
    keys[n++] = {"PresetOptions", KeyKind::PresetOptions, 3, true, songs, "Options"};
    keys[n++] = songNumber("ProgramChanges", "Program Change", &Song::ProgramChange, 3, songs);
    keys[n++] = songNumber("BankChanges", "Bank Change", &Song::BankChange, 3, songs);
    keys[n++] = {"Setlist", KeyKind::Setlist, 3, true, Page::Setlist, "Setlist"};
    // The foot switch belongs to the Songs page, the inputs of jacks 1-3 to the Set Jacks page.
    const auto &inputs = songInputs();
    for (size_t kind = 0; kind < 3; ++kind) {
        for (size_t i = 0; i < inputs.size(); ++i) {
            const SongInput &input = inputs[i];
            qint64 Song::*field = kind == 0 ? input.function : kind == 1 ? input.preset : input.stack;
            keys[n++] =
                songNumber(inputNames.names[kind * 14 + i].constData(), inputNames.labels[kind * 14 + i].constData(),
                           field, kind == 0 ? 2 : 3, i < 2 ? songs : Page::SetJacks);
        }
    }
    keys[n++] = {"Global", KeyKind::Global, SessionKeys::GlobalBlockLength, true, Page::Global, "Global"};
    keys[n++] = {"MidiStackNames", KeyKind::StackNames, 30, false, Page::Midi, "Name"};
    keys[n++] = {"MidiStackMessageNames", KeyKind::StackMessageNames, 30, false, Page::Midi, "Name"};
    keys[n++] = stackNumbers("MidiStackMessageChannels", "Type and Channel", KeyKind::StackChannels, nullptr);
    keys[n++] = stackNumbers("MidiStackMessageMessages", "Message", KeyKind::StackMessages, &MidiStackMessage::Message);
    keys[n++] = stackNumbers("MidiStackMessageValues", "Value", KeyKind::StackValues, &MidiStackMessage::Value);
    keys[n++] = libraryText("LibraryManufacturers", "Manufacturer", &MidiMessage::Manufacturer);
    keys[n++] = libraryText("LibraryDevices", "Device", &MidiMessage::Device);
    keys[n++] = libraryText("LibraryActions", "Action", &MidiMessage::Action);
    keys[n++] = libraryNumber("LibraryTypes", "Type", &MidiMessage::Typey, 1);
    keys[n++] = libraryNumber("LibraryMessages", "Message", &MidiMessage::Message, 3);
    keys[n++] = libraryNumber("LibraryValues", "Value", &MidiMessage::Value, 3);
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
    std::vector<int> keys;
    for (int i = 0; i < Count; ++i)
        if (at(i).gated && (page == Page::All || at(i).page == page))
            keys.push_back(i);
    return keys;
}

QString SessionKeys::pageTitle(Page page)
{
    switch (page) {
    case Page::Songs: return QStringLiteral("Songs");
    case Page::SetJacks: return QStringLiteral("Set Jacks");
    case Page::Setlist: return QStringLiteral("Setlist");
    case Page::Midi: return QStringLiteral("Midi Management");
    case Page::Global: return QStringLiteral("Global Settings");
    case Page::All: break;
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
        add(3, F::Bits, {&Menu::SendMidiClock, &Menu::ReceiveMidiClock, &Menu::SendProgramChanges, &Menu::MidiThru});
        add(3, F::Bits,
            {&Menu::DisplayInMillis, &Menu::RecallOnce, &Menu::RecallSetlist, &Menu::DiamondMod, &Menu::GlobalTempo,
             &Menu::StopMidiClockThru, &Menu::DisplayNameOnly, &Menu::MetroEnabled});
        number(2, &Menu::MidiChannelIn);
        number(2, &Menu::MidiChannelOut);
        number(2, &Menu::MidiThreshold);
        for (auto m : {&Menu::OneClickLength, &Menu::TwoClickLength, &Menu::ThreeClickLength, &Menu::FourClickLength})
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
// clang-format off
#define PEDAL_INCOMING_GROUP(msg)                                                                  \
    incoming({&Menu::Incoming##msg##Type, &Menu::Incoming##msg##Channel,                           \
              &Menu::Incoming##msg##Message, &Menu::Incoming##msg##Value})
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
