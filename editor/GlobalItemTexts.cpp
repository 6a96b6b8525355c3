#include "GlobalItemTexts.h"
#include "ShownTexts.h"

#include "format/ItemTexts.h"

#include "model/Menu.h"
#include "model/MessageType.h"

#include <QCoreApplication>

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
    const QString infinite = QCoreApplication::translate("GlobalItemTexts", "Infinite");
    switch (kind) {
    case Kind::Flag:
        return {QCoreApplication::translate("GlobalItemTexts", "Off"),
                QCoreApplication::translate("GlobalItemTexts", "On")};
    case Kind::Channel: return numbers(1, 16);
    case Kind::Threshold: return numbers(1, 10);
    case Kind::Polarity:
        return {QCoreApplication::translate("GlobalItemTexts", "Positive"),
                QCoreApplication::translate("GlobalItemTexts", "Negative")};
    case Kind::Offset: {
        QStringList out;
        for (int v = -20; v <= 20; ++v)
            out.append(v > 0 ? QStringLiteral("+%1").arg(v) : QString::number(v));
        return out;
    }
    case Kind::MessageType: {
        QStringList out;
        for (qint64 t = 0; t < MessageType::Count; ++t)
            out.append(ShownTexts::messageType(t));
        return out;
    }
    case Kind::Rotation:
        return {QStringLiteral("0\u00b0"), QStringLiteral("90\u00b0"), QStringLiteral("180\u00b0"),
                QStringLiteral("270\u00b0")};
    case Kind::MonitorChannel:
        return QStringList{QCoreApplication::translate("GlobalItemTexts", "Off")} + numbers(1, 16);
    case Kind::RepeatingDivision: return ShownTexts::items(ItemTexts::divisions()); // the songs' tap divisions
    case Kind::ClickLength: return numbers(30, 255);
    case Kind::StackDelay: {
        // "0 ms" stands for the shortest delay the pedal keeps (60 ms), then 70 .. 1000.
        QStringList out{QCoreApplication::translate("GlobalItemTexts", "%1 ms").arg(0)};
        for (int k = 1; k <= 94; ++k)
            out.append(QCoreApplication::translate("GlobalItemTexts", "%1 ms").arg(60 + 10 * k));
        return out;
    }
    case Kind::PulseAmount: return numbers(2, 30) << infinite;
    case Kind::RepeatAmount: return numbers(0, 30) << infinite;
    case Kind::IncomingNumber: return numbers(0, 127) << QCoreApplication::translate("GlobalItemTexts", "Any");
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
    return QCoreApplication::translate("GlobalItemTexts", "%1 (out of range)").arg(value);
}
