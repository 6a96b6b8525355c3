#include "CheckDock.h"

#include "CompareDock.h"
#include "MidiPage.h"
#include "PageTabs.h"
#include "PedalSessionFlow.h"
#include "SetJacksPage.h"
#include "SetlistPage.h"
#include "SongsPage.h"
#include "ViewController.h"

#include "link/PedalKnownSession.h"
#include "model/DataHandler.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

using Page = SessionKeys::Page;

const char *const pedalOnePlace = QT_TRANSLATE_NOOP("CheckDock", "The pedal differs from this session in 1 place");
const char *const pedalPlaces = QT_TRANSLATE_NOOP("CheckDock", "The pedal differs from this session in %1 places");

// The finding in the window's language.
QString translated(const CheckFinding &f)
{
    const char *context = qstrcmp(f.check, CheckDock::PedalDiffers) == 0 ? "CheckDock" : SessionCheck::Context;
    return CheckFinding::fill(QCoreApplication::translate(context, f.format), f.args);
}

// With the pedal's session known: how many of the values that travel to the pedal differ.
int pedalDifferences(ViewController *window)
{
    PedalSessionFlow *flow = window->pedalSession();
    if (!flow || flow->state() != PedalSessionFlow::PedalState::Differs || !flow->known().known())
        return 0;
    return int(SessionDiff::compare(*flow->known().known(), window->context().store, SessionDiff::Keys::Pedal).size());
}

} // namespace

CheckDock::CheckDock(ViewController *window) : QDockWidget(tr("Check Session"), window), m_window(window)
{
    setObjectName(QStringLiteral("checkDock"));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    m_summary = new QLabel(content);
    m_summary->setObjectName(QStringLiteral("checkSummary"));
    m_summary->setWordWrap(true);
    m_list = new QListWidget(content);
    m_list->setObjectName(QStringLiteral("checkFindings"));
    m_list->setWordWrap(true);
    m_list->setToolTip(tr("Double-click a finding, or press Return on it, to show it on its page"));
    m_again = new QPushButton(tr("Check Again"), content);
    m_again->setObjectName(QStringLiteral("checkAgainButton"));
    m_again->setToolTip(tr("Check the session as it is now"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_again);
    buttons->addStretch(1);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    setWidget(content);

    connect(m_list, &QListWidget::itemActivated, this, &CheckDock::itemActivated);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CheckDock::itemActivated);
    connect(m_again, &QPushButton::clicked, this, &CheckDock::checkAgain);
}

CheckDock *CheckDock::checkIn(ViewController *window)
{
    auto *dock = window->findChild<CheckDock *>();
    if (!dock) {
        dock = new CheckDock(window);
        window->addDockWidget(Qt::RightDockWidgetArea, dock);
    }
    dock->checkAgain();
    dock->show();
    dock->raise();
    return dock;
}

void CheckDock::checkAgain()
{
    m_findings = SessionCheck::run(m_window->context().store);
    // Only the window knows the pedal: its finding comes first, as the one to mend first.
    if (const int n = pedalDifferences(m_window); n > 0)
        m_findings.insert(m_findings.begin(),
                          CheckFinding{PedalDiffers,
                                       CheckFinding::Severity::Problem,
                                       n == 1 ? pedalOnePlace : pedalPlaces,
                                       {QString::number(n)},
                                       Page::All});
    int problems = 0;
    m_list->clear();
    for (size_t i = 0; i < m_findings.size(); ++i) {
        const CheckFinding &f = m_findings[i];
        const bool problem = f.severity == CheckFinding::Severity::Problem;
        problems += problem ? 1 : 0;
        auto *item = new QListWidgetItem(
            style()->standardIcon(problem ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation),
            (problem ? tr("Problem: %1") : tr("Note: %1")).arg(translated(f)), m_list);
        item->setData(Qt::UserRole, qulonglong(i));
    }
    const int notes = int(m_findings.size()) - problems;
    if (m_findings.empty()) {
        m_summary->setText(tr("Nothing to mend: the session is ready for the gig."));
        return;
    }
    const QString problemText = problems == 0 ? tr("no problems")
        : problems == 1                       ? tr("1 problem")
                                              : tr("%1 problems").arg(problems);
    const QString noteText = notes == 0 ? tr("no notes") : notes == 1 ? tr("1 note") : tr("%1 notes").arg(notes);
    m_summary->setText(tr("%1 and %2; double-click one to show it on its page.").arg(problemText, noteText));
}

void CheckDock::itemActivated(QListWidgetItem *item)
{
    const size_t i = item ? size_t(item->data(Qt::UserRole).toULongLong()) : m_findings.size();
    if (i < m_findings.size())
        goTo(m_findings[i]);
}

void CheckDock::goTo(const CheckFinding &finding)
{
    if (qstrcmp(finding.check, PedalDiffers) == 0) {
        PedalSessionFlow *flow = m_window->pedalSession();
        if (flow && flow->known().known())
            CompareDock::compareWith(m_window, *flow->known().known(), tr("the pedal"), true);
        return;
    }
    if (finding.page == Page::All)
        return;
    // The session may have changed since the check: a place that is no longer there is
    // not shown.
    const DataHandler &store = m_window->context().store;
    PageTabs &pages = m_window->pages();
    pages.show(finding.page);
    const bool songThere = finding.song >= 0 && size_t(finding.song) < store.SongList.size();
    switch (finding.page) {
    case Page::Songs:
        if (songThere)
            pages.songs()->selectSong(finding.song);
        break;
    case Page::SetJacks:
        if (songThere)
            pages.setJacks()->selectSong(finding.song);
        break;
    case Page::Setlist:
        if (finding.setlistPosition >= 0 && size_t(finding.setlistPosition) < store.Setlist.size()) {
            m_window->context().state.SetlistRow = finding.setlistPosition;
            pages.setlist()->reloadTables();
        }
        break;
    case Page::Midi:
        if (finding.stack >= 0 && size_t(finding.stack) < store.MidiStackList.size())
            pages.midi()->selectStack(finding.stack);
        break;
    case Page::Global:
    case Page::All: break;
    }
}
