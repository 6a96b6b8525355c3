// The editor window: its menus, the session actions, undo, unsaved changes and the close
// question, the pedal commands through a fake serial device, and the virtual pedal.

#include "QtPrinters.h"
#include "FlashTool.h"
#include "ScopedEnvironment.h"
#include "EditorPedalRig.h"
#include "SessionText.h"
#include "SetlistPdf.h"
#include "RandomSession.h"
#include "Snapshot.h"

#include "editor/CheckDock.h"
#include "editor/CompareDock.h"
#include "editor/Look.h"
#include "editor/ShownTexts.h"
#include "editor/Translations.h"
#include "editor/OpenPanelFilter.h"
#include "editor/PedalSessionFlow.h"
#include "editor/PedalLogDock.h"
#include "editor/RecentFiles.h"
#include "editor/SessionActions.h"
#include "editor/VirtualPedalProcess.h"
#include "editor/WidgetDialogs.h"
#include "editor/WindowCommands.h"
#include "link/PedalKnownSession.h"
#include "format/SongsCsv.h"
#include "link/QtScheduler.h"
#include "model/SessionSnapshot.h"
#include "print/SetlistPrint.h"
#include "tools/virtual-pedal/VirtualPedal.h"

#include <QDockWidget>
#include <QGroupBox>
#include <QMenuBar>
#include <QStyle>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListWidget>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTranslator>
#include <QTreeWidgetItemIterator>

#include <csignal>
#include <functional>
#include <map>
#include <optional>

