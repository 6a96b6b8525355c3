#include "GlobalItemTexts.h"

#include "format/ItemTexts.h"

#include "model/Menu.h"
#include "model/MessageType.h"

namespace {

QStringList numbers(int first, int last)
{
    QStringList out;
    out.reserve(last - first + 1);
    for (int k = first; k <= last; ++k)
        out.append(QString::number(k));
    return out;
}

} // namespace

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
