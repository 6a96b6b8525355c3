// What each page shows, compared with reviewed snapshots under tests/data/snapshots/: one
// scenario per file, starting from the factory session or a random one, going through the
// choices that change what a page shows (every jack mode, every footswitch function,
// every stack row type, ...), with the questions and status lines it raised.
#include "QtPrinters.h"
#include "EditorPedalRig.h"

#include "RandomSession.h"
#include "SessionFiles.h"
#include "Snapshot.h"

#include "editor/TypedRanges.h"
#include "format/SessionDiff.h"

#include <QDir>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>

#include <memory>

namespace {

// A window connected to a stand-in pedal, on its own session, and what the scenario has
// written so far.
struct Shots : Controls
{
    PedalRig rig;
    DataHandler &store = rig.store;
    ScriptedDialogs &dialogs = rig.dialogs;
    ViewController *vc = &rig.vc;
    QString text;
    TempFiles temp;

    explicit Shots(quint32 seed)
    {
        if (seed) {
            RandomSession(seed).fill(store, {12, false, true});
            vc->RefreshAllPages();
        }
        vc->resize(1400, 1000);
        QApplication::processEvents();
    }
    QWidget &root() override { return *vc; }
    void page(const char *title)
    {
        showPage(*vc, QString::fromLatin1(title));
        QApplication::processEvents();
    }
    // Writes a section: what `name` (a control, or the window) shows now.
    void shot(const QString &title, const QWidget *shown)
    {
        QApplication::processEvents();
        text += QStringLiteral("== %1 ==\n").arg(title);
        if (shown)
            text += Snapshot::ofWidget(shown);
    }
    void shot(const QString &title, const QString &name) { shot(title, find(name)); }
    // The page shown.
    const QWidget *current() const { return vc->tabs()->currentWidget(); }
    // Picks each item of a list in turn and writes what `shown` shows after each.
    void eachItem(const QString &listName, const QString &shown, const QString &what)
    {
        eachItem(listName, find(shown), what);
    }
    void eachItem(const QString &listName, const QWidget *shown, const QString &what)
    {
        QComboBox *list = find<QComboBox>(listName);
        for (int i = 0; i < list->count(); ++i) {
            choose(list, i);
            shot(QStringLiteral("%1 %2").arg(what, list->itemText(i)), shown);
        }
    }
    // The questions asked since the last call, and the status line and the title when
    // they changed.
    void transcript()
    {
        text += Snapshot::ofAlerts(dialogs.shown);
        dialogs.shown.clear();
        for (auto [what, now, before] : {std::tuple{"status", vc->statusBar()->currentMessage(), &status},
                                         std::tuple{"title", vc->windowTitle(), &title}})
            if (now != *before)
                text += QStringLiteral("%1 \"%2\"\n").arg(QLatin1String(what), *before = now);
    }
    QString status, title;
    // The changes to the session since `before`, as Compare words them.
    void changes(const SessionSnapshot &before)
    {
        for (const QString &line : Snapshot::shortened(changesSince(before, store), 12, 5, 5))
            text += QLatin1String("  ") + line + '\n';
    }
    // Shows the page that holds the control `name`.
    void pageOf(const QString &name)
    {
        for (const char *title : {"Songs", "Set Jacks", "Setlist", "Midi Management", "Global Settings"}) {
            page(title);
            if (current()->findChild<QWidget *>(name))
                return;
        }
    }
    // The Pedal Log's lines without their times.
    void pedalLog()
    {
        text += QLatin1String("== Pedal Log ==\n");
        for (const QString &line : find<QPlainTextEdit>("pedalLogView")->toPlainText().split('\n'))
            text += line.mid(25) + '\n';
    }
};

struct Scenario
{
    const char *name; // the snapshot file under tests/data/snapshots/
    quint32 seed;     // 0: the factory session
    std::function<void(Shots &)> steps;
};

const Scenario scenarios[] = {
    {"songs-no-song", 0,
     [](Shots &s) {
         // An emptied selection: no control takes input.
         s.page("Songs");
         s.find<QTableView>("SongTableView")->clearSelection();
         s.shot("Songs, no song selected", "SongsScrollView");
         s.page("Set Jacks");
         s.find<QTableView>("SetJacksTableView")->clearSelection();
         s.shot("Set Jacks, no song selected", "SetJacksScrollView");
     }},
    {"songs-colours", 0,
     [](Shots &s) {
         // Each colour of the swatch lists, and the text colour readable on it.
         s.page("Songs");
         s.eachItem("backgroundColourCombo", "backgroundColourCombo", "background");
         s.eachItem("foregroundColourCombo", "SongTableView", "text colour");
     }},
    {"busy", 0,
     [](Shots &s) {
         // While the editor's link or the link of Compare with Pedal loads, the commands that
         // would start a transfer are disabled, and refuse all the same when run.
         const auto tryAll = [&s](const char *while_) {
             for (const char *name : {"sendAllAction", "loadAllAction", "sendChangesAction", "compareWithPedalAction",
                                      "SendSongCommand", "LoadMidiCommand", "factoryResetAction"}) {
                 s.rig.device->clearWrites();
                 s.text += QStringLiteral("== %1 while %2%3 ==\n")
                               .arg(QLatin1String(name), QLatin1String(while_),
                                    action(*s.vc, name)->isEnabled() ? QString() : QStringLiteral(", disabled"));
                 if (const WindowCommand *command = windowCommand(name))
                     command->run(*s.vc);
                 s.transcript();
                 s.text += QStringLiteral("%1 bytes written\n").arg(s.rig.device->written().size());
             }
         };
         s.dialogs.defaultAnswer = 0;
         s.rig.click("LoadSongsCommand");
         s.transcript();
         tryAll("the Songs page loads");
         s.rig.trigger("cancelTransferAction");
         s.rig.scheduler.runAll();
         s.transcript();
         s.vc->compareWithPedal();
         tryAll("Compare with Pedal loads");
         s.pedalLog();
     }},
    {"typed-fields", 0,
     [](Shots &s) {
         // Every typed field at and beyond its limits, and text that is no whole number: as
         // typed (refused: marked, with the range), then what Return stored.
         s.page("Midi Management");
         choose(s.find<QComboBox>("midiStackCombo"), 2);
         for (const TypedRange &range : TypedRanges::all())
             for (int row : range.perStackRow ? std::vector<int>{1, 10} : std::vector<int>{0}) {
                 const QString name = QLatin1String(range.control) + (row ? QString::number(row) : QString());
                 SCOPED_TRACE(name.toStdString());
                 s.pageOf(name);
                 QLineEdit *field = s.find<QLineEdit>(name);
                 // The limits, beyond them, and text that is no number; the last one empty.
                 const QStringList typed = QStringLiteral("%1 %2 %3 %4 99999 abc +5 12345678901 ")
                                               .arg(range.max)
                                               .arg(range.max + 1)
                                               .arg(range.min)
                                               .arg(range.min - 1)
                                               .split(' ');
                 for (int type : row ? std::vector<int>{3, 0} : std::vector<int>{-1}) {
                     if (type >= 0)
                         choose(s.find<QComboBox>(QStringLiteral("stackMessageType%1").arg(row)), type);
                     for (const QString &value : type == 0 ? QStringList{"0"} : typed) {
                         const SessionSnapshot before = SessionSnapshot::of(s.store);
                         field->clear();
                         QTest::keyClicks(field, value);
                         s.text += QStringLiteral("== %1 typed \"%2\"%3 ==\n")
                                       .arg(name, value, type == 0 ? QStringLiteral(" on a Control row") : QString());
                         s.text += Snapshot::ofWidget(field);
                         QTest::keyClick(field, Qt::Key_Return);
                         s.changes(before);
                     }
                 }
                 // Pasted, past the checks of typing.
                 for (const char *value : {"abc", "-5", "12345678901"}) {
                     const SessionSnapshot before = SessionSnapshot::of(s.store);
                     field->setText(QLatin1String(value));
                     Q_EMIT field->editingFinished();
                     s.text += QStringLiteral("== %1 pasted \"%2\" ==\n").arg(name, QLatin1String(value));
                     s.text += Snapshot::ofWidget(field);
                     s.changes(before);
                 }
             }
     }},
    {"copy-buttons", 0,
     [](Shots &s) {
         // Each copy button gives every song its fields of the song shown, and only those, as
         // one step named in the Edit menu.
         s.page("Songs");
         clickRow(s.find<QTableView>("SongTableView"), 6);
         s.page("Set Jacks");
         clickRow(s.find<QTableView>("SetJacksTableView"), 6);
         // Song 7 differs from every other song in every field.
         s.vc->history().edit("Set up", [&s] {
             qint64 value = 1000;
             for (const SongNumberField &f : songNumberFields())
                 s.store.SongList[6].get()->*f.member = value++;
         });
         for (QPushButton *copy : s.vc->findChildren<QPushButton *>(QRegularExpression("Cop(y|ies)")))
             if (copy->isEnabled()) {
                 const SessionSnapshot before = SessionSnapshot::of(s.store);
                 copy->click();
                 // The fields of each song that changed, and the songs that took them.
                 DataHandler was;
                 before.restoreInto(was);
                 QMap<QString, QStringList> songs;
                 for (size_t n = 0; n < s.store.SongList.size(); ++n)
                     for (const SongNumberField &f : songNumberFields())
                         if (s.store.SongList[n].get()->*f.member != was.SongList[n].get()->*f.member)
                             songs[QStringLiteral("%1 → %2").arg(f.name).arg(s.store.SongList[n].get()->*f.member)]
                                 << QString::number(n + 1);
                 s.text +=
                     QStringLiteral("== %1: %2 ==\n").arg(copy->objectName(), action(*s.vc, "undoAction")->text());
                 for (auto [field, numbers] : songs.asKeyValueRange())
                     s.text += QStringLiteral("  %1: %2\n")
                                   .arg(field,
                                        numbers.size() == 127 && !numbers.contains("7")
                                            ? QStringLiteral("every song but 7")
                                            : QLatin1String("songs ") + numbers.join(','));
                 s.vc->history().undo();
                 EXPECT_EQ(SessionSnapshot::of(s.store), before) << qPrintable(copy->objectName());
             }
     }},
    {"out-of-range", 0,
     [](Shots &s) {
         // Values from a file that no list item stands for, on every page.
         Song &song = *s.store.SongList[0];
         song.Fraction = 8;
         song.DivisionOne = 17;
         song.*songJacks()[0].pulses = 31;
         song.FootTAPFunction = -1;
         s.store.MidiStackList[0].MidiStackMessageList[0].Typey = 7;
         s.vc->RefreshAllPages();
         for (const char *name :
              {"fractionCombo", "divOneCombo", "footTapFunction", "numPulsesOneCombo", "stackMessageType1"}) {
             s.pageOf(QLatin1String(name));
             s.shot(QLatin1String(name), QLatin1String(name));
         }
     }},
    {"random", 4242,
     [](Shots &s) {
         // Every page on a random session, on a song of its own.
         s.page("Songs");
         clickRow(s.find<QTableView>("SongTableView"), 6);
         s.shot("Songs, song 7", "SongsPage");
         s.page("Set Jacks");
         clickRow(s.find<QTableView>("SetJacksTableView"), 11);
         s.shot("Set Jacks, song 12", "SetJacksPage");
         s.page("Setlist");
         s.shot("Setlist", s.current());
         s.page("Global Settings");
         s.shot("Global Settings", "GlobalScrollView");
     }},
    {"songs-footswitch", 0,
     [](Shots &s) {
         s.page("Songs");
         const QWidget *box = s.find("footTapFunction")->parentWidget();
         s.eachItem("footTapFunction", box, "tap function");
         s.eachItem("footHoldFunction", box, "hold function");
     }},
    {"songs-jack-modes", 0,
     [](Shots &s) {
         // The song summary and the divisions follow the jack modes set on Set Jacks.
         for (const char *jack : {"One", "Two", "Three", "Four"}) {
             QComboBox *mode = s.find<QComboBox>(QStringLiteral("jack%1Combo").arg(jack));
             for (int m = 0; m < mode->count(); ++m) {
                 s.page("Set Jacks");
                 choose(mode, m);
                 s.page("Songs");
                 s.shot(QStringLiteral("Songs, jack %1 mode %2").arg(jack, mode->itemText(m)), "SongsScrollView");
             }
         }
     }},
    {"setjacks-modes", 0,
     [](Shots &s) {
         s.page("Set Jacks");
         s.shot("Set Jacks, factory", "SetJacksPage");
         int j = 1;
         for (const char *jack : {"One", "Two", "Three", "Four"}) {
             const QString box = QStringLiteral("Jack%1Box").arg(j++);
             s.eachItem(QStringLiteral("jack%1Combo").arg(jack), box, box + QLatin1String(" mode"));
         }
         s.eachItem("numPulsesOneCombo", "SetJacksScrollView", "jack 1 pulses");
     }},
    {"setjacks-inputs", 0,
     [](Shots &s) {
         s.page("Set Jacks");
         for (const char *jack : {"One", "Two", "Three"}) {
             QComboBox *mode = s.find<QComboBox>(QStringLiteral("jack%1Combo").arg(jack));
             choose(mode, 2);
         }
         s.eachItem("Jack1TipTAPFunction", "Jack1LeftInputBox", "jack 1 tip tap function");
         s.eachItem("Jack1TipHOLDFunction", "Jack1LeftInputBox", "jack 1 tip hold function");
         s.eachItem("Jack3RingTAPFunction", "Jack3RightInputBox", "jack 3 ring tap function");
     }},
    {"setlist", 0,
     [](Shots &s) {
         s.page("Setlist");
         s.shot("Setlist, factory", s.current());
         clickRow(s.find<QTableView>("SetlistSongListTableView"), 11);
         s.shot("Setlist, song 12 added", "SetlistTableView");
         s.click("SetlistMoveUpButton");
         s.shot("Setlist, moved up", "SetlistTableView");
         s.click("SetlistRemoveButton");
         s.shot("Setlist, removed", "SetlistTableView");
         s.transcript();
     }},
    {"midi-rows", 0,
     [](Shots &s) {
         s.page("Midi Management");
         s.shot("MIDI, factory", s.current());
         s.eachItem("stackMessageType1", s.find("stackMessageType1")->parentWidget(), "stack row 1 type");
     }},
    {"midi-random", 5150,
     [](Shots &s) {
         s.page("Midi Management");
         QComboBox *stack = s.find<QComboBox>("midiStackCombo");
         for (int position : {0, 6, 127}) {
             choose(stack, position);
             s.shot(QStringLiteral("MIDI, stack %1 of a random session").arg(position + 1), s.current());
         }
         s.eachItem("typeCombo", s.find("LibraryTableView")->parentWidget(), "library message type");
     }},
    {"global", 0,
     [](Shots &s) {
         s.page("Global Settings");
         s.shot("Global, factory", s.current());
         // A setting is found by the words a comparison shows for it, a section by its title.
         DataHandler other;
         other.GlobalMenu.OffsetBpmThree = 7;
         for (const QString &words : {QStringLiteral("channel"), SessionDiff::compare(DataHandler(), other).at(0).field,
                                      QStringLiteral("Display")}) {
             s.enter("GlobalFilterTF", words);
             s.shot("Global, filtered by \"" + words + '"', "GlobalScrollView");
         }
     }},
    {"window", 0,
     [](Shots &s) {
         s.text += QLatin1String("== menus ==\n") + Snapshot::ofMenus(s.vc->menuBar());
         s.shot("the window", s.vc);
         s.page("Songs");
         s.enter("tempoTF", "133");
         s.text += QLatin1String("== menus after a tempo edit ==\n") + Snapshot::ofMenus(s.vc->menuBar());
         s.transcript();
     }},
    {"questions", 0,
     [](Shots &s) {
         // Every page command and every command of the File and Pedal menus, with unsaved
         // changes, each question answered with its second button ("Cancel" where there is one).
         s.dialogs.defaultAnswer = 1;
         s.text += QLatin1String("== resetSessionAction, nothing changed ==\n");
         action(*s.vc, "resetSessionAction")->trigger();
         s.transcript();
         s.page("Songs");
         s.enter("tempoTF", "133");
         for (const char *page : {"Songs", "Set Jacks", "Setlist", "Midi Management", "Global Settings"}) {
             s.page(page);
             for (QPushButton *button : s.vc->tabs()->currentWidget()->findChildren<QPushButton *>())
                 if (button->isVisible() && button->isEnabled()) {
                     s.text += QStringLiteral("== %1: %2 ==\n").arg(page, button->objectName());
                     button->click();
                     s.rig.scheduler.runAll();
                     s.transcript();
                 }
         }
         for (const char *name : {"resetSessionAction", "openSessionAction", "restoreBackupAction", "sendAllAction",
                                  "loadAllAction", "sendChangesAction", "compareWithPedalAction", "factoryResetAction",
                                  "uploadFirmwareAction", "connectAction"}) {
             s.text += QStringLiteral("== %1 ==\n").arg(name);
             action(*s.vc, name)->trigger();
             s.rig.scheduler.runAll();
             s.transcript();
         }
         s.pedalLog();
     }},
    {"compare", 909,
     [](Shots &s) {
         DataHandler other;
         RandomSession(909).fill(other, {12, false, true});
         other.SongList[2]->UpdateName(QStringLiteral("Intro Riff"));
         other.GlobalMenu.MidiChannelIn = other.GlobalMenu.MidiChannelIn == 3 ? 4 : 3;
         other.MidiStackList[3].MidiStackMessageList[0].Value = 64;
         other.insertSongIntoSetlist(11, 2);
         s.dialogs.openPaths << s.temp.write("other.txt", fileForm(other).toUtf8());
         action(*s.vc, "compareWithFileAction")->trigger();
         s.shot("Compare with File", "CompareDock");
         s.transcript();
     }},
};

class Snapshots : public ::testing::TestWithParam<Scenario>
{};

} // namespace

TEST_P(Snapshots, PageShowsWhatWasReviewed)
{
    const Scenario &scenario = GetParam();
    Shots shots(scenario.seed);
    scenario.steps(shots);
    // Folders of this run read the same in every run.
    shots.text.replace(shots.temp.dir.path(), QLatin1String("{temp}"))
        .replace(QDir::homePath(), QLatin1String("{home}"));
    EXPECT_TRUE(Snapshot::matches(QStringLiteral("snapshots/%1.txt").arg(QLatin1String(scenario.name)), shots.text));
}

INSTANTIATE_TEST_SUITE_P(Editor, Snapshots, ::testing::ValuesIn(scenarios),
                         [](const ::testing::TestParamInfo<Scenario> &info) {
                             return QString::fromLatin1(info.param.name).replace('-', '_').toStdString();
                         });
