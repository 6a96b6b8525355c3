// The editor window: tabs and commands, refresh, sorting, the session actions, unsaved
// changes and the close question, and the pedal commands through a fake serial device.

#include "editor_window_fixture.h"
#include "format_test_util.h"

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "FakeSerialTransport.h"
#include "ManualScheduler.h"
#include "link/PedalKnownSession.h"
#include "link/PedalLink.h"
#include "link/QtScheduler.h"
#include "link/SerialHandler.h"
#include "editor/CompareDock.h"
#include "editor/PedalLogDock.h"
#include "editor/RestoreBackupDialog.h"
#include "format/BackupFolder.h"
#include "link/FirmwareUpdater.h"
#include "editor/OpenPanelFilter.h"
#include "editor/RecentFiles.h"
#include "model/SessionSnapshot.h"
#include "editor/VirtualPedalProcess.h"
#include "PedalVersion.h"
#include "editor/WidgetDialogs.h"

#include <QAction>
#include <QDir>
#include <QStatusBar>
#include <QFileInfo>
#include <QFile>
#include <QHeaderView>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QTabWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

using Window = WindowFixture;

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Only the Songs page is built with the window; each other page is built when it is first
// needed and shows the session as it is then: after a Refresh, after an undo, on the song
// the page shows. Building a page changes nothing in the session.
TEST(WindowPages, APageBuiltLaterShowsTheSessionAsItIsThen)
{
    DataHandler store;
    ScriptedDialogs dialogs;
    ViewController vc(store, dialogs);
    vc.show();
    QApplication::processEvents();
    EXPECT_EQ(vc.findChild<QComboBox *>(QStringLiteral("MidiChannelInCombo")), nullptr);
    vc.history().edit(QStringLiteral("Settings"), [&store] {
        store.GlobalMenu.MidiChannelIn = 9;
        store.MidiStackList[2].Name = QStringLiteral("Clean Rhythm");
    });
    vc.RefreshAllPages();
    vc.history().edit(QStringLiteral("Tempo of Song 6"), [&store] { store.SongList[5]->UpdateTempo(77); });
    vc.history().undo();
    vc.context().state.SetJacksSongIndex = 5;
    vc.context().state.SelectedStackIndex = 2;
    const int steps = vc.history().undoStack().count();
    const int stepIndex = vc.history().undoStack().index();
    const bool modified = vc.isWindowModified();

    ASSERT_TRUE(vc.showPage(QStringLiteral("Global Settings")));
    QComboBox *channel = control<QComboBox>(vc, QStringLiteral("MidiChannelInCombo"));
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->isVisible());
    EXPECT_EQ(channel->currentText(), "9");
    vc.showPage(QStringLiteral("Midi Management"));
    EXPECT_EQ(control<QLineEdit>(vc, QStringLiteral("MidiStackName"))->text(), "Clean Rhythm");
    vc.showPage(QStringLiteral("Set Jacks"));
    EXPECT_EQ(
        control<QTableView>(vc, QStringLiteral("SetJacksTableView"))->selectionModel()->selectedRows().value(0).row(),
        5);
    vc.ensureAllPages();
    EXPECT_NE(control<QTableView>(vc, QStringLiteral("SetlistTableView")), nullptr);
    EXPECT_EQ(vc.isWindowModified(), modified);
    EXPECT_EQ(vc.history().undoStack().count(), steps);
    EXPECT_EQ(vc.history().undoStack().index(), stepIndex);
}

TEST_F(Window, HasItsPagesCommandsAndMenus)
{
    QTabWidget *tabs = vc.tabs();
    ASSERT_GE(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Set Jacks");
    EXPECT_EQ(tabs->tabText(1), "Songs");
    const QStringList later = {"Setlist", "Midi Management", "Global Settings"};
    for (int i = 2; i < tabs->count(); ++i)
        EXPECT_EQ(tabs->tabText(i), later[i - 2]);
    EXPECT_EQ(find<QAction>("openSessionAction")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(find<QAction>("saveSessionAction")->shortcut(), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(find<QAction>("refreshAction")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(find<QAction>("saveSessionAsAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    EXPECT_EQ(find<QAction>("undoAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(
        find<QAction>("redoAction")->shortcuts(),
        QList<QKeySequence>({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))}));
    EXPECT_EQ(find<QAction>("connectAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+K")));
    EXPECT_EQ(find<QAction>("sendAllAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+U")));
    EXPECT_EQ(find<QAction>("loadAllAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+L")));
    // No key does two things.
    QList<QKeySequence> keys;
    for (const QAction *a : vc.findChildren<QAction *>())
        for (const QKeySequence &key : a->shortcuts()) {
            EXPECT_FALSE(keys.contains(key)) << key.toString().toStdString() << " twice";
            keys.append(key);
        }
    EXPECT_FALSE(find<QAction>("undoAction")->isEnabled());
    EXPECT_FALSE(find<QAction>("redoAction")->isEnabled());
    EXPECT_EQ(text("connectionLabel"), "Not connected");
    EXPECT_TRUE(find<QProgressBar>("transferProgress")->isHidden());
    // Without a pedal link the pedal buttons ask nothing.
    click("SendAllCommand");
    click("connectToPedalButton");
    EXPECT_TRUE(dialogs.shown.isEmpty());
    // Help > About: the version, the Qt version in use and the size of the session format.
    find<QAction>("aboutAction")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].message, QStringLiteral("Pedal Editor " PEDAL_VERSION));
    EXPECT_TRUE(dialogs.shown[0].informative.contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(dialogs.shown[0].informative.contains(QStringLiteral("75 keys")));
}

TEST_F(Window, RefreshKeepsTheSongEachSongPageShows)
{
    song(5).UpdateName(QStringLiteral("Sixth"));
    pickSong("Songs", "SongTableView", 5);
    pickSong("Set Jacks", "SetJacksTableView", 9);
    for (const auto &refresh : std::vector<std::function<void()>>{
             [this] { click("RefreshCommand"); }, [this] { find<QAction>("refreshAction")->trigger(); }}) {
        refresh();
        EXPECT_EQ(vc.context().state.SongsSongIndex, 5);
        EXPECT_EQ(vc.context().state.SetJacksSongIndex, 9);
        EXPECT_EQ(text("idLabel"), "Song # 6");
        EXPECT_EQ(find<QPlainTextEdit>("nameTF")->toPlainText(), "Sixth");
        EXPECT_EQ(find<QTableView>("SetJacksTableView")->selectionModel()->selectedRows().value(0).row(), 9);
        EXPECT_EQ(find<QTableView>("SongTableView")->selectionModel()->selectedRows().value(0).row(), 5);
    }
    // A page that showed no song shows the first one.
    find<QTableView>("SongTableView")->clearSelection();
    click("RefreshCommand");
    EXPECT_EQ(vc.context().state.SongsSongIndex, 0);
    EXPECT_EQ(text("idLabel"), "Song # 1");
}

// A wheel notch over a list scrolls the page unless the list has keyboard focus; with
// focus, the wheel picks the next item as usual.
TEST_F(Window, WheelEditsOnlyAFocusedListAndScrollsThePageOtherwise)
{
    const struct
    {
        const char *tab;
        const char *scroll;
        const char *list;
        qint64 (*stored)(const DataHandler &);
    } rows[] = {
        {"Global Settings", "GlobalScrollView", "MidiChannelInCombo",
         [](const DataHandler &s) { return s.GlobalMenu.MidiChannelIn; }},
        {"Global Settings", "GlobalScrollView", "IncomingTapTypeCombo",
         [](const DataHandler &s) { return s.GlobalMenu.IncomingTapType; }},
        {"Songs", "SongsScrollView", "fontCombo", [](const DataHandler &s) { return s.SongList[3]->FontSize; }},
    };
    pickSong("Songs", "SongTableView", 3);
    vc.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&vc));
    auto notchDown = [](QWidget *target) {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.list);
        ASSERT_TRUE(vc.showPage(QString::fromLatin1(row.tab)));
        QApplication::processEvents();
        QComboBox *list = combo(row.list);
        auto *scroll = find<QScrollArea>(row.scroll);
        EXPECT_EQ(list->focusPolicy(), Qt::StrongFocus) << "the wheel must not give a list focus";
        find<QTableView>("SongTableView")->setFocus();
        scroll->verticalScrollBar()->setValue(0);
        const int index = list->currentIndex();
        const qint64 value = row.stored(store);

        notchDown(list);
        EXPECT_EQ(list->currentIndex(), index);
        EXPECT_EQ(row.stored(store), value);
        if (scroll->verticalScrollBar()->maximum() > 0) {
            EXPECT_GT(scroll->verticalScrollBar()->value(), 0) << "the page scrolls instead";
        }

        list->setFocus();
        ASSERT_TRUE(list->hasFocus());
        notchDown(list);
        EXPECT_EQ(list->currentIndex(), index + 1);
        EXPECT_EQ(row.stored(store), value + 1);
    }
}