namespace {

using Window = WindowFixture;

// Without a pedal link the pedal buttons ask nothing (fields readable: editor_access_test).
TEST_F(Window, FieldsReadableAndNoPedalNoQuestion)
{
    // Every command's icon is bundled, for a desktop without an icon theme, in both sizes.
    for (const WindowCommand &row : WindowCommandTable::rows())
        for (const char *size : {"", "@2x"})
            if (row.icon) {
                EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/commands/%1%2.png").arg(row.icon, size))) << row.icon;
            }
    auto *log = find<QPlainTextEdit>("pedalLogView");
    QTest::keyClicks(log, "x");
    EXPECT_TRUE(log->toPlainText().isEmpty()) << "the log is read, not written";
    for (const char *b : {"SendAllCommand", "connectToPedalButton", "SendSongCommand", "LoadSetJacksCommand",
                          "SendSetlistCommand", "LoadMidiCommand", "SendMenuCommand"})
        click(QLatin1String(b));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// Every text the window shows, in the order it is built: labels, buttons, group titles,
// tab titles, list items, table headers, placeholders, tool tips and the menus.
QStringList shownTexts(ViewController &vc)
{
    QStringList out;
    const auto add = [&out](const QString &t) { out << t; };
    const auto addModel = [&](const QAbstractItemModel *m) {
        for (int c = 0; m && c < m->columnCount(); ++c)
            add(m->headerData(c, Qt::Horizontal).toString());
    };
    for (QWidget *w : vc.findChildren<QWidget *>()) {
        add(w->toolTip());
        if (auto *l = qobject_cast<QLabel *>(w))
            add(l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            add(g->title());
        if (auto *e = qobject_cast<QLineEdit *>(w))
            add(e->placeholderText());
        if (auto *d = qobject_cast<QDockWidget *>(w))
            add(d->windowTitle());
        if (auto *t = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < t->count(); ++i)
                add(t->tabText(i));
        if (auto *c = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                add(c->itemText(i));
        if (auto *v = qobject_cast<QAbstractItemView *>(w))
            addModel(v->model());
        if (auto *t = qobject_cast<QTreeWidget *>(w))
            add(t->headerItem()->text(0));
    }
    std::function<void(QMenu *)> menu = [&](QMenu *m) {
        add(m->title());
        for (QAction *a : m->actions()) {
            add(a->text());
            add(a->toolTip());
            if (a->menu())
                menu(a->menu());
        }
    };
    for (QAction *a : vc.menuBar()->actions())
        menu(a->menu());
    return out;
}

// A text is English still when it holds a word besides the names every language keeps.
bool holdsWords(QString text)
{
    static const QRegularExpression kept(QStringLiteral(
        "<[^>]*>|&|\\b(MIDI|BPM|CC|CV|ms|Qt|Songs?|Stacks?|Name|Position|Ring|Magenta|Tempo|Pedal|Aa|Esc|F5|Ctrl|"
        "Shift|Program|Control)\\b"));
    text.remove(kept);
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

// The factory session's own names and the recent files are data, kept as they are.
bool isSessionData(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("^(\\d+: )?Midi Stack \\d+$|^&\\d+ |^/")));
}

// With the German translation every page, menu and dock shows German, and so do the
// window's questions; without it the same window is English.
TEST(Translation, GermanLeavesNoTextInEnglish)
{
    const auto build = [](DataHandler &store, ScriptedDialogs &dialogs) {
        auto vc = std::make_unique<ViewController>(store, dialogs);
        vc->pages().buildAll();
        vc->show();
        for (int t = 0; t < vc->tabs()->count(); ++t)
            vc->tabs()->setCurrentIndex(t);
        QApplication::processEvents();
        vc->commands().action(CommandId::ResetSession)->trigger(); // a question (answered Cancel)
        return vc;
    };
    DataHandler englishStore, germanStore;
    ScriptedDialogs englishDialogs, germanDialogs;
    englishDialogs.answers = {1};
    germanDialogs.answers = {1};
    const auto english = build(englishStore, englishDialogs);
    const QStringList englishTexts = shownTexts(*english);

    QList<QTranslator *> before = qApp->findChildren<QTranslator *>();
    ASSERT_TRUE(Translations::install(*qApp, QLocale(QLocale::German, QLocale::Germany)));
    const auto german = build(germanStore, germanDialogs);
    const QStringList germanTexts = shownTexts(*german);
    ASSERT_EQ(germanTexts.size(), englishTexts.size());
    int untranslated = 0;
    for (qsizetype i = 0; i < germanTexts.size(); ++i)
        if (germanTexts[i] == englishTexts[i] && holdsWords(germanTexts[i]) && !isSessionData(germanTexts[i])) {
            ADD_FAILURE() << "still English: " << qPrintable(germanTexts[i]);
            ++untranslated;
        }
    EXPECT_EQ(untranslated, 0);
    EXPECT_TRUE(germanTexts.contains(QStringLiteral("Setliste")));
    EXPECT_TRUE(germanTexts.contains(QStringLiteral("Fußschalter")));
    EXPECT_EQ(german->commands().action(CommandId::DarkLook)->text(), QStringLiteral("&Dunkle Darstellung"));
    ASSERT_EQ(germanDialogs.shown.size(), 1);
    EXPECT_EQ(germanDialogs.shown[0].message, QStringLiteral("Zurücksetzen"));
    EXPECT_EQ(ShownTexts::alert(germanDialogs.shown[0].buttons.last()), QStringLiteral("Abbrechen"));
    for (QTranslator *t : qApp->findChildren<QTranslator *>())
        if (!before.contains(t)) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    EXPECT_EQ(SessionKeys::pageTitle(SessionKeys::Page::Setlist), QStringLiteral("Setlist")) << "files stay English";
}

// View ▸ Dark Look turns the whole program dark and back, is remembered for the next
// window, and the marks the window draws keep a contrast of 3:1 in either look.
TEST_F(Window, DarkLookIsRememberedAndMarksStayReadable)
{
    QAction *dark = vc.commands().action(CommandId::DarkLook);
    ASSERT_EQ(dark->objectName(), QStringLiteral("darkLookAction"));
    ASSERT_TRUE(dark->isCheckable());
    const QPalette desktop = QApplication::palette();
    const QString desktopStyle = QApplication::style()->name();
    const auto readable = [this](const QPalette &p) {
        // The command bar's own icons are drawn in the look's button text colour.
        const QImage icon = vc.commands().action(CommandId::Connect)->icon().pixmap(24).toImage();
        QColor ink;
        for (int y = 0; y < icon.height() && !ink.isValid(); ++y)
            for (int x = 0; x < icon.width() && !ink.isValid(); ++x)
                if (icon.pixelColor(x, y).alpha() == 255)
                    ink = icon.pixelColor(x, y);
        EXPECT_GE(Look::contrast(ink, p.color(QPalette::Button)), 4.5);
        for (QPalette::ColorRole ground : {QPalette::Window, QPalette::Base})
            for (const QColor &mark : {Look::refused(), Look::changed(), Look::good(), Look::busy(), Look::neutral()}) {
                EXPECT_GE(Look::contrast(mark, p.color(ground)), 3.0) << qPrintable(mark.name());
            }
        EXPECT_GE(Look::contrast(p.color(QPalette::WindowText), p.color(QPalette::Window)), 4.5);
    };
    readable(desktop);
    dark->trigger();
    EXPECT_TRUE(Look::isDark());
    EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Look::darkPalette().color(QPalette::Window));
    EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 80);
    readable(QApplication::palette());
    EXPECT_TRUE(RecentFiles::flag(QStringLiteral("darkLookAction"), false));
    {
        DataHandler other;
        ScriptedDialogs d;
        ViewController next(other, d);
        EXPECT_TRUE(next.commands().action(CommandId::DarkLook)->isChecked()) << "the next start stays dark";
    }
    // A refused value is framed in the mark colour.
    ::enter(vc, QStringLiteral("tempoTF"), QStringLiteral("999"));
    EXPECT_TRUE(edit("tempoTF")->styleSheet().contains(Look::refused().name()));
    dark->trigger();
    EXPECT_FALSE(Look::isDark());
    EXPECT_EQ(QApplication::style()->name(), desktopStyle);
    EXPECT_EQ(QApplication::palette(), desktop);
    EXPECT_FALSE(RecentFiles::flag(QStringLiteral("darkLookAction"), true));
    EXPECT_NEAR(Look::contrast(Qt::white, Qt::black), 21.0, 0.01);
    EXPECT_NEAR(Look::contrast(QColor(0x77, 0x77, 0x77), Qt::white), 4.48, 0.01);
}

// Compare with File leaves the session alone; activating a change shows its page with its
// song, stack, entry or setting, and nothing else (the transcript: each change under its
// group, then what is shown).
TEST_F(Window, CompareWithFileShowsEachChangeOnItsPage)
{
    TempFiles files;
    DataHandler other;
    for (DataHandler *s : {&store, &other})
        for (int i = 0; i < 6; ++i)
            s->MidiMessageLibrary.emplace_back(QStringLiteral("M"), QStringLiteral("D"), QStringLiteral("A"), 0, i, 0);
    other.MidiMessageLibrary[5].Value = 9;
    other.SongList[2]->UpdateTempo(99);
    other.MidiStackList[4].Name = QStringLiteral("Other");
    other.GlobalMenu.MidiChannelOut = store.GlobalMenu.MidiChannelOut == 5 ? 6 : 5;
    const QString before = fileForm(store);
    dialogs.openPaths = {files.write("other.txt", fileForm(other).toUtf8())};
    action(vc, "compareWithFileAction")->trigger();
    EXPECT_EQ(fileForm(store), before);
    auto *tree = find<QTreeWidget>("compareChangesTree");
    auto *library = find<QTableView>("LibraryTableView");
    QString text;
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
        for (int c = 0; c < tree->topLevelItem(g)->childCount(); ++c) {
            library->clearSelection();
            Q_EMIT tree->itemActivated(tree->topLevelItem(g)->child(c), 0);
            QStringList picked;
            for (const QModelIndex &index : library->selectionModel()->selectedRows())
                picked << QString::number(index.row());
            const QWidget *focus = QApplication::focusWidget();
            text += QStringLiteral("== %1: %2 ==\npage %3, song %4, stack %5, library rows [%6], focus %7\n")
                        .arg(tree->topLevelItem(g)->text(0), tree->topLevelItem(g)->child(c)->text(0),
                             vc.tabs()->tabText(vc.tabs()->currentIndex()))
                        .arg(state().SongsSongIndex)
                        .arg(state().SelectedStackIndex)
                        .arg(picked.join(' '), focus ? focus->objectName() : QString());
        }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/compare-activations.txt"), text));
}

// Check Session lists the findings with their severity; double-clicking one (or Return on
// it) shows its song on the Songs or Set Jacks page, or its setlist row; Check Again
// checks the session as it is now, and a clean one says so.
TEST_F(Window, CheckSessionListsFindingsAndShowsEachOnItsPage)
{
    song(2).UpdateName(QStringLiteral("Riff"));
    song(7).UpdateName(QStringLiteral("riff"));
    song(7).UpdateTempo(90);
    song(7).JackTwo = 2;
    song(7).Jack2TipTAPFunction = 11;
    store.Setlist = {store.SongList[7], store.SongList[2], store.SongList[7]};
    action(vc, "checkSessionAction")->trigger();
    QApplication::processEvents();
    auto *dock = find<QDockWidget>("checkDock");
    auto *list = find<QListWidget>("checkFindings");
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(text("checkSummary"), "3 problems and 1 note; double-click one to show it on its page.");
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    EXPECT_EQ(shown,
              QStringList({"Problem: Setlist positions 1 and 3 both hold Song 8 (riff): a song is played twice",
                           "Problem: Setlist positions 1 and 2: Song 8 and Song 3 share the name \"Riff\", so "
                           "the pedal shows them alike",
                           "Problem: Song 8 (riff): Jack 2 tip tap function \"Send MIDI Stack\" calls stack 8 "
                           "(Midi Stack 8), which has no active message, so the press sends nothing",
                           "Note: Song 3 (Riff) still has the factory tempo of 120 BPM; easy to forget when a "
                           "song was named"}));
    // Each finding by double-click, then by Return: the page shown and what is selected on it.
    const char *const expected[] = {"Setlist, setlist row 2", "Songs, song 2", "Set Jacks, song 7", "Songs, song 2"};
    for (bool byKey : {false, true})
        for (int i = 0; i < list->count(); ++i) {
            SCOPED_TRACE(shown[i].toStdString() + (byKey ? " by Return" : " by double-click"));
            showPage(vc, "Midi Management");
            state().SongsSongIndex = state().SetJacksSongIndex = state().SetlistRow = 0;
            const QRect at = list->visualItemRect(list->item(i));
            if (byKey) {
                list->setCurrentRow(i);
                QTest::keyClick(list, Qt::Key_Return);
            } else {
                // Through the window, as the platform delivers a double-click.
                QTest::mouseDClick(vc.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                                   list->viewport()->mapTo(&vc, at.center()));
            }
            const QString page = vc.tabs()->tabText(vc.tabs()->currentIndex());
            const qint64 where = page == "Setlist" ? state().SetlistRow
                : page == "Songs"                  ? state().SongsSongIndex
                                                   : state().SetJacksSongIndex;
            EXPECT_EQ(QStringLiteral("%1, %2 %3").arg(page, page == "Setlist" ? "setlist row" : "song").arg(where),
                      QLatin1String(expected[i]));
        }
    EXPECT_EQ(find<QTableView>("SetlistTableView")->currentIndex().row(), 2);

    song(7).UpdateName(QStringLiteral("Solo"));
    song(2).UpdateTempo(100);
    song(7).JackTwo = 1;
    click("checkAgainButton");
    EXPECT_EQ(text("checkSummary"), "1 problem and no notes; double-click one to show it on its page.");
    store.Setlist.pop_back();
    click("checkAgainButton");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(text("checkSummary"), "Nothing to mend: the session is ready for the gig.");
}

// Import Songs from CSV shows the changes in the Compare dock and what it refuses, then
// takes exactly the accepted fields as one step, undone exactly; Cancel, a file that changes
// nothing and a damaged file change nothing. Export writes what the import reads.
TEST_F(Window, ImportSongsFromCsvTakesTheAcceptedFieldsAsOneStep)
{
    TempFiles files;
    vc.history().edit("name", [&] { song(4).UpdateName(QStringLiteral("Old")); });
    const QString csv = files.write("repertoire.csv",
                                    "Number,Tempo,Name,Text colour,Bogus\r\n"
                                    "5,97,New,Red,x\r\n6,305,Six,Blue,y\r\n7,120,,White,z\r\n");
    const SessionSnapshot before = SessionSnapshot::of(store);
    QString summary;
    dialogs.whileShown = [&](const Alert &) { summary = find<QLabel>("compareSummaryLabel")->text(); };
    for (int answer : {1, 0}) { // Cancel, then Ok
        dialogs.openPaths = {csv};
        dialogs.answers = {answer};
        action(vc, "importSongsCsvAction")->trigger();
    }
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].message, "Import 2 songs from repertoire.csv?");
    EXPECT_EQ(dialogs.shown[1].informative,
              "The Compare dock lists the changes.\n\nNot taken:\n"
              "column Bogus is not a song field; ignored\n"
              "row 3, Tempo: 305 is over 300");
    EXPECT_EQ(summary, "5 change(s) from this session to repertoire.csv:");
    SessionSnapshot expected = before;
    expected.songs[4].UpdateTempo(97);
    expected.songs[4].UpdateName(QStringLiteral("New"));
    expected.songs[4].ForegroundColour = 3;
    expected.songs[5].UpdateName(QStringLiteral("Six"));
    expected.songs[5].ForegroundColour = 15;
    EXPECT_TRUE(SessionSnapshot::of(store) == expected);
    EXPECT_EQ(vc.history().undoStack().count(), 2);
    EXPECT_EQ(vc.history().undoStack().undoText(), "Import 2 songs from repertoire.csv");
    EXPECT_EQ(find<QLabel>("compareSummaryLabel")->text(), "This session and repertoire.csv are the same.");
    vc.history().undo();
    EXPECT_TRUE(SessionSnapshot::of(store) == before);
    vc.history().redo();

    // Nothing to change, and a file refused whole: an alert, no step.
    dialogs.openPaths = {csv, files.write("bad.csv", "Name\nA\n")};
    action(vc, "importSongsCsvAction")->trigger();
    action(vc, "importSongsCsvAction")->trigger();
    EXPECT_EQ(dialogs.messages().mid(2),
              QStringList({"repertoire.csv changes no song", "The songs could not be imported"}));
    EXPECT_EQ(dialogs.shown[3].informative,
              files.path("bad.csv")
                  + ": the file has no Number column to match its "
                    "rows with the songs");
    EXPECT_EQ(vc.history().undoStack().count(), 2);

    dialogs.savePaths = {files.path("out")};
    action(vc, "exportSongsCsvAction")->trigger();
    EXPECT_EQ(readFile(files.path("out.csv")), SongsCsv::write(store));
    EXPECT_TRUE(readFile(files.path("out.csv")).startsWith("Number,Name,Tempo,Tap fraction,"));
}

