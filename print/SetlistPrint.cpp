#include "SetlistPrint.h"

#include "format/ItemTexts.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace {

using SetlistPrint::Layout;

// Sizes in points (1/72 inch); the pager turns them into the device's pixels.
constexpr double headerHeight = 30; // the header band and the gap below it
constexpr double headerFont = 10;
constexpr double stageLineTarget = 50; // 14 lines on A4, 13 on Letter (15 mm margins)
constexpr double stagePositionWidth = 56;
constexpr double stageSwatchGap = 12;
constexpr double stageTempoWidth = 120;
constexpr double compactFont = 9;
constexpr double compactSmallestFont = 6;
constexpr int titleLines = 2; // the column titles take two lines of the table
constexpr double compactCellPadding = 6;
// The columns of free text (name, stack), cut when nothing else makes the table fit.
constexpr int cutColumns[] = {2, 6};

QString translated(const char *text)
{
    return QCoreApplication::translate("SetlistPrint", text);
}

QColor colour(qint64 position)
{
    const ItemTexts::Rgb c = ItemTexts::colourRgb(position);
    return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue));
}

QFont font(double points, bool bold = false)
{
    QFont f;
    f.setStyleHint(QFont::SansSerif);
    f.setFamily(QStringLiteral("Sans Serif"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Where everything goes on the pages of one device.
class Pager
{
public:
    Pager(QPagedPaintDevice &device, const std::vector<SetlistRow> &rows, Layout layout)
        : m_device(device),
          m_rows(rows),
          m_layout(layout),
          m_unit(device.logicalDpiY() / 72.0),
          m_width(device.width()),
          m_bodyTop(headerHeight * m_unit),
          m_bodyHeight(device.height() - m_bodyTop)
    {
        if (layout == Layout::Stage) {
            m_perPage = std::max(1, int(m_bodyHeight / (stageLineTarget * m_unit)));
            m_lineHeight = m_bodyHeight / m_perPage;
        } else {
            fitColumns();
            const double line = QFontMetricsF(m_tableFont, &m_device).lineSpacing() * 1.5;
            m_lineHeight = line;
            m_perPage = std::max(1, int(m_bodyHeight / line) - titleLines);
        }
    }

    int pages() const { return std::max(1, int((m_rows.size() + size_t(m_perPage) - 1) / size_t(m_perPage))); }

    void paintPage(QPainter &p, int page, const SetlistPrint::Heading &heading) const
    {
        paintHeader(p, page, heading);
        const size_t first = size_t(page) * size_t(m_perPage);
        const size_t end = std::min(m_rows.size(), first + size_t(m_perPage));
        if (m_rows.empty()) {
            p.setFont(font(14));
            p.drawText(QRectF(0, m_bodyTop, m_width, m_bodyHeight / 4), Qt::AlignCenter,
                       translated("The setlist is empty."));
            return;
        }
        if (m_layout == Layout::Compact)
            paintColumnTitles(p);
        for (size_t i = first; i < end; ++i) {
            const int line = int(i - first) + (m_layout == Layout::Compact ? titleLines : 0);
            const QRectF box(0, m_bodyTop + line * m_lineHeight, m_width, m_lineHeight);
            if (m_layout == Layout::Stage)
                paintStageLine(p, m_rows[i], box);
            else
                paintTableLine(p, m_rows[i], box, int(i - first));
        }
    }

private:
    double pt(double points) const { return points * m_unit; }

    void paintHeader(QPainter &p, int page, const SetlistPrint::Heading &heading) const
    {
        const QRectF band(0, 0, m_width, pt(headerHeight - 10));
        p.setPen(Qt::black);
        p.setFont(font(headerFont, true));
        p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, heading.sessionName);
        p.setFont(font(headerFont));
        p.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter, heading.date.toString(Qt::ISODate));
        p.drawText(band, Qt::AlignRight | Qt::AlignVCenter, translated("Page %1 of %2").arg(page + 1).arg(pages()));
        p.setPen(QPen(Qt::black, pt(0.75)));
        p.drawLine(QPointF(0, band.bottom()), QPointF(m_width, band.bottom()));
    }

    // Position, the swatch (the song's background with a bar of its text colour), the
    // name as large as fits, the tempo.
    void paintStageLine(QPainter &p, const SetlistRow &row, const QRectF &box) const
    {
        const double h = box.height();
        QFont big = font(h / m_unit * 0.42, true);
        p.setPen(Qt::black);
        p.setFont(big);
        p.drawText(QRectF(box.left(), box.top(), pt(stagePositionWidth), h), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(row.position));

        const double side = h * 0.62;
        const QRectF swatch(pt(stagePositionWidth + stageSwatchGap), box.top() + (h - side) / 2, side * 1.4, side);
        p.setPen(QPen(Qt::gray, pt(0.75)));
        p.setBrush(colour(row.background));
        p.drawRect(swatch);
        p.setPen(Qt::NoPen);
        p.setBrush(colour(row.foreground));
        p.drawRect(QRectF(swatch.left() + swatch.width() * 0.2, swatch.center().y() - side * 0.12, swatch.width() * 0.6,
                          side * 0.24));
        p.setBrush(Qt::NoBrush);

        const double nameLeft = swatch.right() + pt(stageSwatchGap);
        const QRectF nameBox(nameLeft, box.top(), m_width - pt(stageTempoWidth) - nameLeft, h);
        // A long name gets smaller type rather than losing its end.
        QFont nameFont = big;
        while (nameFont.pointSizeF() > big.pointSizeF() / 2
               && QFontMetricsF(nameFont, &m_device).horizontalAdvance(row.name) > nameBox.width())
            nameFont.setPointSizeF(nameFont.pointSizeF() * 0.95);
        p.setPen(Qt::black);
        p.setFont(nameFont);
        p.drawText(nameBox, Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetricsF(nameFont, &m_device).elidedText(row.name, Qt::ElideRight, nameBox.width()));
        p.setFont(big);
        p.drawText(QRectF(m_width - pt(stageTempoWidth), box.top(), pt(stageTempoWidth), h),
                   Qt::AlignRight | Qt::AlignVCenter, translated("%1 BPM").arg(row.tempo));
        p.setPen(QPen(Qt::lightGray, pt(0.5)));
        p.drawLine(QPointF(0, box.bottom()), QPointF(m_width, box.bottom()));
    }

    // The widths of the table's columns: as wide as their widest cell (a title may take
    // two lines), in type made smaller until the table fits the page. Past the smallest
    // type the name and stack columns share what is left, and their cells are cut.
    void fitColumns()
    {
        const QStringList titles = SetlistSheet::columns();
        double size = compactFont;
        for (;;) {
            m_tableFont = font(size);
            const QFontMetricsF plain(m_tableFont, &m_device), bold(font(size, true), &m_device);
            m_columns.assign(size_t(titles.size()), 0.0);
            for (int c = 0; c < titles.size(); ++c)
                for (const QString &word : titles[c].split(QLatin1Char(' ')))
                    m_columns[size_t(c)] = std::max(m_columns[size_t(c)], bold.horizontalAdvance(word));
            for (const SetlistRow &row : m_rows) {
                const QStringList cells = row.cells();
                for (int c = 0; c < titles.size(); ++c)
                    m_columns[size_t(c)] = std::max(m_columns[size_t(c)], plain.horizontalAdvance(cells[c]));
            }
            double total = 0;
            for (double &w : m_columns)
                total += (w += padding());
            if (total <= m_width)
                return;
            if (size > compactSmallestFont) {
                size = std::max(compactSmallestFont, size * m_width / total * 0.98);
                continue;
            }
            double flexible = 0;
            for (int c : cutColumns)
                flexible += m_columns[size_t(c)];
            const double left = std::max(0.0, m_width - (total - flexible));
            for (int c : cutColumns)
                m_columns[size_t(c)] *= left / flexible;
            return;
        }
    }

    double padding() const { return pt(compactCellPadding) * m_tableFont.pointSizeF() / compactFont; }

    // The cells of a line; titles wrap at their spaces, other cells are cut to their column.
    void paintCells(QPainter &p, const QStringList &cells, const QRectF &box, bool titles) const
    {
        const QFontMetricsF metrics(p.font(), &m_device);
        const double pad = padding() / 2;
        double x = box.left();
        for (int c = 0; c < cells.size() && c < int(m_columns.size()); ++c) {
            const QRectF cell(x + pad, box.top(), m_columns[size_t(c)] - 2 * pad, box.height());
            const int align = (SetlistSheet::isNumberColumn(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            if (titles)
                p.drawText(cell, align | Qt::TextWordWrap, cells[c]);
            else
                p.drawText(cell, align, metrics.elidedText(cells[c], Qt::ElideRight, cell.width()));
            x += m_columns[size_t(c)];
        }
    }

    void paintColumnTitles(QPainter &p) const
    {
        const QRectF box(0, m_bodyTop, m_width, m_lineHeight * titleLines);
        p.setPen(Qt::black);
        QFont bold = m_tableFont;
        bold.setBold(true);
        p.setFont(bold);
        paintCells(p, SetlistSheet::columns(), box, true);
        p.setPen(QPen(Qt::black, pt(0.5)));
        p.drawLine(QPointF(0, box.bottom()), QPointF(m_width, box.bottom()));
    }

    void paintTableLine(QPainter &p, const SetlistRow &row, const QRectF &box, int index) const
    {
        if (index % 2 == 1)
            p.fillRect(box, QColor(238, 238, 238));
        p.setPen(Qt::black);
        p.setFont(m_tableFont);
        paintCells(p, row.cells(), box, false);
    }

    QPagedPaintDevice &m_device;
    const std::vector<SetlistRow> &m_rows;
    Layout m_layout;
    double m_unit;
    double m_width;
    double m_bodyTop;
    double m_bodyHeight;
    int m_perPage = 1;
    double m_lineHeight = 1;
    QFont m_tableFont;
    std::vector<double> m_columns;
};

} // namespace

bool SetlistPrint::layoutFromName(QStringView name, Layout &layout)
{
    if (name == QLatin1String("stage"))
        layout = Layout::Stage;
    else if (name == QLatin1String("compact"))
        layout = Layout::Compact;
    else
        return false;
    return true;
}

int SetlistPrint::pageCount(QPagedPaintDevice &device, const std::vector<SetlistRow> &rows, Layout layout)
{
    return Pager(device, rows, layout).pages();
}

bool SetlistPrint::paint(QPagedPaintDevice &device, const std::vector<SetlistRow> &rows, Layout layout,
                         const Heading &heading)
{
    const Pager pager(device, rows, layout);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    for (int page = 0; page < pager.pages(); ++page) {
        if (page > 0)
            device.newPage();
        pager.paintPage(painter, page, heading);
    }
    return painter.end();
}

QByteArray SetlistPrint::pdf(const std::vector<SetlistRow> &rows, Layout layout, const Heading &heading,
                             const QPageSize &pageSize)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return QByteArray();
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(pageSize);
        // The table's eleven columns read better across the page.
        writer.setPageOrientation(layout == Layout::Compact ? QPageLayout::Landscape : QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(translated("Setlist of %1").arg(heading.sessionName));
        writer.setCreator(QStringLiteral("Pedal Editor"));
        if (!paint(writer, rows, layout, heading))
            return QByteArray();
    }
    buffer.close();
    return bytes;
}

QPageSize SetlistPrint::defaultPageSize()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}
