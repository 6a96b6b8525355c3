#include "editor_pages_fixture.h"

#include "editor/MidiPage.h"
#include "editor/ViewController.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

namespace {

struct MidiPageTest : PageTest<MidiPage>
{
    QLineEdit *edit(const QString &name) { return control<QLineEdit>(page, name); }
    QLineEdit *rowEdit(const char *stem, int row) { return edit(QLatin1String(stem) + QString::number(row)); }
    QComboBox *combo(const QString &name) { return control<QComboBox>(page, name); }
    QCheckBox *check(int row) { return control<QCheckBox>(page, QStringLiteral("stackMessageCheck%1").arg(row)); }
    QTableView *library() { return control<QTableView>(page, QStringLiteral("LibraryTableView")); }
    MidiStackMessage &message(int stack, int m)
    {
        return c.store.MidiStackList[size_t(stack)].MidiStackMessageList[size_t(m)];
    }

    // Adds a library entry through the fields and the add button.
    void addEntry(const QString &manufacturer, const QString &device, const QString &action, int type,
                  const QString &messageText, const QString &valueText)
    {
        typeInto(edit("manufacturerTF"), manufacturer);
        typeInto(edit("deviceTF"), device);
        typeInto(edit("actionTF"), action);
        choose(combo("typeCombo"), type);
        typeInto(edit("messageTF"), messageText);
        typeInto(edit("valueTF"), valueText);
        press("addToLibraryButton");
    }
};

TEST_F(MidiPageTest, RowRuleHidesTheMessageFieldOfSingleByteTypes)
{
    choose(combo("stackMessageType3"), 1); // Program
    EXPECT_EQ(message(0, 2).Typey, 1);
    EXPECT_TRUE(rowEdit("stackMessageMessage", 3)->isHidden());
    EXPECT_FALSE(rowEdit("stackMessageMessage", 2)->isHidden());
    choose(combo("stackMessageType3"), 0); // Control
    EXPECT_FALSE(rowEdit("stackMessageMessage", 3)->isHidden());
    choose(combo("stackMessageType10"), 5); // Channel Pressure
    EXPECT_TRUE(rowEdit("stackMessageMessage", 10)->isHidden());

    // The rule follows the shown stack.
    c.store.MidiStackList[4].MidiStackMessageList[0].Typey = 5;
    choose(combo("midiStackCombo"), 4);
    EXPECT_EQ(c.state.SelectedStackIndex, 4);
    EXPECT_TRUE(rowEdit("stackMessageMessage", 1)->isHidden());
    choose(combo("midiStackCombo"), 0);
    EXPECT_FALSE(rowEdit("stackMessageMessage", 1)->isHidden());

    // A type with no item (an older file) is shown as out of range and kept.
    c.store.MidiStackList[0].MidiStackMessageList[7].Typey = 9;
    page.showStackPage();
    EXPECT_EQ(combo("stackMessageType8")->currentIndex(), -1);
    EXPECT_TRUE(combo("stackMessageType8")->placeholderText().startsWith("9"));
    EXPECT_EQ(message(0, 7).Typey, 9);
}

TEST_F(MidiPageTest, TypedNumbersAreWholeDecimalNumbersOrRefused)
{
    QLineEdit *channel = rowEdit("stackMessageChannel", 2);
    typeInto(channel, "12");
    EXPECT_EQ(message(0, 1).Channel, 12);
    EXPECT_FALSE(channel->property("refused").toBool());
    for (const char *bad : {"abc", "1.5", "+5", "0x10", "", "-", "-3", "99999999999999999999"}) {
        typeInto(channel, QLatin1String(bad));
        EXPECT_EQ(message(0, 1).Channel, 12) << bad;
        EXPECT_EQ(channel->text(), QLatin1String(bad)) << "the field keeps what was typed";
        EXPECT_TRUE(channel->property("refused").toBool()) << bad;
        EXPECT_TRUE(channel->toolTip().contains("from 1 to 16")) << bad;
    }
    typeInto(channel, "7");
    EXPECT_FALSE(channel->property("refused").toBool());
    EXPECT_TRUE(channel->toolTip().isEmpty());
    EXPECT_EQ(message(0, 1).Channel, 7);
}

// Channel 0 marks an unused Control row; any other type on such a row gets channel 1.
TEST_F(MidiPageTest, ATypeOtherThanControlGivesAnUnusedRowChannelOne)
{
    ASSERT_EQ(message(0, 3).Channel, 0);
    struct Row
    {
        int type;
        qint64 channelBefore, channelAfter;
    };
    for (const Row &r : {Row{1, 0, 1}, Row{0, 1, 1}, Row{6, 9, 9}, Row{0, 0, 0}, Row{3, 0, 1}}) {
        c.history.edit(QStringLiteral("set up"), [&] {
            message(0, 3).Typey = r.type == 0 ? 1 : 0;
            message(0, 3).Channel = r.channelBefore;
        });
        page.showStackPage();
        const int steps = c.history.undoStack().count();
        choose(combo("stackMessageType4"), r.type);
        EXPECT_EQ(message(0, 3).Typey, r.type);
        EXPECT_EQ(message(0, 3).Channel, r.channelAfter) << r.type;
        EXPECT_EQ(rowEdit("stackMessageChannel", 4)->text(), QString::number(r.channelAfter));
        EXPECT_EQ(c.history.undoStack().count(), steps + 1) << "one step";
    }
}

TEST_F(MidiPageTest, NamesAreCutToThirtyAndRefuseSessionTextMarks)
{
    QLineEdit *name = rowEdit("stackMessageName", 1);
    typeInto(name, QString(31, QLatin1Char('x')));
    EXPECT_EQ(message(0, 0).Name, QString(30, QLatin1Char('x')));
    EXPECT_EQ(name->text(), QString(30, QLatin1Char('x')));

    typeInto(name, "Delay]On");
    EXPECT_EQ(message(0, 0).Name, QString(30, QLatin1Char('x')));
    EXPECT_TRUE(name->property("refused").toBool());
    EXPECT_TRUE(name->styleSheet().contains("red"));
    EXPECT_FALSE(name->toolTip().isEmpty());
    typeInto(name, "Delay On");
    EXPECT_EQ(message(0, 0).Name, "Delay On");
    EXPECT_FALSE(name->property("refused").toBool());

    // Widths count characters, not UTF-16 units: a cut never splits one.
    const QString guitar = QString::fromUtf8("\xF0\x9F\x8E\xB8");
    name->setText(guitar.repeated(31)); // as pasted: key clicks carry only ASCII
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(message(0, 0).Name, guitar.repeated(30));

    QLineEdit *stackName = edit("MidiStackName");
    // Checked as typed: the mark comes with the key, before the editing ends.
    stackName->clear();
    QTest::keyClicks(stackName, "Amp`");
    EXPECT_TRUE(stackName->property("refused").toBool());
    QTest::keyClick(stackName, Qt::Key_Backspace);
    EXPECT_FALSE(stackName->property("refused").toBool());
    typeInto(stackName, "Amp`Scenes");
    EXPECT_EQ(c.store.MidiStackList[0].Name, "Midi Stack 1");
    EXPECT_TRUE(stackName->property("refused").toBool());
    typeInto(stackName, QString(35, QLatin1Char('s')));
    EXPECT_EQ(c.store.MidiStackList[0].Name, QString(30, QLatin1Char('s')));
}

TEST(MidiPageInWindow, StackRenameReachesAllEighteenStackListsOfTheWindow)
{
    DataHandler store;
    ScriptedDialogs dialogs;
    store.GlobalMenu.RepeatingMidiStackReference = 2;
    ViewController window(store, dialogs);
    window.ensureAllPages();
    QComboBox *stacks = window.findChild<QComboBox *>(QStringLiteral("midiStackCombo"));
    QLineEdit *name = window.findChild<QLineEdit *>(QStringLiteral("MidiStackName"));
    ASSERT_TRUE(stacks && name);
    choose(stacks, 3);
    typeInto(name, "Clean Rhythm");

    int showing = 0;
    for (QComboBox *list : window.findChildren<QComboBox *>())
        if (list->count() == 128 && list->itemText(3) == "4: Clean Rhythm")
            ++showing;
    EXPECT_EQ(showing, 18);
    EXPECT_EQ(stacks->currentIndex(), 3);
    EXPECT_EQ(window.findChild<QComboBox *>(QStringLiteral("RepeatingMidiStackReferenceCombo"))->currentIndex(), 2);
    EXPECT_EQ(window.findChild<QComboBox *>(QStringLiteral("midiStackRefCombo"))->itemText(3), "4: Clean Rhythm");
}

TEST_F(MidiPageTest, LibraryCopyFillsTickedRowsWithCutName)
{
    addEntry("Acme", "Multi-Effects Unit", "Chorus On/Off", 0, "20", "127");
    addEntry("Acme", "Looper Station", "Record012", 3, "60", "100");
    ASSERT_EQ(c.store.MidiMessageLibrary.size(), 2u);
    EXPECT_EQ(library()->model()->rowCount(), 2);

    typeInto(rowEdit("stackMessageChannel", 2), "5");
    typeInto(rowEdit("stackMessageName", 3), "Keep me");
    check(2)->click();
    check(5)->click();
    EXPECT_EQ(c.state.StackRowChecked[1], 1);
    EXPECT_EQ(c.state.StackRowChecked[4], 1);
    clickRow(library(), 0);

    EXPECT_EQ(c.state.LibraryRow, 0);
    for (int m : {1, 4}) {
        EXPECT_EQ(message(0, m).Name, "Multi-Eff-Chorus On/");
        EXPECT_EQ(message(0, m).Channel, 1);
        EXPECT_EQ(message(0, m).Typey, 0);
        EXPECT_EQ(message(0, m).Message, 20);
        EXPECT_EQ(message(0, m).Value, 127);
    }
    EXPECT_EQ(message(0, 2).Name, "Keep me");
    EXPECT_EQ(rowEdit("stackMessageName", 2)->text(), "Multi-Eff-Chorus On/");
    for (int row = 1; row <= 10; ++row)
        EXPECT_FALSE(check(row)->isChecked()) << row;
    EXPECT_EQ(c.state.StackRowChecked, (std::array<int, 10>{}));

    // Device of 14 characters and action of 9: 9 + "-" + the whole action.
    check(7)->click();
    clickRow(library(), 1);
    EXPECT_EQ(message(0, 6).Name, "Looper St-Record012");
    EXPECT_EQ(message(0, 6).Typey, 3);
    // A click with nothing ticked changes no message.
    const auto before = c.store.MidiStackList[0].MidiStackMessageList;
    clickRow(library(), 0);
    EXPECT_EQ(c.store.MidiStackList[0].MidiStackMessageList, before);
    EXPECT_EQ(c.store.MidiMessageLibrary[0].Device, "Multi-Effects Unit");
}

TEST_F(MidiPageTest, AddToLibraryRefusesNumbersOutOfRangeAndOtherText)
{
    addEntry("Acme", "Amp", "Boost", 2, "300", "5");
    EXPECT_TRUE(c.store.MidiMessageLibrary.empty());
    EXPECT_TRUE(edit("messageTF")->property("refused").toBool());
    EXPECT_TRUE(edit("messageTF")->toolTip().contains("from 0 to 255"));
    addEntry("A very long maker name here", "Amp", "Boost", 2, "255", "0");
    ASSERT_EQ(c.store.MidiMessageLibrary.size(), 1u);
    EXPECT_FALSE(edit("messageTF")->property("refused").toBool());
    const MidiMessage &e = c.store.MidiMessageLibrary[0];
    EXPECT_EQ(e.Message, 255);
    EXPECT_EQ(e.Value, 0);
    EXPECT_EQ(e.Typey, 2);
    EXPECT_EQ(e.Manufacturer, "A very long maker na");
    EXPECT_EQ(library()->model()->index(0, 3).data().toString(), "Note Off");

    addEntry("Acme", "Amp", "Boost", 0, "12a", "5");
    EXPECT_EQ(c.store.MidiMessageLibrary.size(), 1u);
    EXPECT_TRUE(edit("messageTF")->property("refused").toBool());
    addEntry("Acme", "Amp", "Boost", 0, "12", "");
    EXPECT_EQ(c.store.MidiMessageLibrary.size(), 1u);
    addEntry("Acme", "Amp]", "Boost", 0, "12", "5");
    EXPECT_EQ(c.store.MidiMessageLibrary.size(), 1u);
    EXPECT_TRUE(edit("deviceTF")->property("refused").toBool());

    // Program hides the message field; left empty there it counts as 0.
    addEntry("Acme", "Amp", "Patch 7", 1, "", "7");
    EXPECT_TRUE(edit("messageTF")->isHidden());
    ASSERT_EQ(c.store.MidiMessageLibrary.size(), 2u);
    EXPECT_EQ(c.store.MidiMessageLibrary[1].Message, 0);
    EXPECT_EQ(c.store.MidiMessageLibrary[1].Value, 7);
    choose(combo("typeCombo"), 0);
    EXPECT_FALSE(edit("messageTF")->isHidden());
}

TEST_F(MidiPageTest, DeleteActsOnLibraryRowFromTheStart)
{
    press("deleteSingleLibraryButton"); // empty library: nothing
    addEntry("A", "First", "x", 0, "1", "1");
    addEntry("A", "Second", "x", 0, "2", "2");
    addEntry("A", "Third", "x", 0, "3", "3");
    EXPECT_EQ(c.state.LibraryRow, 0);
    press("deleteSingleLibraryButton");
    ASSERT_EQ(c.store.MidiMessageLibrary.size(), 2u);
    EXPECT_EQ(c.store.MidiMessageLibrary[0].Device, "Second");
    clickRow(library(), 1);
    press("deleteSingleLibraryButton");
    ASSERT_EQ(c.store.MidiMessageLibrary.size(), 1u);
    EXPECT_EQ(c.state.LibraryRow, 1); // keeps its value, now beyond the end
    press("deleteSingleLibraryButton");
    EXPECT_EQ(c.store.MidiMessageLibrary.size(), 1u);
    EXPECT_EQ(library()->model()->rowCount(), 1);
    // A click below the rows selects none: delete then does nothing.
    clickRow(library(), 0);
    QTest::mouseClick(library()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, library()->viewport()->height() - 5));
    EXPECT_EQ(c.state.LibraryRow, -1);
    press("deleteSingleLibraryButton");
    EXPECT_EQ(c.store.MidiMessageLibrary.size(), 1u);
}

