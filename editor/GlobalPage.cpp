#include "GlobalPage.h"
#include "Look.h"
#include "ShownTexts.h"

#include "EditorContext.h"
#include "PageControls.h"
#include "SessionHistory.h"

#include "link/PedalLink.h"
#include "model/DataHandler.h"
#include "model/Menu.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

// The mark beside a list whose value is not the factory value.
const QString changedMark = QStringLiteral("\u25cf");

} // namespace

// One titled section of the page. A table section puts each label on a row and each
// column title over a column; every other section has a row per setting.
struct GlobalPage::Section
{
    QGroupBox *box = nullptr;
    QGridLayout *grid = nullptr;
    int rows = 0;
    int lastColumn = 0;
    QHash<QString, QLabel *> rowLabels;
    QHash<QString, QLabel *> headers;
    QHash<QString, int> rowOf;
    QHash<QString, int> columnOf;
};

GlobalPage::GlobalPage(EditorContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx)
{
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(PageControls::commandRow(this, m_ctx, SessionKeys::Page::Global));
    outer->addLayout(filterRow());

    auto *scroll = m_scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("GlobalScrollView"));
    scroll->setWidgetResizable(true);
    auto *content = new QWidget(scroll);
    scroll->setWidget(content);
    outer->addWidget(scroll);

    std::array<Section, MenuSectionCount> sections;
    addSections(content, sections);
    m_entries.reserve(menuFields().size());
    for (const MenuField &field : menuFields())
        addSetting(field, sections[size_t(field.section)]);
    // The lists keep their widths; the space left over goes to the right of each section.
    for (Section &section : sections)
        section.grid->setColumnStretch(section.lastColumn + 1, 1);

    connect(m_filter, &QLineEdit::textChanged, this, &GlobalPage::filterSettings);
    showSettings();
}

