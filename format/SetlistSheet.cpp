#include "SetlistSheet.h"

#include "ItemTexts.h"
#include "SessionKeys.h"

#include "model/CodePoints.h"

#include <algorithm>

namespace {

// The columns in order: a title of their own, or the label of the session key that
// holds the value.
struct Column
{
    const char *title;
    const char *key;
    bool number;
};

const Column columnTable[] = {
    {"Position", nullptr, true},
    {"Song", nullptr, true},
    {nullptr, "Name", false},
    {nullptr, "Tempos", true},
    {nullptr, "ProgramChanges", true},
    {nullptr, "BankChanges", true},
    {nullptr, "MidiStackReferences", false},
    {nullptr, "NumPulsesOnes", false},
    {nullptr, "NumPulsesTwos", false},
    {nullptr, "NumPulsesThrees", false},
    {nullptr, "NumPulsesFours", false},
};
constexpr int columnCount = int(std::size(columnTable));

QString outOfRange(qint64 value)
{
    return QStringLiteral("%1 (out of range)").arg(value);
}

// A CSV field: quoted (with its quotes doubled) when it holds a comma, a quote or a line end.
QString csvField(const QString &cell)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(cell.begin(), cell.end(), [](QChar c) { return special.contains(c); }))
        return cell;
    QString quoted = cell;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A Markdown table cell: the signs that would mark up the text or end the cell escaped.
QString markdownCell(const QString &cell)
{
    static const QString special = QStringLiteral("\\`*_~<>[]|#");
    QString out;
    out.reserve(cell.size());
    for (QChar c : cell) {
        if (special.contains(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

} // namespace

QStringList SetlistRow::cells() const
{
    QStringList out{QString::number(position), QString::number(number), name, QString::number(tempo),
                    QString::number(program),  QString::number(bank),   stack};
    for (const QString &jack : jacks)
        out.append(jack);
    return out;
}

QString SetlistSheet::oneLine(const QString &fullName)
{
    QString line = fullName;
    line.remove(QLatin1Char('\r'));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

std::vector<SetlistRow> SetlistSheet::rows(const DataHandler &store)
{
    std::vector<SetlistRow> out;
    out.reserve(store.Setlist.size());
    for (const SongRef &song : store.Setlist) {
        SetlistRow row{int(out.size()) + 1,
                       song->Id,
                       oneLine(song->FullName),
                       song->Tempo,
                       song->ProgramChange,
                       song->BankChange,
                       QString(),
                       {},
                       song->BackgroundColour,
                       song->ForegroundColour};
        const qint64 stack = song->MidiStackReference;
        row.stack = stack >= 0 && stack < qint64(store.MidiStackList.size()) ? store.MidiStackList[size_t(stack)].Name
                                                                             : outOfRange(stack);
        for (int j = 0; j < 4; ++j) {
            const qint64 mode = song.get()->*songJacks()[size_t(j)].mode;
            const QStringList modes = ItemTexts::jackModes(j);
            row.jacks[size_t(j)] = mode >= 0 && mode < modes.size() ? modes[int(mode)] : outOfRange(mode);
        }
        out.push_back(row);
    }
    return out;
}

QStringList SetlistSheet::columns()
{
    QStringList titles;
    for (const Column &column : columnTable)
        titles.append(column.key
                          ? QLatin1String(SessionKeys::at(SessionKeys::indexOf(QString::fromLatin1(column.key))).label)
                          : QLatin1String(column.title));
    return titles;
}

bool SetlistSheet::isNumberColumn(int column)
{
    return column >= 0 && column < columnCount && columnTable[column].number;
}

QString SetlistSheet::text(const std::vector<SetlistRow> &rows)
{
    std::vector<QStringList> lines{columns()};
    for (const SetlistRow &row : rows)
        lines.push_back(row.cells());
    std::array<int, columnCount> widths{};
    for (const QStringList &line : lines)
        for (int c = 0; c < columnCount; ++c)
            widths[size_t(c)] = std::max(widths[size_t(c)], CodePoints::length(line[c]));
    QString out;
    for (const QStringList &line : lines) {
        QString text;
        for (int c = 0; c < columnCount; ++c) {
            const QString pad(widths[size_t(c)] - CodePoints::length(line[c]), QLatin1Char(' '));
            text += (c ? QLatin1String("  ") : QLatin1String()) + (isNumberColumn(c) ? pad + line[c] : line[c] + pad);
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out += text + QLatin1Char('\n');
    }
    return out;
}

QString SetlistSheet::csv(const std::vector<SetlistRow> &rows)
{
    const auto line = [](const QStringList &cells) {
        QStringList fields;
        for (const QString &cell : cells)
            fields.append(csvField(cell));
        return fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
    };
    QString out = line(columns());
    for (const SetlistRow &row : rows)
        out += line(row.cells());
    return out;
}

QString SetlistSheet::markdown(const std::vector<SetlistRow> &rows)
{
    const auto line = [](const QStringList &cells) {
        QString text = QStringLiteral("|");
        for (const QString &cell : cells)
            text += QLatin1Char(' ') + markdownCell(cell) + QLatin1String(" |");
        return text + QLatin1Char('\n');
    };
    QString out = line(columns()) + QLatin1Char('|');
    for (int c = 0; c < columnCount; ++c)
        out += isNumberColumn(c) ? QLatin1String(" ---: |") : QLatin1String(" --- |");
    out += QLatin1Char('\n');
    for (const SetlistRow &row : rows)
        out += line(row.cells());
    return out;
}

QString SetlistSheet::render(const std::vector<SetlistRow> &rows, Format format)
{
    switch (format) {
    case Format::Csv: return csv(rows);
    case Format::Markdown: return markdown(rows);
    case Format::Text: break;
    }
    return text(rows);
}

bool SetlistSheet::formatFromName(QStringView name, Format &format)
{
    static const struct
    {
        const char *name;
        Format format;
    } formats[] = {{"text", Format::Text}, {"csv", Format::Csv}, {"markdown", Format::Markdown}};
    for (const auto &f : formats) {
        if (name == QLatin1String(f.name)) {
            format = f.format;
            return true;
        }
    }
    return false;
}
