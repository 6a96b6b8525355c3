#pragma once

// What the window and page tests share: a whole window, or one page on a context like
// the window's, with scripted dialogs and no pedal; and helpers that drive the controls
// the way a user does.

#include "editor/EditorContext.h"
#include "editor/PageTabs.h"
#include "editor/SessionHistory.h"
#include "editor/SongsPage.h"
#include "editor/SetJacksPage.h"
#include "editor/SongTableModel.h"
#include "editor/ViewController.h"
#include "format/SessionDiff.h"
#include "model/DataHandler.h"
#include "model/SessionSnapshot.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAbstractItemView>
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

// Picks an item the way the keyboard does: the list then reports it as the user's choice.
// Shows the page with this tab title ("Songs", "Set Jacks", ...).
inline void showPage(ViewController &vc, const QString &title)
{
    for (SessionKeys::Page page : {SessionKeys::Page::Songs, SessionKeys::Page::SetJacks, SessionKeys::Page::Setlist,
                                   SessionKeys::Page::Midi, SessionKeys::Page::Global})
        if (SessionKeys::pageTitle(page) == title)
            return vc.showPage(page);
    ADD_FAILURE() << "no page " << title.toStdString();
}

inline void choose(QComboBox *combo, int position)
{
    ASSERT_TRUE(combo->count() > 1 && position >= 0 && position < combo->count());
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

// One page on a context of its own, shown at a size where every control fits.
template<typename Page>
struct PageTest : ::testing::Test
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
        page.resize(1200, 900);
        page.show();
    }
    template<typename T = QWidget>
    T *find(const QString &name)
    {
        return control<T>(page, name);
    }
    QComboBox *combo(const QString &name) { return find<QComboBox>(name); }
    QLineEdit *edit(const QString &name) { return find<QLineEdit>(name); }
    void press(const QString &name) { find<QAbstractButton>(name)->click(); }
};

// A whole editor window, every page built.
struct WindowFixture : ::testing::Test
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
    template<typename T = QWidget>
    T *find(const QString &name)
    {
        return control<T>(vc, name);
    }
    QComboBox *combo(const QString &name) { return find<QComboBox>(name); }
    QString text(const QString &labelName) { return find<QLabel>(labelName)->text(); }
    void click(const QString &buttonName) { find<QAbstractButton>(buttonName)->click(); }
    Song &song(int position) { return *store.SongList[size_t(position)]; }
    EditorState &state() { return vc.context().state; }
    // Shows the page and picks a row of its song table.
    void pickSong(const char *tab, const char *tableName, int row)
    {
        showPage(vc, QString::fromLatin1(tab));
        QApplication::processEvents();
        clickRow(find<QTableView>(QString::fromLatin1(tableName)), row);
    }
    void pickSong(int row) { pickSong("Songs", "SongTableView", row); }
    void pickJacksSong(int row) { pickSong("Set Jacks", "SetJacksTableView", row); }
    void setName(const QString &name) { find<QPlainTextEdit>(QStringLiteral("nameTF"))->setPlainText(name); }
    // A field's text replaced as a paste would, then the editing ends.
    void enter(const QString &fieldName, const QString &value)
    {
        QLineEdit *field = find<QLineEdit>(fieldName);
        field->setText(value);
        Q_EMIT field->editingFinished();
    }
};
