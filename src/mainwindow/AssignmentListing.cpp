#include "AssignmentListing.h"

#include "platform/DateText.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace AssignmentListing {

const QVector<Column> &columns()
{
    static const QVector<Column> list{
        {QStringLiteral("AssignmentTitle"), QStringLiteral("AssignmentTitle"), 44, false},
        {QStringLiteral("Type"), QStringLiteral("AssignmentType"), 20, false},
        {QStringLiteral("Due"), QStringLiteral("DateDue"), 14, false},
        {QStringLiteral("Max"), QStringLiteral("MaxPointsPossible"), 11, true},
        {QStringLiteral("Actual"), QStringLiteral("ActualPoints"), 11, true},
    };
    return list;
}

QString header(const QString &className, int page)
{
    return className + QStringLiteral(" Assignment Listing : Page ") + QString::number(page);
}

QString footer(const QDateTime &printedAt)
{
    return QStringLiteral("Printed ") + DateText::shortDate(printedAt.date()) + QLatin1Char(' ') + DateText::longTime(printedAt.time());
}

int Layout::rowsPerPage() const
{
    const int line = qMax(1, lineHeight);
    const int free = pageHeight - line * (HeaderLines + CaptionLines + FooterLines);
    return qMax(1, free / line);
}

int Layout::pageCount(int rows) const
{
    if (rows <= 0)
        return 1;
    const int per = rowsPerPage();
    return (rows + per - 1) / per;
}

int Layout::firstRow(int page) const { return (page - 1) * rowsPerPage(); }

int Layout::rowsOn(int page, int rows) const
{
    const int left = rows - firstRow(page);
    return qBound(0, left, rowsPerPage());
}

QVector<int> Layout::columnWidths() const
{
    int shares = 0;
    for (const Column &c : columns())
        shares += c.share;
    QVector<int> widths;
    int used = 0;
    for (const Column &c : columns()) {
        const int w = pageWidth * c.share / shares;
        widths << w;
        used += w;
    }
    // What rounding left over goes to the title column.
    widths[0] += pageWidth - used;
    return widths;
}

QVector<QStringList> rowsOf(const QAbstractItemModel &model)
{
    QVector<QStringList> rows;
    const int count = qMin(model.columnCount(), static_cast<int>(columns().size()));
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < count; ++c)
            cells << model.data(model.index(r, c), Qt::DisplayRole).toString();
        rows << cells;
    }
    return rows;
}

void paint(QPainter &painter, QPagedPaintDevice &device, const QString &className, const QVector<QStringList> &rows,
           const QDateTime &printedAt)
{
    QFont text(QStringLiteral("DejaVu Sans"));
    text.setPointSize(10);
    QFont bold = text;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSize(12);

    const QFontMetrics metrics(text, &device);
    Layout layout;
    layout.pageWidth = device.width();
    layout.pageHeight = device.height();
    layout.lineHeight = metrics.lineSpacing() * 5 / 4;
    const int line = layout.lineHeight;
    const QVector<int> widths = layout.columnWidths();
    const int pad = metrics.averageCharWidth() / 2;
    const int total = static_cast<int>(rows.size());
    const int pages = layout.pageCount(total);

    auto cell = [&](int x, int y, int column, const QString &value, const QFont &font) {
        const QRect box(x + pad, y, widths[column] - 2 * pad, line);
        const QFontMetrics fits(font, &device);
        QFont used = font;
        QString shown = value;
        if (columns()[column].alignRight) {
            // A figure is never cut short: one too wide for its column is set
            // in a smaller size.
            const int needed = fits.horizontalAdvance(value);
            if (needed > box.width() && box.width() > 0)
                used.setPointSizeF(font.pointSizeF() * box.width() / needed * 0.95);
        } else {
            shown = fits.elidedText(value, Qt::ElideRight, box.width());
        }
        painter.setFont(used);
        painter.drawText(box, Qt::AlignVCenter | (columns()[column].alignRight ? Qt::AlignRight : Qt::AlignLeft), shown);
    };
    // A class name too long for the header line gives way to the page number.
    const QFontMetrics titleFits(title, &device);
    auto headerLine = [&](int page) {
        const QString rest = header(QString(), page);
        return titleFits.elidedText(className, Qt::ElideRight, qMax(0, layout.pageWidth - titleFits.horizontalAdvance(rest))) + rest;
    };

    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        int y = 0;
        painter.setFont(title);
        painter.drawText(QRect(0, y, layout.pageWidth, line), Qt::AlignLeft | Qt::AlignVCenter, headerLine(page));
        y += line * HeaderLines;

        int x = 0;
        for (int c = 0; c < widths.size(); ++c) {
            cell(x, y, c, columns()[c].caption, bold);
            x += widths[c];
        }
        painter.drawLine(0, y + line + line / 4, layout.pageWidth, y + line + line / 4);
        y += line * CaptionLines;

        const int first = layout.firstRow(page);
        for (int r = first; r < first + layout.rowsOn(page, total); ++r) {
            x = 0;
            for (int c = 0; c < widths.size(); ++c) {
                cell(x, y, c, rows[r].value(c), text);
                x += widths[c];
            }
            y += line;
        }

        painter.setFont(text);
        painter.drawText(QRect(0, layout.pageHeight - line, layout.pageWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                         footer(printedAt));
    }
}

} // namespace AssignmentListing
