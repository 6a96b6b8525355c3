#include "GlobalItemTexts.h"

#include "ItemTexts.h"

#include "model/Menu.h"
#include "model/MessageType.h"

#include <QLatin1String>

namespace {

QStringList numbers(int first, int last)
{
    QStringList out;
    out.reserve(last - first + 1);
    for (int k = first; k <= last; ++k)
        out.append(QString::number(k));
    return out;
}

bool endsWith(const char *name, const char *suffix)
{
    return QLatin1String(name).endsWith(QLatin1String(suffix));
}

bool startsWith(const char *name, const char *prefix)
{
    return QLatin1String(name).startsWith(QLatin1String(prefix));
}

} // namespace

GlobalItemTexts::Kind GlobalItemTexts::kindOf(const MenuField &field)
{
    const char *name = field.name;
    // The lists whose rule already tells their kind.
    switch (field.rule) {
    case MenuRule::PlusTwo: return Kind::PulseAmount;
    case MenuRule::PlusThirty: return Kind::ClickLength;
    case MenuRule::MinusTwenty: return Kind::Offset;
    case MenuRule::Delay: return Kind::StackDelay;
    case MenuRule::PlusOne: return endsWith(name, "Threshold") ? Kind::Threshold : Kind::Channel;
    case MenuRule::Same: break;
    }
    // Lists whose stored value is the item position.
    struct Named
    {
        const char *name;
        Kind kind;
    };
    static const Named exact[] = {
        {"RepeatingMidiStackReference", Kind::StackName},
        {"RepeatingMidiClickAmount", Kind::RepeatAmount},
        {"TftRotation", Kind::Rotation},
        {"PcMonitorChannel", Kind::MonitorChannel},
        {"RepeatingDiv", Kind::RepeatingDivision},
    };
    for (const Named &n : exact)
        if (QLatin1String(name) == QLatin1String(n.name))
            return n.kind;
    if (endsWith(name, "Polarity"))
        return Kind::Polarity;
    if (endsWith(name, "Type"))
        return Kind::MessageType;
    if (startsWith(name, "Incoming") && (endsWith(name, "Message") || endsWith(name, "Value")))
        return Kind::IncomingNumber;
    return Kind::Flag;
}

QStringList GlobalItemTexts::items(Kind kind)
{
    const QString infinite = QStringLiteral("Infinite");
    switch (kind) {
    case Kind::Flag: return {QStringLiteral("Off"), QStringLiteral("On")};
    case Kind::Channel: return numbers(1, 16);
    case Kind::Threshold: return numbers(1, 10);
    case Kind::Polarity: return {QStringLiteral("Positive"), QStringLiteral("Negative")};
    case Kind::Offset: {
        QStringList out;
        for (int v = -20; v <= 20; ++v)
            out.append(v > 0 ? QStringLiteral("+%1").arg(v) : QString::number(v));
        return out;
    }
    case Kind::MessageType: {
        QStringList out;
        for (qint64 t = 0; t < MessageType::Count; ++t)
            out.append(MessageType::name(t));
        return out;
    }
    case Kind::Rotation:
        return {QStringLiteral("0\u00b0"), QStringLiteral("90\u00b0"), QStringLiteral("180\u00b0"),
                QStringLiteral("270\u00b0")};
    case Kind::MonitorChannel: return QStringList{QStringLiteral("Off")} + numbers(1, 16);
    case Kind::RepeatingDivision: return ItemTexts::divisions(); // the songs' tap divisions
    case Kind::ClickLength: return numbers(30, 255);
    case Kind::StackDelay: {
        // "0 ms" stands for the shortest delay the pedal keeps (60 ms), then 70 .. 1000.
        QStringList out{QStringLiteral("0 ms")};
        for (int k = 1; k <= 94; ++k)
            out.append(QStringLiteral("%1 ms").arg(60 + 10 * k));
        return out;
    }
    case Kind::PulseAmount: return numbers(2, 30) << infinite;
    case Kind::RepeatAmount: return numbers(0, 30) << infinite;
    case Kind::IncomingNumber: return numbers(0, 127) << QStringLiteral("Any");
    case Kind::StackName: return {};
    }
    return {};
}

int GlobalItemTexts::widestItem(Kind kind)
{
    if (kind == Kind::StackName)
        return 20;
    qsizetype widest = 2;
    for (const QString &item : items(kind))
        widest = qMax(widest, item.size());
    return int(widest);
}

QString GlobalItemTexts::outOfRangeText(qint64 value)
{
    return QStringLiteral("%1 (out of range)").arg(value);
}