// Take Selected brings the other file's values of a song (its record), the setlist, a stack
// row's field or a setting as one step each, undone exactly; Take All leaves no difference.
TEST_F(Window, TakeChangesFromAComparedFile)
{
    TempFiles files;
    DataHandler other;
    other.MidiMessageLibrary.emplace_back(QStringLiteral("M"), QStringLiteral("D"), QStringLiteral("A"), 0, 3, 0);
    other.SongList[2]->UpdateTempo(99);
    other.SongList[2]->UpdateName(QStringLiteral("Other"));
    other.SongList[6]->UpdateTempo(77);
    other.addSongToSetlist(4);
    other.MidiStackList[4].MidiStackMessageList[1].Value = 42;
    other.MidiStackList[4].Name = QStringLiteral("Bass");
    other.GlobalMenu.MidiChannelOut = store.GlobalMenu.MidiChannelOut == 5 ? 6 : 5;
    dialogs.openPaths = {files.write("set-b.txt", fileForm(other).toUtf8())};
    action(vc, "compareWithFileAction")->trigger();
    auto *tree = find<QTreeWidget>("compareChangesTree");
    auto *takeSelected = find<QPushButton>("takeSelectedButton");
    const auto pick = [&](const QString &start) {
        tree->clearSelection();
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->text(0).startsWith(start)) {
                (*it)->setSelected(true);
                return;
            }
        ADD_FAILURE() << start.toStdString();
    };
    EXPECT_FALSE(takeSelected->isEnabled());
    vc.history().edit("t", [&] { song(9).UpdateTempo(20); }); // not normal: only what is taken is normalised
    pick("Song 3 (Other) (2)");                               // the record: both its changes
    const SessionSnapshot before = SessionSnapshot::of(store);
    takeSelected->click();
    SessionSnapshot after = SessionSnapshot::of(store), expected = before;
    expected.songs[2] = SessionSnapshot::of(other).songs[2];
    EXPECT_TRUE(after == expected);
    EXPECT_EQ(vc.history().undoStack().undoText(), "Take 2 changes from set-b.txt");
    EXPECT_EQ(find<QLabel>("compareSummaryLabel")->text(), "12 change(s) from this session to set-b.txt:");
    vc.history().undo();
    EXPECT_TRUE(SessionSnapshot::of(store) == before);
    vc.history().redo();

    // One change at a time: the setlist is taken whole; the stack keeps its name.
    const struct
    {
        const char *item;
        std::function<bool()> taken;
    } rows[] = {
        {"Setlist", [&] { return SessionSnapshot::of(store).setlist == SessionSnapshot::of(other).setlist; }},
        {"Stack 5 (Midi Stack 5): Row 2",
         [&] {
             return store.MidiStackList[4].MidiStackMessageList[1].Value == 42 && store.MidiStackList[4].Name != "Bass";
         }},
        {"Global: MIDI output channel",
         [&] { return store.GlobalMenu.MidiChannelOut == other.GlobalMenu.MidiChannelOut; }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.item);
        pick(row.item);
        const int steps = vc.history().undoStack().index();
        takeSelected->click();
        EXPECT_TRUE(row.taken());
        EXPECT_EQ(vc.history().undoStack().index(), steps + 1);
        EXPECT_EQ(vc.history().undoStack().undoText(), "Take 1 change from set-b.txt");
    }
    find<QPushButton>("takeAllButton")->click();
    EXPECT_TRUE(SessionDiff::compare(store, other).empty());
    EXPECT_EQ(find<QLabel>("compareSummaryLabel")->text(), "This session and set-b.txt are the same.");
    EXPECT_FALSE(find<QPushButton>("takeAllButton")->isEnabled());

    // From the pedal: only what the pedal keeps is listed and taken.
    other.SongList[0]->UpdateTempo(55);
    other.MidiMessageLibrary.clear();
    CompareDock::compareWith(&vc, other, "the pedal", true);
    find<QPushButton>("takeAllButton")->click();
    EXPECT_EQ(vc.history().undoStack().undoText(), "Take 1 change from the pedal");
    EXPECT_EQ(song(0).Tempo, 55);
    EXPECT_EQ(store.MidiMessageLibrary.size(), 1u);
}

// A damaged or missing file is refused with the session untouched. Save normalises first,
// reports a failure, writes the session as it was when the panel was asked for, then uses
// the session's own file; Save As asks and adds to Open Recent.
TEST_F(Window, OpenRefusesDamagedFilesAndSaveWritesTheSessionAsAsked)
{
    TempFiles dir;
    song(3).UpdateTempo(20);
    const QString before = fileForm(store);
    dialogs.openPaths = {QString(),
                         dir.write("damaged.txt", "Tempos]" + QByteArray("090").repeated(127) + "\r\nName]abc\r\n")};
    action(vc, "openSessionAction")->trigger();
    action(vc, "openSessionAction")->trigger();
    EXPECT_EQ(fileForm(store), before);
    RecentFiles::clear();
    pickSong(3);
    dialogs.savePaths = {dir.path("missing/folder/x.txt")};
    action(vc, "saveSessionAction")->trigger();
    EXPECT_EQ(dialogs.messages(), QStringList({"The session could not be opened", "The file could not be saved"}));
    EXPECT_EQ(song(3).Tempo, 40); // normalised all the same, and shown
    EXPECT_EQ(find<QLineEdit>("tempoTF")->text(), "40");
    EXPECT_TRUE(vc.isWindowModified());

    const QString a = dir.path("a.txt");
    dialogs.savePaths = {dir.path("a")};
    dialogs.deferSaves = true; // the panel completes later
    action(vc, "saveSessionAction")->trigger();
    pickSong(5);
    enter("tempoTF", "99"); // edited while the panel is open
    dialogs.completePendingSave(dir.path("a"));
    dialogs.deferSaves = false;
    EXPECT_EQ(valueOf(readFile(a), "Tempos").mid(9, 9), "040120120");
    EXPECT_TRUE(vc.isWindowModified());
    action(vc, "saveSessionAction")->trigger();
    EXPECT_EQ(dialogs.savePanelsShown, 2); // no panel: the session's own file
    EXPECT_EQ(valueOf(readFile(a), "Tempos").mid(15, 3), "099");
    EXPECT_FALSE(vc.isWindowModified());
    dialogs.savePaths = {dir.path("b.txt")};
    action(vc, "saveSessionAsAction")->trigger();
    EXPECT_EQ(RecentFiles::list().size(), 2);
    EXPECT_TRUE(vc.windowTitle().contains("b.txt"));
    // A remembered firmware folder that is gone: the panel starts in the session's folder.
    RecentFiles::setLastFirmwareFolder(dir.path("gone"));
    EXPECT_EQ(RecentFiles::lastFirmwareFolder(), RecentFiles::lastFolder());
    RecentFiles::setLastFolder(dir.path("gone")); // and a session folder that is gone: the home
    EXPECT_EQ(RecentFiles::lastFolder(), QDir::homePath());
    RecentFiles::setLastFirmwareFolder(dir.path(""));
    EXPECT_EQ(RecentFiles::lastFirmwareFolder(), dir.path(""));
}

