#pragma once

#include "model/Song.h"

#include <QObject>

#include <functional>
#include <vector>

class QTableView;
class SongTableModel;
struct EditorContext;
struct EditorState;

// The song a page edits: the row picked in the page's song table, kept in one of the
// EditorState positions so that the page finds its song again after a reorder. The page
// fills its controls in `show`, which runs whenever the song changes.
class SongSelection : public QObject
{
    Q_OBJECT
public:
    SongSelection(EditorContext &ctx, qint64 EditorState::*position, QTableView *table, SongTableModel *model,
                  std::function<void()> show, QObject *parent);

    qint64 position() const;
    // The song shown, null when none is (or the position is past the list).
    Song *song() const;
    // Shows the song at `position` and highlights its row (negative: none).
    void select(qint64 position);
    // Gives every song the values of `fields` of the song shown, as one undo step named
    // `stepName`. False (and nothing changes) when no song is shown.
    bool copyToAllSongs(const std::vector<qint64 Song::*> &fields, const QString &stepName);

private:
    void tableSelectionChanged();

    EditorContext &m_ctx;
    qint64 EditorState::*m_position;
    QTableView *m_table;
    SongTableModel *m_model;
    std::function<void()> m_show;
};
