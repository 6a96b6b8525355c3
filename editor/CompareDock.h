#pragma once

#include "format/SessionDiff.h"

#include <QDockWidget>

#include <memory>
#include <vector>

class DataHandler;
class QPushButton;
class Dialogs;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class ViewController;

// File ▸ Compare with File…: the changes from the window's session to a session file,
// grouped by page, with a filter. Double-clicking a change shows its song, stack,
// setlist position or setting on its page. The file is read into a session of its own:
// the window's session is not touched.
//
// The dock keeps a copy of the other session, so Take Selected and Take All can bring its
// values of the chosen changes into the window's session as one step of the history.
// Choosing a page's group or a record (a song, a stack, a library entry with more than
// one change) chooses every change shown under it.
class CompareDock : public QDockWidget
{
    Q_OBJECT
public:
    explicit CompareDock(ViewController *window);

    // Asks for a session file and shows the changes from `store` to it in the window's
    // dock (made on first use). A file that cannot be read is reported and changes nothing.
    // Returns the dock, or null when cancelled or refused.
    static CompareDock *compareWithFile(ViewController *window, DataHandler &store, Dialogs &dialogs);
    // Shows these changes in the window's dock (made on first use) and returns it. Nothing
    // can be taken from a session the dock does not hold.
    static CompareDock *showIn(ViewController *window, std::vector<SessionChange> changes, const QString &source);
    // Shows the changes from the window's session to a copy of `other` (only the keys the
    // pedal keeps when `pedalKeysOnly`), which the dock keeps to take values from.
    static CompareDock *compareWith(ViewController *window, const DataHandler &other, const QString &source,
                                    bool pedalKeysOnly = false);

    // Shows these changes; `source` names what the session is compared with.
    void showChanges(std::vector<SessionChange> changes, const QString &source);
    const std::vector<SessionChange> &changes() const { return m_changes; }
    // Shows only the changes whose line holds this text (any case).
    void setFilter(const QString &text);
    // Shows the change's record on its page.
    void goTo(const SessionChange &change);
    // Takes the other session's values of the chosen changes (one step named after them,
    // "Take 3 changes from set-b.txt"), then shows the differences that remain.
    void take(const std::vector<SessionChange> &chosen);
    void takeSelected();
    void takeAll();

private:
    void compareAgain();
    void filterChanged();
    void selectionChanged();
    void itemActivated(QTreeWidgetItem *item);
    // The changes shown under the selected items, each once, in list order.
    std::vector<SessionChange> selectedChanges() const;

    ViewController *m_window;
    std::vector<SessionChange> m_changes;
    QLabel *m_summary = nullptr;
    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_tree = nullptr;
    QPushButton *m_takeSelected = nullptr;
    QPushButton *m_takeAll = nullptr;
    std::unique_ptr<DataHandler> m_other; // the session compared with, when the dock holds it
    QString m_source;
    bool m_pedalKeysOnly = false;
};
