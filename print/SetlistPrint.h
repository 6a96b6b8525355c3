#pragma once

#include "format/SetlistSheet.h"

#include <QByteArray>
#include <QDate>
#include <QPageSize>
#include <QString>
#include <QStringView>

#include <vector>

class QPagedPaintDevice;

// The setlist on paper: painted onto any paged device (a PDF writer, a printer), in the
// device's page size, in one of two layouts. Every page has a header with the session's
// name, the date and "Page N of M".
namespace SetlistPrint {

enum class Layout {
    Stage,   // one song a line in large type: position, swatch of its colours, name, tempo
    Compact, // a table of every column of the setlist sheet
};
// Parses "stage", "compact".
bool layoutFromName(QStringView name, Layout &layout);

struct Heading
{
    QString sessionName; // the file name, or "Untitled"
    QDate date;
};

// The pages the rows take on `device` (at least one: an empty setlist says so on its page).
int pageCount(QPagedPaintDevice &device, const std::vector<SetlistRow> &rows, Layout layout);
// Paints every page onto `device`, starting on its current page. Returns false, having
// painted nothing, when no painter can begin on it (a PDF writer whose file cannot be opened).
bool paint(QPagedPaintDevice &device, const std::vector<SetlistRow> &rows, Layout layout, const Heading &heading);

// The pages as a PDF document of this page size (the compact layout across it, in
// landscape); empty when it could not be made.
QByteArray pdf(const std::vector<SetlistRow> &rows, Layout layout, const Heading &heading, const QPageSize &pageSize);
// A4, or Letter where the locale (the default one: the system's unless set) measures in US units.
QPageSize defaultPageSize();

} // namespace SetlistPrint