// Export Setlist as PDF asks the layout, then where: the factory and a randomised setlist in
// each layout, on A4 or Letter by the locale, hold every entry in order under a header that
// names the session ("Untitled", then its file). The setlist is the one of the moment the
// command was given. Cancelled at either question nothing is written; a failed write is
// told and leaves no file. Print Setlist previews the layout asked, on the printer's pages.
TEST_F(Window, SetlistExportsAsPdfAndPrints)
{
    TempFiles dir;
    const QLocale was;
    const struct
    {
        quint32 seed;
        int layout; // the answer: 0 stage, 1 compact
        const char *locale, *pageSize;
    } rows[] = {{0, 0, "C", "A4"}, {0, 1, "en_US", "letter"}, {9, 0, "en_US", "letter"}, {9, 1, "de_DE", "A4"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.seed * 10 + row.layout);
        if (row.seed)
            RandomSession(row.seed).fill(store);
        QLocale::setDefault(QLocale(row.locale));
        dialogs.answers = {row.layout};
        const QString out = dir.path(QStringLiteral("setlist-%1").arg(row.layout));
        dialogs.savePaths = {out};
        action(vc, "exportSetlistPdfAction")->trigger();
        EXPECT_TRUE(holdsSetlist(out + ".pdf", SetlistSheet::rows(store), "Untitled", row.layout == 0, row.pageSize));
    }
    QLocale::setDefault(was);

    dialogs.savePaths = {dir.path("named.txt")};
    action(vc, "saveSessionAsAction")->trigger();
    const std::vector<SetlistRow> given = SetlistSheet::rows(store);
    dialogs.answers = {0};
    dialogs.deferSaves = true;
    action(vc, "exportSetlistPdfAction")->trigger();
    store.Setlist.front()->UpdateName("Changed");
    store.Setlist.pop_back();
    dialogs.completePendingSave(dir.path("named.PDF"));
    dialogs.deferSaves = false;
    EXPECT_TRUE(holdsSetlist(dir.path("named.PDF"), given, "named.txt", true, "A4"));

    const int panels = dialogs.savePanelsShown;
    const qsizetype asked = dialogs.shown.size();
    dialogs.answers = {2, 0, 1};
    dialogs.savePaths = {QString(), dir.path("missing/x.pdf")};
    for (int i = 0; i < 3; ++i)
        action(vc, "exportSetlistPdfAction")->trigger();
    EXPECT_EQ(dialogs.savePanelsShown, panels + 2);
    ASSERT_EQ(dialogs.shown.size(), asked + 4); // three layout questions, one failure
    EXPECT_EQ(dialogs.shown.last().message, "The setlist could not be exported");
    EXPECT_EQ(dialogs.shown.last().informative, dir.path("missing/x.pdf") + "\nNo such file or directory");
    EXPECT_EQ(QDir(dir.path("")).entryList({"*.pdf", "*.PDF"}, QDir::Files).size(), 3);

    // The preview shows as many pages as the layout asked takes on the printer's pages.
    for (const int layout : {2, 1, 0}) {
        dialogs.answers = {layout};
        action(vc, "printSetlistAction")->trigger();
        auto *preview = vc.findChild<QPrintPreviewDialog *>("printSetlistPreview");
        ASSERT_EQ(preview != nullptr, layout != 2);
        if (!preview)
            continue;
        QApplication::processEvents();
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(layout ? QPageLayout::Landscape : QPageLayout::Portrait);
        const auto wanted = layout ? SetlistPrint::Layout::Compact : SetlistPrint::Layout::Stage;
        EXPECT_EQ(preview->findChild<QPrintPreviewWidget *>()->pageCount(),
                  SetlistPrint::pageCount(printer, SetlistSheet::rows(store), wanted));
        delete preview;
    }
}

