#include "SongSelection.h"

#include "EditorContext.h"
#include "SessionHistory.h"
#include "SongTableModel.h"
#include "model/DataHandler.h"

#include <QItemSelectionModel>
#include <QTableView>

SongSelection::SongSelection(EditorContext &ctx, qint64 EditorState::*position, QTableView *table,
                             SongTableModel *model, std::function<void()> show, QObject *parent)
    : QObject(parent), m_ctx(ctx), m_position(position), m_table(table), m_model(model), m_show(std::move(show))
{
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SongSelection::tableSelectionChanged);
    // The page follows its song to its new row (the reorder moved the position with it).
    connect(&ctx.events, &EditorEvents::songOrderChanged, this, [this] { select(this->position()); });
}

qint64 SongSelection::position() const
{
    return m_ctx.state.*m_position;
}

Song *SongSelection::song() const
{
    const qint64 index = position();
    if (index < 0 || index >= qint64(m_ctx.store.SongList.size()))
        return nullptr;
    return m_ctx.store.SongList[size_t(index)].get();
}

void SongSelection::select(qint64 position)
{
    m_ctx.state.*m_position = position;
    const bool shown = position >= 0 && position < m_model->rowCount();
    {
        const QSignalBlocker blocker(m_table->selectionModel());
        if (shown)
            m_table->selectRow(int(position));
        else
            m_table->clearSelection();
    }
    if (shown)
        m_table->scrollTo(m_model->index(int(position), 0));
    m_table->viewport()->update();
    m_show();
}

void SongSelection::tableSelectionChanged()
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    m_ctx.state.*m_position = rows.isEmpty() ? -1 : rows.first().row();
    m_show();
}

bool SongSelection::copyToAllSongs(const std::vector<qint64 Song::*> &fields, const QString &stepName)
{
    const Song *source = song();
    if (!source)
        return false;
    const Song values = *source; // the source is one of the targets
    m_ctx.history.edit(stepName, [this, &values, &fields] {
        for (const SongRef &target : m_ctx.store.SongList)
            for (qint64 Song::*field : fields)
                (*target).*field = values.*field;
    });
    return true;
}
