#include "Dialogs.h"

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
    return chooseFileToOpen(QStringLiteral("Choose Firmware Image"), {QStringLiteral("bin")});
}

bool Dialogs::confirm(const QString &message, const QString &informative, const QString &title)
{
    return alert({message, informative, {QStringLiteral("Ok"), QStringLiteral("Cancel")}, title}) == 0;
}

bool Dialogs::confirmDestructive(const QString &message, const QString &informative, const QString &title)
{
    return alert({message,
                  informative,
                  {QStringLiteral("Ok"), QStringLiteral("Cancel")},
                  title,
                  Alert::Kind::Destructive})
        == 0;
}

void Dialogs::inform(const QString &message, const QString &informative)
{
    alert({message, informative, {QStringLiteral("Ok")}, QString()});
}

void Dialogs::warn(const QString &message, const QString &informative)
{
    alert({message, informative, {QStringLiteral("Ok")}, QString(), Alert::Kind::Failure});
}

void Dialogs::notConnected()
{
    warn(QStringLiteral("Please connect to the pedal first"), QString());
}