TEST_F(MidiPageTest, ClearAsksFirstAndCancelKeepsTheLibrary)
{
    addEntry("A", "Dev", "x", 0, "1", "1");
    c.dialogs.answers = {1};
    press("resetLibraryButton");
    ASSERT_EQ(c.dialogs.shown.size(), 1);
    EXPECT_EQ(c.dialogs.shown[0].message, "About to clear");
    EXPECT_EQ(c.dialogs.shown[0].informative, "Your Library will be cleared to hold no messages");
    EXPECT_EQ(c.dialogs.shown[0].buttons, QStringList({"Ok", "Cancel"}));
    EXPECT_EQ(c.dialogs.shown[0].kind, Alert::Kind::Destructive);
    EXPECT_EQ(c.store.MidiMessageLibrary.size(), 1u);
    c.dialogs.answers = {0};
    press("resetLibraryButton");
    EXPECT_TRUE(c.store.MidiMessageLibrary.empty());
    EXPECT_EQ(library()->model()->rowCount(), 0);
}

TEST_F(MidiPageTest, LibrarySortsOnlyWhenAHeaderIsClicked)
{
    addEntry("B", "Zeta", "x", 0, "1", "1");
    addEntry("A", "Alpha", "y", 0, "2", "2");
    MidiPage second(c.ctx); // building a page leaves the order alone
    EXPECT_EQ(c.store.MidiMessageLibrary[0].Device, "Zeta");
    QHeaderView *header = library()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(c.store.MidiMessageLibrary[0].Device, "Alpha");
    EXPECT_EQ(library()->model()->index(0, 1).data().toString(), "Alpha");
}