// Open, Reset Session and closing with unsaved changes ask Save / Don't Save / Cancel;
// Save writes the session first (a cancelled panel stops), Don't Save goes on, Cancel
// changes nothing. The transcript: the question, then the tempo of song 3 (99 as edited),
// whether the session was saved, whether the window closed.
TEST(UnsavedChanges, OpenResetAndCloseAskFirst)
{
    TempFiles dir;
    const QString tempos = dir.write("tempos.txt", "Tempos]" + QByteArray("100").repeated(128) + "\r\n");
    QString text;
    // The command, the answer (0 Save, 1 Don't Save, 2 Cancel), whether the save panel is cancelled.
    for (const QString &row : QStringLiteral("openSessionAction 0, openSessionAction 1, openSessionAction 2, "
                                             "openSessionAction 0 cancelled, resetSessionAction 0, "
                                             "resetSessionAction 2, close 0, close 0 cancelled, close 2")
                                  .split(", ")) {
        SCOPED_TRACE(row.toStdString());
        DataHandler store;
        ScriptedDialogs dialogs;
        ViewController vc(store, dialogs);
        vc.show();
        pickSong(vc, 2);
        enter(vc, "tempoTF", "99");
        const QString saved = dir.path("saved.txt"), command = row.section(' ', 0, 0);
        QFile::remove(saved);
        dialogs.answers = {row.section(' ', 1, 1).toInt(), 0};
        dialogs.savePaths = {row.endsWith("cancelled") ? QString() : saved};
        dialogs.openPaths = {tempos};
        const bool closed = command == "close" ? vc.close() : (action(vc, qPrintable(command))->trigger(), false);
        text += QStringLiteral("== %1 ==\n%2tempo %3, saved %4, closed %5\n")
                    .arg(row, Snapshot::ofAlerts(dialogs.shown))
                    .arg(store.SongList[2]->Tempo)
                    .arg(QFile::exists(saved))
                    .arg(closed);
        EXPECT_EQ(vc.isVisible(), !closed);
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/unsaved-changes.txt"), text));
}

// Every page as the user sees it, each shown in turn; without the song last clicked on the
// Setlist page (a click that adds it, not a selection) and the header last clicked to sort.
QString pagesShown(ViewController &vc)
{
    QTabWidget *tabs = vc.tabs();
    const int current = tabs->currentIndex();
    QString out;
    for (int t = 0; t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        out += Snapshot::ofWidget(tabs->currentWidget());
    }
    tabs->setCurrentIndex(current);
    out.remove(QRegularExpression(", sorted by column -?\\d+ \\w+"));
    return out.replace(
        QRegularExpression("(SetlistSongListTableView:.*\n.*\n) *current row \\d+\n *selected rows \\d+\n"), "\\1");
}

// Every kind of change, made through the window's controls: it is one step, named in the
// Edit menu, changing the session as the reviewed transcript shows; undo brings back the
// whole session as it was and every page as it was, with the page of the step in front;
// redo the whole session and every page as the change left them.
TEST_F(Window, EveryKindOfChangeIsOneStepThatUndoesAndRedoesWholly)
{
    TempFiles dir;
    const QString tempos = dir.write("tempos.txt", "Tempos]" + QByteArray("100").repeated(128) + "\r\n");
    const auto fillLibraryFields = [this](const char *maker) {
        return [this, maker] {
            const char *fields[] = {"manufacturerTF", "deviceTF", "actionTF", "messageTF", "valueTF"};
            const char *texts[] = {maker, "Dev", "Act", "7", "9"};
            for (int i = 0; i < 5; ++i)
                find<QLineEdit>(QLatin1String(fields[i]))->setText(QLatin1String(texts[i]));
        };
    };
    // Rows dragged from one table and dropped on another (or the same); neither another
    // program's text nor a damaged list of rows is taken.
    const auto dropRow = [this](const char *from, const char *to, QList<int> rows, int at) {
        return [=] {
            QAbstractItemModel *source = find<QTableView>(QLatin1String(from))->model();
            QAbstractItemModel *target = find<QTableView>(QLatin1String(to))->model();
            QModelIndexList cells;
            for (int row : rows)
                cells.append(source->index(row, 1));
            std::unique_ptr<QMimeData> data(source->mimeData(cells));
            for (const char *list : {"", "SongList 1 x"}) {
                SCOPED_TRACE(*list ? list : "text alone");
                QMimeData other;
                other.setText("1");
                if (*list)
                    other.setData(QLatin1String(SongTableModel::RowsMimeType), list);
                EXPECT_FALSE(target->canDropMimeData(&other, Qt::MoveAction, at, 0, {}));
            }
            ASSERT_TRUE(target->dropMimeData(data.get(), Qt::MoveAction, at, 0, {}));
        };
    };
    const auto sortBy = [this](const char *table, int column, Qt::SortOrder order) {
        return [=] { find<QTableView>(QLatin1String(table))->horizontalHeader()->setSortIndicator(column, order); };
    };
    const auto answer = [this](const char *command, QStringList paths = {}) {
        return [=] {
            dialogs.answers = {1}; // unsaved changes: Don't Save
            dialogs.openPaths = paths;
            find<QAction>(QLatin1String(command))->trigger();
        };
    };
    // Done first, by name.
    const std::map<QString, std::function<void()>> acts = {
        {"picks",
         [this] {
             pickSong(5);
             pickSong(2);
         }},
        {"moveSong", dropRow("SongTableView", "SongTableView", {0}, 3)},
        {"sortSongs", sortBy("SongTableView", 2, Qt::DescendingOrder)},
        {"jacksSong", [this] { pickJacksSong(4); }},
        {"dropOne", dropRow("SetlistSongListTableView", "SetlistTableView", {9}, 1)},
        {"dropTwo", dropRow("SetlistSongListTableView", "SetlistTableView", {9, 11}, 1)},
        {"moveEntry", dropRow("SetlistTableView", "SetlistTableView", {0}, 2)},
        {"firstEntry", [this] { clickRow(find<QTableView>("SetlistTableView"), 0); }},
        {"Zed", fillLibraryFields("Zed")},
        {"Alpha", fillLibraryFields("Alpha")},
        {"sortLibrary", sortBy("LibraryTableView", 0, Qt::AscendingOrder)},
        {"reset", answer("resetSessionAction")},
        {"open", answer("openSessionAction", {tempos})},
    };
    // Each row: the control; the row chosen, clicked or the text typed (* when the act does
    // it all); the page shown first; the act done first. The third row is a click on the
    // Setlist page between two keystrokes in the name, the fifth the same with clicks on the
    // song table: both are taken. The stack name has 31 characters: cut to 30. An unused
    // stack row (channel 0) gets channel 1 with a type.
    const QString rows = QStringLiteral(
        "nameTF:Hey:Songs, SetlistSongListTableView:4:Setlist, nameTF:B:Songs, tempoTF:99:Songs, "
        "nameTF:C:Songs:picks, fontCombo:2:Songs, fractionCombo:2:Songs, backgroundColourCombo:3:Songs, "
        "divFourCombo:6:Songs, divMidiCombo:5:Songs, midiStackRefCombo:9:Songs, stopMidiClockCombo:1:Songs, "
        "footTapFunction:10:Songs, footTapPreset:20:Songs, footHoldFunction:10:Songs, footHoldStack:30:Songs, "
        "SongTableView:*:Songs:moveSong, SongTableView:*:Songs:sortSongs, ResetSongsCommand::Songs, "
        "jackOneCombo:2:Set Jacks:jacksSong, Jack1TipTAPFunction:10:Set Jacks, jackOneCombo:3:Set Jacks, "
        "expStackOneCombo:44:Set Jacks, numPulsesThreeCombo:12:Set Jacks, jackFourCombo:2:Set Jacks, "
        "jackTwoCombo:2:Set Jacks, Jack2RingTAPFunction:10:Set Jacks, Jack2RingTAPPreset:50:Set Jacks, "
        "Jack2RingHOLDStack:7:Set Jacks, ResetSetJacksCommand::Set Jacks, SetlistTableView:*:Setlist:dropOne, "
        "SetlistTableView:*:Setlist:dropTwo, SetlistTableView:*:Setlist:moveEntry, "
        "SetlistMoveDownButton::Setlist:firstEntry, SetlistRemoveButton::Setlist, ResetSetlistCommand::Setlist, "
        "MidiStackName:Drums..........................:Midi Management, stackMessageChannel1:5:Midi Management, "
        "stackMessageType2:1:Midi Management, stackMessageReset2::Midi Management, "
        "resetStackButton::Midi Management, addToLibraryButton::Midi Management:Zed, "
        "addToLibraryButton::Midi Management:Alpha, LibraryTableView:*:Midi Management:sortLibrary, "
        "deleteSingleLibraryButton::Midi Management, stackMessageValue1:64:Midi Management, "
        "ResetMidiCommand::Midi Management, MidiChannelInCombo:4:Global Settings, "
        "ResetGlobalCommand::Global Settings, resetSessionAction:*::reset, openSessionAction:*::open");

    QAction *undo = find<QAction>("undoAction");
    QAction *redo = find<QAction>("redoAction");
    QString text; // the transcript: each step's name and changes
    pickSong(2);
    for (const QString &row : rows.split(QStringLiteral(", "))) {
        SCOPED_TRACE(row.toStdString());
        const QString name = row.section(':', 0, 0), page = row.section(':', 2, 2), act = row.section(':', 3);
        const bool actOnly = row.section(':', 1, 1) == "*";
        const QString input = actOnly ? QString() : row.section(':', 1, 1);
        if (!page.isEmpty())
            showPage(vc, page);
        if (!act.isEmpty() && !actOnly)
            acts.at(act)(); // a selection first
        const SessionSnapshot before = SessionSnapshot::of(store);
        const QString shownBefore = pagesShown(vc);
        const int steps = vc.history().undoStack().index();
        if (actOnly)
            acts.at(act)();
        QObject *control = actOnly ? nullptr : find<QObject>(name);
        if (auto *list = qobject_cast<QComboBox *>(control)) {
            choose(list, input.toInt());
        } else if (qobject_cast<QLineEdit *>(control)) {
            enter(name, input);
        } else if (auto *typed = qobject_cast<QPlainTextEdit *>(control)) {
            typed->moveCursor(QTextCursor::End);
            QTest::keyClicks(typed, input);
        } else if (auto *table = qobject_cast<QTableView *>(control)) {
            clickRow(table, input.toInt());
        } else if (control) {
            click(name);
        }
        const SessionSnapshot after = SessionSnapshot::of(store);
        const QString shownAfter = pagesShown(vc);
        text += QStringLiteral("== %1 %2: %3 ==\n").arg(name, input, undo->text())
            + Snapshot::shortened(changesSince(before, store), 12, 5, 5).join(QLatin1Char('\n')) + QLatin1Char('\n');
        EXPECT_NE(after, before);
        EXPECT_EQ(vc.history().undoStack().index(), steps + 1);

        if (!page.isEmpty())
            showPage(vc, page == "Songs" ? QStringLiteral("Setlist") : "Songs");
        undo->trigger();
        EXPECT_EQ(SessionSnapshot::of(store), before);
        if (!page.isEmpty()) {
            EXPECT_EQ(vc.tabs()->tabText(vc.tabs()->currentIndex()), page) << "the step's page in front";
        }
        EXPECT_EQ(pagesShown(vc).toStdString(), shownBefore.toStdString());

        redo->trigger();
        EXPECT_EQ(SessionSnapshot::of(store), after);
        EXPECT_EQ(vc.history().undoStack().index(), steps + 1);
        EXPECT_EQ(pagesShown(vc).toStdString(), shownAfter.toStdString());
        if (::testing::Test::HasFailure())
            break;
    }
    // Every step can still be undone, back to the session the window started with.
    while (undo->isEnabled())
        undo->trigger();
    EXPECT_EQ(SessionSnapshot::of(store), SessionSnapshot::of(DataHandler()));
    EXPECT_EQ(vc.history().undoStack().index(), 0);
    EXPECT_TRUE(vc.isWindowModified()); // the opened file is the saved state
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/window-steps.txt"), text));
}

QStringList backupReasons()
{
    QStringList reasons; // oldest first
    for (const BackupFolder::Entry &e : BackupFolder().list())
        reasons.prepend(e.reason);
    return reasons;
}

// A declined older-layout file (Open or Open Recent, with or without changes) changes
// nothing; after an accepted one or a restored backup, Save asks where (never the backups
// folder). Unknown keys of an opened file go to the Pedal Log.
TEST_F(Window, OpenThatDoesNotGoAheadChangesNothingAndSaveAsksWhereNoFileIsOwned)
{
    TempFiles dir;
    const QString own = dir.write("own.txt", fileForm(DataHandler()).toUtf8() + "Tempoz]1\r\n"),
                  chosen = dir.path("chosen.txt");
    const QString legacy = dir.write("legacy.txt",
                                     "Old" + QByteArray(27 + 127 * 30, '`') + QByteArray("090").repeated(128)
                                         + QByteArray("03").repeated(256));
    const QString backups = freshBackups();
    ASSERT_EQ(BackupFolder().write(DataHandler(), "Send All", "own.txt"), QString());
    const auto open = [this](const char *command) { return [this, command] { action(vc, command)->trigger(); }; };
    // What, with an edit first, how it is opened, and whether it goes ahead (a session
    // without a file of its own).
    const std::tuple<const char *, bool, std::function<void()>, bool> rows[] = {
        {"Open, declined", false, open("openSessionAction"), false},
        {"Open with changes, Don't Save, declined", true, open("openSessionAction"), false},
        {"Open Recent, declined", false, open("recentFileAction2"), false},
        {"Open, accepted", false, open("openSessionAction"), true},
        {"Restore Backup", true, [&] { vc.session().openBackup(BackupFolder().list().at(0).path, "Restore"); }, true},
    };
    // What shows whether an open went ahead.
    const auto shown = [this] {
        return QStringList{vc.windowTitle(), action(vc, "undoAction")->text(), RecentFiles::list().join('|'),
                           QString::number(vc.isWindowModified()), fileForm(store)};
    };
    for (const auto &[what, edited, act, opened] : rows) {
        SCOPED_TRACE(what);
        RecentFiles::clear();
        RecentFiles::add(legacy);
        dialogs.answers = {1}; // Don't Save, when asked
        ASSERT_TRUE(vc.session().openFile(own));
        EXPECT_TRUE(vc.pedalLog()->log().text().contains(own + ": line 76: unknown key Tempoz, ignored"));
        if (edited) {
            pickSong(0);
            enter("tempoTF", "99");
        }
        const QStringList before = shown();
        const int steps = vc.history().undoStack().index(), panels = dialogs.savePanelsShown;
        // Don't Save (when asked), then Ok or Cancel.
        dialogs.answers = edited ? QList<int>{1, !opened} : QList<int>{!opened};
        dialogs.openPaths = {legacy};
        act();
        dialogs.answers.clear();
        EXPECT_EQ(vc.history().undoStack().index(), steps + (opened ? 1 : 0));
        if (opened) {
            EXPECT_TRUE(vc.windowTitle().startsWith("Untitled"));
            EXPECT_TRUE(vc.isWindowModified());
        } else {
            EXPECT_EQ(shown().join('\n').toStdString(), before.join('\n').toStdString());
        }
        // Save writes the session's own file, or asks where; never into the backups.
        dialogs.savePaths = {chosen};
        action(vc, "saveSessionAction")->trigger();
        EXPECT_EQ(dialogs.savePanelsShown, panels + (opened ? 1 : 0));
        EXPECT_EQ(readFile(opened ? chosen : own), fileForm(store));
        EXPECT_EQ(QDir(backups).entryList(QDir::Files).size(), 1);
        EXPECT_FALSE(vc.isWindowModified());
    }
    freshBackups();
}

// Every pedal command, each on a window freshly connected: the alerts it shows (answered in
// turn) and the status line, compared with a reviewed transcript; the backups it leaves and
// what goes over the wire.
TEST(PedalWindow, CommandsAskBackUpAndReachTheWire)
{
    TempFiles temp;
    QDir().mkpath(temp.path("resources"));
    writeFlashTool(temp.path("resources/bossac"));
    const ScopedEnvironment resources("PEDAL_RESOURCES_DIR", temp.path("resources").toLocal8Bit());
    const QString empty = temp.write("empty.bin", {}), image = temp.write("pedal-2.1.bin", firmwareImage());
    const QString bundled = temp.path("resources/Kestil_V2.bin");
    const auto blockBackups = [] {
        QDir(BackupFolder::defaultFolder()).removeRecursively();
        ASSERT_TRUE(writeFile(BackupFolder::defaultFolder(), "in the way"));
    };
    // The images' dates, the same in every run.
    const QDateTime dated(QDate(2024, 5, 6), QTime(7, 8, 9));
    const auto date = [&dated](const QString &path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        EXPECT_TRUE(file.setFileTime(dated, QFileDevice::FileModificationTime));
    };
    date(image);
    QString text; // the transcript: the alerts shown since the last line, then the line
    const auto note = [&text](PedalRig &r, const QString &line) {
        text += Snapshot::ofAlerts(r.dialogs.shown) + line + QLatin1Char('\n');
        r.dialogs.shown.clear();
    };
    const struct
    {
        std::pair<const char *, std::vector<int>> is; // what, and the answers in turn
        std::function<void(PedalRig &)> act;
    } rows[] = {
        {{"Send All cancelled", {0}},
         [](PedalRig &r) {
             r.click("SendAllCommand");
             r.scheduler.advance(600);
             ASSERT_TRUE(r.link.sending());
             r.click("cancelTransferButton");
             const qsizetype written = r.device->writes.size();
             r.scheduler.runAll();
             EXPECT_EQ(r.device->writes.size(), written) << "nothing more goes out";
         }},
        {{"Load All cancelled", {0}},
         [](PedalRig &r) {
             r.click("LoadAllCommand");
             ASSERT_TRUE(r.link.loading());
             r.trigger("cancelTransferAction");
         }},
        {{"Load All", {0}},
         [&](PedalRig &r) {
             r.pickSong(1);
             DataHandler pedal;
             for (const SongRef &s : pedal.SongList)
                 s->UpdateTempo(90);
             pedal.GlobalMenu.MidiChannelIn = 7;
             const SessionSnapshot before = SessionSnapshot::of(r.store);
             r.click("LoadAllCommand");
             r.scheduler.advance(300);
             r.answer(PedalLink::Load::All, pedal);
             EXPECT_EQ(fileForm(r.store), fileForm(pedal));
             // Shown without Refresh, one step.
             note(r, r.edit("tempoTF")->text() + ", " + action(r.vc, "undoAction")->text());
             r.trigger("undoAction");
             EXPECT_EQ(SessionSnapshot::of(r.store), before);
         }},
        {{"Send Songs, a tempo clamped as a step", {0}},
         [&](PedalRig &r) {
             r.pickSong(2);
             r.vc.history().edit("Tempo", [&] { r.store.SongList[2]->UpdateTempo(500); });
             r.vc.pages().songs()->showSong();
             r.click("SendSongCommand");
             r.scheduler.runAll();
             note(r, r.edit("tempoTF")->text() + ", " + action(r.vc, "undoAction")->text());
             r.trigger("undoAction");
             EXPECT_EQ(r.store.SongList[2]->Tempo, 500);
         }},
        {{"Load Global Settings", {0}},
         [](PedalRig &r) {
             r.click("LoadGlobalCommand");
             r.scheduler.advance(1200);
             r.answer(PedalLink::Load::Global, DataHandler(), {PedalLink::keysOf(PedalLink::Load::Global).at(0)});
         }},
        // What arrived is kept; the user is told what did not.
        {{"Load Setlist incomplete", {0}},
         [](PedalRig &r) {
             r.click("LoadSetlistCommand");
             r.device->receive("]3\r\n;\r\n");
         }},
        {{"Send Changes, one key then two", {0, 0, 0}},
         [&](PedalRig &r) {
             r.click("SendAllCommand");
             r.scheduler.runAll();
             r.store.SongList[3]->UpdateTempo(97);
             r.trigger("sendChangesAction");
             r.scheduler.runAll();
             note(r, r.status());
             r.store.SongList[3]->UpdateTempo(98);
             r.store.GlobalMenu.MidiChannelIn = 9;
             r.trigger("sendChangesAction");
             r.scheduler.runAll();
         }},
        {{"Factory Reset", {0}}, [](PedalRig &r) { r.click("FactoryResetPedalButton"); }},
        // Not connected: every send says so, and asks nothing.
        {{"Sends unconnected", {}},
         [](PedalRig &r) {
             r.serial.closePort();
             r.serial.forgetPort();
             for (const char *command : {"SendAllCommand", "SendSongCommand", "SendSetJacks", "SendSetlistCommand",
                                         "SendMidiCommand", "SendMenuCommand", "sendChangesAction"}) {
                 QString(command).contains("Action") ? r.trigger(command) : r.click(command);
                 r.scheduler.runAll();
             }
         }},
        {{"Backup failing: Cancel", {0, 1}},
         [&](PedalRig &r) {
             blockBackups();
             r.click("SendAllCommand");
             r.scheduler.runAll();
         }},
        {{"Upload Firmware: an empty image, a cancel, an upload", {0, 1, 0}},
         [&](PedalRig &r) {
             const qsizetype opens = r.device->opens.size();
             r.dialogs.openPaths = {empty, image, image};
             r.click("UploadFirmwareButton");
             EXPECT_EQ(r.device->opens.size(), opens);
             r.click("UploadFirmwareButton"); // cancelled
             EXPECT_TRUE(r.device->isOpen());
             r.click("UploadFirmwareButton");
             QSignalSpy finished(&r.firmware, &FirmwareUpdater::finished);
             r.scheduler.advance(FirmwareUpdater::BootLoaderWaitMs);
             ASSERT_TRUE(finished.wait(20000));
             EXPECT_FALSE(r.serial.isConnected());
             note(r, r.text("connectionLabel"));
         }},
        // A bundled image is the default; another can be chosen.
        {{"Upload Firmware with a bundled image: Cancel, Choose Image…, Use Bundled Image", {2, 1, 1, 0, 1}},
         [&](PedalRig &r) {
             ASSERT_TRUE(writeFile(bundled, firmwareImage()));
             date(bundled);
             r.dialogs.openPaths = {image};
             for (int i = 0; i < 3; ++i)
                 r.click("UploadFirmwareButton");
             QFile::remove(bundled);
             EXPECT_EQ(r.dialogs.openTitles.size(), 1);
             EXPECT_TRUE(r.device->isOpen());
         }},
        // While the update runs, every pedal command and every replacement of the session is
        // refused; closing asks before the unsaved changes; the status bar counts the seconds.
        {{"Upload Firmware: exclusive while it runs", {0}},
         [&](PedalRig &r) {
             r.dialogs.openPaths = {image};
             r.click("UploadFirmwareButton");
             ASSERT_TRUE(r.firmware.running());
             auto *connection = r.find<QLabel>("connectionLabel");
             note(r, connection->text());
             r.scheduler.advance(2000);
             note(r, connection->text());
             RecentFiles::add(image);
             Q_EMIT r.vc.session().recentFilesChanged();
             for (const char *name :
                  {"connectAction", "sendAllAction", "loadAllAction", "factoryResetAction", "uploadFirmwareAction",
                   "SendSongCommand", "LoadSongsCommand", "previewNameButton", "previewStackButton",
                   "sendChangesAction", "compareWithPedalAction", "openSessionAction", "recentFileAction1",
                   "restoreBackupAction", "resetSessionAction"}) {
                 // A command is disabled, and refuses when run all the same.
                 if (const WindowCommand *command = windowCommand(name)) {
                     note(r, QString(name) + (action(r.vc, name)->isEnabled() ? "" : ", disabled"));
                     command->run(r.vc);
                 } else {
                     note(r, name);
                     QString(name).contains("Action") ? r.trigger(name) : r.click(name);
                 }
             }
             RecentFiles::clear();
             EXPECT_FALSE(r.device->isOpen());
             r.vc.history().edit("Tempo", [&] { r.store.SongList[0]->UpdateTempo(99); });
             r.dialogs.answers = {1, 0, 2}; // Keep Running; Quit Anyway, then Cancel at the changes
             r.vc.close();
             r.vc.close();
             EXPECT_TRUE(r.vc.isVisible());
             EXPECT_TRUE(r.firmware.running());
             QSignalSpy ended(&r.vc, &ViewController::endRequested); // a signal ends it only afterwards
             r.vc.endWhenSafe(143);
             r.vc.endWhenSafe(130);
             EXPECT_EQ(ended.count(), 0);
             QSignalSpy finished(&r.firmware, &FirmwareUpdater::finished);
             r.scheduler.advance(FirmwareUpdater::BootLoaderWaitMs);
             ASSERT_TRUE(finished.wait(20000));
             ASSERT_EQ(ended.count(), 1);
             EXPECT_EQ(ended.at(0).at(0).toInt(), 143);
             r.vc.endWhenSafe(129);
             EXPECT_EQ(ended.count(), 2);
             note(r, connection->text());
         }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.is.first);
        PedalRig rig;
        rig.dialogs.answers = QList<int>(row.is.second.begin(), row.is.second.end());
        text += QStringLiteral("== %1 ==\n").arg(row.is.first);
        row.act(rig);
        // Every alert and question (a load ends with none), the status, the backups, the wire.
        QStringList wire; // each line, a long one as its start, length and hash
        for (const QString &line : rig.device->written().split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts))
            wire << Snapshot::shortened(line.split(QString(), Qt::SkipEmptyParts), 24, 12, 0).join(QString());
        note(rig,
             QStringLiteral("status \"%1\"\nbackups [%2]\nwire [%3]")
                 .arg(rig.status(), backupReasons().join(", "), Snapshot::shortened(wire, 12, 5, 5).join(' ')));
        EXPECT_FALSE(rig.link.busy());
    }
    for (const QLocale::FormatType format : {QLocale::LongFormat, QLocale::ShortFormat})
        text.replace(QLocale().toString(dated, format), QLatin1String("{date}"));
    text.replace(temp.dir.path(), QLatin1String("{temp}")).replace(QDir::homePath(), QLatin1String("{home}"));
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/pedal-commands.txt"), text));
}

