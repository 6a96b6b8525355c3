#include "CompareDock.h"
#include "ShownTexts.h"

#include "Accessibility.h"
#include "GlobalPage.h"
#include "MidiPage.h"
#include "PageTabs.h"
#include "SetJacksPage.h"
#include "SetlistPage.h"
#include "SongsPage.h"
#include "SessionActions.h"
#include "SessionHistory.h"
#include "ViewController.h"

#include "format/SessionReader.h"
#include "model/DataHandler.h"
#include "Dialogs.h"
#include "model/Menu.h"
#include "model/Normaliser.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace {

using Page = SessionKeys::Page;

// The groups in the order of the window's tabs.
const Page kPages[] = {Page::SetJacks, Page::Songs, Page::Setlist, Page::Midi, Page::Global};

// Hides the changes under `item` whose line does not hold `text`, and the groups left
// empty; a group's line counts the changes shown under it. Returns that count.
int filterItem(QTreeWidgetItem *item, const QString &text)
{
    if (item->childCount() == 0) {
        const bool match = text.isEmpty() || item->text(0).contains(text, Qt::CaseInsensitive);
        item->setHidden(!match);
        return match ? 1 : 0;
    }
    int shown = 0;
    for (int c = 0; c < item->childCount(); ++c)
        shown += filterItem(item->child(c), text);
    item->setHidden(shown == 0);
    item->setText(0, QStringLiteral("%1 (%2)").arg(item->data(0, Qt::UserRole).toString()).arg(shown));
    return shown;
}

// The positions in the list of the changes shown under `item` (itself when it is one).
void shownChanges(const QTreeWidgetItem *item, std::vector<size_t> &out)
{
    if (item->isHidden())
        return;
    if (item->childCount() == 0)
        out.push_back(size_t(item->data(0, Qt::UserRole).toULongLong()));
    for (int c = 0; c < item->childCount(); ++c)
        shownChanges(item->child(c), out);
}

// Songs, stacks and library entries are listed on their pages by the hundred: a record
// with more than one change gets an item of its own to choose them all by.
bool groupedByRecord(SessionChange::Record record)
{
    return record == SessionChange::Record::Song || record == SessionChange::Record::Stack
        || record == SessionChange::Record::Library;
}

} // namespace

CompareDock::CompareDock(ViewController *window) : QDockWidget(QObject::tr("Compare"), window), m_window(window)
{
    setObjectName(QStringLiteral("CompareDock"));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    m_summary = new QLabel(content);
    m_summary->setObjectName(QStringLiteral("compareSummaryLabel"));
    m_summary->setWordWrap(true);
    m_filter = new QLineEdit(content);
    m_filter->setObjectName(QStringLiteral("compareFilterField"));
    m_filter->setPlaceholderText(tr("Filter changes"));
    m_filter->setClearButtonEnabled(true);
    m_tree = new QTreeWidget(content);
    m_tree->setObjectName(QStringLiteral("compareChangesTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_takeSelected = new QPushButton(tr("Take Selected"), content);
    m_takeSelected->setObjectName(QStringLiteral("takeSelectedButton"));
    m_takeSelected->setToolTip(tr("Bring the other session's values of the chosen changes into this session"));
    m_takeAll = new QPushButton(tr("Take All"), content);
    m_takeAll->setObjectName(QStringLiteral("takeAllButton"));
    m_takeAll->setToolTip(
        tr("Bring the other session's values of every change, hidden by the filter or not, into this session"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_takeSelected);
    buttons->addWidget(m_takeAll);
    buttons->addStretch(1);
    layout->addWidget(m_summary);
    layout->addWidget(m_filter);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    setWidget(content);

    connect(m_filter, &QLineEdit::textChanged, this, &CompareDock::filterChanged);
    connect(m_tree, &QTreeWidget::itemActivated, this, &CompareDock::itemActivated);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &CompareDock::itemActivated);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CompareDock::selectionChanged);
    connect(m_takeSelected, &QPushButton::clicked, this, &CompareDock::takeSelected);
    connect(m_takeAll, &QPushButton::clicked, this, &CompareDock::takeAll);
}

CompareDock *CompareDock::compareWithFile(ViewController *window, DataHandler &store, Dialogs &dialogs)
{
    DataHandler other; // read as Open reads it, into a session of its own
    const QString path = SessionActions::chooseSessionFile(dialogs);
    if (path.isEmpty())
        return nullptr;
    SessionReader reader;
    const SessionReader::Status status = SessionActions::readAsking(reader, path, dialogs, other);
    if (status == SessionReader::Status::Failed) {
        dialogs.warn(QObject::tr("The session could not be compared"), reader.problem());
        return nullptr;
    }
    if (status == SessionReader::Status::Declined)
        return nullptr;
    reader.apply(other);
    Normaliser::normalise(other);
    Q_UNUSED(store) // the window's session, which the dock compares with on every take
    return compareWith(window, other, QFileInfo(reader.path()).fileName());
}

CompareDock *CompareDock::compareWith(ViewController *window, const DataHandler &other, const QString &source,
                                      bool pedalKeysOnly)
{
    CompareDock *dock = showIn(window, {}, source);
    dock->m_other = std::make_unique<DataHandler>();
    SessionSnapshot::of(other).restoreInto(*dock->m_other);
    // What is taken is normalised as every session read is, the rest of this one is left alone.
    Normaliser::normalise(*dock->m_other);
    dock->m_pedalKeysOnly = pedalKeysOnly;
    dock->compareAgain();
    return dock;
}

void CompareDock::compareAgain()
{
    std::vector<SessionChange> changes = SessionDiff::compare(
        m_window->context().store, *m_other, m_pedalKeysOnly ? SessionDiff::Keys::Pedal : SessionDiff::Keys::All);
    std::unique_ptr<DataHandler> other = std::move(m_other); // showChanges lets go of it
    showChanges(std::move(changes), m_source);
    m_other = std::move(other);
    selectionChanged();
}

CompareDock *CompareDock::showIn(ViewController *window, std::vector<SessionChange> changes, const QString &source)
{
    auto *dock = window->findChild<CompareDock *>();
    if (!dock) {
        dock = new CompareDock(window);
        window->addDockWidget(Qt::RightDockWidgetArea, dock);
        Accessibility::nameControls(dock);
    }
    dock->showChanges(std::move(changes), source);
    dock->show();
    dock->raise();
    return dock;
}

void CompareDock::showChanges(std::vector<SessionChange> changes, const QString &source)
{
    m_other.reset();
    m_source = source;
    m_changes = std::move(changes);
    m_summary->setText(m_changes.empty()
                           ? tr("This session and %1 are the same.").arg(source)
                           : tr("%n change(s) from this session to %1:", nullptr, int(m_changes.size())).arg(source));
    m_tree->clear();
    const auto group = [](QTreeWidgetItem *item, const QString &title) {
        item->setData(0, Qt::UserRole, title);
        item->setExpanded(true);
        return item;
    };
    for (Page page : kPages) {
        QTreeWidgetItem *pageItem = nullptr;
        std::map<std::pair<int, int>, QTreeWidgetItem *> records;
        for (size_t i = 0; i < m_changes.size(); ++i) {
            const SessionChange &c = m_changes[i];
            if (c.page != page)
                continue;
            if (!pageItem)
                pageItem = group(new QTreeWidgetItem(m_tree), ShownTexts::pageTitle(page));
            QTreeWidgetItem *parent = pageItem;
            const std::pair<int, int> record{int(c.record), c.index};
            const auto sameRecord = [&](const SessionChange &o) {
                return o.page == page && std::pair<int, int>{int(o.record), o.index} == record;
            };
            if (groupedByRecord(c.record) && std::count_if(m_changes.begin(), m_changes.end(), sameRecord) > 1) {
                QTreeWidgetItem *&item = records[record];
                if (!item)
                    item = group(new QTreeWidgetItem(pageItem), c.recordTitle());
                parent = item;
            }
            auto *item = new QTreeWidgetItem(parent, {c.text()});
            item->setData(0, Qt::UserRole, qulonglong(i));
        }
    }
    filterChanged();
    selectionChanged();
}

void CompareDock::setFilter(const QString &text)
{
    m_filter->setText(text);
}

void CompareDock::filterChanged()
{
    const QString text = m_filter->text().trimmed();
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g)
        filterItem(m_tree->topLevelItem(g), text);
    selectionChanged();
}

