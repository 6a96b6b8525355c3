#pragma once

#include "model/DataHandler.h"

#include <QStringList>
#include <QStringView>

#include <array>
#include <vector>

// The setlist as a sheet to read on stage or hand round: one row per entry, in the words
// the pages show, and its renderings as aligned text, CSV (RFC 4180, with a header row)
// and a Markdown table. The printed layouts (print/SetlistPrint) draw the same rows.
struct SetlistRow
{
    int position;  // in the setlist, from 1
    qint64 number; // the song's Id
    QString name;  // line breaks as spaces
    qint64 tempo;
    qint64 program;
    qint64 bank;
    QString stack;                // the name of the song's MIDI stack
    std::array<QString, 4> jacks; // what each jack does, as the Set Jacks page words its mode
    qint64 background;            // colour positions (ItemTexts::colourRgb)
    qint64 foreground;

    // The cells in the order of SetlistSheet::columns().
    QStringList cells() const;
};

namespace SetlistSheet {

enum class Format { Text, Csv, Markdown };

// The rows of the store's setlist, in playing order.
std::vector<SetlistRow> rows(const DataHandler &store);
// The column titles: the position and the song's number, then the labels of the session
// keys the other columns come from ("Name", "Tempo", ..., "Jack 4").
QStringList columns();
// Which columns hold numbers (aligned to the right in text and in print).
bool isNumberColumn(int column);

// A row's name as one line: every line break (and carriage return) a single space.
QString oneLine(const QString &fullName);

QString text(const std::vector<SetlistRow> &rows);
QString csv(const std::vector<SetlistRow> &rows);
QString markdown(const std::vector<SetlistRow> &rows);
QString render(const std::vector<SetlistRow> &rows, Format format);

// Parses "text", "csv", "markdown".
bool formatFromName(QStringView name, Format &format);

} // namespace SetlistSheet
