#include "editor_pages_fixture.h"

#include "editor/GlobalItemTexts.h"
#include "editor/GlobalPage.h"
#include "model/Menu.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>

namespace {

struct GlobalPageTest : ::testing::Test
{
    PageContext c;
    GlobalPage page{c.ctx};

    void SetUp() override
    {
        page.resize(1200, 900);
        page.show();
        page.showSettings();
    }
    QComboBox *combo(const char *field)
    {
        return control<QComboBox>(page, QLatin1String(field) + QLatin1String("Combo"));
    }
    QLabel *mark(const char *field) { return control<QLabel>(page, QLatin1String(field) + QLatin1String("Mark")); }
    QStringList marked()
    {
        QStringList out;
        for (const MenuField &f : menuFields())
            if (!mark(f.name)->text().isEmpty())
                out.append(QLatin1String(f.name));
        return out;
    }
    QStringList items(const char *field)
    {
        QStringList out;
        QComboBox *cb = combo(field);
        for (int i = 0; i < cb->count(); ++i)
            out.append(cb->itemText(i));
        return out;
    }
};

TEST_F(GlobalPageTest, EveryFieldHasItsListInTheScrollViewShowingTheFactorySession)
{
    auto *scroll = control<QScrollArea>(page, QStringLiteral("GlobalScrollView"));
    ASSERT_NE(scroll, nullptr);
    for (const MenuField &f : menuFields()) {
        QComboBox *cb = combo(f.name);
        ASSERT_NE(cb, nullptr);
        EXPECT_TRUE(scroll->widget()->isAncestorOf(cb)) << f.name;
        // Every factory value has its item.
        EXPECT_EQ(cb->currentIndex(), MenuRules::positionForValue(f.rule, f.factory)) << f.name;
    }
    // Nothing differs from the factory settings.
    EXPECT_EQ(marked(), QStringList());
}

// Where a setting sits on the page, from the section, label and column columns of the
// global settings table; every setting has a description as its tooltip and a list only
// as wide as its longest item.
TEST_F(GlobalPageTest, SettingsSitInTheirTitledSectionsWithLabelsAndTooltips)
{
    const struct
    {
        const char *field;
        const char *section;
        const char *label;
        const char *column; // the column title in a table section
    } rows[] = {
        {"SendMidiClock", "MIDI clock and thru", "Send MIDI clock", ""},
        {"MidiChannelIn", "Channels and thresholds", "MIDI input channel", ""},
        {"AudioThreshold", "Channels and thresholds", "Audio threshold", ""},
        {"DisplayInMillis", "Display", "Tempo in milliseconds", ""},
        {"TftRotation", "Display", "Display rotation", ""},
        {"GlobalTempo", "Songs and tempo", "One tempo for all songs", ""},
        {"OneClickLength", "Click outputs", "Output 1", "Length"},
        {"ThreePolarity", "Click outputs", "Output 3", "Polarity"},
        {"OffsetBpmFour", "Click outputs", "Output 4", "Tempo offset"},
        {"RepeatingMidiStackReference", "Repeating MIDI stack", "Stack", ""},
        {"RepeatingDiv", "Repeating MIDI stack", "Division", ""},
        {"ChannelConvert2ChannelTo", "Channel converters", "Converter 2", "To channel"},
        {"IncomingTapType", "Incoming MIDI messages", "Tap", "Type"},
        {"IncomingDivisionMidiChannel", "Incoming MIDI messages", "MIDI clock division", "Channel"},
        {"IncomingResetTimersValue", "Incoming MIDI messages", "Reset timers", "Value"},
        {"StackDelay", "Stack delay", "Delay between messages", ""},
    };
    // The label in the first column of the combo's grid row, and the title over its column.
    auto cellTexts = [](QComboBox *cb) {
        auto *grid = qobject_cast<QGridLayout *>(cb->parentWidget()->layout());
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        if (!grid)
            return std::pair{QString(), QString()};
        grid->getItemPosition(grid->indexOf(cb), &row, &column, &rowSpan, &columnSpan);
        auto textAt = [grid](int r, int c) {
            QLayoutItem *item = grid->itemAtPosition(r, c);
            auto *label = item ? qobject_cast<QLabel *>(item->widget()) : nullptr;
            return label ? label->text().remove(QStringLiteral("<b>")).remove(QStringLiteral("</b>")) : QString();
        };
        return std::pair{textAt(row, 0), row > 0 ? textAt(0, column) : QString()};
    };
    for (const auto &r : rows) {
        QComboBox *cb = combo(r.field);
        ASSERT_NE(cb, nullptr);
        auto *box = qobject_cast<QGroupBox *>(cb->parentWidget());
        ASSERT_NE(box, nullptr) << r.field;
        EXPECT_EQ(box->title(), r.section) << r.field;
        const auto [label, column] = cellTexts(cb);
        EXPECT_EQ(label, r.label) << r.field;
        if (*r.column) {
            EXPECT_EQ(column, r.column) << r.field;
        }
    }

    QSet<QString> cells;
    for (const MenuField &f : menuFields()) {
        QComboBox *cb = combo(f.name);
        // Each setting has a cell of its own and a one-line description.
        const auto [label, column] = cellTexts(cb);
        EXPECT_EQ(label, QLatin1String(f.label)) << f.name;
        EXPECT_EQ(column, QLatin1String(f.column)) << f.name;
        const QString cell = QLatin1String(menuSectionTitle(f.section)) + '/' + label + '/' + column;
        EXPECT_FALSE(cells.contains(cell)) << f.name << " shares " << cell.toStdString();
        cells.insert(cell);
        EXPECT_EQ(cb->toolTip(), QLatin1String(f.tip)) << f.name;
        EXPECT_GT(cb->toolTip().size(), 20) << f.name;
        EXPECT_FALSE(cb->toolTip().contains('\n')) << f.name;
        // No wider than its longest item needs.
        int widest = 0;
        for (int i = 0; i < cb->count(); ++i)
            widest = qMax(widest, cb->fontMetrics().horizontalAdvance(cb->itemText(i)));
        if (GlobalItemTexts::kindOf(f) != GlobalItemTexts::Kind::StackName) {
            EXPECT_LE(cb->width(), widest + 90) << f.name;
            EXPECT_GE(cb->width(), widest) << f.name;
        }
    }
    EXPECT_EQ(cells.size(), Menu::FieldCount);
}

// The filter shows the settings whose label, column, description or section holds its
// text, with their rows, column titles and sections; the rest is hidden.
TEST_F(GlobalPageTest, FilterShowsOnlyMatchingSettings)
{
    const struct
    {
        const char *text;
        QStringList shown;
        QStringList hidden;
    } rows[] = {
        {"polarity", {"OnePolarity", "FourPolarity"}, {"OneClickLength", "MidiThru", "IncomingTapType"}},
        {"CHANNEL",
         {"MidiChannelIn", "IncomingTapChannel", "ChannelConvert1Type", "PcMonitorChannel"},
         {"IncomingTapType", "IncomingTapValue", "SendMidiClock"}},
        {"taps the tempo", {"IncomingTapType", "IncomingTapValue"}, {"IncomingSetTempoType", "DisplayInMillis"}},
        {"stack delay", {"StackDelay"}, {"RepeatingMidiStackReference", "IncomingSendStackType"}},
        {"no such setting", {}, {"SendMidiClock", "StackDelay", "IncomingTapType"}},
        {"", {"SendMidiClock", "StackDelay", "IncomingTapType", "OnePolarity"}, {}},
    };
    auto *filter = control<QLineEdit>(page, QStringLiteral("GlobalFilterTF"));
    auto *content = control<QScrollArea>(page, QStringLiteral("GlobalScrollView"))->widget();
    for (const auto &r : rows) {
        SCOPED_TRACE(r.text);
        filter->clear();
        QTest::keyClicks(filter, QLatin1String(r.text));
        for (const QString &f : r.shown) {
            QComboBox *cb = combo(f.toLatin1().constData());
            EXPECT_TRUE(cb->isVisibleTo(content)) << f.toStdString();
        }
        for (const QString &f : r.hidden)
            EXPECT_FALSE(combo(f.toLatin1().constData())->isVisibleTo(content)) << f.toStdString();
    }
    // A column title, a row label and a section go with their settings.
    page.filterSettings(QStringLiteral("polarity"));
    EXPECT_EQ(filter->text(), "polarity");
    QGroupBox *outputs = qobject_cast<QGroupBox *>(combo("OnePolarity")->parentWidget());
    QGroupBox *clock = qobject_cast<QGroupBox *>(combo("SendMidiClock")->parentWidget());
    EXPECT_TRUE(outputs->isVisibleTo(content));
    EXPECT_FALSE(clock->isVisibleTo(content));
    int shownHeaders = 0, shownRows = 0;
    for (QLabel *l : outputs->findChildren<QLabel *>()) {
        if (!l->isVisibleTo(content) || l->objectName().endsWith("Mark"))
            continue;
        shownHeaders += l->text().startsWith("<b>");
        shownRows += l->text().startsWith("Output");
        EXPECT_FALSE(l->text().contains("Length")) << l->text().toStdString();
    }
    EXPECT_EQ(shownHeaders, 1);
    EXPECT_EQ(shownRows, 4);
}

TEST_F(GlobalPageTest, RunTimeListsAtBothEnds)
{
    const struct
    {
        const char *field;
        int count;
        const char *first;
        const char *second;
        const char *last;
    } lists[] = {
        {"OneClickLength", 226, "30", "31", "255"},
        {"FourClickLength", 226, "30", "31", "255"},
        {"StackDelay", 95, "0 ms", "70 ms", "1000 ms"},
        {"LedClickAmount", 30, "2", "3", "Infinite"},
        {"MidiPulseAmount", 30, "2", "3", "Infinite"},
        {"RepeatingMidiClickAmount", 32, "0", "1", "Infinite"},
        {"IncomingTapMessage", 129, "0", "1", "Any"},
        {"IncomingResetTimersValue", 129, "0", "1", "Any"},
        {"RepeatingMidiStackReference", 128, "1: Midi Stack 1", "2: Midi Stack 2", "128: Midi Stack 128"},
    };
    for (const auto &l : lists) {
        const QStringList it = items(l.field);
        ASSERT_EQ(it.size(), l.count) << l.field;
        EXPECT_EQ(it.first(), l.first) << l.field;
        EXPECT_EQ(it.at(1), l.second) << l.field;
        EXPECT_EQ(it.last(), l.last) << l.field;
    }
    EXPECT_EQ(items("StackDelay").at(93), "990 ms");
    EXPECT_EQ(items("RepeatingMidiClickAmount").at(30), "30");
    EXPECT_EQ(items("LedClickAmount").at(28), "30");
    EXPECT_EQ(items("IncomingTapValue").at(127), "127");

    // The thirty incoming message and value lists share one item model; the repeating
    // stack list shows the window's stack model.
    QAbstractItemModel *shared = combo("IncomingTapMessage")->model();
    int sharing = 0;
    for (const MenuField &f : menuFields()) {
        const QString name = QLatin1String(f.name);
        if (name.startsWith("Incoming") && (name.endsWith("Message") || name.endsWith("Value"))) {
            EXPECT_EQ(combo(f.name)->model(), shared) << f.name;
            ++sharing;
        }
    }
    EXPECT_EQ(sharing, 30);
    EXPECT_EQ(combo("RepeatingMidiStackReference")->model(), c.lists.stackModel());
}

TEST_F(GlobalPageTest, FixedListsBeginWhereTheirRulesSay)
{
    EXPECT_EQ(items("MidiChannelIn").first(), "1");
    EXPECT_EQ(items("OffsetBpmTwo").first(), "-20");
    EXPECT_EQ(items("OffsetBpmTwo").at(20), "0");
    EXPECT_EQ(items("IncomingSendStackType").at(5), "Channel Pressure");
    // The monitor channel is a plain position (two digits), not a channel list.
    EXPECT_EQ(items("PcMonitorChannel").first(), "Off");
}

// Picks a position in a list and returns the stored value; no other field may change.
qint64 pickAndRead(GlobalPageTest &t, const char *field, int position)
{
    const Menu before = t.c.store.GlobalMenu;
    choose(t.combo(field), position);
    const auto &fields = menuFields();
    const Menu::Values now = t.c.store.GlobalMenu.values();
    const Menu::Values was = before.values();
    qint64 stored = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (QLatin1String(fields[i].name) == QLatin1String(field))
            stored = now[i];
        else
            EXPECT_EQ(now[i], was[i]) << "pick in " << field << " changed " << fields[i].name;
    }
    return stored;
}

