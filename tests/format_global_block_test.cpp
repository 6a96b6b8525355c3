// The 205-character global block: where every settings field sits, what it is written
// as, and that reading the block restores it.
#include "format/Encodings.h"
#include "format_test_util.h"

#include <map>
#include <string>

namespace {

// Where each field is written: the first character (counted from 1) and the length of
// the part of the block it shows in. Bit fields name their option-bit group and bit.
struct Place
{
    int first;
    int width;
    int bit = -1;
};

std::map<std::string, Place> places()
{
    std::map<std::string, Place> p;
    const char *groupA[] = {"SendMidiClock", "ReceiveMidiClock", "SendProgramChanges", "MidiThru"};
    for (int i = 0; i < 4; ++i)
        p[groupA[i]] = {1, 3, 7 - i};
    const char *groupB[] = {"DisplayInMillis", "RecallOnce",        "RecallSetlist",   "DiamondMod",
                            "GlobalTempo",     "StopMidiClockThru", "DisplayNameOnly", "MetroEnabled"};
    for (int i = 0; i < 8; ++i)
        p[groupB[i]] = {4, 3, 7 - i};
    p["MidiChannelIn"] = {7, 2};
    p["MidiChannelOut"] = {9, 2};
    p["MidiThreshold"] = {11, 2};
    const char *groups[] = {"One", "Two", "Three", "Four"};
    for (int g = 0; g < 4; ++g) {
        p[std::string(groups[g]) + "ClickLength"] = {13 + 3 * g, 3};
        p[std::string(groups[g]) + "Polarity"] = {25 + g, 1};
        p["OffsetBpm" + std::string(groups[g])] = {34 + 2 * g, 2};
    }
    p["RepeatingMidiStackReference"] = {29, 3};
    p["RepeatingMidiClickAmount"] = {32, 2};
    p["MidiPulseAmount"] = {42, 2};
    p["AudioThreshold"] = {44, 2};
    p["LedClickAmount"] = {46, 2};
    p["ChannelConvert1Enabled"] = {48, 1};
    p["ChannelConvert1Type"] = {49, 6}; // both status numbers of the converter
    p["ChannelConvert1ChannelFrom"] = {49, 3};
    p["ChannelConvert1ChannelTo"] = {52, 3};
    p["ChannelConvert2Enabled"] = {55, 1};
    p["ChannelConvert2Type"] = {56, 6};
    p["ChannelConvert2ChannelFrom"] = {56, 3};
    p["ChannelConvert2ChannelTo"] = {59, 3};
    const char *incoming[] = {"Tap",       "SetTempo",  "NextPreset", "PrevPreset", "SetPreset",   "GlobalTempo",
                              "Division1", "Division2", "Division3",  "Division4",  "DivisionMidi"};
    auto triple = [&p](const std::string &msg, int first) {
        p["Incoming" + msg + "Type"] = {first, 3};
        p["Incoming" + msg + "Channel"] = {first, 3};
        p["Incoming" + msg + "Message"] = {first + 3, 3};
        p["Incoming" + msg + "Value"] = {first + 6, 3};
    };
    for (int i = 0; i < 11; ++i)
        triple(incoming[i], 62 + 9 * i);
    p["TftRotation"] = {161, 1};
    p["PcMonitorChannel"] = {162, 2};
    p["RepeatingDiv"] = {164, 2};
    triple("SendStack", 166);
    triple("RepeatStack", 175);
    triple("MidiClock", 184);
    p["StackDelay"] = {193, 4};
    triple("ResetTimers", 197);
    return p;
}

bool endsWith(const std::string &s, const char *tail)
{
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

QString globalValue(const DataHandler &store)
{
    return SessionWriter::value(store, SessionKeys::indexOf(u"Global"), SessionWriter::Form::File);
}

// Reads a Global line into a factory store and returns its settings.
Menu readGlobal(const QString &value)
{
    DataHandler store;
    ScriptedDialogs dialogs;
    SessionReader reader;
    EXPECT_EQ(reader.readText(QStringLiteral("Global]") + value + QStringLiteral("\r\n"), dialogs, store),
              SessionReader::Status::Read)
        << reader.problem().toStdString();
    reader.apply(store);
    return store.GlobalMenu;
}

} // namespace

TEST(GlobalBlock, EveryFieldSitsWhereItBelongs)
{
    const std::map<std::string, Place> where = places();
    ASSERT_EQ(where.size(), 104u);
    const qint64 typeBase[] = {175, 191, 127, 143, 159, 207, 223};

    DataHandler factory;
    const QString before = globalValue(factory);
    std::vector<bool> covered(205, false);

    for (const MenuField &f : menuFields()) {
        const std::string name = f.name;
        ASSERT_TRUE(where.count(name)) << name;
        const Place place = where.at(name);
        DataHandler store;
        Menu &menu = store.GlobalMenu;
        qint64 distinct = 0;
        QString expected; // what the field's characters read afterwards
        if (place.bit >= 0) {
            distinct = 1 - f.factory;
            const QString old = before.mid(place.first - 1, 3);
            expected = Encodings::fixedNumber(old.toLongLong() ^ (qint64(1) << place.bit), 3);
        } else if (endsWith(name, "Type")) {
            distinct = 3; // Note On
        } else if (name != "PcMonitorChannel"
                   && (endsWith(name, "Channel") || endsWith(name, "ChannelFrom") || endsWith(name, "ChannelTo"))) {
            distinct = 9;
            expected = QString::number(typeBase[0] + 9); // factory type 0: Control Change
        } else if (name.rfind("OffsetBpm", 0) == 0) {
            distinct = -7;
            expected = QStringLiteral("57");
        } else {
            distinct = place.width == 1 ? 7 : place.width == 2 ? 42 : place.width == 3 ? 123 : 1000;
            expected = Encodings::fixedNumber(distinct, place.width);
        }
        ASSERT_NE(distinct, f.factory) << name;
        menu.*(f.member) = distinct;
        if (endsWith(name, "Type")) {
            // The type shows in the status number(s) with the channel(s) of its message.
            if (place.width == 6)
                expected = QString::number(typeBase[3] + 1) + QString::number(typeBase[3] + 5);
            else
                expected = QString::number(typeBase[3] + 3);
        }

        const QString after = globalValue(store);
        ASSERT_EQ(after.size(), 205) << name;
        for (int i = 0; i < 205; ++i) {
            const bool inside = i >= place.first - 1 && i < place.first - 1 + place.width;
            if (!inside) {
                EXPECT_EQ(after[i], before[i]) << name << " changed character " << i + 1;
            }
        }
        EXPECT_EQ(after.mid(place.first - 1, place.width), expected) << name;
        for (int i = place.first - 1; i < place.first - 1 + place.width; ++i)
            covered[size_t(i)] = true;

        // Reading the block back restores the field and nothing else.
        const Menu read = readGlobal(after);
        EXPECT_TRUE(read == menu) << name;
    }
    for (int i = 0; i < 205; ++i)
        EXPECT_TRUE(covered[size_t(i)]) << "character " << i + 1 << " belongs to no field";
}

TEST(GlobalBlock, OffsetsAndStatusNumbersReadBack)
{
    DataHandler store;
    QString block = globalValue(store);
    block.replace(33, 2, QStringLiteral("51"));     // OffsetBpmOne
    block.replace(35, 2, QStringLiteral("50"));     // OffsetBpmTwo
    block.replace(37, 2, QStringLiteral("05"));     // OffsetBpmThree
    block.replace(39, 2, QStringLiteral("70"));     // OffsetBpmFour
    block.replace(61, 3, QStringLiteral("207"));    // Tap: Program Change on channel 16
    block.replace(70, 3, QStringLiteral("000"));    // SetTempo: no message
    block.replace(48, 6, QStringLiteral("144190")); // converter 1: type from the first status only
    const Menu m = readGlobal(block);
    EXPECT_EQ(m.OffsetBpmOne, -1);
    EXPECT_EQ(m.OffsetBpmTwo, 50);
    EXPECT_EQ(m.OffsetBpmThree, 5);
    EXPECT_EQ(m.OffsetBpmFour, -20);
    EXPECT_EQ(m.IncomingTapType, 1);
    EXPECT_EQ(m.IncomingTapChannel, 16);
    EXPECT_EQ(m.IncomingSetTempoType, 0);
    EXPECT_EQ(m.IncomingSetTempoChannel, 0);
    EXPECT_EQ(m.ChannelConvert1Type, 3);
    EXPECT_EQ(m.ChannelConvert1ChannelFrom, 1);
    EXPECT_EQ(m.ChannelConvert1ChannelTo, 15);
}

TEST(GlobalBlock, TheLowFourBitsOfTheFirstGroupCarryNothing)
{
    DataHandler store;
    QString block = globalValue(store);
    ASSERT_EQ(block.left(3), QStringLiteral("240"));
    block.replace(0, 3, QStringLiteral("095")); // bit 6 and 4, with the low four bits set
    const Menu m = readGlobal(block);
    EXPECT_EQ(m.SendMidiClock, 0);
    EXPECT_EQ(m.ReceiveMidiClock, 1);
    EXPECT_EQ(m.SendProgramChanges, 0);
    EXPECT_EQ(m.MidiThru, 1);
}