QLayout *GlobalPage::filterRow()
{
    auto *row = new QHBoxLayout;
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("GlobalFilterTF"));
    m_filter->setPlaceholderText(tr("Filter settings"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setToolTip(tr("Shows only the settings whose name or description holds this text."));
    m_filter->setMaximumWidth(m_filter->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    auto *legend = new QLabel(tr("%1 differs from the factory setting").arg(changedMark), this);
    row->addWidget(m_filter, 1);
    row->addSpacing(12);
    row->addWidget(legend);
    row->addStretch(1);
    return row;
}

void GlobalPage::addSections(QWidget *content, std::array<Section, MenuSectionCount> &sections)
{
    // The short sections side by side in two columns, the incoming messages below them.
    auto *sectionsLayout = new QVBoxLayout(content);
    auto *columns = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    auto *right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    sectionsLayout->addLayout(columns);
    for (int s = 0; s < MenuSectionCount; ++s) {
        Section &section = sections[size_t(s)];
        section.box = new QGroupBox(ShownTexts::menu(menuSectionTitle(MenuSection(s))), content);
        section.box->setObjectName(QStringLiteral("GlobalSection%1").arg(s));
        section.grid = new QGridLayout(section.box);
        section.grid->setHorizontalSpacing(6);
        if (MenuSection(s) == MenuSection::IncomingMessages)
            sectionsLayout->addWidget(section.box);
        else if (s < int(MenuSection::Display))
            left->addWidget(section.box);
        else
            right->addWidget(section.box);
    }
    left->addStretch(1);
    right->addStretch(1);
    sectionsLayout->addStretch(1);
}

void GlobalPage::addSetting(const MenuField &field, Section &section)
{
    const QString name = QLatin1String(field.name);
    const QString tip = ShownTexts::menuTip(field);
    // As wide as the longest item, measured without walking the items.
    QComboBox *combo = PageControls::fixedWidthList(GlobalItemTexts::widestItem(field.list), section.box);
    combo->setObjectName(name + QLatin1String("Combo"));
    combo->setModel(modelFor(field.list));
    combo->setAccessibleName(ShownTexts::menuTitle(field));
    auto *mark = new QLabel(section.box);
    mark->setObjectName(name + QLatin1String("Mark"));
    mark->setFixedWidth(fontMetrics().horizontalAdvance(changedMark) + 4);
    mark->setStyleSheet(QStringLiteral("color: %1;").arg(Look::changed().name()));

    // The filter searches the setting's name (as a comparison of sessions words it too),
    // its description and its section's title.
    Entry entry{&field,
                combo,
                mark,
                nullptr,
                nullptr,
                section.box,
                ShownTexts::menuTitle(field) + QLatin1Char(' ') + tip + QLatin1Char(' ') + section.box->title()};
    place(entry, section);
    m_entries.push_back(entry);
    const size_t index = m_entries.size() - 1;
    connect(combo, &QComboBox::activated, this, [this, index](int position) {
        pick(m_entries[index], position);
        showField(m_entries[index]);
    });
    if (field.list == MenuList::StackName) {
        // Every fill of the stack names selects the stored stack again.
        connect(&m_ctx.lists, &SharedLists::stacksRefilled, this, [this, index] { showField(m_entries[index]); });
    }
}

void GlobalPage::place(Entry &entry, Section &section)
{
    const QString label = ShownTexts::menu(entry.field->label);
    const QString column = ShownTexts::menu(entry.field->column);
    if (column.isEmpty()) {
        entry.label = new QLabel(label, section.box);
        entry.label->setBuddy(entry.combo);
        entry.label->setToolTip(ShownTexts::menuTip(*entry.field));
        section.grid->addWidget(entry.label, section.rows, 0);
        section.grid->addWidget(entry.combo, section.rows, 1, Qt::AlignLeft);
        section.grid->addWidget(entry.mark, section.rows, 2);
        section.lastColumn = qMax(section.lastColumn, 2);
        ++section.rows;
        return;
    }
    // Row 0 holds the column titles; a row per label below.
    if (!section.rowOf.contains(label)) {
        const int row = int(section.rowOf.size()) + 1;
        section.rowOf.insert(label, row);
        auto *rowLabel = new QLabel(label, section.box);
        section.rowLabels.insert(label, rowLabel);
        section.grid->addWidget(rowLabel, row, 0);
    }
    if (!section.columnOf.contains(column)) {
        const int col = 1 + 2 * int(section.columnOf.size());
        section.columnOf.insert(column, col);
        auto *header = new QLabel(QStringLiteral("<b>%1</b>").arg(column), section.box);
        section.headers.insert(column, header);
        section.grid->addWidget(header, 0, col);
        section.lastColumn = qMax(section.lastColumn, col + 1);
    }
    entry.label = section.rowLabels.value(label);
    entry.header = section.headers.value(column);
    const int row = section.rowOf.value(label);
    const int col = section.columnOf.value(column);
    section.grid->addWidget(entry.combo, row, col, Qt::AlignLeft);
    section.grid->addWidget(entry.mark, row, col + 1);
}

QStringListModel *GlobalPage::modelFor(GlobalItemTexts::Kind kind)
{
    if (kind == GlobalItemTexts::Kind::StackName)
        return m_ctx.lists.stackModel();
    QStringListModel *&model = m_models[size_t(kind)];
    if (!model)
        model = new QStringListModel(GlobalItemTexts::items(kind), this);
    return model;
}

void GlobalPage::resetPage()
{
    m_ctx.history.edit(tr("Reset Global Settings"), [this] { m_ctx.store.resetGlobals(); });
    showSettings();
}

void GlobalPage::revealSetting(size_t field, bool focus)
{
    for (const Entry &entry : m_entries)
        if (entry.field == &menuFields()[field]) {
            m_scroll->ensureWidgetVisible(entry.combo);
            if (focus)
                entry.combo->setFocus(Qt::OtherFocusReason);
        }
}

void GlobalPage::showSettings()
{
    for (const Entry &entry : m_entries)
        showField(entry);
}

void GlobalPage::showField(const Entry &entry)
{
    const MenuField &field = *entry.field;
    const qint64 value = m_ctx.store.GlobalMenu.*(field.member);
    const QString tip = ShownTexts::menuTip(field);

    // The mark, with the factory value in words.
    const bool changed = value != field.factory;
    entry.mark->setText(changed ? changedMark : QString());
    const qint64 factoryPosition = MenuRules::positionForValue(field.rule, field.factory);
    entry.mark->setToolTip(
        changed ? tr("Changed: the factory setting is %1.").arg(entry.combo->itemText(int(factoryPosition)))
                : QString());

    const qint64 position = MenuRules::positionForValue(field.rule, value);
    const bool hasItem =
        position >= 0 && position < entry.combo->count() && MenuRules::valueForPosition(field.rule, position) == value;
    if (hasItem) {
        entry.combo->setCurrentIndex(int(position));
        entry.combo->setToolTip(tip);
        return;
    }
    // No item stands for this value: show it as out of range and keep it stored.
    PageControls::showOutOfRange(entry.combo, value);
    entry.combo->setCurrentIndex(-1);
    entry.combo->setToolTip(
        tip + QLatin1Char(' ')
        + tr("The stored value %1 has no item in this list; it is kept until you pick one.").arg(value));
}

void GlobalPage::pick(const Entry &entry, int position)
{
    if (position < 0)
        return;
    const qint64 value = MenuRules::valueForPosition(entry.field->rule, position);
    m_ctx.history.edit(entry.field->title(),
                       [this, member = entry.field->member, value] { m_ctx.store.GlobalMenu.*member = value; });
    entry.combo->setToolTip(QString());
}

void GlobalPage::filterSettings(const QString &text)
{
    if (m_filter->text() != text) {
        m_filter->setText(text); // comes back here through textChanged
        return;
    }
    const QString wanted = text.trimmed();
    // A row label, column title or section is shown when any of its settings is.
    QHash<QWidget *, bool> shown;
    for (const Entry &entry : m_entries) {
        const bool match = wanted.isEmpty() || entry.words.contains(wanted, Qt::CaseInsensitive);
        entry.combo->setHidden(!match);
        entry.mark->setHidden(!match);
        for (QWidget *w : {static_cast<QWidget *>(entry.label), static_cast<QWidget *>(entry.header), entry.section})
            if (w)
                shown[w] = shown.value(w) || match;
    }
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        it.key()->setHidden(!it.value());
}
