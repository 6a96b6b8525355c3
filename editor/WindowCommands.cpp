#include "WindowCommands.h"

#include "SessionActions.h"
#include "SetlistPrintFlow.h"
#include "SongsCsvFlow.h"
#include "ViewController.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

#include <algorithm>

namespace {

// A command's icon: the desktop theme's, else the editor's own, drawn in the palette's
// button text colour so that it reads on the command bar in the desktop's and the dark look.
QIcon commandIcon(const char *name)
{
    const QString themed = QLatin1String(name);
    if (QIcon::hasThemeIcon(themed))
        return QIcon::fromTheme(themed);
    const QColor ink = QApplication::palette().color(QPalette::ButtonText);
    QIcon icon;
    for (const char *density : {"", "@2x"}) {
        QImage image(QStringLiteral(":/icons/commands/%1%2.png").arg(themed, QLatin1String(density)));
        if (image.isNull())
            continue;
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), ink);
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(*density ? 2 : 1);
        icon.addPixmap(pixmap);
    }
    return icon;
}

using C = CommandId;
using R = CommandRule;
using W = CommandPlace;
using P = SessionKeys::Page;
constexpr auto NoKey = QKeySequence::UnknownKey;

#define RUN(body) [](ViewController &w) { body; }

// One row a command, kept on two lines each.
// clang-format off
constexpr std::array<WindowCommand, size_t(C::Count)> table = {{
    {C::Open, "openSessionAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Open…"), nullptr, nullptr, "document-open",
     QKeySequence::Open, {}, R::NotUpdating, W::File, false, 0, P::All, RUN(w.openSession())},
    {C::Save, "saveSessionAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Save"), nullptr, nullptr, "document-save",
     QKeySequence::Save, {}, R::Always, W::File, true, 0, P::All, RUN(w.session().save())},
    {C::SaveAs, "saveSessionAsAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Save &As…"), nullptr, nullptr, "document-save-as",
     NoKey, {Qt::CTRL | Qt::SHIFT | Qt::Key_S}, R::Always, W::File, false, 0, P::All, RUN(w.session().saveAs())},
    {C::CompareWithFile, "compareWithFileAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Compare with &File…"), nullptr, nullptr, nullptr,
     NoKey, {}, R::Always, W::File, false, 0, P::All, RUN(w.compareWithFile())},
    {C::RestoreBackup, "restoreBackupAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Restore &Backup…"), nullptr, nullptr, nullptr,
     NoKey, {}, R::NotUpdating, W::File, false, 0, P::All, RUN(w.restoreBackup())},
    {C::CheckSession, "checkSessionAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Chec&k Session…"), nullptr, QT_TRANSLATE_NOOP("WindowCommands", "List what to mend in the session before a gig."), nullptr,
     NoKey, {}, R::Always, W::File, false, 0, P::All, RUN(w.checkSession())},
    {C::PrintSetlist, "printSetlistAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Print Setlist…"), nullptr, nullptr, nullptr,
     QKeySequence::Print, {}, R::Always, W::File, true, 0, P::All, RUN(SetlistPrintFlow::print(&w, w.context().store, w.context().dialogs, w.session().displayName()))},
    {C::ExportSetlistPdf, "exportSetlistPdfAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Export Setlist as P&DF…"), nullptr, nullptr, nullptr,
     NoKey, {}, R::Always, W::File, false, 0, P::All, RUN(SetlistPrintFlow::exportPdf(w.context().store, w.context().dialogs, w.session().displayName()))},
    {C::ExportSongsCsv, "exportSongsCsvAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Export Songs as CSV…"), nullptr, nullptr, nullptr,
     NoKey, {}, R::Always, W::File, true, 0, P::All, RUN(SongsCsvFlow::exportSongs(w))},
    {C::ImportSongsCsv, "importSongsCsvAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Import Songs from CSV…"), nullptr, nullptr, nullptr,
     NoKey, {}, R::NotUpdating, W::File, false, 0, P::All, RUN(SongsCsvFlow::importSongs(w))},
    {C::ResetSession, "resetSessionAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Reset Session…"), nullptr, nullptr, nullptr,
     NoKey, {}, R::NotUpdating, W::File, true, 0, P::All, RUN(w.resetSession())},
    {C::Quit, "quitAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Quit"), nullptr, nullptr, "application-exit",
     QKeySequence::Quit, {}, R::Always, W::File, true, 0, P::All, RUN(w.close())},
    // Undo and Redo are the undo stack's own actions; the table gives their names and keys.
    {C::Undo, "undoAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Undo"), nullptr, nullptr, "edit-undo",
     QKeySequence::Undo, {}, R::Always, W::Edit, false, 0, P::All, nullptr},
    {C::Redo, "redoAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Redo"), nullptr, nullptr, "edit-redo",
     NoKey, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}, R::Always, W::Edit, false, 0, P::All, nullptr},
    {C::Connect, "connectAction", "connectToPedalButton", QT_TRANSLATE_NOOP("WindowCommands", "&Connect"), QT_TRANSLATE_NOOP("WindowCommands", "Connect"), QT_TRANSLATE_NOOP("WindowCommands", "Plug the pedal in after starting the editor, then connect (Ctrl+K)."), "network-connect",
     NoKey, {Qt::CTRL | Qt::Key_K}, R::PedalIdle, W::Pedal, false, 1, P::All, RUN(w.connectToPedal())},
    {C::SendAll, "sendAllAction", "SendAllCommand", QT_TRANSLATE_NOOP("WindowCommands", "&Send All…"), QT_TRANSLATE_NOOP("WindowCommands", "Send All"), QT_TRANSLATE_NOOP("WindowCommands", "Send the whole session to the pedal (Ctrl+Shift+U)."), "go-up",
     NoKey, {Qt::CTRL | Qt::SHIFT | Qt::Key_U}, R::PedalIdle, W::Pedal, true, 2, P::All, RUN(w.sendPage(SessionKeys::Page::All))},
    {C::LoadAll, "loadAllAction", "LoadAllCommand", QT_TRANSLATE_NOOP("WindowCommands", "&Load All…"), QT_TRANSLATE_NOOP("WindowCommands", "Load All"), QT_TRANSLATE_NOOP("WindowCommands", "Load the whole session from the pedal (Ctrl+Shift+L)."), "go-down",
     NoKey, {Qt::CTRL | Qt::SHIFT | Qt::Key_L}, R::PedalIdle, W::Pedal, false, 3, P::All, RUN(w.loadPage(SessionKeys::Page::All))},
    {C::SendChanges, "sendChangesAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Send C&hanges…"), nullptr, nullptr, nullptr,
     NoKey, {Qt::CTRL | Qt::Key_U}, R::PedalIdle, W::Pedal, false, 0, P::All, RUN(w.sendChanges())},
    {C::LiveUpdates, "liveUpdatesAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Live Updates"), nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Send every change to the pedal as it is made, once the pedal's session is known."), nullptr,
     NoKey, {Qt::CTRL | Qt::ALT | Qt::Key_U}, R::Always, W::Pedal, false, 0, P::All, RUN(w.settingToggled(CommandId::LiveUpdates)), true},
    {C::CompareOnConnect, "compareOnConnectAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Compare on Co&nnect"), nullptr, QT_TRANSLATE_NOOP("WindowCommands", "After Connect, read the pedal and say whether it holds this session."), nullptr,
     NoKey, {}, R::Always, W::Pedal, false, 0, P::All, RUN(w.settingToggled(CommandId::CompareOnConnect)), true},
    {C::CompareWithPedal, "compareWithPedalAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Com&pare with Pedal…"), nullptr, nullptr, nullptr,
     NoKey, {}, R::PedalIdle, W::Pedal, false, 0, P::All, RUN(w.compareWithPedal())},
    {C::FactoryReset, "factoryResetAction", "FactoryResetPedalButton", QT_TRANSLATE_NOOP("WindowCommands", "&Factory Reset…"), QT_TRANSLATE_NOOP("WindowCommands", "Factory Reset Pedal"), nullptr, "edit-clear",
     NoKey, {}, R::PedalIdle, W::Pedal, true, 5, P::All, RUN(w.factoryResetPedal())},
    {C::UploadFirmware, "uploadFirmwareAction", "UploadFirmwareButton", QT_TRANSLATE_NOOP("WindowCommands", "&Upload Firmware…"), QT_TRANSLATE_NOOP("WindowCommands", "Upload Firmware"), nullptr, "system-software-update",
     NoKey, {}, R::PedalIdle, W::Pedal, false, 6, P::All, RUN(w.uploadFirmware())},
    {C::AttachVirtualPedal, "attachVirtualPedalAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Attach &Virtual Pedal"), nullptr, nullptr, nullptr,
     NoKey, {}, R::Always, W::Pedal, true, 0, P::All, RUN(w.attachVirtualPedal())},
    {C::Refresh, "refreshAction", "RefreshCommand", QT_TRANSLATE_NOOP("WindowCommands", "&Refresh"), QT_TRANSLATE_NOOP("WindowCommands", "Refresh"), QT_TRANSLATE_NOOP("WindowCommands", "Show the session again on every page (F5)."), "view-refresh",
     NoKey, {Qt::Key_F5}, R::Always, W::View, false, 4, P::All, RUN(w.RefreshAllPages())},
    // Ctrl+1 to Ctrl+5 show the pages in the order of their tabs.
    {C::ShowSetJacks, "showSetJacksAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Set &Jacks"), nullptr, nullptr, nullptr,
     NoKey, {Qt::CTRL | Qt::Key_1}, R::Always, W::View, true, 0, P::All, RUN(w.showPage(P::SetJacks))},
    {C::ShowSongs, "showSongsAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Songs"), nullptr, nullptr, nullptr,
     NoKey, {Qt::CTRL | Qt::Key_2}, R::Always, W::View, false, 0, P::All, RUN(w.showPage(P::Songs))},
    {C::ShowSetlist, "showSetlistAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Set&list"), nullptr, nullptr, nullptr,
     NoKey, {Qt::CTRL | Qt::Key_3}, R::Always, W::View, false, 0, P::All, RUN(w.showPage(P::Setlist))},
    {C::ShowMidi, "showMidiAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Midi Management"), nullptr, nullptr, nullptr,
     NoKey, {Qt::CTRL | Qt::Key_4}, R::Always, W::View, false, 0, P::All, RUN(w.showPage(P::Midi))},
    {C::ShowGlobal, "showGlobalAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Global Settings"), nullptr, nullptr, nullptr,
     NoKey, {Qt::CTRL | Qt::Key_5}, R::Always, W::View, false, 0, P::All, RUN(w.showPage(P::Global))},
    {C::DarkLook, "darkLookAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&Dark Look"), nullptr, QT_TRANSLATE_NOOP("WindowCommands", "Light text on dark grounds, for a dark stage; the choice is kept."), nullptr,
     NoKey, {}, R::Always, W::View, true, 0, P::All, RUN(w.settingToggled(CommandId::DarkLook)), true},
    {C::About, "aboutAction", nullptr, QT_TRANSLATE_NOOP("WindowCommands", "&About Pedal Editor"), nullptr, nullptr, "help-about",
     NoKey, {}, R::Always, W::Help, false, 0, P::All, RUN(w.showAbout())},
    // Esc stops a transfer; it is taken only while one runs.
    {C::CancelTransfer, "cancelTransferAction", "cancelTransferButton", QT_TRANSLATE_NOOP("WindowCommands", "Cancel Transfer"), QT_TRANSLATE_NOOP("WindowCommands", "Cancel"), QT_TRANSLATE_NOOP("WindowCommands", "Stop the send or load (Esc)."), "process-stop",
     NoKey, {Qt::Key_Escape}, R::Transferring, W::None, false, 0, P::All, RUN(w.cancelTransfer())},
