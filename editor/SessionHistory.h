#pragma once

#include "EditorState.h"
#include "format/SessionKeys.h"
#include "model/SessionSnapshot.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

class DataHandler;

// The one path by which the session changes. Every change runs through edit(): the
// history knows the session as it was, runs the change, compares, and keeps what differs
// as one step on its undo stack. Undo and redo write the kept parts back into the store in
// place and tell the window what changed (changeShown), with the song, stack and rows the
// pages showed when the step was taken.
//
// Unsaved changes are the undo stack's clean state.
class SessionHistory : public QObject
{
    Q_OBJECT
public:
    // Steps kept; older ones are dropped.
    static constexpr int StepLimit = 2000;

    SessionHistory(DataHandler &store, EditorState &state, QObject *parent = nullptr);
    ~SessionHistory() override;

    QUndoStack &undoStack() { return m_stack; }

    // Runs `change` (which changes the store) and records what it changed as one step
    // named `text` ("Tempo of Song 3"). Consecutive steps with the same non-empty
    // `mergeKey` become one (typing in one field). A change that leaves the session as it
    // was records nothing.
    void edit(const QString &text, const QString &mergeKey, const std::function<void()> &change);
    void edit(const QString &text, const std::function<void()> &change) { edit(text, QString(), change); }
    // The same, and the window shows the change afterwards as after an undo (for changes
    // made by something other than a page: normalisation, data from the pedal).
    void editAndShow(const QString &text, const std::function<void()> &change);

    // The store was changed by something that does not go through edit() (data arriving
    // from the pedal). What changed is recorded as one step at commitOutside(), or before
    // the next edit.
    void changedOutside();
    // Records what changed since the last step as one step named `text` and shows it.
    // Without `text`, the name given to expectOutside() is used.
    void commitOutside(const QString &text = QString());
    // Names the outside changes to come ("Load All") until it is called again (with an
    // empty text when the transfer has ended).
    void expectOutside(const QString &text);
    bool outsidePending() const { return m_outsidePending; }

    // Undo and redo of the stack, after recording any change made outside the steps.
    void undo();
    void redo();

    // The page shown now, kept with each step and shown again on its undo and redo.
    void setPageProvider(std::function<SessionKeys::Page()> currentPage);

    // The file the session belongs to; empty for a new session. It changes with the steps
    // that opened or reset the session, on undo and redo too.
    QString filePath() const { return m_path; }
    void setFilePath(const QString &path);

    bool isModified() const { return !m_stack.isClean(); }
    // The session as it is now counts as saved.
    void markSaved() { m_stack.setClean(); }

    // The session as the history knows it (after the last step, undo or redo).
    const SessionSnapshot &current() const { return m_current; }

Q_SIGNALS:
    // An undo, a redo or an outside change changed the store: the window shows `change`;
    // `page` is the page that was shown when the step was taken (All: none).
    void changeShown(const SessionDelta &change, SessionKeys::Page page);
    // A page's edit was recorded as a step (or merged into the last one): what it changed.
    void stepTaken(const SessionDelta &change);
    void modifiedChanged(bool modified);
    void filePathChanged(const QString &path);

private:
    class Step;
    friend class Step;
    struct Place
    {
        SessionKeys::Page page;
        EditorState state;
        QString path;
    };
    Place place() const;
    void settle();
    void apply(const SessionDelta &change, bool after, const Place &place);
    // Runs `change` as a new step and records what it changed.
    void takeStep(const QString &text, const QString &mergeKey, const std::function<void()> &change, bool show);
    void record(const QString &text, const QString &mergeKey, const Place &before, bool show);

    DataHandler &m_store;
    EditorState &m_state;
    QUndoStack m_stack;
    SessionSnapshot m_current;
    std::function<SessionKeys::Page()> m_currentPage;
    QString m_path;
    QString m_outsideText;
    bool m_outsidePending = false;
    int m_depth = 0; // edits running inside one another record as the outermost one
    bool m_applying = false;
};
