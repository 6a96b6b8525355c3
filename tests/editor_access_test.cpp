// The window with the keyboard alone, at the screen scale the test runs at (CTest runs the
// scale rows at QT_SCALE_FACTOR 1, 1.5 and 2), and as a screen reader reads it.

#include "EditorPedalRig.h"

#include "QtPrinters.h"

#include "editor/CompareDock.h"
#include "editor/PedalLogDock.h"

#include <QAccessible>
#include <QDockWidget>
#include <QHeaderView>
#include <QRegularExpression>
#include <QScreen>
#include <QTabBar>

namespace {

using Access = WindowFixture;

// What a person operates: buttons, lists, fields, tables, tabs (not the parts of a list,
// a field or a table).
bool isControl(const QWidget *w, const QWidget &window)
{
    const QWidget *in = w->parentWidget();
    return w->window() == &window && !qobject_cast<const QComboBox *>(in) && !qobject_cast<const QLineEdit *>(in)
        && !qobject_cast<const QAbstractItemView *>(in)
        && (qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w)
            || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractItemView *>(w)
            || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTabBar *>(w));
}

// Opens in the screen; on every page each field wide enough to read and no two labels or
// fields on top of each other; the window can be made as small as 1024 by 600, and the
// library still shows several rows at 1024 by 640.
TEST_F(Access, WindowFitsTheScreenAndEveryFieldIsReadable)
{
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    SCOPED_TRACE(scale);
    EXPECT_TRUE(vc.screen()->availableGeometry().contains(vc.frameGeometry()));
    QTabWidget *tabs = vc.tabs();
    for (int t = 0; t < tabs->count(); ++t) {
        SCOPED_TRACE(tabs->tabText(t).toStdString());
        tabs->setCurrentIndex(t);
        QApplication::processEvents();
        QWidget *page = tabs->currentWidget();
        std::vector<std::pair<const QWidget *, QRect>> placed;
        for (const QWidget *w : page->findChildren<QWidget *>()) {
            const bool field = qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w);
            if (!w->isVisible() || !(field || qobject_cast<const QLabel *>(w))
                || qobject_cast<const QComboBox *>(w->parentWidget()))
                continue;
            if (field) {
                EXPECT_GE(w->width(), 30) << qPrintable(w->objectName());
            }
            const QRect at(w->mapTo(page, QPoint()), w->size());
            for (const auto &[other, rect] : placed)
                EXPECT_FALSE(at.intersects(rect)) << qPrintable(w->objectName() + " on " + other->objectName());
            placed.emplace_back(w, at);
        }
    }
    if (scale != 1)
        return;
    EXPECT_LE(vc.minimumSizeHint().width(), 1024);
    EXPECT_LE(vc.minimumSizeHint().height(), 600);
    vc.resize(1024, 640);
    showPage(vc, QStringLiteral("Midi Management"));
    QApplication::processEvents();
    auto *library = find<QTableView>("LibraryTableView");
    EXPECT_GE(library->viewport()->height(), 5 * library->verticalHeader()->defaultSectionSize());
}

