#include "Dialogs.h"

#include <QCoreApplication>

Dialogs::~Dialogs() = default;

int Dialogs::alert(const Alert &alert)
{
    if (m_listener)
        m_listener(alert);
    return showAlert(alert);
}

QString Dialogs::chooseFirmwareImage(const QString &folder)
{
    Q_UNUSED(folder);
    return chooseFileToOpen(QCoreApplication::translate("Dialogs", "Choose Firmware Image"), {QStringLiteral("bin")});
}

bool Dialogs::confirm(const QString &message, const QString &informative, const QString &title)
{
    return alert(Alert::question(message, informative, title)) == 0;
}

bool Dialogs::confirmDestructive(const QString &message, const QString &informative, const QString &title)
{
    return alert(Alert::destructive(message, informative, title)) == 0;
}

void Dialogs::inform(const QString &message, const QString &informative)
{
    alert(Alert::note(message, informative));
}

void Dialogs::warn(const QString &message, const QString &informative)
{
    alert(Alert::failure(message, informative));
}

void Dialogs::notConnected()
{
    alert(Alert::notConnected());
}