TEST_F(MidiPageTest, ResetsKeepStackNames)
{
    typeInto(edit("MidiStackName"), "Lead");
    typeInto(rowEdit("stackMessageChannel", 1), "4");
    typeInto(rowEdit("stackMessageName", 2), "Fuzz");
    press("stackMessageReset1");
    EXPECT_EQ(message(0, 0), MidiStackMessage::empty());
    EXPECT_EQ(message(0, 1).Name, "Fuzz");
    EXPECT_EQ(rowEdit("stackMessageChannel", 1)->text(), "0");

    press("resetStackButton");
    for (int m = 0; m < 10; ++m)
        EXPECT_EQ(message(0, m), MidiStackMessage::empty());
    EXPECT_EQ(c.store.MidiStackList[0].Name, "Lead");
    EXPECT_EQ(rowEdit("stackMessageName", 2)->text(), "EMPTY");

    c.store.MidiStackList[100].MidiStackMessageList[9].Value = 9;
    press("ResetMidiCommand");
    EXPECT_EQ(c.store.MidiStackList[100].MidiStackMessageList[9], MidiStackMessage::empty());
    EXPECT_EQ(c.store.MidiStackList[0].Name, "Lead");
    EXPECT_TRUE(c.dialogs.shown.isEmpty());
}