// clang-format on
#define PAGE(page, send, sendText, load, loadText, reset, resetText)                                                   \
    {C::Send##page, send,    send,  sendText, sendText,                                                                \
     nullptr,       nullptr, NoKey, {},       R::PedalIdle,                                                            \
     W::Page,       false,   0,     P::page,  RUN(w.sendPage(SessionKeys::Page::page))},                               \
        {C::Load##page, load,    load,  loadText, loadText,                                                            \
         nullptr,       nullptr, NoKey, {},       R::PedalIdle,                                                        \
         W::Page,       false,   0,     P::page,  RUN(w.loadPage(SessionKeys::Page::page))},                           \
    {                                                                                                                  \
        C::Reset##page, reset, reset, resetText, resetText, nullptr, nullptr, NoKey, {}, R::Always, W::Page, false, 0, \
            P::page, RUN(w.resetPage(SessionKeys::Page::page))                                                         \
    }
    PAGE(Songs, "SendSongCommand", QT_TRANSLATE_NOOP("WindowCommands", "Send Songs"), "LoadSongsCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Load Songs"), "ResetSongsCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Reset Songs")),
    PAGE(SetJacks, "SendSetJacks", QT_TRANSLATE_NOOP("WindowCommands", "Send Set Jacks"), "LoadSetJacksCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Load Set Jacks"), "ResetSetJacksCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Reset Set Jacks")),
    PAGE(Setlist, "SendSetlistCommand", QT_TRANSLATE_NOOP("WindowCommands", "Send Setlist"), "LoadSetlistCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Load Setlist"), "ResetSetlistCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Reset Setlist")),
    PAGE(Midi, "SendMidiCommand", QT_TRANSLATE_NOOP("WindowCommands", "Send Midi Management"), "LoadMidiCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Load Midi Management"), "ResetMidiCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Reset Midi Stacks")),
    PAGE(Global, "SendMenuCommand", QT_TRANSLATE_NOOP("WindowCommands", "Send Global Settings"), "LoadGlobalCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Load Global Settings"), "ResetGlobalCommand",
         QT_TRANSLATE_NOOP("WindowCommands", "Reset Global Settings")),