void CompareDock::selectionChanged()
{
    m_takeAll->setEnabled(m_other && !m_changes.empty());
    m_takeSelected->setEnabled(m_other && !selectedChanges().empty());
}

std::vector<SessionChange> CompareDock::selectedChanges() const
{
    std::vector<size_t> positions;
    for (const QTreeWidgetItem *item : m_tree->selectedItems())
        shownChanges(item, positions);
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::vector<SessionChange> chosen;
    for (size_t i : positions)
        if (i < m_changes.size())
            chosen.push_back(m_changes[i]);
    return chosen;
}

void CompareDock::takeSelected()
{
    take(selectedChanges());
}

void CompareDock::takeAll()
{
    take(m_changes);
}

void CompareDock::take(const std::vector<SessionChange> &chosen)
{
    if (!m_other || chosen.empty())
        return;
    const QString text = chosen.size() == 1 ? tr("Take 1 change from %1").arg(m_source)
                                            : tr("Take %1 changes from %2").arg(chosen.size()).arg(m_source);
    DataHandler &store = m_window->context().store;
    m_window->history().editAndShow(text, [&] { SessionDiff::apply(chosen, *m_other, store); });
    compareAgain();
}

void CompareDock::itemActivated(QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return;
    while (item->childCount() > 0) // a record: its first change
        item = item->child(0);
    const size_t i = size_t(item->data(0, Qt::UserRole).toULongLong());
    if (i < m_changes.size())
        goTo(m_changes[i]);
}

void CompareDock::goTo(const SessionChange &change)
{
    PageTabs &pages = m_window->pages();
    pages.show(change.page);
    switch (change.record) {
    case SessionChange::Record::Song:
        if (change.page == Page::SetJacks)
            pages.setJacks()->selectSong(change.index);
        else
            pages.songs()->selectSong(change.index);
        break;
    case SessionChange::Record::Setlist: {
        // A position past the end of this session's setlist shows its last entry.
        const qint64 last = qint64(m_window->context().store.Setlist.size()) - 1;
        m_window->context().state.SetlistRow = qMin<qint64>(change.index, last);
        pages.setlist()->reloadTables();
        break;
    }
    case SessionChange::Record::Stack: pages.midi()->selectStack(change.index); break;
    case SessionChange::Record::Library: pages.midi()->selectLibraryRow(change.index); break;
    case SessionChange::Record::Global:
        for (size_t f = 0; change.setting && f < menuFields().size(); ++f)
            if (qstrcmp(menuFields()[f].name, change.setting) == 0)
                pages.global()->revealSetting(f, true);
        break;
    }
}
