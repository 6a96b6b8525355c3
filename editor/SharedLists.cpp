#include "SharedLists.h"

#include "model/DataHandler.h"

SharedLists::SharedLists(DataHandler &store, QObject *parent) : QObject(parent), m_store(store)
{
    refillPresets();
    refillStacks();
}

QString SharedLists::presetItemText(const QString &nameWithoutBreaks, int position)
{
    return nameWithoutBreaks.isEmpty() ? tr("Song %1").arg(position + 1) : nameWithoutBreaks;
}

QString SharedLists::stackItemText(const QString &name, int position)
{
    return QStringLiteral("%1: %2").arg(position + 1).arg(name);
}

void SharedLists::refillPresets()
{
    QStringList items;
    items.reserve(int(m_store.SongList.size()));
    for (size_t i = 0; i < m_store.SongList.size(); ++i)
        items.append(presetItemText(m_store.SongList[i]->NameWithoutBreaks, int(i)));
    m_presets.setStringList(items);
    Q_EMIT presetsRefilled();
}

void SharedLists::refillStacks()
{
    QStringList items;
    items.reserve(int(m_store.MidiStackList.size()));
    for (size_t i = 0; i < m_store.MidiStackList.size(); ++i)
        items.append(stackItemText(m_store.MidiStackList[i].Name, int(i)));
    m_stacks.setStringList(items);
    Q_EMIT stacksRefilled();
}

void SharedLists::emptyStacks()
{
    m_stacks.setStringList({});
}