#undef PAGE
}};
#undef RUN

// Each row stands at the position of its id.
constexpr bool inOrder()
{
    for (size_t i = 0; i < table.size(); ++i)
        if (size_t(table[i].id) != i)
            return false;
    return true;
}
static_assert(table.size() == size_t(C::Count) && inOrder());

} // namespace

const std::array<WindowCommand, size_t(CommandId::Count)> &WindowCommandTable::rows()
{
    return table;
}

const WindowCommand &WindowCommandTable::at(CommandId id)
{
    return table[size_t(id)];
}

WindowCommands::WindowCommands(ViewController &window, QWidget *owner) : QObject(owner)
{
    for (const WindowCommand &row : table) {
        QAction *a = nullptr;
        if (row.id == C::Undo)
            a = window.history().undoStack().createUndoAction(owner, tr("Undo"));
        else if (row.id == C::Redo)
            a = window.history().undoStack().createRedoAction(owner, tr("Redo"));
        else
            a = new QAction(tr(row.text), owner);
        a->setObjectName(QLatin1String(row.name));
        QList<QKeySequence> keys;
        if (const QKeySequence standard(row.standardKey); !standard.isEmpty())
            keys << standard;
        for (QKeyCombination key : row.keys)
            if (key.key() != Qt::Key_unknown)
                keys << QKeySequence(key);
        a->setShortcuts(keys);
        if (row.buttonText)
            a->setIconText(tr(row.buttonText));
        a->setCheckable(row.checkable);
        if (row.tip || row.buttonText)
            a->setToolTip(row.tip ? tr(row.tip) : a->iconText());
        if (row.run)
            connect(a, &QAction::triggered, &window, [&window, run = row.run] { run(window); });
        // Shortcuts of commands outside the menus work in the whole window.
        if (row.place == W::None)
            owner->addAction(a);
        m_actions[size_t(row.id)] = a;
    }
}

