#pragma once

#include "GlobalItemTexts.h"

#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QStringListModel;
struct EditorContext;
struct MenuField;

// The "Global Settings" page: one pop-up list per global setting, in a scroll view.
// Every list relates the position of its chosen item to the stored value by the
// field's position rule; a pick is written into the session's global settings at once.
class GlobalPage : public QWidget
{
    Q_OBJECT
public:
    explicit GlobalPage(EditorContext &ctx, QWidget *parent = nullptr);

    // Selects in every list the item that stands for the stored value. A stored value
    // with no item (an older file) is shown as out of range and stays as it is.
    void showSettings();

private:
    struct Entry
    {
        const MenuField *field;
        QComboBox *combo;
    };

    void showField(const Entry &entry);
    void pick(const Entry &entry, int position);
    QStringListModel *modelFor(GlobalItemTexts::Kind kind);

    EditorContext &m_ctx;
    std::vector<Entry> m_entries;
    std::array<QStringListModel *, GlobalItemTexts::KindCount> m_models{};
};