TEST_F(Window, SortingReordersTheSongListAndTheSavedFile)
{
    vc.history().edit(QStringLiteral("Names"), [this] {
        song(0).UpdateName(QStringLiteral("Zulu"));
        song(1).UpdateName(QStringLiteral("alpha"));
        song(2).UpdateName(QStringLiteral("Mike"));
        song(0).UpdateTempo(90);
    });
    Song *zulu = &song(0);
    vc.RefreshAllPages();
    pickSong("Songs", "SongTableView", 0);
    EXPECT_EQ(text("summaryName"), "Zulu");
    QHeaderView *header = find<QTableView>("SongTableView")->horizontalHeader();
    header->setSortIndicator(1, Qt::AscendingOrder); // as a click on "Name"
    // Empty names first, then alpha, Mike, Zulu.
    EXPECT_EQ(song(125).NameWithoutBreaks, "alpha");
    EXPECT_EQ(song(126).NameWithoutBreaks, "Mike");
    EXPECT_EQ(song(127).NameWithoutBreaks, "Zulu");
    EXPECT_EQ(song(125).Id, 2); // a song keeps its Id
    // Both pages follow the song they showed to its new row, and edits go to it.
    auto shownRow = [this](const char *table) {
        return find<QTableView>(table)->selectionModel()->selectedRows().value(0).row();
    };
    auto followsZulu = [&](int row, const char *when) {
        EXPECT_EQ(vc.context().state.SongsSongIndex, row) << when;
        EXPECT_EQ(vc.context().state.SetJacksSongIndex, row) << when;
        EXPECT_EQ(shownRow("SongTableView"), row) << when;
        EXPECT_EQ(shownRow("SetJacksTableView"), row) << when;
        EXPECT_EQ(text("summaryName"), "Zulu") << when;
        EXPECT_EQ(song(row).NameWithoutBreaks, "Zulu") << when;
    };
    followsZulu(127, "after the sort");
    choose(combo("fontCombo"), 3);
    EXPECT_EQ(zulu->FontSize, 3);
    vc.history().undo(); // the font
    vc.history().undo(); // the sort
    followsZulu(0, "after undoing the sort");
    vc.history().redo();
    followsZulu(127, "after redoing the sort");
    vc.history().redo();
    // Every song table and every preset list shows the new order.
    EXPECT_EQ(vc.setJacksPage()->tableModel()->index(127, 1).data().toString(), "Zulu");
    EXPECT_EQ(vc.context().lists.presetModel()->index(127).data().toString(), "Zulu");
    // The setlist still refers to the same songs.
    EXPECT_EQ(store.Setlist[0].get(), zulu);

    header->setSortIndicator(0, Qt::DescendingOrder); // "#", descending
    EXPECT_EQ(song(0).Id, 128);
    EXPECT_EQ(song(127).Id, 1);
    header->setSortIndicator(2, Qt::AscendingOrder); // "BPM"
    EXPECT_EQ(&song(0), zulu);

    QTemporaryDir dir;
    dialogs.savePaths = {dir.filePath(QStringLiteral("sorted.txt"))};
    find<QAction>("saveSessionAction")->trigger();
    const QString saved = readFile(dir.filePath(QStringLiteral("sorted.txt")));
    EXPECT_TRUE(valueOf(saved, QStringLiteral("Name")).startsWith(QStringLiteral("Zulu``")));
    EXPECT_TRUE(valueOf(saved, QStringLiteral("Tempos")).startsWith(QStringLiteral("090120")));
}

TEST_F(Window, OpenAppliesAFileAndRefusesADamagedOne)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("tempos.txt"));
    ASSERT_TRUE(writeFile(good, "Tempos]" + QByteArray("100").repeated(128) + "\r\n"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.txt"));
    ASSERT_TRUE(writeFile(damaged, "Tempos]" + QByteArray("090").repeated(127) + "\r\nName]abc\r\n"));
    song(3).UpdateName(QStringLiteral("Stays"));
    pickSong("Songs", "SongTableView", 6);

    dialogs.openPaths = {QString()}; // cancelled
    find<QAction>("openSessionAction")->trigger();
    EXPECT_EQ(vc.context().state.SongsSongIndex, 6);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    dialogs.openPaths = {damaged};
    find<QAction>("openSessionAction")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].message, "The session could not be opened");
    EXPECT_FALSE(dialogs.shown[0].informative.isEmpty());
    for (const SongRef &s : store.SongList)
        EXPECT_EQ(s->Tempo, 120);
    EXPECT_EQ(vc.context().state.SongsSongIndex, 6);

    dialogs.openPaths = {good};
    find<QAction>("openSessionAction")->trigger();
    EXPECT_EQ(dialogs.openTitles.last(), "Open Session");
    for (const SongRef &s : store.SongList) {
        EXPECT_EQ(s->Tempo, 100);
        EXPECT_EQ(s->TempoInMs, 600);
    }
    EXPECT_EQ(song(3).FullName, "Stays");
    EXPECT_EQ(vc.context().state.SongsSongIndex, 6); // pages refreshed, on the song they showed
    EXPECT_EQ(find<QLineEdit>("tempoTF")->text(), "100");
    EXPECT_TRUE(vc.windowTitle().contains(QStringLiteral("tempos.txt")));
    EXPECT_FALSE(vc.isWindowModified());
}

TEST_F(Window, CompareWithFileShowsTheChangesByPageAndLeadsToThem)
{
    QTemporaryDir dir;
    DataHandler other;
    other.SongList[6]->UpdateTempo(97);
    other.SongList[9]->Jack1TipTAPFunction = 3;
    other.GlobalMenu.MidiChannelOut = 5;
    other.MidiStackList[4].Name = QStringLiteral("Bass");
    const QString path = dir.filePath(QStringLiteral("other.txt"));
    ASSERT_TRUE(writeFile(path, fileForm(other).toUtf8()));
    const QString before = fileForm(store);

    dialogs.openPaths = {dir.filePath(QStringLiteral("missing.txt")), path};
    find<QAction>("compareWithFileAction")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].message, "The session could not be compared");
    EXPECT_EQ(vc.findChild<CompareDock *>(), nullptr);

    find<QAction>("compareWithFileAction")->trigger();
    auto *dock = find<CompareDock>("CompareDock");
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(fileForm(store), before); // the window's session is untouched
    EXPECT_FALSE(vc.isWindowModified());
    QTreeWidget *tree = find<QTreeWidget>("compareChangesTree");
    QStringList groups;
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        groups << tree->topLevelItem(g)->text(0);
    EXPECT_EQ(groups, QStringList({"Set Jacks (1)", "Songs (1)", "Midi Management (1)", "Global Settings (1)"}));
    EXPECT_EQ(tree->topLevelItem(1)->child(0)->text(0), "Song 7: Tempo 120 → 97");

    find<QLineEdit>("compareFilterField")->setText(QStringLiteral("CHANNEL"));
    EXPECT_TRUE(tree->topLevelItem(0)->isHidden());
    EXPECT_FALSE(tree->topLevelItem(3)->isHidden());
    EXPECT_EQ(tree->topLevelItem(3)->text(0), "Global Settings (1)");
    find<QLineEdit>("compareFilterField")->clear();

    // Double-clicking a change shows its record on its page.
    const auto activate = [&](int group) {
        QTreeWidgetItem *item = tree->topLevelItem(group)->child(0);
        Q_EMIT tree->itemDoubleClicked(item, 0);
        QApplication::processEvents();
    };
    activate(1);
    EXPECT_EQ(vc.tabs()->tabText(vc.tabs()->currentIndex()), "Songs");
    EXPECT_EQ(vc.context().state.SongsSongIndex, 6);
    activate(0);
    EXPECT_EQ(vc.tabs()->tabText(vc.tabs()->currentIndex()), "Set Jacks");
    EXPECT_EQ(vc.context().state.SetJacksSongIndex, 9);
    if (vc.tabs()->count() == 5) {
        activate(2);
        EXPECT_EQ(vc.context().state.SelectedStackIndex, 4);
        EXPECT_EQ(find<QComboBox>("midiStackCombo")->currentIndex(), 4);
        activate(3);
        EXPECT_EQ(vc.tabs()->tabText(vc.tabs()->currentIndex()), "Global Settings");
        EXPECT_EQ(QApplication::focusWidget(), find<QComboBox>("MidiChannelOutCombo"));
    }
    EXPECT_EQ(fileForm(store), before);
}

TEST_F(Window, SaveNormalisesWritesAndReportsAFailure)
{
    song(3).UpdateTempo(20);
    song(4).ProgramChange = 0;
    QTemporaryDir dir;
    dialogs.savePaths = {dir.filePath(QStringLiteral("missing/folder/x.txt"))};
    find<QAction>("saveSessionAction")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].message, "The file could not be saved");
    EXPECT_EQ(song(3).Tempo, 40); // normalised all the same
    EXPECT_EQ(song(3).TempoInMs, 1500);
    EXPECT_TRUE(vc.session().isModified());
    EXPECT_FALSE(vc.windowTitle().contains(QStringLiteral("x.txt")));

    dialogs.savePaths = {dir.filePath(QStringLiteral("session"))};
    dialogs.deferSaves = true; // the panel completes later
    find<QAction>("saveSessionAction")->trigger();
    pickSong("Songs", "SongTableView", 5);
    enter("tempoTF", QStringLiteral("99")); // edited while the panel is open: not in the file
    dialogs.completePendingSave(dir.filePath(QStringLiteral("session")));
    const QString saved = readFile(dir.filePath(QStringLiteral("session.txt")));
    const QString tempos = valueOf(saved, QStringLiteral("Tempos"));
    EXPECT_EQ(tempos.mid(9, 3), "040");
    EXPECT_EQ(tempos.mid(15, 3), "120");
    EXPECT_EQ(valueOf(saved, QStringLiteral("ProgramChanges")).mid(12, 3), "001");
    EXPECT_TRUE(vc.windowTitle().contains(QStringLiteral("session.txt")));
    EXPECT_TRUE(vc.session().isModified()); // the later edit is not saved
}

