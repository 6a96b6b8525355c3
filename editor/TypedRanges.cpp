#include "TypedRanges.h"
#include "Look.h"

#include "format/Encodings.h"

#include <QLineEdit>
#include <QObject>
#include <QVariant>

namespace TypedRanges {

const std::array<TypedRange, Count> &all()
{
    static const std::array<TypedRange, Count> ranges = {{
        // control               rows   min  max  zero   empty  what
        {"tempoTF", false, 40, 300, false, 120, "Tempo (BPM)"},
        {"programChangesTF", false, 1, 128, false, 1, "Program change"},
        {"bankChangesTF", false, 1, 128, false, 1, "Bank change"},
        {"stackMessageChannel", true, 1, 16, true, TypedRange::NoDefault, "MIDI channel"},
        {"stackMessageMessage", true, 0, 127, false, TypedRange::NoDefault, "Data byte"},
        {"stackMessageValue", true, 0, 127, false, TypedRange::NoDefault, "Data byte"},
        {"messageTF", false, 0, 255, false, TypedRange::NoDefault, "Library message number"},
        {"valueTF", false, 0, 255, false, TypedRange::NoDefault, "Library value"},
    }};
    return ranges;
}

const TypedRange *of(const QString &objectName)
{
    for (const TypedRange &range : all()) {
        const QLatin1String control(range.control);
        if (!range.perStackRow ? objectName == control : objectName.startsWith(control)) {
            if (!range.perStackRow)
                return &range;
            qint64 row = 0;
            if (Encodings::parseDigits(QStringView(objectName).mid(control.size()), row) && row >= 1 && row <= 10)
                return &range;
        }
    }
    return nullptr;
}

QString rangeText(const TypedRange &range)
{
    QString text = QObject::tr("%1: from %2 to %3").arg(QLatin1String(range.what)).arg(range.min).arg(range.max);
    if (range.zeroOnControlRow)
        text += QObject::tr(", or 0 on a Control row (the row is unused)");
    return text;
}

namespace {
// The value of a text of decimal digits, or -1 (no sign can be typed; longer texts are
// out of every range).
qint64 digitsValue(const QString &text)
{
    qint64 value = -1;
    Encodings::parseDigits(text, value, 9);
    return value;
}

bool inRange(const TypedRange &range, const QString &typed, qint64 &value, bool controlRow)
{
    const QString text = typed.trimmed();
    if (text.isEmpty()) {
        if (range.whenEmpty == TypedRange::NoDefault)
            return false;
        value = range.whenEmpty;
        return true;
    }
    const qint64 v = digitsValue(text);
    if (v < 0)
        return false;
    if ((v < range.min || v > range.max) && !(v == 0 && range.zeroOnControlRow && controlRow))
        return false;
    value = v;
    return true;
}
} // namespace

void markRefused(QLineEdit *field, const QString &why)
{
    if (field->property("refused").toBool() && field->toolTip() == why)
        return;
    field->setProperty("refused", true);
    field->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid %1; }").arg(Look::refused().name()));
    field->setToolTip(why);
}

void clearMark(QLineEdit *field)
{
    if (!field->property("refused").toBool())
        return;
    field->setProperty("refused", false);
    field->setStyleSheet(QString());
    field->setToolTip(QString());
}

bool check(QLineEdit *field, qint64 &value, bool controlRow)
{
    const TypedRange *range = of(field->objectName());
    if (!range)
        return false;
    if (!inRange(*range, field->text(), value, controlRow)) {
        markRefused(field, QObject::tr("Not taken. %1.").arg(rangeText(*range)));
        return false;
    }
    clearMark(field);
    return true;
}

void watch(QLineEdit *field, std::function<bool()> controlRow)
{
    QObject::connect(field, &QLineEdit::textEdited, field, [field, controlRow = std::move(controlRow)] {
        qint64 value = 0;
        check(field, value, controlRow && controlRow());
    });
}

} // namespace TypedRanges
