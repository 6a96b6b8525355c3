#include "MessageType.h"

QString MessageType::name(qint64 typey)
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("MessageType", "Control"),       QT_TRANSLATE_NOOP("MessageType", "Program"),
        QT_TRANSLATE_NOOP("MessageType", "Note Off"),      QT_TRANSLATE_NOOP("MessageType", "Note On"),
        QT_TRANSLATE_NOOP("MessageType", "Polyphonic KP"), QT_TRANSLATE_NOOP("MessageType", "Channel Pressure"),
        QT_TRANSLATE_NOOP("MessageType", "Pitch Bend")};
    if (typey < 0 || typey >= Count)
        return QString();
    return QString::fromLatin1(names[typey]);
}