TEST_F(Window, ResetAsksAndRefreshesEitherWay)
{
    song(5).UpdateName(QStringLiteral("Edited"));
    store.MidiMessageLibrary.emplace_back(QStringLiteral("M"), QStringLiteral("D"), QStringLiteral("A"), 0, 1, 2);
    pickSong("Songs", "SongTableView", 7);
    dialogs.answers = {1}; // Cancel
    find<QAction>("resetSessionAction")->trigger();
    EXPECT_EQ(dialogs.shown.last().message, "About to reset");
    EXPECT_EQ(dialogs.shown.last().kind, Alert::Kind::Destructive);
    EXPECT_EQ(song(5).FullName, "Edited");
    EXPECT_EQ(vc.context().state.SongsSongIndex, 7);
    dialogs.answers = {0};
    find<QAction>("resetSessionAction")->trigger();
    EXPECT_TRUE(song(5).FullName.isEmpty());
    EXPECT_EQ(store.MidiMessageLibrary.size(), 1u);
    EXPECT_EQ(vc.context().lists.presetModel()->index(5).data().toString(), "Song 6");
}

TEST_F(Window, TitleTracksUnsavedChangesAndClosingAsks)
{
    EXPECT_TRUE(vc.windowTitle().contains(QStringLiteral("Untitled")));
    EXPECT_FALSE(vc.isWindowModified());
    pickSong("Songs", "SongTableView", 2);
    choose(combo("fontCombo"), 2);
    QApplication::processEvents();
    EXPECT_TRUE(vc.isWindowModified());
    find<QAction>("undoAction")->trigger(); // back as it was
    EXPECT_FALSE(vc.isWindowModified());
    EXPECT_TRUE(vc.close()); // nothing to ask
    vc.show();

    choose(combo("fontCombo"), 3);
    QApplication::processEvents();
    dialogs.answers = {2}; // Cancel
    EXPECT_FALSE(vc.close());
    EXPECT_EQ(dialogs.shown.last().buttons, QStringList({"Save", "Don't Save", "Cancel"}));
    EXPECT_TRUE(vc.isVisible());

    QTemporaryDir dir;
    dialogs.answers = {0}; // Save, then the panel is cancelled: the window stays
    dialogs.savePaths = {QString()};
    EXPECT_FALSE(vc.close());
    EXPECT_TRUE(vc.isVisible());
    dialogs.answers = {0}; // Save into a file: the window closes
    dialogs.savePaths = {dir.filePath(QStringLiteral("closing.txt"))};
    vc.close();
    EXPECT_FALSE(vc.isVisible());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("closing.txt"))));

    vc.show();
    choose(combo("fontCombo"), 1);
    QApplication::processEvents();
    dialogs.answers = {1}; // Don't Save
    EXPECT_TRUE(vc.close());
}

// The pages show the store as it is: the controls of each page that a step may change.
void expectPagesShowTheStore(ViewController &vc, DataHandler &store)
{
    const EditorState &state = vc.context().state;
    ASSERT_GE(state.SongsSongIndex, 0);
    const Song &shown = *store.SongList[size_t(state.SongsSongIndex)];
    EXPECT_EQ(control<QLineEdit>(vc, QStringLiteral("tempoTF"))->text(), QString::number(shown.Tempo));
    EXPECT_EQ(control<QPlainTextEdit>(vc, QStringLiteral("nameTF"))->toPlainText(), shown.FullName);
    EXPECT_EQ(control<QComboBox>(vc, QStringLiteral("fontCombo"))->currentIndex(), shown.FontSize);
    EXPECT_EQ(control<QTableView>(vc, QStringLiteral("SongTableView"))->selectionModel()->selectedRows().value(0).row(),
              state.SongsSongIndex);
    const Song &jacks = *store.SongList[size_t(state.SetJacksSongIndex)];
    EXPECT_EQ(control<QComboBox>(vc, QStringLiteral("jackOneCombo"))->currentIndex(), jacks.JackOne);
    EXPECT_EQ(control<QComboBox>(vc, QStringLiteral("Jack1TipTAPFunction"))->currentIndex(), jacks.Jack1TipTAPFunction);
    EXPECT_EQ(vc.context().lists.presetModel()->index(0).data().toString(),
              SharedLists::presetItemText(store.SongList[0]->NameWithoutBreaks, 0));
    EXPECT_EQ(control<QTableView>(vc, QStringLiteral("SetlistTableView"))->model()->rowCount(),
              int(store.Setlist.size()));
    const MidiStack &stack = store.MidiStackList[size_t(state.SelectedStackIndex)];
    EXPECT_EQ(control<QLineEdit>(vc, QStringLiteral("MidiStackName"))->text(), stack.Name);
    EXPECT_EQ(control<QLineEdit>(vc, QStringLiteral("stackMessageChannel1"))->text(),
              QString::number(stack.MidiStackMessageList[0].Channel));
    EXPECT_EQ(control<QComboBox>(vc, QStringLiteral("midiStackCombo"))->currentText(),
              SharedLists::stackItemText(stack.Name, state.SelectedStackIndex));
    EXPECT_EQ(control<QTableView>(vc, QStringLiteral("LibraryTableView"))->model()->rowCount(),
              int(store.MidiMessageLibrary.size()));
    EXPECT_EQ(control<QComboBox>(vc, QStringLiteral("MidiChannelInCombo"))->currentIndex(),
              store.GlobalMenu.MidiChannelIn - 1);
}