TEST_F(GlobalPageTest, EachPositionRuleStoresItsValue)
{
    // One row per rule: same, plus one, plus two, plus thirty, minus twenty, delay.
    const struct
    {
        const char *field;
        int position;
        qint64 value;
    } picks[] = {
        {"DisplayInMillis", 1, 1},
        {"IncomingTapValue", 128, 128},
        {"IncomingTapValue", 0, 0},
        {"RepeatingMidiClickAmount", 31, 31},
        {"RepeatingMidiStackReference", 127, 127},
        {"MidiChannelIn", 0, 1},
        {"IncomingMidiClockChannel", 15, 16},
        {"LedClickAmount", 0, 2},
        {"MidiPulseAmount", 29, 31},
        {"OneClickLength", 0, 30},
        {"FourClickLength", 225, 255},
        {"OffsetBpmTwo", 0, -20},
        {"OffsetBpmTwo", 40, 20},
        {"OffsetBpmTwo", 20, 0},
        {"StackDelay", 1, 70},
        {"StackDelay", 94, 1000},
        {"StackDelay", 0, 60},
    };
    for (const auto &p : picks)
        EXPECT_EQ(pickAndRead(*this, p.field, p.position), p.value) << p.field << " " << p.position;
}

TEST_F(GlobalPageTest, StoredValueWithoutItemIsShownAsOutOfRangeAndKept)
{
    c.store.GlobalMenu.MidiChannelIn = 40;
    c.store.GlobalMenu.StackDelay = 65; // between two items
    c.store.GlobalMenu.OffsetBpmOne = -30;
    c.store.GlobalMenu.RepeatingMidiStackReference = 200;
    page.showSettings();
    for (const char *f : {"MidiChannelIn", "StackDelay", "OffsetBpmOne", "RepeatingMidiStackReference"}) {
        EXPECT_EQ(combo(f)->currentIndex(), -1) << f;
        EXPECT_TRUE(combo(f)->placeholderText().contains("out of range")) << f;
    }
    EXPECT_TRUE(combo("MidiChannelIn")->placeholderText().startsWith("40"));
    // Other lists are not disturbed, and nothing was written.
    EXPECT_EQ(combo("MidiChannelOut")->currentText(), "1");
    EXPECT_EQ(c.store.GlobalMenu.MidiChannelIn, 40);
    EXPECT_EQ(c.store.GlobalMenu.StackDelay, 65);
    EXPECT_EQ(c.store.GlobalMenu.RepeatingMidiStackReference, 200);
    // A rename refills the stack names; the out-of-range reference stays as it was.
    c.lists.refillStacks();
    EXPECT_EQ(combo("RepeatingMidiStackReference")->currentIndex(), -1);
    EXPECT_EQ(c.store.GlobalMenu.RepeatingMidiStackReference, 200);
    // The user's pick replaces it.
    choose(combo("MidiChannelIn"), 4);
    EXPECT_EQ(c.store.GlobalMenu.MidiChannelIn, 5);
}