// The window's real dialogs. Return takes the first button, except where it would destroy
// data (there it is Cancel); Escape the last. The open panel shows folders, files without an

// Compare on Connect: after a new connection the pedal is read into a scratch session and
// the window says whether it matches, offering Send Changes, Load from Pedal and Compare;
// the session and its history are left alone until the user answers. The transcript: the
// alerts of each answer, then what the pedal and the session hold.
TEST(PedalWindow, CompareOnConnectSaysWhetherThePedalMatches)
{
    const struct
    {
        const char *what;
        bool edited; // the session's song 2 has another tempo than the pedal's
        std::vector<int> answers;
    } rows[] = {
        {"the same session", false, {0}},
        {"a tempo apart, Cancel", true, {3}},
        {"a tempo apart, Compare", true, {2}},
        {"a tempo apart, Send Changes", true, {0, 0}},
        {"a tempo apart, Load from Pedal", true, {1, 0}},
    };
    QString text;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        PedalRig r;
        VirtualPedal pedal;
        r.device->onWrite = [&](const QByteArray &bytes) {
            if (const QByteArray reply = pedal.receive(bytes); !reply.isEmpty())
                r.scheduler.after(200, [&r, reply] { r.device->receive(reply); });
        };
        r.trigger("compareOnConnectAction");
        if (row.edited)
            r.store.SongList[1]->UpdateTempo(99);
        const int steps = r.vc.history().undoStack().index();
        r.device->unplug();
        r.ports.append("/dev/ttyACM1");
        r.dialogs.answers = {0}; // the connected note
        r.click("connectToPedalButton");
        r.scheduler.advance(SerialHandler::GreetingDelayMs + 600);
        EXPECT_EQ(r.vc.history().undoStack().index(), steps) << "reading the pedal is no step";
        r.dialogs.shown.clear();
        r.dialogs.answers = QList<int>(row.answers.begin(), row.answers.end());
        r.scheduler.runAll();
        const auto *dock = r.vc.findChild<QDockWidget *>("CompareDock");
        text += QStringLiteral("== %1 ==\n%2pedal tempo %3, session tempo %4, Compare dock %5\n")
                    .arg(row.what, Snapshot::ofAlerts(r.dialogs.shown))
                    .arg(pedal.session().SongList[1]->Tempo)
                    .arg(r.store.SongList[1]->Tempo)
                    .arg(dock && dock->isVisible() ? "shown" : "not shown");
    }
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/compare-on-connect.txt"), text));
}

