#include "MessageType.h"

QString MessageType::name(qint64 typey)
{
    static const char *const names[] = {"Control",       "Program",          "Note Off",  "Note On",
                                        "Polyphonic KP", "Channel Pressure", "Pitch Bend"};
    if (typey < 0 || typey >= Count)
        return QString();
    return QString::fromLatin1(names[typey]);
}
