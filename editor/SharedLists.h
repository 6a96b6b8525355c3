#pragma once

#include <QObject>
#include <QStringListModel>

class DataHandler;

// The item models shared by the window's name lists: one for the 14 preset lists (the
// 128 song names) and one for the 18 stack lists (the 128 stack names). Refilling is one
// model reset, so every list that shows the model changes at once. After a refill the
// pages select their stored positions again (they listen to the refilled signals).
class SharedLists : public QObject
{
    Q_OBJECT
public:
    explicit SharedLists(DataHandler &store, QObject *parent = nullptr);

    QStringListModel *presetModel() { return &m_presets; }
    QStringListModel *stackModel() { return &m_stacks; }

    // Item text of a preset list: the song's one-line name, or "Song N" when empty.
    static QString presetItemText(const QString &nameWithoutBreaks, int position);
    // Item text of a stack list: "N: name", N counting from 1, so a renamed stack keeps
    // its number in the list.
    static QString stackItemText(const QString &name, int position);

    void refillPresets();
    void refillStacks();
    void emptyStacks();

Q_SIGNALS:
    void presetsRefilled();
    void stacksRefilled();

private:
    DataHandler &m_store;
    QStringListModel m_presets;
    QStringListModel m_stacks;
};