std::array<QAction *, 3> WindowCommands::pageActions(SessionKeys::Page page) const
{
    std::array<QAction *, 3> out{};
    size_t n = 0;
    for (const WindowCommand &row : table)
        if (row.place == W::Page && row.page == page && n < out.size())
            out[n++] = action(row.id);
    return out;
}

void WindowCommands::fillMenus(QMenuBar *bar, QMenu *recentFiles, QAction *pedalLog, QAction *commandBar)
{
    const std::pair<W, const char *> menus[] = {{W::File, QT_TR_NOOP("&File")},
                                                {W::Edit, QT_TR_NOOP("&Edit")},
                                                {W::Pedal, QT_TR_NOOP("&Pedal")},
                                                {W::View, QT_TR_NOOP("&View")},
                                                {W::Help, QT_TR_NOOP("&Help")}};
    for (const auto &[place, title] : menus) {
        QMenu *menu = bar->addMenu(tr(title));
        for (const WindowCommand &row : table) {
            if (row.place != place)
                continue;
            if (row.separatorBefore)
                menu->addSeparator();
            menu->addAction(action(row.id));
            if (row.id == C::Open)
                menu->addMenu(recentFiles);
        }
        if (place == W::View) {
            menu->addAction(commandBar);
            menu->addAction(pedalLog);
        }
    }
}

QToolBar *WindowCommands::makeCommandBar(QWidget *parent)
{
    auto *bar = new QToolBar(tr("Commands"), parent);
    bar->setObjectName(QStringLiteral("CommandBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setMovable(false);
    for (int place = 1;; ++place) {
        const auto row =
            std::find_if(table.begin(), table.end(), [place](const auto &r) { return r.toolBar == place; });
        if (row == table.end())
            break;
        // Factory Reset and Upload Firmware stand apart at the right.
        if (row->id == C::FactoryReset) {
            auto *gap = new QWidget(bar);
            gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            bar->addWidget(gap);
        } else if (row->separatorBefore) {
            bar->addSeparator();
        }
        bar->addAction(action(row->id));
        bar->widgetForAction(action(row->id))->setObjectName(QLatin1String(row->button));
    }
    return bar;
}

void WindowCommands::refreshIcons()
{
    for (const WindowCommand &row : WindowCommandTable::rows())
        if (row.icon)
            m_actions[size_t(row.id)]->setIcon(commandIcon(row.icon));
}

void WindowCommands::updateStates(bool transferRunning, bool firmwareRunning)
{
    for (const WindowCommand &row : table) {
        bool enabled = true;
        switch (row.rule) {
        case R::Always: continue;
        case R::NotUpdating: enabled = !firmwareRunning; break;
        case R::PedalIdle: enabled = !transferRunning && !firmwareRunning; break;
        case R::Transferring: enabled = transferRunning; break;
        }
        action(row.id)->setEnabled(enabled);
    }
}