// Every kind of change, made through the window's controls: it is one step named in the
// Edit menu, undo brings back the whole session as it was and shows the page of the step,
// redo brings back the whole session as the change left it.
TEST_F(Window, EveryKindOfChangeIsOneStepThatUndoesAndRedoesWholly)
{
    QTemporaryDir dir;
    const QString tempos = dir.filePath(QStringLiteral("tempos.txt"));
    ASSERT_TRUE(writeFile(tempos, "Tempos]" + QByteArray("100").repeated(128) + "\r\n"));
    const auto copyFields = [](DataHandler &d, int from, const std::vector<qint64 Song::*> &fields) {
        const Song source = *d.SongList[size_t(from)];
        for (const SongRef &target : d.SongList)
            for (qint64 Song::*field : fields)
                (*target).*field = source.*field;
    };
    std::vector<qint64 Song::*> jackFields = {&Song::ExpStack};
    for (const SongJack &jack : songJacks())
        jackFields.insert(jackFields.end(), {jack.mode, jack.level, jack.pulses});
    for (size_t i = 2; i < songInputs().size(); ++i)
        jackFields.insert(jackFields.end(), {songInputs()[i].function, songInputs()[i].preset, songInputs()[i].stack});
    const auto library = [this](const char *maker) {
        find<QLineEdit>("manufacturerTF")->setText(QLatin1String(maker));
        find<QLineEdit>("deviceTF")->setText(QStringLiteral("Dev"));
        find<QLineEdit>("actionTF")->setText(QStringLiteral("Act"));
        find<QLineEdit>("messageTF")->setText(QStringLiteral("7"));
        find<QLineEdit>("valueTF")->setText(QStringLiteral("9"));
        click("addToLibraryButton");
    };
    const auto addedEntry = [](const char *maker) {
        return MidiMessage(QLatin1String(maker), QStringLiteral("Dev"), QStringLiteral("Act"), 0, 7, 9);
    };

    struct Row
    {
        const char *control;
        std::function<void()> act;
        const char *step;
        const char *page;
        std::function<void(DataHandler &)> expected;
    };
    const std::vector<Row> rows = {
        {"nameTF", [this] { QTest::keyClicks(find<QPlainTextEdit>("nameTF"), QStringLiteral("Hey")); },
         "Name of Song 3", "Songs", [](DataHandler &d) { d.SongList[2]->UpdateName(QStringLiteral("Hey")); }},
        {"tempoTF", [this] { enter("tempoTF", QStringLiteral("99")); }, "Tempo of Song 3", "Songs",
         [](DataHandler &d) { d.SongList[2]->UpdateTempo(99); }},
        {"fontCombo", [this] { choose(combo("fontCombo"), 2); }, "Font Size of Song 3", "Songs",
         [](DataHandler &d) { d.SongList[2]->FontSize = 2; }},
        {"backgroundColourCombo", [this] { choose(combo("backgroundColourCombo"), 4); }, "Background Colour of Song 3",
         "Songs", [](DataHandler &d) { d.SongList[2]->BackgroundColour = 4; }},
        {"CopyColoursButton", [this] { click("CopyColoursButton"); }, "Copy Colours to All Songs", "Songs",
         [&](DataHandler &d) {
             copyFields(d, 2, {&Song::BackgroundColour, &Song::ForegroundColour});
         }},
        {"programChangesTF", [this] { enter("programChangesTF", QStringLiteral("42")); }, "Program Change of Song 3",
         "Songs", [](DataHandler &d) { d.SongList[2]->ProgramChange = 42; }},
        {"footTapFunction", [this] { choose(combo("footTapFunction"), 10); }, "Foot TAP Function of Song 3", "Songs",
         [](DataHandler &d) { d.SongList[2]->FootTAPFunction = 10; }},
        {"SongTableView",
         [this] { find<QTableView>("SongTableView")->horizontalHeader()->setSortIndicator(2, Qt::DescendingOrder); },
         "Sort Songs by BPM", "Songs",
         [](DataHandler &d) {
             std::stable_sort(d.SongList.begin(), d.SongList.end(),
                              [](const SongRef &a, const SongRef &b) { return a->Tempo > b->Tempo; });
         }},
        {"ResetSongsCommand", [this] { click("ResetSongsCommand"); }, "Reset Songs", "Songs",
         [](DataHandler &d) { d.resetSongsFields(); }},
        {"jackOneCombo",
         [this] {
             pickSong("Set Jacks", "SetJacksTableView", 4);
             choose(combo("jackOneCombo"), 2);
         },
         "Jack One of Song 5", "Set Jacks", [](DataHandler &d) { d.SongList[4]->JackOne = 2; }},
        {"Jack1TipTAPFunction", [this] { choose(combo("Jack1TipTAPFunction"), 10); },
         "Jack 1 Tip TAP Function of Song 5", "Set Jacks",
         [](DataHandler &d) { d.SongList[4]->Jack1TipTAPFunction = 10; }},
        {"CopySetJacksButton", [this] { click("CopySetJacksButton"); }, "Copy All Jacks to All Songs", "Set Jacks",
         [&](DataHandler &d) { copyFields(d, 4, jackFields); }},
        {"ResetSetJacksCommand", [this] { click("ResetSetJacksCommand"); }, "Reset Set Jacks", "Set Jacks",
         [](DataHandler &d) { d.resetSetJacksFields(); }},
        {"SetlistSongListTableView",
         [this] {
             vc.showPage(QStringLiteral("Setlist"));
             clickRow(find<QTableView>("SetlistSongListTableView"), 4);
         },
         "Add Song 5 to Setlist", "Setlist", [](DataHandler &d) { d.addSongToSetlist(4); }},
        {"SetlistSongListTableView", [this] { clickRow(find<QTableView>("SetlistSongListTableView"), 7); },
         "Add Song 8 to Setlist", "Setlist", [](DataHandler &d) { d.addSongToSetlist(7); }},
        {"SetlistMoveDownButton",
         [this] {
             clickRow(find<QTableView>("SetlistTableView"), 0);
             click("SetlistMoveDownButton");
         },
         "Move Down in Setlist", "Setlist", [](DataHandler &d) { d.moveSetlistEntryDown(0); }},
        {"SetlistRemoveButton", [this] { click("SetlistRemoveButton"); }, "Remove from Setlist", "Setlist",
         [](DataHandler &d) { d.removeSetlistEntry(1); }},
        {"ResetSetlistCommand", [this] { click("ResetSetlistCommand"); }, "Reset Setlist", "Setlist",
         [](DataHandler &d) { d.resetSetlist(); }},
        {"MidiStackName",
         [this] {
             vc.showPage(QStringLiteral("Midi Management"));
             enter("MidiStackName", QStringLiteral("Drums"));
         },
         "Name of Stack 1", "Midi Management",
         [](DataHandler &d) { d.MidiStackList[0].Name = QStringLiteral("Drums"); }},
        {"stackMessageChannel1", [this] { enter("stackMessageChannel1", QStringLiteral("5")); },
         "Channel of Message 1 in Stack 1", "Midi Management",
         [](DataHandler &d) { d.MidiStackList[0].MidiStackMessageList[0].Channel = 5; }},
        {"stackMessageType2", [this] { choose(combo("stackMessageType2"), 1); }, "Type of Message 2 in Stack 1",
         "Midi Management",
         [](DataHandler &d) {
             // An unused row (channel 0) gets channel 1 with a type other than Control.
             d.MidiStackList[0].MidiStackMessageList[1].Typey = 1;
             d.MidiStackList[0].MidiStackMessageList[1].Channel = 1;
         }},
        {"resetStackButton", [this] { click("resetStackButton"); }, "Reset Stack 1", "Midi Management",
         [](DataHandler &d) { d.clearStack(0); }},
        {"addToLibraryButton", [&] { library("Zed"); }, "Add to Library", "Midi Management",
         [&](DataHandler &d) { d.MidiMessageLibrary.push_back(addedEntry("Zed")); }},
        {"addToLibraryButton", [&] { library("Alpha"); }, "Add to Library", "Midi Management",
         [&](DataHandler &d) { d.MidiMessageLibrary.push_back(addedEntry("Alpha")); }},
        {"LibraryTableView",
         [this] { find<QTableView>("LibraryTableView")->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder); },
         "Sort Library by Manufacturer", "Midi Management",
         [](DataHandler &d) { std::swap(d.MidiMessageLibrary[0], d.MidiMessageLibrary[1]); }},
        {"deleteSingleLibraryButton", [this] { click("deleteSingleLibraryButton"); }, "Delete from Library",
         "Midi Management", [](DataHandler &d) { d.removeLibraryEntry(0); }},
        {"stackMessageValue1", [this] { enter("stackMessageValue1", QStringLiteral("64")); },
         "Value of Message 1 in Stack 1", "Midi Management",
         [](DataHandler &d) { d.MidiStackList[0].MidiStackMessageList[0].Value = 64; }},
        {"ResetMidiCommand", [this] { click("ResetMidiCommand"); }, "Reset Midi Stacks", "Midi Management",
         [](DataHandler &d) { d.resetMidiStacks(); }},
        {"MidiChannelInCombo",
         [this] {
             vc.showPage(QStringLiteral("Global Settings"));
             choose(combo("MidiChannelInCombo"), 4);
         },
         "MIDI input channel", "Global Settings", [](DataHandler &d) { d.GlobalMenu.MidiChannelIn = 5; }},
        {"ResetGlobalCommand", [this] { click("ResetGlobalCommand"); }, "Reset Global Settings", "Global Settings",
         [](DataHandler &d) { d.resetGlobals(); }},
        {"resetSessionAction",
         [this] {
             dialogs.answers = {1}; // unsaved changes: Don't Save
             find<QAction>("resetSessionAction")->trigger();
         },
         "Reset Session", nullptr, [](DataHandler &d) { d.resetSessionContents(); }},
        {"openSessionAction",
         [this, tempos] {
             dialogs.answers = {1};
             dialogs.openPaths = {tempos};
             find<QAction>("openSessionAction")->trigger();
         },
         "Open tempos.txt", nullptr,
         [](DataHandler &d) {
             for (const SongRef &s : d.SongList)
                 s->UpdateTempo(100);
         }},
    };

    QAction *undo = find<QAction>("undoAction");
    QAction *redo = find<QAction>("redoAction");
    pickSong("Songs", "SongTableView", 2);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.control);
        SCOPED_TRACE(row.step);
        const SessionSnapshot before = SessionSnapshot::of(store);
        const int steps = vc.history().undoStack().index();
        row.act();
        const SessionSnapshot after = SessionSnapshot::of(store);
        DataHandler expected;
        before.restoreInto(expected);
        row.expected(expected);
        EXPECT_EQ(SessionSnapshot::difference(after, SessionSnapshot::of(expected)), QString());
        EXPECT_NE(after, before);
        EXPECT_EQ(vc.history().undoStack().index(), steps + 1);
        EXPECT_EQ(undo->text(), QStringLiteral("Undo ") + QLatin1String(row.step));

        if (row.page)
            vc.showPage(QStringLiteral("Songs") == QLatin1String(row.page) ? QStringLiteral("Setlist")
                                                                           : QStringLiteral("Songs"));
        undo->trigger();
        EXPECT_EQ(SessionSnapshot::difference(SessionSnapshot::of(store), before), QString());
        EXPECT_EQ(redo->text(), QStringLiteral("Redo ") + QLatin1String(row.step));
        if (row.page) {
            EXPECT_EQ(vc.tabs()->tabText(vc.tabs()->currentIndex()), QLatin1String(row.page));
        }
        expectPagesShowTheStore(vc, store);

        redo->trigger();
        EXPECT_EQ(SessionSnapshot::difference(SessionSnapshot::of(store), after), QString());
        EXPECT_EQ(vc.history().undoStack().index(), steps + 1);
        expectPagesShowTheStore(vc, store);
        if (::testing::Test::HasFailure())
            break;
    }
    // Every step can still be undone, back to the session the window started with.
    while (undo->isEnabled())
        undo->trigger();
    EXPECT_EQ(SessionSnapshot::of(store), SessionSnapshot::of(DataHandler()));
    EXPECT_EQ(vc.history().undoStack().index(), 0);
    EXPECT_TRUE(vc.isWindowModified()); // the opened file is the saved state
}

