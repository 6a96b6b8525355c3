#include "PedalActions.h"

#include "Dialogs.h"

PedalActions::PedalActions(PedalLink &link, Dialogs &dialogs) : m_link(link), m_dialogs(dialogs) {}

void PedalActions::load(PedalLink::Load which)
{
    if (!m_link.ready() || m_link.refuseIfBusy())
        return;
    if (m_dialogs.alert(PedalLink::receiveQuestion(which)) != 0)
        return;
    if (which == PedalLink::Load::All
        && !passGuard(QString::fromLatin1(QT_TRANSLATE_NOOP("SessionBackups", "Load All"))))
        return;
    m_link.startLoad(which);
}

void PedalActions::send(SessionKeys::Page page)
{
    // A question whose answer cannot be carried out is not asked.
    if (!m_link.ready() || m_link.refuseIfBusy())
        return;
    if (m_dialogs.alert(PedalLink::sendQuestion(page)) != 0)
        return;
    if (page == SessionKeys::Page::All
        && !passGuard(QString::fromLatin1(QT_TRANSLATE_NOOP("SessionBackups", "Send All"))))
        return;
    m_link.startSend(page);
}

void PedalActions::factoryResetPedal()
{
    if (!m_link.ready() || m_link.refuseIfBusy())
        return;
    if (m_dialogs.alert(PedalLink::factoryResetQuestion()) != 0)
        return;
    m_link.factoryReset();
}

// Not connected: the send says so, and nothing needs guarding.
bool PedalActions::passGuard(const QString &operation)
{
    return !m_guard || !m_link.portHeld() || m_guard(operation);
}
