#include "Dialogs.h"

Dialogs::~Dialogs() = default;

bool Dialogs::confirm(const QString &message, const QString &informative, const QString &title)
{
    return alert({message, informative, {QStringLiteral("Ok"), QStringLiteral("Cancel")}, title}) == 0;
}

void Dialogs::inform(const QString &message, const QString &informative)
{
    alert({message, informative, {QStringLiteral("Ok")}, QString()});
}

void Dialogs::notConnected()
{
    inform(QStringLiteral("Please connect to the pedal first"), QString());
}
