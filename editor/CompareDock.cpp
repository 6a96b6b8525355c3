#include "CompareDock.h"

#include "GlobalPage.h"
#include "MidiPage.h"
#include "PageTabs.h"
#include "SetJacksPage.h"
#include "SetlistPage.h"
#include "SongsPage.h"
#include "SessionActions.h"
#include "ViewController.h"

#include "format/SessionReader.h"
#include "model/DataHandler.h"
#include "Dialogs.h"
#include "model/Menu.h"
#include "model/Normaliser.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using Page = SessionKeys::Page;

// The groups in the order of the window's tabs.
const Page kPages[] = {Page::SetJacks, Page::Songs, Page::Setlist, Page::Midi, Page::Global};

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
    layout->addWidget(m_summary);
    layout->addWidget(m_filter);
    layout->addWidget(m_tree, 1);
    setWidget(content);

    connect(m_filter, &QLineEdit::textChanged, this, &CompareDock::filterChanged);
    connect(m_tree, &QTreeWidget::itemActivated, this, &CompareDock::itemActivated);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &CompareDock::itemActivated);
}

CompareDock *CompareDock::compareWithFile(ViewController *window, DataHandler &store, Dialogs &dialogs)
{
    DataHandler other;
    const QString path = SessionActions::chooseSessionFile(dialogs);
    if (path.isEmpty())
        return nullptr;
    SessionReader reader;
    const SessionReader::Status status = SessionActions::readAsking(reader, path, dialogs, other);
    if (status == SessionReader::Status::Failed) {
        dialogs.warn(QStringLiteral("The session could not be compared"), reader.problem());
        return nullptr;
    }
    if (status == SessionReader::Status::Declined)
        return nullptr;
    // Read as Open reads it, into a session of its own.
    reader.apply(other);
    Normaliser::normalise(other);

    return showIn(window, SessionDiff::compare(store, other), QFileInfo(reader.path()).fileName());
}

CompareDock *CompareDock::showIn(ViewController *window, std::vector<SessionChange> changes, const QString &source)
{
    auto *dock = window->findChild<CompareDock *>();
    if (!dock) {
        dock = new CompareDock(window);
        window->addDockWidget(Qt::RightDockWidgetArea, dock);
    }
    dock->showChanges(std::move(changes), source);
    dock->show();
    dock->raise();
    return dock;
}

void CompareDock::showChanges(std::vector<SessionChange> changes, const QString &source)
{
    m_changes = std::move(changes);
    m_summary->setText(m_changes.empty()
                           ? tr("This session and %1 are the same.").arg(source)
                           : tr("%n change(s) from this session to %1:", nullptr, int(m_changes.size())).arg(source));
    m_tree->clear();
    for (Page page : kPages) {
        QTreeWidgetItem *group = nullptr;
        for (size_t i = 0; i < m_changes.size(); ++i) {
            if (m_changes[i].page != page)
                continue;
            if (!group) {
                group = new QTreeWidgetItem(m_tree);
                group->setData(0, Qt::UserRole, SessionKeys::pageTitle(page));
                group->setExpanded(true);
            }
            auto *item = new QTreeWidgetItem(group, {m_changes[i].text()});
            item->setData(0, Qt::UserRole, qulonglong(i));
        }
    }
    filterChanged();
}

void CompareDock::setFilter(const QString &text)
{
    m_filter->setText(text);
}

void CompareDock::filterChanged()
{
    const QString text = m_filter->text().trimmed();
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = m_tree->topLevelItem(g);
        int shown = 0;
        for (int c = 0; c < group->childCount(); ++c) {
            QTreeWidgetItem *item = group->child(c);
            const bool match = text.isEmpty() || item->text(0).contains(text, Qt::CaseInsensitive);
            item->setHidden(!match);
            shown += match ? 1 : 0;
        }
        group->setHidden(shown == 0);
        group->setText(0, QStringLiteral("%1 (%2)").arg(group->data(0, Qt::UserRole).toString()).arg(shown));
    }
}

void CompareDock::itemActivated(QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return;
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
