#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class DataHandler;

// The 128 songs as a spreadsheet: CSV (RFC 4180, UTF-8, lines ending in CRLF) with a
// header row of the fields' labels and one row per song in list order. The first column
// is the song's Number; the others follow the per-song keys of the key table, a jack's
// mode, static level and pulses and each MIDI option in columns of their own. Values are
// the words the pages show; a song or stack a field points to is "N: name" (just "N" for a
// song without a name); a name's line breaks are "\n".
//
// Reading matches rows to songs by Number and takes, for each cell, either the words (in
// any case) or the number: the value the session file holds, a song or stack by its
// number from 1. A value is checked against its field's list or range, a name against the
// name rules of the Songs page. A value that is refused changes nothing and is listed;
// the rest of its row is still taken. Columns the file does not have are left alone.
namespace SongsCsv {

// What could not be taken: a value (row and column), a row, or a column of the header.
struct Refusal
{
    int row = 0;    // counted as a spreadsheet counts them (the header is row 1); 0: the header
    QString column; // the column's label; empty for a whole row
    QString reason;
    // "row 7, Tempo: 305 is over 300", "row 9: ...", or the reason alone for the header.
    QString text() const;
};

struct Result
{
    // Set when the file was refused as a whole (unreadable, not CSV, no Number column);
    // the session is then untouched.
    QString problem;
    std::vector<Refusal> refusals; // values and rows not taken, in file order
    QStringList ignored;           // header columns passed over ("column Foo is not a song field; ignored")
    bool ok() const { return problem.isEmpty(); }
};

// The CSV of the songs of `store`.
QString write(const DataHandler &store);

// Takes the values of `csv` into the songs of `store` (a copy of the session, to be
// compared and applied; only song fields change). Song and stack names in the values are
// found in `store` as it was before.
Result read(const QByteArray &csv, DataHandler &store);
// The same for a file; a file that cannot be read is a problem naming it.
Result readFile(const QString &path, DataHandler &store);

// The refusals and ignored columns, one line each, the ignored columns first.
QStringList lines(const Result &result);

} // namespace SongsCsv
