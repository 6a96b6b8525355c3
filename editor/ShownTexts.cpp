#include "ShownTexts.h"

#include "format/ItemTexts.h"
#include "model/Menu.h"
#include "model/MessageType.h"

#include <QCoreApplication>

namespace {
QString lookUp(const char *context, const QString &english)
{
    return english.isEmpty() ? english : QCoreApplication::translate(context, english.toUtf8().constData());
}
} // namespace

QStringList ShownTexts::items(const QStringList &english)
{
    QStringList out;
    out.reserve(english.size());
    for (const QString &text : english)
        out.append(item(text));
    return out;
}

QString ShownTexts::item(const QString &english)
{
    return lookUp("ItemTexts", english);
}

QStringList ShownTexts::pulseCounts()
{
    QStringList out = ItemTexts::pulseCounts();
    for (int n = 1; n <= out.size(); ++n)
        out[n - 1] = n == 1 ? QCoreApplication::translate("ItemTexts", "1 pulse")
                            : QCoreApplication::translate("ItemTexts", "%1 pulses").arg(n);
    return out;
}

QString ShownTexts::messageType(qint64 type)
{
    return lookUp("MessageType", MessageType::name(type));
}

QString ShownTexts::pageTitle(SessionKeys::Page page)
{
    return lookUp("SessionKeys", SessionKeys::pageTitle(page));
}

QString ShownTexts::keyLabel(const char *english)
{
    return QCoreApplication::translate("SessionKeys", english);
}

QString ShownTexts::menu(const char *english)
{
    return *english ? QCoreApplication::translate("Menu", english) : QString();
}

QString ShownTexts::menuTitle(const MenuField &field)
{
    return *field.column ? menu(field.label) + QLatin1Char(' ') + menu(field.column) : menu(field.label);
}

QString ShownTexts::menuTip(const MenuField &field)
{
    return *field.subject ? menu(field.tip).arg(menu(field.subject)) : menu(field.tip);
}

QString ShownTexts::alert(const QString &english)
{
    return lookUp("Alert", english);
}
