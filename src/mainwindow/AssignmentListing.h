#pragma once
// The printed assignment listing: five columns of the class's assignments,
// a header naming the class and the page on every page and a footer with
// the date and time of printing. The layout (what goes on which page, how
// wide each column is) is plain arithmetic; paint() draws it on a printer.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class QAbstractItemModel;
class QPagedPaintDevice;
class QPainter;

namespace AssignmentListing {

struct Column {
    QString caption;
    QString field;
    int share;       // part of the page width, of the shares' sum
    bool alignRight; // figures
};
// "AssignmentTitle", "Type", "Due", "Max", "Actual" with their fields.
const QVector<Column> &columns();

// The class name, then " Assignment Listing : Page " and the page number.
QString header(const QString &className, int page);
// "Printed " and the date and time of printing.
QString footer(const QDateTime &printedAt);

// Lines (in line heights) above and below the rows of a page: the header
// with a gap, the column captions with their rule, the footer with a gap.
constexpr int HeaderLines = 2;
constexpr int CaptionLines = 2;
constexpr int FooterLines = 2;

struct Layout {
    int pageWidth = 0;
    int pageHeight = 0;
    int lineHeight = 1;

    // Rows that fit one page (at least one).
    int rowsPerPage() const;
    // Pages for so many rows; an empty listing still prints one page.
    int pageCount(int rows) const;
    // The first row (0-based) of a page (1-based) and how many rows it holds.
    int firstRow(int page) const;
    int rowsOn(int page, int rows) const;
    // The width of each column; together they fill the page width.
    QVector<int> columnWidths() const;
};

// The rows of a grid model in the listing's columns, as the grid shows them.
QVector<QStringList> rowsOf(const QAbstractItemModel &model);

// Draws every page of the listing on the device (a printer or a PDF file).
void paint(QPainter &painter, QPagedPaintDevice &device, const QString &className, const QVector<QStringList> &rows,
           const QDateTime &printedAt);

} // namespace AssignmentListing
