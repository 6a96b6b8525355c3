#include "PageTabs.h"

#include "Accessibility.h"
#include "EditorContext.h"
#include "GlobalPage.h"
#include "MidiPage.h"
#include "SetJacksPage.h"
#include "SetlistPage.h"
#include "ShownTexts.h"
#include "SongsPage.h"
#include "model/DataHandler.h"
#include "model/SessionSnapshot.h"

#include <QScrollArea>
#include <QTabBar>

using Page = SessionKeys::Page;

PageTabs::PageTabs(EditorContext &ctx, QWidget *parent) : QTabWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("PageTabs"));
    tabBar()->setAccessibleName(tr("Pages"));
    // Each page scrolls when the window is smaller than the page.
    for (Page page : order)
        addTab(Accessibility::scrollArea(scrollAreaName(page)), ShownTexts::pageTitle(page));
    m_songs = new SongsPage(m_ctx);
    placePage(indexOf(Page::Songs), m_songs);
    connect(this, &QTabWidget::currentChanged, this, &PageTabs::build);
}

int PageTabs::indexOf(Page page) const
{
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == page)
            return int(i);
    return -1;
}

Page PageTabs::current() const
{
    const int index = currentIndex();
    return index >= 0 && index < int(order.size()) ? order[size_t(index)] : Page::All;
}

void PageTabs::show(Page page)
{
    if (const int index = indexOf(page); index >= 0) {
        build(index);
        setCurrentIndex(index);
    }
}

void PageTabs::build(int index)
{
    if (index < 0 || index >= int(order.size()) || m_pages[size_t(index)])
        return;
    QWidget *page = nullptr;
    switch (order[size_t(index)]) {
    case Page::SetJacks:
        page = m_setJacks = new SetJacksPage(m_ctx);
        m_setJacks->selectSong(m_ctx.state.SetJacksSongIndex);
        break;
    case Page::Setlist: page = m_setlist = new SetlistPage(m_ctx); break;
    case Page::Midi:
        page = m_midi = new MidiPage(m_ctx);
        m_midi->showStackPage();
        break;
    case Page::Global:
        page = m_global = new GlobalPage(m_ctx);
        m_global->showSettings();
        break;
    case Page::Songs:
    case Page::All: return;
    }
    placePage(index, page);
}

QString PageTabs::scrollAreaName(Page page)
{
    QString name = SessionKeys::pageTitle(page);
    return name.remove(QLatin1Char(' ')) + QLatin1String("PageScrollArea");
}

void PageTabs::placePage(int index, QWidget *page)
{
    m_pages[size_t(index)] = page;
    Accessibility::preparePage(page);
    static_cast<QScrollArea *>(widget(index))->setWidget(page);
}

void PageTabs::buildAll()
{
    for (int i = 0; i < count(); ++i)
        build(i);
}

SetJacksPage *PageTabs::setJacks()
{
    build(indexOf(Page::SetJacks));
    return m_setJacks;
}

SetlistPage *PageTabs::setlist()
{
    build(indexOf(Page::Setlist));
    return m_setlist;
}

MidiPage *PageTabs::midi()
{
    build(indexOf(Page::Midi));
    return m_midi;
}

GlobalPage *PageTabs::global()
{
    build(indexOf(Page::Global));
    return m_global;
}

void PageTabs::showSession()
{
    EditorState &state = m_ctx.state;
    for (qint64 *index : {&state.SetJacksSongIndex, &state.SongsSongIndex})
        if (*index < 0 || *index >= qint64(m_ctx.store.SongList.size()))
            *index = 0;
    // A page not built yet shows the session as it is when it is built.
    if (m_midi)
        m_midi->showStackPage();
    // A refill is one model reset of each shared list; the pages select their stored
    // positions again when it is done.
    m_ctx.lists.refillStacks();
    m_ctx.lists.refillPresets();
    if (m_setJacks)
        m_setJacks->selectSong(state.SetJacksSongIndex);
    m_songs->selectSong(state.SongsSongIndex);
    if (m_global)
        m_global->showSettings();
    if (m_setlist)
        m_setlist->reloadTables();
    if (m_midi)
        m_midi->reloadLibrary();
    // The song tables reload on this signal.
    Q_EMIT m_ctx.events.sessionReplaced();
}

void PageTabs::showChange(const SessionDelta &change, Page page)
{
    if (page != Page::All)
        show(page);
    const bool songs = !change.songPositions().empty();
    if (!change.stackPositions().empty()) {
        // One refill renames every stack list; each selects its stored position again.
        m_ctx.lists.refillStacks();
        if (m_midi)
            m_midi->showStackPage();
    }
    // The pages not built yet show the session as it is when they are built.
    if (songs) {
        m_ctx.lists.refillPresets();
        Q_EMIT m_ctx.events.songsChanged();
        if (m_setJacks)
            m_setJacks->selectSong(m_ctx.state.SetJacksSongIndex);
        m_songs->selectSong(m_ctx.state.SongsSongIndex);
    }
    if (m_setlist && (change.setlistChanged() || songs))
        m_setlist->reloadTables();
    if (m_midi && change.libraryChanged())
        m_midi->reloadLibrary();
    const std::vector<int> settings = change.menuFields();
    if (m_global && !settings.empty()) {
        m_global->showSettings();
        // The first setting the step changed is shown, and has the focus on its page.
        m_global->revealSetting(size_t(settings.front()), page == Page::Global);
    }
}

void PageTabs::reset(Page page)
{
    switch (page) {
    case Page::Songs: m_songs->resetPage(); break;
    case Page::SetJacks: setJacks()->resetPage(); break;
    case Page::Setlist: setlist()->resetSetlist(); break;
    case Page::Midi: midi()->resetPage(); break;
    case Page::Global: global()->resetPage(); break;
    case Page::All: break;
    }
}
