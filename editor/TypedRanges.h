#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>

class QLineEdit;

// The number fields of the pages and the values each takes. A value is checked as it is
// typed: out of its range the field gets a red frame and a tooltip giving the range, and
// the session keeps its last good value.
struct TypedRange
{
    const char *control; // objectName; for the ten stack rows the stem ("stackMessageChannel" + 1..10)
    bool perStackRow;
    qint64 min;
    qint64 max;
    // 0 is taken on a Control row too: the row is unused.
    bool zeroOnControlRow;
    // What an emptied field stores; NoDefault: an empty field is refused.
    qint64 whenEmpty;
    const char *what; // "Tempo", for the tooltip

    static constexpr qint64 NoDefault = -1;
};

namespace TypedRanges {
constexpr int Count = 8;
const std::array<TypedRange, Count> &all();
// The range of a field by its objectName ("stackMessageChannel3" finds the stem), or null.
const TypedRange *of(const QString &objectName);
// "Tempo: from 40 to 300".
QString rangeText(const TypedRange &range);

// Checks the field's text against its range. Returns true with `value` set when it is
// taken; otherwise the field is marked (red frame, tooltip with the range) and keeps
// what was typed. A taken value clears the mark.
bool check(QLineEdit *field, qint64 &value, bool controlRow = false);
// Checks the field as it is typed (marks only; storing stays with the page).
// `controlRow` tells, for a stack row, whether the row is a Control row now.
void watch(QLineEdit *field, std::function<bool()> controlRow = {});
// Frames a field whose text is not taken in red, with the reason as its tooltip.
void markRefused(QLineEdit *field, const QString &why);
// Takes the mark away (a new song or stack is shown).
void clearMark(QLineEdit *field);
} // namespace TypedRanges
