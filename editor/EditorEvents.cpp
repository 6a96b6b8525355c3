#include "EditorEvents.h"

#include "SessionHistory.h"

EditorEvents::EditorEvents(QObject *parent) : QObject(parent) {}

void EditorEvents::follow(SessionHistory &history)
{
    connect(&history, &SessionHistory::stepTaken, this, &EditorEvents::announce);
}

void EditorEvents::announce(const SessionDelta &change)
{
    if (!change.songPositions().empty() || change.setlistChanged())
        Q_EMIT songsChanged();
    Q_EMIT sessionEdited();
}