// Undo shows the song the step changed, on the page it was changed on. Typing in one
// field is one step, and typing it back as it was leaves no step.
TEST_F(Window, UndoShowsTheSongOfTheStepOnItsPageAndTypingIsOneStep)
{
    pickSong("Songs", "SongTableView", 4);
    auto *name = find<QPlainTextEdit>("nameTF");
    QTest::keyClicks(name, QStringLiteral("Abc"));
    EXPECT_EQ(vc.history().undoStack().count(), 1);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_TRUE(song(4).FullName.isEmpty());
    EXPECT_EQ(vc.history().undoStack().count(), 0);
    EXPECT_FALSE(vc.isWindowModified());

    pickSong("Songs", "SongTableView", 2);
    enter("tempoTF", QStringLiteral("99"));
    pickSong("Songs", "SongTableView", 7);
    vc.showPage(QStringLiteral("Global Settings"));
    find<QAction>("undoAction")->trigger();
    EXPECT_EQ(vc.tabs()->tabText(vc.tabs()->currentIndex()), "Songs");
    EXPECT_EQ(vc.context().state.SongsSongIndex, 2);
    EXPECT_EQ(text("idLabel"), "Song # 3");
    EXPECT_EQ(find<QLineEdit>("tempoTF")->text(), "120");
    EXPECT_EQ(find<QTableView>("SongTableView")->selectionModel()->selectedRows().value(0).row(), 2);
}

// Open and Reset Session with unsaved changes ask Save / Don't Save / Cancel; Save writes
// the session first, Don't Save goes on, Cancel changes nothing.
TEST(UnsavedChanges, OpenAndResetAskFirst)
{
    QTemporaryDir dir;
    const QString tempos = dir.filePath(QStringLiteral("tempos.txt"));
    ASSERT_TRUE(writeFile(tempos, "Tempos]" + QByteArray("100").repeated(128) + "\r\n"));
    struct Case
    {
        const char *action;
        int answer; // 0 Save, 1 Don't Save, 2 Cancel
        qint64 tempoAfter;
    };
    const Case cases[] = {
        {"openSessionAction", 0, 100},  {"openSessionAction", 1, 100},  {"openSessionAction", 2, 99},
        {"resetSessionAction", 0, 120}, {"resetSessionAction", 1, 120}, {"resetSessionAction", 2, 99},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + std::to_string(c.answer));
        DataHandler store;
        ScriptedDialogs dialogs;
        ViewController vc(store, dialogs);
        vc.show();
        vc.showPage(QStringLiteral("Songs"));
        clickRow(control<QTableView>(vc, QStringLiteral("SongTableView")), 2);
        QLineEdit *tempo = control<QLineEdit>(vc, QStringLiteral("tempoTF"));
        tempo->setText(QStringLiteral("99"));
        Q_EMIT tempo->editingFinished();
        const QString saved = dir.filePath(QStringLiteral("saved%1.txt").arg(c.action[0]));
        QFile::remove(saved);
        dialogs.answers = {c.answer};
        dialogs.savePaths = {saved};
        dialogs.openPaths = {tempos};
        control<QAction>(vc, QLatin1String(c.action))->trigger();
        ASSERT_FALSE(dialogs.shown.isEmpty());
        EXPECT_EQ(dialogs.shown[0].message, "Do you want to save the changes to this session?");
        EXPECT_EQ(dialogs.shown[0].buttons, QStringList({"Save", "Don't Save", "Cancel"}));
        EXPECT_EQ(dialogs.shown.size(), 1); // the reset asks nothing more
        EXPECT_EQ(store.SongList[2]->Tempo, c.tempoAfter);
        EXPECT_EQ(QFile::exists(saved), c.answer == 0);
        if (c.answer == 0) {
            EXPECT_EQ(valueOf(readFile(saved), QStringLiteral("Tempos")).mid(6, 3), "099");
        }
        EXPECT_EQ(vc.isWindowModified(), c.answer == 2);
    }
}

// Save writes the session's own file without asking once it has one; Save As always asks.
// Both put the file first in Open Recent, whose entries open their files.
TEST_F(Window, SaveUsesTheOwnFileSaveAsAsksAndRecentFilesOpen)
{
    QTemporaryDir dir;
    RecentFiles::clear();
    const QString a = dir.filePath(QStringLiteral("a.txt"));
    const QString b = dir.filePath(QStringLiteral("b.txt"));
    pickSong("Songs", "SongTableView", 0);
    enter("tempoTF", QStringLiteral("99"));
    dialogs.savePaths = {a};
    find<QAction>("saveSessionAction")->trigger();
    EXPECT_EQ(dialogs.savePanelsShown, 1);
    EXPECT_TRUE(vc.windowTitle().contains(QStringLiteral("a.txt")));
    EXPECT_FALSE(vc.isWindowModified());

    enter("tempoTF", QStringLiteral("98"));
    EXPECT_TRUE(vc.isWindowModified());
    find<QAction>("saveSessionAction")->trigger();
    EXPECT_EQ(dialogs.savePanelsShown, 1); // no panel: the session's own file
    EXPECT_TRUE(valueOf(readFile(a), QStringLiteral("Tempos")).startsWith(QStringLiteral("098")));
    EXPECT_FALSE(vc.isWindowModified());
    find<QAction>("undoAction")->trigger(); // away from the saved step and back
    EXPECT_TRUE(vc.isWindowModified());
    find<QAction>("redoAction")->trigger();
    EXPECT_FALSE(vc.isWindowModified());

    enter("tempoTF", QStringLiteral("97"));
    dialogs.savePaths = {b};
    find<QAction>("saveSessionAsAction")->trigger();
    EXPECT_EQ(dialogs.savePanelsShown, 2);
    EXPECT_TRUE(vc.windowTitle().contains(QStringLiteral("b.txt")));
    EXPECT_EQ(RecentFiles::list(), QStringList({QFileInfo(b).absoluteFilePath(), QFileInfo(a).absoluteFilePath()}));
    EXPECT_EQ(RecentFiles::lastFolder(), QFileInfo(dir.path()).absoluteFilePath());

    EXPECT_TRUE(find<QAction>("recentFileAction1")->text().contains(QStringLiteral("b.txt")));
    find<QAction>("recentFileAction2")->trigger();
    EXPECT_TRUE(dialogs.shown.isEmpty()); // nothing unsaved to ask about
    EXPECT_TRUE(vc.windowTitle().contains(QStringLiteral("a.txt")));
    EXPECT_EQ(song(0).Tempo, 98);
    EXPECT_EQ(RecentFiles::list().first(), QFileInfo(a).absoluteFilePath());
    // Undoing the open brings back the session and the file it came from.
    find<QAction>("undoAction")->trigger();
    EXPECT_EQ(song(0).Tempo, 97);
    EXPECT_TRUE(vc.windowTitle().contains(QStringLiteral("b.txt")));

    // A recent file that has gone is refused and leaves the list.
    QFile::remove(a);
    vc.history().markSaved();
    find<QAction>("recentFileAction1")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].message, "The session could not be opened");
    EXPECT_EQ(RecentFiles::list(), QStringList({QFileInfo(b).absoluteFilePath()}));
    EXPECT_EQ(song(0).Tempo, 97);
}

// The backups folder of this test run (QStandardPaths' test mode), emptied first.
QString freshBackups()
{
    const QString folder = BackupFolder::defaultFolder();
    if (folder.contains(QLatin1String("/.qttest/"))) {
        QFile::remove(folder);
        QDir(folder).removeRecursively();
    } else {
        ADD_FAILURE() << "not a folder of the test mode: " << qPrintable(folder);
    }
    return folder;
}

// The window with a pedal link over a fake serial device.
struct PedalWindow : ::testing::Test
{
    DataHandler store;
    ScriptedDialogs dialogs;
    ManualScheduler scheduler;
    QStringList ports{QStringLiteral("/dev/ttyS0")};
    FakeSerialTransport *device = new FakeSerialTransport;
    SerialHandler serial{scheduler, std::unique_ptr<SerialPortTransport>(device),
                         std::make_unique<PortLister>([this] { return ports; })};
    PedalLink link{serial, store, scheduler};
    FirmwareUpdater firmware{serial, scheduler};
    ViewController vc{store, dialogs, ViewController::Pedal{&serial, &link, &firmware}};

    PedalWindow() { vc.ensureAllPages(); }

