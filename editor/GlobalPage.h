#pragma once

#include "GlobalItemTexts.h"

#include "model/Menu.h"

#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QScrollArea;
class QStringListModel;
struct EditorContext;

// The "Global Settings" page: one pop-up list per global setting, in titled sections of a
// scroll view, laid out from the columns of the global settings table (section, label,
// column title, description). Every list relates the position of its chosen item to the
// stored value by the field's position rule; a pick is written into the session's global
// settings at once. A filter field narrows the page to the settings whose label or
// description holds its text, and a mark beside a list shows that its value is not the
// factory value.
class GlobalPage : public QWidget
{
    Q_OBJECT
public:
    explicit GlobalPage(EditorContext &ctx, QWidget *parent = nullptr);

    // Selects in every list the item that stands for the stored value. A stored value
    // with no item (an older file) is shown as out of range and stays as it is.
    void showSettings();

    // Shows only the settings whose label, column title, description or section title
    // holds `text` (any case), and the rows, column titles and sections they are in.
    // An empty text shows every setting.
    void filterSettings(const QString &text);

    // The page's Reset: every setting back to its factory value.
    void resetPage();
    // Scrolls the list of the setting at this position of the settings table into view,
    // and gives it the focus when `focus` is set.
    void revealSetting(size_t field, bool focus);

private:
    struct Entry
    {
        const MenuField *field;
        QComboBox *combo;
        QLabel *mark;     // "●" while the value differs from the factory value
        QLabel *label;    // the setting's label, or the row label of a table section
        QLabel *header;   // the column title of a table section, null elsewhere
        QWidget *section; // the titled box the setting is in
        QString words;    // what the filter searches
    };

    struct Section;

    QLayout *filterRow();
    void addSections(QWidget *content, std::array<Section, MenuSectionCount> &sections);
    void addSetting(const MenuField &field, Section &section);
    // Puts the setting's list and mark into its section, with its label and column title.
    void place(Entry &entry, Section &section);
    void showField(const Entry &entry);
    void pick(const Entry &entry, int position);
    QStringListModel *modelFor(GlobalItemTexts::Kind kind);

    EditorContext &m_ctx;
    QLineEdit *m_filter = nullptr;
    QScrollArea *m_scroll = nullptr;
    std::vector<Entry> m_entries;
    std::array<QStringListModel *, GlobalItemTexts::KindCount> m_models{};
};
