#pragma once

#include "format/SessionCheck.h"

#include <QDockWidget>

#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class ViewController;

// File ▸ Check Session…: what to mend before a gig, as a list of problems and notes.
// Activating a finding (double-click or Return) shows its song, stack or setlist position
// on its page. With a pedal connected whose session is known, a pedal that differs from
// this session is a finding too; activating it shows the differences in the Compare dock.
// The list is what the session held when it was last checked: Check Again checks anew.
class CheckDock : public QDockWidget
{
    Q_OBJECT
public:
    explicit CheckDock(ViewController *window);

    // The window's dock (made on first use), shown and checked anew.
    static CheckDock *checkIn(ViewController *window);

    // Checks the window's session again and lists what it finds.
    void checkAgain();
    const std::vector<CheckFinding> &findings() const { return m_findings; }
    // Shows the finding's song, stack or setlist position on its page.
    void goTo(const CheckFinding &finding);

    // The name of the finding about the pedal.
    static constexpr const char *PedalDiffers = "pedal-differs";

private:
    void itemActivated(QListWidgetItem *item);

    ViewController *m_window;
    std::vector<CheckFinding> m_findings;
    QLabel *m_summary = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_again = nullptr;
};
