#pragma once

// A whole editor window on a store of its own, with scripted dialogs and no pedal.

#include "editor_pages_fixture.h"

#include "editor/SessionActions.h"
#include "editor/SetJacksPage.h"
#include "editor/SongsPage.h"
#include "editor/SongTableModel.h"
#include "editor/ViewController.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

struct WindowFixture : ::testing::Test
{
    DataHandler store;
    ScriptedDialogs dialogs;
    ViewController vc{store, dialogs};

    void SetUp() override
    {
        // The tests look up controls of every page by name.
        vc.ensureAllPages();
        vc.show();
        QApplication::processEvents();
    }

    template<typename T>
    T *find(const char *name)
    {
        return control<T>(vc, QString::fromLatin1(name));
    }
    QComboBox *combo(const char *name) { return find<QComboBox>(name); }
    QString text(const char *labelName) { return find<QLabel>(labelName)->text(); }
    void click(const char *buttonName) { find<QPushButton>(buttonName)->click(); }
    Song &song(int position) { return *store.SongList[size_t(position)]; }
    // Shows the page and picks a row of its song table.
    void pickSong(const char *tab, const char *tableName, int row)
    {
        vc.showPage(QString::fromLatin1(tab));
        QApplication::processEvents();
        clickRow(find<QTableView>(tableName), row);
    }
    void setName(const QString &name) { find<QPlainTextEdit>("nameTF")->setPlainText(name); }
    // A field's text replaced as a paste would, then the editing ends.
    void enter(const char *fieldName, const QString &value)
    {
        QLineEdit *field = find<QLineEdit>(fieldName);
        field->setText(value);
        Q_EMIT field->editingFinished();
    }
};