    QPushButton *button(const char *name) { return control<QPushButton>(vc, QString::fromLatin1(name)); }
    QString status() const { return vc.statusBar()->currentMessage(); }
    // Send All and Load All leave backups: none stays behind.
    ~PedalWindow() override { freshBackups(); }
    void connectPedal()
    {
        vc.show();
        ports.append(QStringLiteral("/dev/ttyACM0"));
        button("connectToPedalButton")->click();
        scheduler.runAll();
        device->clearWrites();
        dialogs.shown.clear();
    }
    // The pedal's answer to every request of a Load All: all its keys with the first
    // request, then the ends of the others.
    void answerLoadAll(const DataHandler &pedal)
    {
        QString text = QStringLiteral("]3\r\n");
        for (int k : PedalLink::keysOf(PedalLink::Load::All))
            text += QString::fromLatin1(SessionKeys::at(k).key) + QLatin1Char(']')
                + SessionWriter::value(pedal, k, SessionWriter::Form::Reply) + QStringLiteral("\r\n");
        device->receive((text + QStringLiteral(";\r\n")).toUtf8());
        for (int i = 1; i < PedalLink::requestsOf(PedalLink::Load::All).size(); ++i)
            device->receive(QByteArrayLiteral("]3\r\n;\r\n"));
    }
    QAction *find(const char *name) { return control<QAction>(vc, QString::fromLatin1(name)); }
};

// The status bar shows the connection as it is: during the connected alert, after a loss
// and after connecting again; hints that no longer hold go.
TEST_F(PedalWindow, StatusBarShowsTheConnectionAsItIs)
{
    vc.show();
    QLabel *label = control<QLabel>(vc, QStringLiteral("connectionLabel"));
    EXPECT_EQ(label->text(), "Not connected");
    vc.statusBar()->showMessage(QStringLiteral("Virtual pedal attached at /dev/pts/9. Press Connect to use it."));
    ports.append(QStringLiteral("/dev/ttyACM0"));
    QStringList duringAlert;
    dialogs.whileShown = [&](const Alert &) {
        QApplication::processEvents(); // the alert's own event loop
        duringAlert.append(label->text());
    };
    find("connectAction")->trigger();
    ASSERT_EQ(dialogs.messages(), QStringList({"Success!"}));
    EXPECT_EQ(duringAlert, QStringList({"Connected: /dev/ttyACM0"}));
    QApplication::processEvents();
    EXPECT_EQ(label->text(), "Connected: /dev/ttyACM0");
    EXPECT_TRUE(vc.statusBar()->currentMessage().isEmpty()) << "the attach hint no longer holds";

    device->unplug();
    EXPECT_EQ(label->text(), "Not connected (/dev/ttyACM0 was disconnected)");
    EXPECT_TRUE(vc.statusBar()->currentMessage().contains(QStringLiteral("disconnected")));
    QApplication::processEvents();
    EXPECT_FALSE(label->text().startsWith(QStringLiteral("Connected")));

    find("connectAction")->trigger();
    EXPECT_EQ(duringAlert.last(), "Connected: /dev/ttyACM0") << "the same port again";
    QApplication::processEvents();
    EXPECT_EQ(label->text(), "Connected: /dev/ttyACM0");
    EXPECT_TRUE(vc.statusBar()->currentMessage().isEmpty());
}

TEST_F(PedalWindow, ConnectPreviewAndSendGoThroughTheLink)
{
    vc.show();
    EXPECT_EQ(control<QLabel>(vc, QStringLiteral("connectionLabel"))->text(), "Not connected");
    ports.append(QStringLiteral("/dev/ttyACM0"));
    button("connectToPedalButton")->click();
    EXPECT_TRUE(serial.isConnected());
    EXPECT_TRUE(
        control<QLabel>(vc, QStringLiteral("connectionLabel"))->text().contains(QStringLiteral("/dev/ttyACM0")));
    scheduler.runAll();
    device->clearWrites();

    store.SongList[2]->UpdateName(QStringLiteral("Hi You"));
    vc.showPage(QStringLiteral("Songs"));
    clickRow(control<QTableView>(vc, QStringLiteral("SongTableView")), 2);
    button("previewNameButton")->click();
    scheduler.runAll();
    const QString preview = device->written();
    EXPECT_TRUE(preview.startsWith(QStringLiteral("]1;003"))) << preview.toStdString();
    EXPECT_TRUE(preview.contains(QStringLiteral("Hi_You`"))) << preview.toStdString();

    device->clearWrites();
    dialogs.answers = {0};
    button("SendSongCommand")->click();
    EXPECT_EQ(dialogs.shown.last().message, "About to send");
    scheduler.advance(0);
    EXPECT_FALSE(control<QProgressBar>(vc, QStringLiteral("transferProgress"))->isHidden());
    scheduler.runAll();
    EXPECT_TRUE(control<QProgressBar>(vc, QStringLiteral("transferProgress"))->isHidden());
    const QString sent = device->written();
    EXPECT_TRUE(sent.startsWith(QStringLiteral("\r\n]3;"))); // a line end first, then the upload
    EXPECT_TRUE(sent.endsWith(QLatin1Char(';')));
    EXPECT_TRUE(sent.contains(QStringLiteral("Tempos]")));
    EXPECT_FALSE(sent.contains(QStringLiteral("ExpStack]"))); // a Set Jacks key
}

// Cancel beside the progress bar, and Esc, stop a send and a load at once, with no alert;
// the status bar says so, and says how a finished transfer went. Send All and Load All
// each leave one backup.
TEST_F(PedalWindow, CancelStopsASendAndALoadAndTheStatusBarTellsTheEnd)
{
    freshBackups();
    connectPedal();
    QPushButton *cancel = button("cancelTransferButton");
    QAction *escape = control<QAction>(vc, QStringLiteral("cancelTransferAction"));
    EXPECT_EQ(escape->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_TRUE(cancel->isHidden());
    EXPECT_FALSE(escape->isEnabled());

    dialogs.answers = {0};
    button("SendAllCommand")->click();
    scheduler.advance(600);
    ASSERT_TRUE(link.sending());
    EXPECT_FALSE(cancel->isHidden());
    cancel->click();
    EXPECT_FALSE(link.busy());
    EXPECT_TRUE(cancel->isHidden());
    EXPECT_TRUE(control<QProgressBar>(vc, QStringLiteral("transferProgress"))->isHidden());
    EXPECT_EQ(status(), "Send cancelled");
    const qsizetype written = device->writes.size();
    scheduler.runAll();
    EXPECT_EQ(device->writes.size(), written) << "nothing more goes out";

    dialogs.answers = {0};
    button("LoadAllCommand")->click();
    ASSERT_TRUE(link.loading());
    EXPECT_TRUE(escape->isEnabled());
    escape->trigger();
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(status(), "Load cancelled");
    EXPECT_EQ(dialogs.messages(), QStringList({"About to send", "About to receive"})) << "no alert for a cancel";

    // Then a whole send and a whole load.
    device->clearWrites();
    dialogs.answers = {0};
    button("SendAllCommand")->click();
    scheduler.runAll();
    EXPECT_TRUE(device->written().startsWith(QStringLiteral("\r\n]3;")));
    EXPECT_TRUE(device->written().endsWith(QLatin1Char(';')));
    EXPECT_TRUE(status().startsWith(QStringLiteral("Sent all pages in "))) << qPrintable(status());
    DataHandler pedal;
    for (const SongRef &song : pedal.SongList)
        song->UpdateTempo(90);
    pedal.SongList[1]->UpdateName(QStringLiteral("From Pedal"));
    pedal.GlobalMenu.MidiChannelIn = 7;
    dialogs.answers = {0};
    button("LoadAllCommand")->click();
    answerLoadAll(pedal);
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(status(), "Loaded all pages");
    EXPECT_EQ(fileForm(store), fileForm(pedal));

    QStringList reasons;
    for (const BackupFolder::Entry &e : BackupFolder().list())
        reasons.prepend(e.reason);
    EXPECT_EQ(reasons, QStringList({"Send All", "Load All", "Send All", "Load All"}));
}

// Every guarded operation leaves a backup of the session as it was; Restore Backup opens
// one as one step that undoes. A backup that cannot be written stops the operation unless
// the user goes on.
TEST_F(PedalWindow, BackupsBeforeGuardedOperationsAndRestoreBringsOneBack)
{
    const QString folder = freshBackups();
    connectPedal();
    vc.history().edit(QStringLiteral("Tempo"), [&] { store.SongList[0]->UpdateTempo(101); });
    const SessionSnapshot atSend = SessionSnapshot::of(store);
    dialogs.answers = {0};
    button("SendAllCommand")->click();
    scheduler.runAll();
    vc.history().edit(QStringLiteral("Tempo"), [&] { store.SongList[0]->UpdateTempo(150); });
    const QList<BackupFolder::Entry> backups = BackupFolder().list();
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(backups[0].reason, "Send All");
    EXPECT_EQ(backups[0].sessionName, QString()) << "an untitled session";

    int rows = -1;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<RestoreBackupDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        rows = dialog->findChild<QTreeWidget *>(QStringLiteral("backupList"))->topLevelItemCount();
        dialog->select(0);
        dialog->accept();
    });
    dialogs.shown.clear();
    dialogs.answers = {1}; // unsaved changes: Don't Save
    control<QAction>(vc, QStringLiteral("restoreBackupAction"))->trigger();
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(dialogs.messages(), QStringList({"Do you want to save the changes to this session?"}));
    EXPECT_EQ(SessionSnapshot::of(store), atSend);
    EXPECT_TRUE(vc.session().filePath().isEmpty()) << "Save never overwrites a backup";
    EXPECT_TRUE(vc.isWindowModified());
    QAction *undo = control<QAction>(vc, QStringLiteral("undoAction"));
    EXPECT_TRUE(undo->text().startsWith(QStringLiteral("Undo Restore Backup"))) << qPrintable(undo->text());
    undo->trigger();
    EXPECT_EQ(store.SongList[0]->Tempo, 150);

    // The folder cannot be made: asked; Cancel stops the Send All, Ok goes on without.
    QDir(folder).removeRecursively();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    ASSERT_TRUE(writeFile(folder, "in the way"));
    device->clearWrites();
    dialogs.shown.clear();
    dialogs.answers = {0, 1};
    button("SendAllCommand")->click();
    scheduler.runAll();
    EXPECT_EQ(dialogs.messages(), QStringList({"About to send", "The backup could not be written"}));
    EXPECT_TRUE(device->writes.isEmpty());
    dialogs.answers = {0, 0};
    button("SendAllCommand")->click();
    scheduler.runAll();
    EXPECT_TRUE(device->written().endsWith(QLatin1Char(';')));
    QFile::remove(folder);
}

