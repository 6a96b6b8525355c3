#pragma once

// What the window and page tests share: a whole window, or one page on a context like
// the window's, with scripted dialogs and no pedal; and helpers that find the controls by
// their names and drive them the way a user does.

#include "editor/EditorContext.h"
#include "editor/PageTabs.h"
#include "editor/SessionHistory.h"
#include "editor/SongsPage.h"
#include "editor/SetJacksPage.h"
#include "editor/SongTableModel.h"
#include "editor/ViewController.h"
#include "editor/WindowCommands.h"
#include "format/SessionDiff.h"
#include "model/DataHandler.h"
#include "model/SessionSnapshot.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

template<typename T>
T *control(QWidget &parent, const QString &name)
{
    T *found = parent.findChild<T *>(name);
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
    return found;
}

inline QAction *action(QWidget &window, const char *name)
{
    return control<QAction>(window, QLatin1String(name));
}

// The command of the window's command table with this name; null when there is none.
inline const WindowCommand *windowCommand(const char *name)
{
    for (const WindowCommand &command : WindowCommandTable::rows())
        if (qstrcmp(command.name, name) == 0)
            return &command;
    return nullptr;
}

// Shows the page with this tab title ("Songs", "Set Jacks", ...).
inline void showPage(ViewController &vc, const QString &title)
{
    for (SessionKeys::Page page : {SessionKeys::Page::Songs, SessionKeys::Page::SetJacks, SessionKeys::Page::Setlist,
                                   SessionKeys::Page::Midi, SessionKeys::Page::Global})
        if (SessionKeys::pageTitle(page) == title)
            return vc.showPage(page);
    ADD_FAILURE() << "no page " << title.toStdString();
}

// Picks an item the way the keyboard does: the list then reports it as the user's choice.
inline void choose(QComboBox *combo, int position)
{
    SCOPED_TRACE(combo->objectName().toStdString());
    ASSERT_GT(combo->count(), 1);
    ASSERT_GE(position, 0);
    ASSERT_LT(position, combo->count());
    combo->setCurrentIndex(position == 0 ? 1 : position - 1);
    QTest::keyClick(combo, position == 0 ? Qt::Key_Up : Qt::Key_Down);
    ASSERT_EQ(combo->currentIndex(), position);
}

// Replaces the text of a field by typing and presses Return.
inline void typeInto(QLineEdit *field, const QString &text)
{
    field->clear();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// What changed in the store since `before`, one line each as Compare with File words it.
inline QStringList changesSince(const SessionSnapshot &before, const DataHandler &store)
{
    DataHandler was;
    before.restoreInto(was);
    QStringList changes;
    for (const SessionChange &change : SessionDiff::compare(was, store))
        changes << change.text();
    return changes;
}

// Clicks the first cell of a table row.
inline void clickRow(QAbstractItemView *view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
}

// Replaces a field's text as a paste would, then ends the editing.
inline void enter(QWidget &window, const QString &fieldName, const QString &value)
{
    QLineEdit *field = control<QLineEdit>(window, fieldName);
    field->setText(value);
    Q_EMIT field->editingFinished();
}

// Shows the page and picks a row of its song table.
inline void pickSong(ViewController &vc, int row, const char *tab = "Songs", const char *table = "SongTableView")
{
    showPage(vc, QString::fromLatin1(tab));
    QApplication::processEvents();
    clickRow(control<QTableView>(vc, QLatin1String(table)), row);
}

// The controls of a window or a page, found by their names and worked as a user does.
struct Controls
{
    virtual ~Controls() = default;
    virtual QWidget &root() = 0;
    template<typename T = QWidget>
    T *find(const QString &name)
    {
        return control<T>(root(), name);
    }
    QComboBox *combo(const QString &name) { return find<QComboBox>(name); }
    QLineEdit *edit(const QString &name) { return find<QLineEdit>(name); }
    QString text(const QString &labelName) { return find<QLabel>(labelName)->text(); }
    void click(const QString &buttonName) { find<QAbstractButton>(buttonName)->click(); }
    void enter(const QString &fieldName, const QString &value) { ::enter(root(), fieldName, value); }
};

// One page on a context of its own, shown at a size where every control fits.
template<typename Page>
struct PageTest : ::testing::Test, Controls
{
    DataHandler store;
    EditorState state;
    ScriptedDialogs dialogs;
    EditorEvents events;
    SharedLists lists{store};
    SessionHistory history{store, state};
    EditorContext ctx{store, state, lists, dialogs, events, history, nullptr};
    Page page{ctx};

    void SetUp() override
    {
        events.follow(history);
        page.resize(1200, 900);
        page.show();
    }
    QWidget &root() override { return page; }
};

// A whole editor window, every page built.
struct WindowFixture : ::testing::Test, Controls
{
    DataHandler store;
    ScriptedDialogs dialogs;
    ViewController vc{store, dialogs};

    void SetUp() override
    {
        vc.pages().buildAll();
        vc.show();
        QApplication::processEvents();
    }
    QWidget &root() override { return vc; }
    Song &song(int position) { return *store.SongList[size_t(position)]; }
    EditorState &state() { return vc.context().state; }
    void pickSong(int row) { ::pickSong(vc, row); }
    void pickJacksSong(int row) { ::pickSong(vc, row, "Set Jacks", "SetJacksTableView"); }
    void setName(const QString &name) { find<QPlainTextEdit>(QStringLiteral("nameTF"))->setPlainText(name); }
};