// Ctrl+1 to Ctrl+5 show the pages; on each page Tab reaches every control once, leaves
// every table and comes back round; Return or Insert on the Setlist page's song list adds
// the focused song.
TEST_F(Access, KeyboardReachesEveryControl)
{
    QApplication::setActiveWindow(&vc);
    QTabWidget *tabs = vc.tabs();
    for (int t = tabs->count() - 1; t >= 0; --t) {
        SCOPED_TRACE(tabs->tabText(t).toStdString());
        QTest::keyClick(&vc, Qt::Key(Qt::Key_1 + t), Qt::ControlModifier);
        QApplication::processEvents();
        ASSERT_EQ(tabs->currentIndex(), t);
        tabs->tabBar()->setFocus();
        std::vector<QWidget *> reached;
        for (int press = 0; press < 400; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *now = QApplication::focusWidget();
            if (now == tabs->tabBar())
                break;
            ASSERT_EQ(std::count(reached.begin(), reached.end(), now), 0) << "twice: " << qPrintable(now->objectName());
            reached.push_back(now);
        }
        ASSERT_EQ(QApplication::focusWidget(), tabs->tabBar()) << "Tab does not come back round";
        for (QWidget *w : tabs->currentWidget()->findChildren<QWidget *>())
            if (isControl(w, vc) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                EXPECT_EQ(std::count(reached.begin(), reached.end(), w), 1) << qPrintable(w->objectName());
            }
    }
    auto *songs = find<QTableView>("SetlistSongListTableView");
    songs->setFocus();
    for (auto [key, song] : {std::pair{Qt::Key_Home, 0},
                             {Qt::Key_Return, 0},
                             {Qt::Key_End, 127},
                             {Qt::Key_Insert, 127},
                             {Qt::Key_Up, 126},
                             {Qt::Key_Enter, 126}}) {
        const size_t before = store.Setlist.size();
        QTest::keyClick(songs, key);
        if (key == Qt::Key_Return || key == Qt::Key_Insert || key == Qt::Key_Enter) {
            ASSERT_EQ(store.Setlist.size(), before % 128 + 1);
            EXPECT_EQ(store.Setlist.back(), store.SongList[size_t(song)]) << key;
        } else {
            EXPECT_EQ(songs->currentIndex().row(), song) << key;
        }
    }
}

// Every control of the window, the docks and the command bar has a name a screen reader
// says, and every table names its columns.
TEST_F(Access, ScreenReadersNameEveryControl)
{
    CompareDock::showIn(&vc, {}, QStringLiteral("other.txt"));
    vc.pedalLog()->show();
    int controls = 0;
    for (QWidget *w : vc.findChildren<QWidget *>()) {
        if (!isControl(w, vc))
            continue;
        ++controls;
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(reader, nullptr);
        // A list on its own says its current item: it needs a name of its own.
        const bool named = !reader->text(QAccessible::Name).isEmpty()
            && (!qobject_cast<QComboBox *>(w) || !w->accessibleName().isEmpty());
        EXPECT_TRUE(named) << qPrintable(w->objectName()) << " " << w->metaObject()->className();
        // A name made from a pattern ("Jack %1 %2 %3: function") has every part filled in.
        static const QRegularExpression unfilled(QStringLiteral("%\\d"));
        EXPECT_FALSE(reader->text(QAccessible::Name).contains(unfilled)) << qPrintable(reader->text(QAccessible::Name));
        if (QAccessibleTableInterface *table = reader->tableInterface())
            for (int c = 0; c < table->columnCount(); ++c) {
                EXPECT_FALSE(table->columnDescription(c).isEmpty()) << qPrintable(w->objectName()) << c;
            }
    }
    EXPECT_GT(controls, 300);
}

// A screen reader reads the connection and the progress of a transfer as they change.
TEST(AccessAnnounced, ConnectionAndProgress)
{
    PedalRig rig;
    const auto read = [&rig](const char *name, QAccessible::Text what) {
        return QAccessible::queryAccessibleInterface(rig.find(QLatin1String(name)))->text(what);
    };
    EXPECT_EQ(read("connectionLabel", QAccessible::Name), "Connected: /dev/ttyACM0");
    rig.dialogs.answers = {0};
    rig.click("SendSetlistCommand");
    rig.scheduler.advance(10);
    EXPECT_EQ(read("transferProgress", QAccessible::Name), "Transfer progress");
    EXPECT_FALSE(read("transferProgress", QAccessible::Description).isEmpty());
    rig.scheduler.runAll();
    rig.device->unplug();
    rig.scheduler.runAll();
    EXPECT_EQ(read("connectionLabel", QAccessible::Name), "Not connected (/dev/ttyACM0 was disconnected)");
}

} // namespace