// Upload Firmware without a shipped image asks for one, refuses an empty one before the
// pedal is touched, names the file in the confirmation, backs the session up and runs
// the flashing tool.
TEST_F(PedalWindow, UploadFirmwareTakesAnImageFileChecksItAndBacksUp)
{
    freshBackups();
    QTemporaryDir temp;
    const QString resources = temp.filePath(QStringLiteral("resources"));
    QDir().mkpath(resources);
    ASSERT_TRUE(
        writeFile(resources + QStringLiteral("/bossac"), "#!/bin/sh\necho 'Write 64 bytes to flash (1 pages)'\n"));
    QFile::setPermissions(resources + QStringLiteral("/bossac"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldResources = qgetenv("PEDAL_RESOURCES_DIR");
    qputenv("PEDAL_RESOURCES_DIR", resources.toLocal8Bit());
    const QString empty = temp.filePath(QStringLiteral("empty.bin"));
    const QString image = temp.filePath(QStringLiteral("pedal-2.1.bin"));
    ASSERT_TRUE(writeFile(empty, QByteArray()));
    ASSERT_TRUE(writeFile(image, QByteArray(64, '\x5a')));
    connectPedal();
    const qsizetype opens = device->opens.size();

    dialogs.openPaths = {empty};
    button("UploadFirmwareButton")->click();
    EXPECT_EQ(dialogs.messages(), QStringList({"Cannot update the firmware"}));
    EXPECT_EQ(device->opens.size(), opens);

    dialogs.shown.clear();
    dialogs.openPaths = {image};
    dialogs.answers = {1};
    button("UploadFirmwareButton")->click();
    ASSERT_EQ(dialogs.messages(), QStringList({"About to upload"}));
    EXPECT_TRUE(dialogs.shown[0].informative.contains(image));
    EXPECT_TRUE(dialogs.shown[0].informative.contains(QStringLiteral("64 bytes")));
    EXPECT_TRUE(BackupFolder().list().isEmpty());
    EXPECT_TRUE(device->isOpen());

    dialogs.shown.clear();
    dialogs.openPaths = {image};
    dialogs.answers = {0};
    button("UploadFirmwareButton")->click();
    ASSERT_EQ(BackupFolder().list().size(), 1);
    EXPECT_EQ(BackupFolder().list()[0].reason, "Firmware Update");
    EXPECT_EQ(device->opens.last().settings.baudRate, 1200);
    QSignalSpy finished(&firmware, &FirmwareUpdater::finished);
    scheduler.advance(FirmwareUpdater::BootLoaderWaitMs);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(dialogs.messages(), QStringList({"About to upload", "Success!"}));
    EXPECT_FALSE(serial.isConnected());
    EXPECT_EQ(RecentFiles::lastFirmwareFolder(), temp.path());
    if (oldResources.isEmpty())
        qunsetenv("PEDAL_RESOURCES_DIR");
    else
        qputenv("PEDAL_RESOURCES_DIR", oldResources);
}

// View ▸ Pedal Log: what went over the port and the alerts, with times; Clear and Save….
TEST_F(PedalWindow, PedalLogListsTrafficAndAlertsAndIsClearedAndSaved)
{
    auto *dock = vc.findChild<PedalLogDock *>(QStringLiteral("pedalLogDock"));
    ASSERT_NE(dock, nullptr);
    vc.show();
    EXPECT_FALSE(dock->isVisible());
    control<QAction>(vc, QStringLiteral("pedalLogAction"))->trigger();
    EXPECT_TRUE(dock->isVisible());
    connectPedal();
    dialogs.answers = {0};
    button("SendSongCommand")->click();
    scheduler.runAll();
    const QString text = dock->log().text();
    for (const char *line : {"port      opened /dev/ttyACM0 at 9600 baud", "alert     Success!: Pedal Connected",
                             "alert     About to send", "sent      ]3;", "upload    piece 1 of "})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
    auto *view = control<QPlainTextEdit>(vc, QStringLiteral("pedalLogView"));
    EXPECT_EQ(view->toPlainText() + QLatin1Char('\n'), text);

    QTemporaryDir temp;
    const QString saved = temp.filePath(QStringLiteral("pedal.log.txt"));
    dialogs.savePaths = {saved};
    control<QPushButton>(vc, QStringLiteral("savePedalLogButton"))->click();
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), text);
    control<QPushButton>(vc, QStringLiteral("clearPedalLogButton"))->click();
    EXPECT_EQ(dock->log().size(), 0);
    EXPECT_TRUE(view->toPlainText().isEmpty());
}

// The window's alerts: a confirmation that destroys data defaults to Cancel, and
// destructive confirmations and failures carry the warning icon.
TEST(AlertBox, IconAndDefaultButtonFollowTheKindOfAlert)
{
    const struct
    {
        const char *what;
        std::function<void(Dialogs &)> ask;
        QMessageBox::Icon icon;
        const char *defaultButton;
    } rows[] = {
        {"confirm", [](Dialogs &d) { d.confirm("About to send", QString()); }, QMessageBox::Question, "Ok"},
        {"destructive", [](Dialogs &d) { d.confirmDestructive("About to factory reset", QString()); },
         QMessageBox::Warning, "Cancel"},
        {"note", [](Dialogs &d) { d.inform("Success!", QString()); }, QMessageBox::Information, "Ok"},
        {"failure", [](Dialogs &d) { d.warn("The file could not be saved", QString()); }, QMessageBox::Warning, "Ok"},
        {"not connected", [](Dialogs &d) { d.notConnected(); }, QMessageBox::Warning, "Ok"},
    };
    WidgetDialogs dialogs;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString defaultButton;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            box->reject();
        });
        row.ask(dialogs);
        EXPECT_EQ(icon, row.icon);
        EXPECT_EQ(defaultButton, row.defaultButton);
    }
}

// What a load from the pedal brings is one step named by its button, and the pages show it
// once it has arrived. The normalisation a send makes is a step of its own.
TEST_F(PedalWindow, ALoadIsOneStepAndASendsNormalisationAnother)
{
    vc.show();
    ports.append(QStringLiteral("/dev/ttyACM0"));
    button("connectToPedalButton")->click();
    scheduler.runAll();
    DataHandler pedal;
    for (const SongRef &s : pedal.SongList)
        s->UpdateTempo(90);
    pedal.SongList[1]->UpdateName(QStringLiteral("From Pedal"));
    pedal.GlobalMenu.MidiChannelIn = 7;
    const auto reply = [&](std::initializer_list<const char16_t *> keys) {
        QString text = QStringLiteral("]3\r\n");
        for (const char16_t *key : keys)
            text += QString::fromUtf16(key) + QLatin1Char(']')
                + SessionWriter::value(pedal, SessionKeys::indexOf(key), SessionWriter::Form::Reply)
                + QStringLiteral("\r\n");
        device->receive((text + QStringLiteral(";\r\n")).toUtf8());
    };
    vc.showPage(QStringLiteral("Songs"));
    clickRow(control<QTableView>(vc, QStringLiteral("SongTableView")), 1);
    const SessionSnapshot before = SessionSnapshot::of(store);
    QAction *undo = control<QAction>(vc, QStringLiteral("undoAction"));
    dialogs.answers = {0};
    button("LoadAllCommand")->click();
    reply({u"Name", u"Tempos"});
    reply({u"Global"});
    for (int i = 2; i < PedalLink::requestsOf(PedalLink::Load::All).size(); ++i)
        reply({});
    ASSERT_FALSE(link.busy());
    EXPECT_EQ(vc.history().undoStack().count(), 1);
    EXPECT_EQ(undo->text(), "Undo Load All");
    EXPECT_EQ(store.SongList[1]->FullName, "From Pedal");
    EXPECT_EQ(control<QLineEdit>(vc, QStringLiteral("tempoTF"))->text(), "90"); // shown without Refresh
    EXPECT_EQ(control<QPlainTextEdit>(vc, QStringLiteral("nameTF"))->toPlainText(), "From Pedal");
    EXPECT_EQ(control<QComboBox>(vc, QStringLiteral("MidiChannelInCombo"))->currentIndex(), 6);
    EXPECT_TRUE(vc.isWindowModified());
    const SessionSnapshot loaded = SessionSnapshot::of(store);
    undo->trigger();
    EXPECT_EQ(SessionSnapshot::of(store), before);
    EXPECT_EQ(control<QComboBox>(vc, QStringLiteral("MidiChannelInCombo"))->currentIndex(), 0);
    control<QAction>(vc, QStringLiteral("redoAction"))->trigger();
    EXPECT_EQ(SessionSnapshot::of(store), loaded);

    // A tempo the text form cannot carry: the send clamps it, and that can be undone.
    clickRow(control<QTableView>(vc, QStringLiteral("SongTableView")), 3);
    QLineEdit *tempo = control<QLineEdit>(vc, QStringLiteral("tempoTF"));
    // A field takes no such tempo; a file or the pedal may bring one.
    vc.history().edit(QStringLiteral("Tempo of Song 4"), [&] { store.SongList[3]->UpdateTempo(500); });
    vc.songsPage()->showSong();
    dialogs.answers = {0};
    button("SendSongCommand")->click();
    scheduler.runAll();
    EXPECT_EQ(store.SongList[3]->Tempo, 300);
    EXPECT_EQ(tempo->text(), "300");
    EXPECT_EQ(undo->text(), "Undo Normalise Session");
    undo->trigger();
    EXPECT_EQ(store.SongList[3]->Tempo, 500);
    EXPECT_EQ(undo->text(), "Undo Tempo of Song 4");
}

