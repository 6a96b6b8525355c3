#pragma once

#include "format/SessionDiff.h"

#include <QDockWidget>

#include <vector>

class DataHandler;
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
class CompareDock : public QDockWidget
{
    Q_OBJECT
public:
    explicit CompareDock(ViewController *window);

    // Asks for a session file and shows the changes from `store` to it in the window's
    // dock (made on first use). A file that cannot be read is reported and changes nothing.
    // Returns the dock, or null when cancelled or refused.
    static CompareDock *compareWithFile(ViewController *window, DataHandler &store, Dialogs &dialogs);
    // Shows these changes in the window's dock (made on first use) and returns it.
    static CompareDock *showIn(ViewController *window, std::vector<SessionChange> changes, const QString &source);

    // Shows these changes; `source` names what the session is compared with.
    void showChanges(std::vector<SessionChange> changes, const QString &source);
    const std::vector<SessionChange> &changes() const { return m_changes; }
    // Shows only the changes whose line holds this text (any case).
    void setFilter(const QString &text);
    // Shows the change's record on its page.
    void goTo(const SessionChange &change);

private:
    void filterChanged();
    void itemActivated(QTreeWidgetItem *item);

    ViewController *m_window;
    std::vector<SessionChange> m_changes;
    QLabel *m_summary = nullptr;
    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_tree = nullptr;
};