// Check Session with a pedal: nothing about it while its session is unknown or the same;
// once it is known to differ, the first finding counts the places, and activating it shows
// them in the Compare dock.
TEST(PedalWindow, CheckSessionTellsWhereThePedalDiffers)
{
    PedalRig r;
    for (Song *s : {r.store.SongList[0].get(), r.store.SongList[1].get()})
        s->UpdateName(QStringLiteral("Named"));
    r.store.Setlist.resize(1);
    const auto firstFinding = [&r] {
        r.trigger("checkSessionAction");
        const auto *list = r.find<QListWidget>("checkFindings");
        return list->count() > 0 ? list->item(0)->text() : QString();
    };
    const QString unknown = firstFinding();
    DataHandler pedal;
    SessionSnapshot::of(r.store).restoreInto(pedal);
    r.vc.pedalSession()->known().setKnown(pedal);
    const QString same = firstFinding();
    pedal.SongList[1]->UpdateTempo(99);
    r.vc.pedalSession()->known().setKnown(pedal);
    const QString one = firstFinding();
    pedal.MidiStackList[3].MidiStackMessageList[2].Value = 5;
    pedal.MidiStackList[3].Name = QStringLiteral("Only here"); // not on the pedal
    r.vc.pedalSession()->known().setKnown(pedal);
    EXPECT_EQ(QStringList({same, one, firstFinding()}),
              QStringList({unknown, "Problem: The pedal differs from this session in 1 place",
                           "Problem: The pedal differs from this session in 2 places"}));
    EXPECT_TRUE(unknown.startsWith("Note: Song 1 (Named) still has the factory tempo")) << unknown.toStdString();
    auto *list = r.find<QListWidget>("checkFindings");
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    const auto *compare = r.vc.findChild<CompareDock *>();
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->isVisible());
    EXPECT_EQ(compare->changes().size(), 2u);
}