TEST_F(GlobalPageTest, PageResetRestoresEveryListAtOnceWithoutAsking)
{
    choose(combo("SendMidiClock"), 0);
    choose(combo("StackDelay"), 10);
    choose(combo("IncomingTapMessage"), 5);
    choose(combo("OffsetBpmFour"), 3);
    choose(combo("IncomingTapValue"), 3);
    choose(combo("IncomingTapValue"), 128); // back to the factory value "Any"
    c.store.GlobalMenu.MidiThreshold = 99;  // out of range
    page.showSettings();
    ASSERT_FALSE(c.store.GlobalMenu == Menu::factory());
    // Each setting that differs from its factory value is marked, and only those.
    EXPECT_EQ(marked(),
              QStringList({"SendMidiClock", "MidiThreshold", "OffsetBpmFour", "IncomingTapMessage", "StackDelay"}));
    EXPECT_EQ(mark("StackDelay")->toolTip(), "Changed: the factory setting is 0 ms.");

    control<QPushButton>(page, QStringLiteral("ResetGlobalCommand"))->click();
    EXPECT_EQ(c.store.GlobalMenu, Menu::factory());
    EXPECT_TRUE(c.dialogs.shown.isEmpty());
    EXPECT_EQ(combo("SendMidiClock")->currentText(), "On");
    EXPECT_EQ(combo("StackDelay")->currentText(), "0 ms");
    EXPECT_EQ(combo("IncomingTapMessage")->currentText(), "93");
    EXPECT_EQ(combo("OffsetBpmFour")->currentText(), "0");
    EXPECT_EQ(combo("MidiThreshold")->currentText(), "1");
    EXPECT_EQ(marked(), QStringList());

    // Without a pedal link the pedal commands do nothing.
    control<QPushButton>(page, QStringLiteral("SendMenuCommand"))->click();
    control<QPushButton>(page, QStringLiteral("LoadGlobalCommand"))->click();
    EXPECT_EQ(c.store.GlobalMenu, Menu::factory());
    EXPECT_TRUE(c.dialogs.shown.isEmpty());
}

TEST_F(GlobalPageTest, RepeatingStackListFollowsRenamesAndKeepsItsSelection)
{
    choose(combo("RepeatingMidiStackReference"), 6);
    c.store.MidiStackList[6].Name = QStringLiteral("Amp Scenes");
    c.lists.emptyStacks();
    c.lists.refillStacks();
    EXPECT_EQ(combo("RepeatingMidiStackReference")->currentIndex(), 6);
    EXPECT_EQ(combo("RepeatingMidiStackReference")->currentText(), "7: Amp Scenes");
    EXPECT_EQ(c.store.GlobalMenu.RepeatingMidiStackReference, 6);
}

} // namespace
