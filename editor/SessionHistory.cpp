#include "SessionHistory.h"

#include "model/DataHandler.h"

#include <QUndoCommand>

// One step: the parts it changed, before and after, and where the window stood.
class SessionHistory::Step : public QUndoCommand
{
public:
    Step(SessionHistory &history, const QString &text, const QString &mergeKey, SessionDelta change, Place before,
         Place after)
        : QUndoCommand(text),
          m_history(history),
          m_mergeKey(mergeKey),
          m_change(std::move(change)),
          m_before(std::move(before)),
          m_after(std::move(after))
    {}

    void undo() override { m_history.apply(m_change, false, m_before); }
    void redo() override
    {
        // The first redo comes from the push: the change is in the store already.
        if (m_done)
            m_history.apply(m_change, true, m_after);
        m_done = true;
    }
    int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *later = static_cast<const Step *>(other);
        if (later->m_mergeKey != m_mergeKey)
            return false;
        m_change.append(later->m_change);
        m_after = later->m_after;
        setText(later->text());
        setObsolete(m_change.isEmpty() && m_before.path == m_after.path);
        return true;
    }

private:
    SessionHistory &m_history;
    QString m_mergeKey;
    SessionDelta m_change;
    Place m_before;
    Place m_after;
    bool m_done = false;
};

SessionHistory::SessionHistory(DataHandler &store, EditorState &state, QObject *parent)
    : QObject(parent), m_store(store), m_state(state), m_current(SessionSnapshot::of(store))
{
    m_stack.setUndoLimit(StepLimit);
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) { Q_EMIT modifiedChanged(!clean); });
}

SessionHistory::~SessionHistory()
{
    // The steps refer to this history; they go first, telling no one (the window that
    // listens is being taken down).
    blockSignals(true);
    m_stack.blockSignals(true);
    m_stack.clear();
}

void SessionHistory::setPageProvider(std::function<SessionKeys::Page()> currentPage)
{
    m_currentPage = std::move(currentPage);
}

void SessionHistory::setFilePath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    Q_EMIT filePathChanged(path);
}

SessionHistory::Place SessionHistory::place() const
{
    return Place{m_currentPage ? m_currentPage() : SessionKeys::Page::All, m_state, m_path};
}

void SessionHistory::edit(const QString &text, const QString &mergeKey, const std::function<void()> &change)
{
    if (m_applying)
        return; // a page showing an undone step does not edit
    if (m_depth > 0) {
        change(); // part of the step being taken
        return;
    }
    takeStep(text, mergeKey, change, false);
}

void SessionHistory::editAndShow(const QString &text, const std::function<void()> &change)
{
    if (m_applying || m_depth > 0)
        edit(text, change);
    else
        takeStep(text, QString(), change, true);
}

void SessionHistory::takeStep(const QString &text, const QString &mergeKey, const std::function<void()> &change,
                              bool show)
{
    if (m_outsidePending)
        commitOutside();
    const Place before = place();
    ++m_depth;
    change();
    --m_depth;
    record(text, mergeKey, before, show);
}

void SessionHistory::changedOutside()
{
    m_outsidePending = true;
}

void SessionHistory::expectOutside(const QString &text)
{
    m_outsideText = text;
}

void SessionHistory::commitOutside(const QString &text)
{
    if (m_applying || m_depth > 0)
        return;
    m_outsidePending = false;
    const QString name = !text.isEmpty() ? text : !m_outsideText.isEmpty() ? m_outsideText : tr("Load from Pedal");
    record(name, QString(), place(), true);
}

void SessionHistory::undo()
{
    settle();
    m_stack.undo();
}

void SessionHistory::redo()
{
    settle();
    m_stack.redo();
}

void SessionHistory::settle()
{
    if (m_applying || m_depth > 0)
        return;
    if (m_outsidePending)
        commitOutside();
    else if (SessionSnapshot::of(m_store) != m_current)
        commitOutside(tr("Other Change")); // a change that bypassed the steps: kept all the same
}

void SessionHistory::record(const QString &text, const QString &mergeKey, const Place &before, bool show)
{
    SessionSnapshot now = SessionSnapshot::of(m_store);
    SessionDelta change = SessionDelta::between(m_current, now);
    Place after = place();
    if (change.isEmpty() && before.path == after.path)
        return;
    m_current = std::move(now);
    m_stack.push(new Step(*this, text, mergeKey, change, before, std::move(after)));
    if (show)
        Q_EMIT changeShown(change, before.page);
    else
        Q_EMIT stepTaken(change);
}

void SessionHistory::apply(const SessionDelta &change, bool after, const Place &where)
{
    m_applying = true;
    (after ? change.after() : change.before()).applyTo(m_store);
    m_current = SessionSnapshot::of(m_store);
    // The pages show what they showed when the step was taken, for the parts it changed.
    if (!change.songPositions().empty()) {
        m_state.SongsSongIndex = where.state.SongsSongIndex;
        m_state.SetJacksSongIndex = where.state.SetJacksSongIndex;
    }
    if (!change.stackPositions().empty())
        m_state.SelectedStackIndex = where.state.SelectedStackIndex;
    if (change.setlistChanged())
        m_state.SetlistRow = where.state.SetlistRow;
    if (change.libraryChanged())
        m_state.LibraryRow = where.state.LibraryRow;
    setFilePath(where.path);
    Q_EMIT changeShown(change, where.page);
    m_applying = false;
}