// Live Updates with the virtual pedal at the other end of the wire, answering after 0.5 s.
// Nothing goes while the pedal's session is unknown; after a Send All every change (a
// tempo, a name typed at 8 characters a second, an undo, a redo) reaches the pedal once the
// session has been quiet, as one upload of just its keys, and the pedal then holds the
// editor's session; a change during a load goes after it. The transcript: the pedal's
// uploads and the indicator after each step.
TEST(PedalWindow, LiveUpdatesKeepThePedalInStep)
{
    PedalRig r;
    QStringList uploads;
    VirtualPedal pedal([&uploads](const QString &line) {
        if (line.startsWith(QLatin1String("upload applied")) || line.startsWith(QLatin1String("upload refused")))
            uploads << line;
    });
    r.device->onWrite = [&](const QByteArray &bytes) {
        if (const QByteArray reply = pedal.receive(bytes); !reply.isEmpty())
            r.scheduler.after(500, [&r, reply] { r.device->receive(reply); });
    };
    auto *indicator = r.find<QAbstractButton>("pedalStateIndicator");
    QString text;
    const auto step = [&](const QString &what, bool inStep = true) {
        SCOPED_TRACE(what.toStdString());
        QApplication::processEvents();
        text += QStringLiteral("== %1 ==\n%2indicator \"%3\" %4\n")
                    .arg(what, uploads.isEmpty() ? QString() : uploads.join('\n') + '\n', indicator->text(),
                         indicator->property("stateColour").toString());
        uploads.clear();
        if (inStep) {
            EXPECT_EQ(keyNames(differingKeys(r.store, pedal.session())), QStringList());
        }
    };
    const auto tempo = [&](int song, const QString &value) {
        r.pickSong(song);
        r.enter("tempoTF", value);
    };
    step("connected", false);
    r.trigger("liveUpdatesAction");
    tempo(2, "99");
    r.scheduler.advance(2000);
    step("Live Updates on, a tempo while nothing is known", false);
    r.dialogs.answers = {0};
    r.click("SendAllCommand");
    r.scheduler.runAll();
    step("Send All");
    tempo(3, "123");
    step("a tempo, before the session is quiet", false);
    r.scheduler.advance(PedalSessionFlow::QuietMs + 50);
    step("a tempo, going out", false);
    r.scheduler.advance(1500);
    step("a tempo");
    auto *name = r.find<QPlainTextEdit>("nameTF");
    name->moveCursor(QTextCursor::End);
    for (const QChar c : QStringLiteral(" Intro riff, live")) {
        QTest::keyClicks(name, QString(c));
        r.scheduler.advance(125);
    }
    r.scheduler.runAll();
    step("a name typed");
    r.trigger("undoAction");
    r.scheduler.runAll();
    step("undo");
    r.trigger("redoAction");
    r.scheduler.runAll();
    step("redo");
    r.dialogs.answers = {0};
    r.click("LoadSetlistCommand");
    tempo(4, "77");
    r.scheduler.advance(PedalSessionFlow::QuietMs + 100);
    step("a tempo while the setlist loads", false);
    r.scheduler.runAll();
    step("the load ended");
    // A live send the port stops taking: the pedal's session is no longer known, and the
    // window says so.
    r.dialogs.shown.clear();
    tempo(6, "66");
    r.scheduler.advance(PedalSessionFlow::QuietMs + 10);
    r.device->refuseWrites = 100;
    r.scheduler.runAll();
    text += Snapshot::ofAlerts(r.dialogs.shown);
    step("a live send cut off", false);
    r.device->refuseWrites = 0;
    r.trigger("liveUpdatesAction");
    tempo(5, "88");
    r.scheduler.runAll();
    step("Live Updates off, a tempo", false);
    EXPECT_FALSE(RecentFiles::flag("liveUpdatesAction", true)) << "remembered for the next start";
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("transcripts/live-updates.txt"), text));
}

// extension and files of the listed extensions.
TEST(RealDialogs, MessageBoxesAnswerAsPressedAndTheOpenPanelShowsSessionFiles)
{
    QWidget window;
    WidgetDialogs dialogs(&window);
    // The alert, the key pressed (none: its first button clicked), the answer.
    const std::tuple<Alert, Qt::Key, int> rows[] = {
        {Alert::note("Saved", QString()), Qt::Key_unknown, 0},
        {Alert::question("Send?", QString()), Qt::Key_Return, 0},
        {Alert::question("Send?", QString()), Qt::Key_Escape, 1},
        {Alert::destructive("Reset?", QString()), Qt::Key_Return, 1},
        {{"Quit?", QString(), {"Quit Anyway", "Keep Running"}, QString(), Alert::Kind::Destructive}, Qt::Key_Escape, 1},
    };
    for (const auto &[alert, key, answer] : rows) {
        SCOPED_TRACE(alert.message.toStdString());
        bool pressed = false;
        QTimer::singleShot(0, [&, key = key] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                key == Qt::Key_unknown ? box->buttons().first()->click() : QTest::keyClick(box, key);
                pressed = true;
            }
        });
        EXPECT_EQ(dialogs.showAlert(alert), answer);
        EXPECT_TRUE(pressed);
    }

    TempFiles dir;
    QDir(dir.dir.path()).mkdir("folder.d");
    for (const char *file : {"SET.TXT", "Kestil_V2.bin", "old session", "set.txt", "set.txt.bak", "song.mp3"})
        dir.write(file, "x");
    QFileSystemModel files;
    QSignalSpy loaded(&files, &QFileSystemModel::directoryLoaded);
    const QModelIndex root = files.setRootPath(dir.dir.path());
    ASSERT_TRUE(loaded.wait(5000));
    OpenPanelFilter filter({"txt", "text", "bin", ""});
    filter.setSourceModel(&files);
    QStringList names;
    const QModelIndex proxyRoot = filter.mapFromSource(root);
    for (int r = 0; r < filter.rowCount(proxyRoot); ++r)
        names << filter.index(r, 0, proxyRoot).data().toString();
    names.sort();
    EXPECT_EQ(names, QStringList({"Kestil_V2.bin", "SET.TXT", "folder.d", "old session", "set.txt"}));
    EXPECT_TRUE(OpenPanelFilter::accepts(".hidden", false, {"txt", ""}));
    EXPECT_FALSE(OpenPanelFilter::accepts("a.mp3", false, {"txt", ""}));
    // Cancelled, the panel opens nothing; accepted, the file chosen.
    const QString chosen = dir.path("set.txt");
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "accepted" : "cancelled");
        QTimer::singleShot(0, [&] {
            if (auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                panel->selectFile(chosen);
                QMetaObject::invokeMethod(panel, accept ? "accept" : "reject");
            }
        });
        EXPECT_EQ(dialogs.chooseFileToOpen("Open", {"txt", ""}), accept ? chosen : QString());
    }
}

// Pedal ▸ Attach Virtual Pedal starts the virtual pedal; its port counts as newly attached,
// so Connect opens it. Without the program the window says so.
TEST(VirtualPedalWindow, AttachThenConnect)
{
    DataHandler store;
    ScriptedDialogs dialogs;
    QtScheduler scheduler;
    SerialHandler serial{scheduler};
    auto vc = std::make_unique<ViewController>(store, dialogs, ViewController::Pedal{&serial, nullptr, nullptr});
    auto *process = vc->findChild<VirtualPedalProcess *>();
    ASSERT_NE(process, nullptr);
    if (VirtualPedalProcess::findProgram().isEmpty()) {
        action(*vc, "attachVirtualPedalAction")->trigger();
        EXPECT_EQ(dialogs.messages(), QStringList({"The virtual pedal is not available"}));
        return;
    }
    QSignalSpy attached(process, &VirtualPedalProcess::attached);
    action(*vc, "attachVirtualPedalAction")->trigger();
    ASSERT_TRUE(attached.wait(15000)) << dialogs.messages().join(QLatin1Char('|')).toStdString();
    const QString device = attached.first().first().toString();
    control<QAbstractButton>(*vc, "connectToPedalButton")->click();
    EXPECT_EQ(serial.portName(), device);
    EXPECT_EQ(dialogs.messages().value(0), "Success!");
    serial.closeAtExit();
    vc.reset(); // ends the virtual pedal
    EXPECT_FALSE(QFile::exists(device));
}

// A process that is there and not a zombie.
bool alive(qint64 pid)
{
    const QString stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    return !stat.isEmpty() && stat.section(QLatin1Char(')'), -1).trimmed().at(0) != QLatin1Char('Z');
}

// The virtual pedal started by the process `parent`, 0 while there is none.
qint64 virtualPedalOf(qint64 parent)
{
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
        const QString stat = readFile(QStringLiteral("/proc/%1/stat").arg(entry));
        const QStringList after = stat.section(QLatin1Char(')'), -1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (stat.contains(QLatin1String("(virtual-pedal)")) && after.value(1).toLongLong() == parent)
            return entry.toLongLong();
    }
    return 0;
}

// The window's program with its virtual pedal: SIGTERM, SIGINT and SIGHUP end both as Quit
// does, with the status 128 + the signal; a window killed outright takes its virtual pedal
// along all the same. Neither leaves anything in the temporary folder.
TEST(EditorProcess, SignalsAndAKilledWindowEndTheVirtualPedal)
{
    const QString editor = QStringLiteral(PEDAL_BINARY_DIR "/app/pedal-editor");
    if (!QFileInfo(editor).isExecutable() || VirtualPedalProcess::findProgram().isEmpty())
        GTEST_SKIP() << "pedal-editor or virtual-pedal not built";
    const QTemporaryDir runtime;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(signalNumber);
        QTemporaryDir temp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", temp.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", runtime.path()); // Qt's own, else under TMPDIR
        QProcess window;
        window.setProcessEnvironment(environment);
        window.start(editor, {"--virtual-pedal"});
        ASSERT_TRUE(window.waitForStarted());
        qint64 pedal = 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (pedal = virtualPedalOf(window.processId())) != 0; }, 30000));
        ::kill(pid_t(window.processId()), signalNumber);
        ASSERT_TRUE(window.waitForFinished(20000));
        if (signalNumber != SIGKILL) {
            EXPECT_EQ(window.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(window.exitCode(), 128 + signalNumber) << window.readAllStandardError().toStdString();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !alive(pedal); }, 10000));
        EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }
}

} // namespace
