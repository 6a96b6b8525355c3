#pragma once

// What the page tests share: a context like the window's, without a pedal link, and
// helpers that drive controls the way a user does.

#include "editor/EditorContext.h"
#include "editor/SessionHistory.h"
#include "model/DataHandler.h"
#include "model/ScriptedDialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

struct PageContext
{
    DataHandler store;
    EditorState state;
    ScriptedDialogs dialogs;
    EditorEvents events;
    SharedLists lists{store};
    SessionHistory history{store, state};
    EditorContext ctx{store, state, lists, dialogs, events, history, nullptr};
};

template<typename T>
T *control(QWidget &page, const QString &name)
{
    T *found = page.findChild<T *>(name);
    EXPECT_NE(found, nullptr) << "no control " << name.toStdString();
    return found;
}

// One page on its own context, shown at a size where every control fits.
template<typename Page>
struct PageTest : ::testing::Test
{
    PageContext c;
    Page page{c.ctx};

    void SetUp() override
    {
        page.resize(1200, 900);
        page.show();
    }
    void press(const QString &name) { control<QPushButton>(page, name)->click(); }
};

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

// The text of a file, empty when it cannot be read.
inline QString readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
