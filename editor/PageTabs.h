#pragma once

#include "format/SessionKeys.h"

#include <QTabWidget>

#include <array>
#include <functional>

struct EditorContext;
class GlobalPage;
class MidiPage;
class SessionDelta;
class SetJacksPage;
class SetlistPage;
class SongsPage;

// The five pages as tabs, each known by its page of the key table. The Songs page, shown
// at start, is built at once; every other page when it is first needed (its tab shown,
// show(), a change shown on it).
class PageTabs : public QTabWidget
{
    Q_OBJECT
public:
    explicit PageTabs(EditorContext &ctx, QWidget *parent = nullptr);

    // The page shown; All while none is (never, once the window is built).
    SessionKeys::Page current() const;
    void show(SessionKeys::Page page);
    // Builds every page not built yet (for whoever looks up controls by name).
    void buildAll();

    SongsPage *songs() const { return m_songs; }
    // Built when they have not been yet.
    SetJacksPage *setJacks();
    SetlistPage *setlist();
    MidiPage *midi();
    GlobalPage *global();

    // Every page built shows the session again, both song pages at the position they
    // showed (the first song when they showed none).
    void showSession();
    // Shows a change the pages did not make themselves (undo, redo, data from the pedal,
    // normalisation): every page built that shows a changed part shows it again, with the
    // song, stack or setting of the step selected, on `page` (All: the page shown stays).
    void showChange(const SessionDelta &change, SessionKeys::Page page);
    // A page's Reset command.
    void reset(SessionKeys::Page page);

private:
    // The tab of `page`, in the order of the tabs.
    int indexOf(SessionKeys::Page page) const;
    void build(int index);
    // The tab's scroll area shows the page, ready for the keyboard and screen readers.
    void placePage(int index, QWidget *page);
    // "SetJacksPageScrollArea", ...
    static QString scrollAreaName(SessionKeys::Page page);

    EditorContext &m_ctx;
    // The pages in the order of their tabs.
    static constexpr std::array<SessionKeys::Page, 5> order = {SessionKeys::Page::SetJacks, SessionKeys::Page::Songs,
                                                               SessionKeys::Page::Setlist, SessionKeys::Page::Midi,
                                                               SessionKeys::Page::Global};
    std::array<QWidget *, 5> m_pages{};
    SongsPage *m_songs = nullptr;
    SetJacksPage *m_setJacks = nullptr;
    SetlistPage *m_setlist = nullptr;
    MidiPage *m_midi = nullptr;
    GlobalPage *m_global = nullptr;
};
