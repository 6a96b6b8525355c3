#pragma once

#include "model/Alert.h"

#include <QString>
#include <QStringList>

#include <functional>

// Everything the window asks the user goes through this interface: WidgetDialogs
// implements it with real message boxes and file panels, the tests with scripted answers.
// The layers below the editor never ask: they raise alerts and offer questions as data.
class Dialogs
{
public:
    virtual ~Dialogs();

    // Shows a modal alert and returns the index of the button pressed (0 is the first).
    // The alert listener hears of it first.
    int alert(const Alert &alert);

    // Told of every alert before it is shown (the pedal log); one listener, or none.
    void setAlertListener(std::function<void(const Alert &)> listener) { m_listener = std::move(listener); }

    // A modal open panel. Returns the chosen path, or an empty text when cancelled.
    virtual QString chooseFileToOpen(const QString &title, const QStringList &suffixes) = 0;

    // A save panel. `done` is called with the chosen path (empty when cancelled);
    // it may be called later, after this function has returned.
    virtual void chooseFileToSave(const QStringList &suffixes, std::function<void(const QString &path)> done) = 0;

    // An open panel for a firmware image (*.bin), starting in `folder`. Returns the chosen
    // path, or an empty text when cancelled. Unless replaced: chooseFileToOpen().
    virtual QString chooseFirmwareImage(const QString &folder);

    // Convenience: an alert with "Ok" and "Cancel"; true only for "Ok".
    bool confirm(const QString &message, const QString &informative, const QString &title = QString());
    // The same for a step that destroys data (a reset, clearing): "Cancel" is the default.
    bool confirmDestructive(const QString &message, const QString &informative, const QString &title = QString());
    // Convenience: an alert with the single button "Ok".
    void inform(const QString &message, const QString &informative);
    // The same for a failure: what could not be done, and why.
    void warn(const QString &message, const QString &informative);
    // The alert shown when a pedal command is given without a connected pedal.
    void notConnected();

protected:
    // Shows the alert: the window's message box, or a scripted answer.
    virtual int showAlert(const Alert &alert) = 0;

private:
    std::function<void(const Alert &)> m_listener;
};