// Send Changes: with nothing known it offers Send All; after it, nothing to send; after an
// edit, one upload of the changed key. Compare with Pedal loads the pedal into a session of
// its own and shows the changes; the window's session and its steps stay as they were.
TEST_F(PedalWindow, SendChangesAndCompareWithPedal)
{
    freshBackups();
    vc.show();
    ports.append(QStringLiteral("/dev/ttyACM0"));
    button("connectToPedalButton")->click();
    scheduler.runAll();
    device->clearWrites();
    dialogs.shown.clear();
    QAction *sendChanges = control<QAction>(vc, QStringLiteral("sendChangesAction"));
    EXPECT_EQ(sendChanges->shortcut(), QKeySequence(QStringLiteral("Ctrl+U")));

    dialogs.answers = {1}; // Cancel
    sendChanges->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].message, "The session on the pedal is not known");
    EXPECT_EQ(dialogs.shown[0].buttons, QStringList({"Send All", "Cancel"}));
    EXPECT_TRUE(device->writes.isEmpty());
    dialogs.answers = {0}; // Send All
    sendChanges->trigger();
    scheduler.runAll();
    EXPECT_TRUE(device->written().contains(QStringLiteral("ExpStack]")));
    ASSERT_TRUE(vc.knownSession()->isKnown());

    device->clearWrites();
    sendChanges->trigger();
    EXPECT_EQ(dialogs.shown.last().message, "Nothing to send");
    EXPECT_TRUE(device->writes.isEmpty());

    vc.showPage(QStringLiteral("Songs"));
    clickRow(control<QTableView>(vc, QStringLiteral("SongTableView")), 3);
    QLineEdit *tempo = control<QLineEdit>(vc, QStringLiteral("tempoTF"));
    tempo->setText(QStringLiteral("97"));
    Q_EMIT tempo->editingFinished();
    dialogs.answers = {0};
    sendChanges->trigger();
    EXPECT_EQ(dialogs.shown.last().message, "About to send");
    EXPECT_TRUE(dialogs.shown.last().informative.contains(QStringLiteral("Song 4: Tempo 120 → 97")))
        << qPrintable(dialogs.shown.last().informative);
    scheduler.runAll();
    EXPECT_TRUE(device->written().startsWith(QStringLiteral("\r\n]3;Tempos]")))
        << qPrintable(device->written().left(30));
    EXPECT_EQ(device->written().count(QLatin1Char(']')), 2);
    EXPECT_TRUE(vc.knownSession()->changedKeys().empty());
    QStringList backups; // one before each send that overwrites the pedal, oldest first
    for (const BackupFolder::Entry &e : BackupFolder().list())
        backups.prepend(e.reason);
    EXPECT_EQ(backups, QStringList({"Send All", "Send Changes"}));

    // The pedal has another tempo for song 2 and another Midi Channel In.
    DataHandler pedal;
    SessionSnapshot::of(store).restoreInto(pedal);
    pedal.SongList[1]->UpdateTempo(90);
    pedal.GlobalMenu.MidiChannelIn = 7;
    const SessionSnapshot before = SessionSnapshot::of(store);
    const int steps = vc.history().undoStack().count();
    control<QAction>(vc, QStringLiteral("compareWithPedalAction"))->trigger();
    EXPECT_TRUE(link.busy()); // the port is taken: the editor's own link refuses
    QString data = QStringLiteral("]3\r\n");
    for (int k = 0; k < SessionKeys::Count; ++k)
        if (SessionKeys::at(k).gated)
            data += QLatin1String(SessionKeys::at(k).key) + QLatin1Char(']')
                + SessionWriter::value(pedal, k, SessionWriter::Form::Reply) + QStringLiteral("\r\n");
    device->receive((data + QStringLiteral(";\r\n")).toUtf8());
    for (int i = 1; i < PedalLink::requestsOf(PedalLink::Load::All).size(); ++i)
        device->receive(QByteArrayLiteral("]3\r\n;\r\n"));
    scheduler.runAll();
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(SessionSnapshot::of(store), before);
    EXPECT_EQ(vc.history().undoStack().count(), steps);
    auto *dock = vc.findChild<CompareDock *>(QStringLiteral("CompareDock"));
    ASSERT_NE(dock, nullptr);
    QStringList changes;
    for (const SessionChange &c : dock->changes())
        changes.append(c.text());
    EXPECT_EQ(changes, QStringList({"Song 2: Tempo 120 → 90", "Global: Midi Channel In 1 → 7"}));
    EXPECT_TRUE(
        control<QLabel>(vc, QStringLiteral("compareSummaryLabel"))->text().contains(QStringLiteral("the pedal")));
    // What the pedal has is known now: Send Changes would send those two keys back.
    EXPECT_EQ(vc.knownSession()->changedKeys().size(), 2u);
}

TEST(OpenPanel, ShowsSessionFilesFilesWithoutExtensionAndFolders)
{
    const QStringList suffixes = {"txt", "text", "bin", ""};
    EXPECT_TRUE(OpenPanelFilter::accepts(QStringLiteral("set.txt"), false, suffixes));
    EXPECT_TRUE(OpenPanelFilter::accepts(QStringLiteral("SET.TXT"), false, suffixes));
    EXPECT_TRUE(OpenPanelFilter::accepts(QStringLiteral("Kestil_V2.bin"), false, suffixes));
    EXPECT_TRUE(OpenPanelFilter::accepts(QStringLiteral("old session"), false, suffixes));
    EXPECT_TRUE(OpenPanelFilter::accepts(QStringLiteral(".hidden"), false, suffixes));
    EXPECT_TRUE(OpenPanelFilter::accepts(QStringLiteral("folder.d"), true, suffixes));
    EXPECT_FALSE(OpenPanelFilter::accepts(QStringLiteral("song.mp3"), false, suffixes));
    EXPECT_FALSE(OpenPanelFilter::accepts(QStringLiteral("set.txt.bak"), false, suffixes));
}

// Pedal ▸ Attach Virtual Pedal starts the virtual pedal; its port then counts as newly
// attached, so Connect opens it. Without the program the window says so.
TEST(VirtualPedalWindow, AttachThenConnect)
{
    DataHandler store;
    ScriptedDialogs dialogs;
    QtScheduler scheduler;
    SerialHandler serial{scheduler};
    auto vc = std::make_unique<ViewController>(store, dialogs, ViewController::Pedal{&serial, nullptr, nullptr});
    auto *process = vc->findChild<VirtualPedalProcess *>();
    ASSERT_NE(process, nullptr);
    QAction *attach = control<QAction>(*vc, QStringLiteral("attachVirtualPedalAction"));
    if (VirtualPedalProcess::findProgram().isEmpty()) {
        attach->trigger();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].message, "The virtual pedal is not available");
        return;
    }
    QSignalSpy attached(process, &VirtualPedalProcess::attached);
    attach->trigger();
    ASSERT_TRUE(attached.wait(15000)) << dialogs.messages().join(QLatin1Char('|')).toStdString();
    const QString device = attached.first().first().toString();
    EXPECT_TRUE(qEnvironmentVariable("PEDAL_EXTRA_PORTS").split(QLatin1Char(':')).contains(device));
    control<QPushButton>(*vc, QStringLiteral("connectToPedalButton"))->click();
    EXPECT_EQ(serial.portName(), device);
    EXPECT_TRUE(control<QLabel>(*vc, QStringLiteral("connectionLabel"))->text().contains(device));
    ASSERT_FALSE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.shown.last().message, "Success!");
    serial.closeAtExit();
    vc.reset(); // ends the virtual pedal
    EXPECT_FALSE(QFile::exists(device));
}

} // namespace
