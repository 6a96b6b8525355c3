#pragma once

#include "editor/Dialogs.h"

#include <QList>

// Dialogs that answer from a script and record what was asked: used by the tests and
// by the command-line tools, which have no window.
class ScriptedDialogs : public Dialogs
{
public:
    int showAlert(const Alert &alert) override;
    QString chooseFileToOpen(const QString &title, const QStringList &suffixes) override;
    void chooseFileToSave(const QStringList &suffixes, std::function<void(const QString &path)> done) override;

    // Answers given in order; when the queue is empty, `defaultAnswer` is used.
    QList<int> answers;
    int defaultAnswer = 0;
    QStringList openPaths;   // consumed by chooseFileToOpen; empty text = cancel
    QStringList savePaths;   // consumed by chooseFileToSave; empty text = cancel
    bool deferSaves = false; // keep save completions until completePendingSave()

    // Runs while an alert is shown, as a modal alert runs the event loop.
    std::function<void(const Alert &)> whileShown;
    QList<Alert> shown;     // every alert, in order
    QStringList openTitles; // titles of the open panels shown
    int savePanelsShown = 0;

    void completePendingSave(const QString &path);
    bool hasPendingSave() const { return bool(m_pending); }
    // The message texts of the alerts shown so far.
    QStringList messages() const;

private:
    std::function<void(const QString &)> m_pending;
};