TEST_F(MidiPageTest, NoStackShownMeansRowsDoNothing)
{
    c.state.SelectedStackIndex = -1;
    page.showStackPage();
    EXPECT_TRUE(rowEdit("stackMessageChannel", 1)->text().isEmpty());
    typeInto(rowEdit("stackMessageChannel", 1), "5");
    press("stackMessageReset1");
    press("resetStackButton");
    press("previewStackButton");
    press("SendMidiCommand");
    press("LoadMidiCommand");
    for (const MidiStack &s : c.store.MidiStackList)
        EXPECT_EQ(s.MidiStackMessageList[0].Channel, 0);
}

QString padded(const QString &text, int width)
{
    return text + QString(width - text.size(), QLatin1Char('`'));
}

TEST_F(MidiPageTest, ExportsWriteTheirLinesThroughTheSavePanel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    typeInto(edit("MidiStackName"), "Lead");
    typeInto(rowEdit("stackMessageName", 1), "Boost");
    // A channel no field takes (a file may bring one) is clamped by the export's normalisation.
    c.history.edit(QStringLiteral("Channel"), [this] { message(0, 0).Channel = 20; });
    page.showStackPage();

    c.dialogs.savePaths = {dir.filePath("names")};
    press("saveStackNamesButton");
    const QString names = readFile(dir.filePath("names.txt"));
    const QStringList lines = names.split("\r\n");
    ASSERT_EQ(lines.size(), 3); // two lines and the empty rest after the last line end
    EXPECT_TRUE(lines[2].isEmpty());
    EXPECT_TRUE(lines[0].startsWith("MidiStackNames]" + padded("Lead", 30) + padded("Midi Stack 2", 30)));
    EXPECT_EQ(lines[0].size(), int(strlen("MidiStackNames]")) + 30 * 128);
    EXPECT_TRUE(lines[1].startsWith("MidiStackMessageNames]" + padded("Boost", 30) + padded("EMPTY", 30)));
    EXPECT_EQ(lines[1].size(), int(strlen("MidiStackMessageNames]")) + 300 * 128);
    EXPECT_EQ(message(0, 0).Channel, 16);
    EXPECT_EQ(rowEdit("stackMessageChannel", 1)->text(), "16");

    addEntry("Acme", "Amp", "Boost", 4, "7", "99");
    c.store.MidiMessageLibrary[0].Value = 300;
    c.dialogs.savePaths = {dir.filePath("library.txt")};
    press("saveLibraryButton");
    EXPECT_EQ(readFile(dir.filePath("library.txt")),
              "LibraryManufacturers]" + padded("Acme", 20) + "\r\n" + "LibraryDevices]" + padded("Amp", 20) + "\r\n"
                  + "LibraryActions]" + padded("Boost", 20) + "\r\n" + "LibraryTypes]4\r\n" + "LibraryMessages]007\r\n"
                  + "LibraryValues]255\r\n");
    EXPECT_EQ(c.store.MidiMessageLibrary[0].Value, 255);
    EXPECT_EQ(c.dialogs.savePanelsShown, 2);

    // A cancelled panel writes nothing.
    press("saveLibraryButton");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

} // namespace
