#pragma once

// What the page tests share: a context like the window's, without a pedal link, and
// helpers that drive controls the way a user does.

#include "editor/EditorContext.h"
#include "model/DataHandler.h"
#include "model/ScriptedDialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

struct PageContext
{
    DataHandler store;
    EditorState state;
    ScriptedDialogs dialogs;
    EditorEvents events;
    SharedLists lists{store};
    EditorContext ctx{store, state, lists, dialogs, events, nullptr};
};

template <typename T>
T *control(QWidget &page, const QString &name)
{
    T *found = page.findChild<T *>(name);
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
    return found;
}

// Picks an item the way the keyboard does: the list then reports it as the user's choice.
inline void choose(QComboBox *combo, int position)
{
    ASSERT_GT(combo->count(), 1);
    ASSERT_GE(position, 0);
    ASSERT_LT(position, combo->count());
    if (position == 0) {
        combo->setCurrentIndex(1);
        QTest::keyClick(combo, Qt::Key_Up);
    } else {
        combo->setCurrentIndex(position - 1);
        QTest::keyClick(combo, Qt::Key_Down);
    }
    ASSERT_EQ(combo->currentIndex(), position);
}

// Replaces the text of a field by typing and presses Return.
inline void typeInto(QLineEdit *field, const QString &text)
{
    field->clear();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Clicks the first cell of a table row.
inline void clickRow(QAbstractItemView *view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(index).center());
}
