#include "frmReportGrid.h"

#include "AssignmentListing.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Printing.h"
#include "platform/RuntimeError.h"
#include "store/CurrentSelection.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"
#include "store/modTransport.h"

#include <QPrinter>
#include <QVBoxLayout>

frmReportGrid::frmReportGrid()
{
    setObjectName(QStringLiteral("frmReportGrid"));
    setWindowTitle(QStringLiteral("Assignment Listing"));
    datAssignments = new DataSource(this, QStringLiteral("datAssignments"));
    datAssignments->setRecordSource(QStringLiteral("Assignments"));
    datAssignments->setRecordsetType(Database::Snapshot);
    gridAssignments = new DataGrid(this);
    gridAssignments->setObjectName(QStringLiteral("gridAssignments"));
    gridAssignments->setAllowAddNew(false);
    QVector<DataGrid::Column> columns;
    for (const AssignmentListing::Column &c : AssignmentListing::columns())
        columns << DataGrid::Column{c.caption, c.field};
    gridAssignments->setDataSource(datAssignments, columns);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gridAssignments);
    resize(560, 360);
}

void frmReportGrid::Form_Load() { datAssignments->setDatabaseName(DatabasePath); }

QString frmReportGrid::ungradedQuery()
{
    return QStringLiteral("SELECT * From Assignments WHERE Class_ID = ? AND ActualPoints = 0 ORDER BY DateDue");
}

void frmReportGrid::printAllAssignments() { printListing(false); }
void frmReportGrid::printUngradedAssignments() { printListing(true); }

void frmReportGrid::printListing(bool ungraded)
{
    CurrentSelection *selection = CurrentSelection::get();
    if (!selection || !selection->datClasses()->hasCurrentRow()) {
        MessageBox::show(QStringLiteral("You cannot print a listing unless a class is selected."), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No class!"));
        return;
    }
    frmReportGrid *w = instance();
    try {
        const Recordset &cls = selection->datClasses()->recordset();
        const QString className = cls.value(QStringLiteral("ClassName")).toString();
        w->datAssignments->setDatabaseName(databaseFileIn(Platform::programFolder()));
        if (ungraded) {
            w->datAssignments->setRecordSource(ungradedQuery(), {cls.value(QStringLiteral("ID"))});
        } else {
            DataSource *shown = selection->datAssignments();
            w->datAssignments->setRecordSource(shown->recordSource(), shown->recordSourceParams());
        }
        w->datAssignments->Refresh();
        w->gridAssignments->Refresh();
        w->PrintGrid(className);
    } catch (const RuntimeError &e) {
        MessageBox::show(QStringLiteral("The listing could not be printed.\n\n") + e.description(), MessageBox::OkOnly,
                         MessageBox::Exclamation, QStringLiteral("Not printed"));
    }
    w->Unload();
}

bool frmReportGrid::PrintGrid(const QString &className)
{
    // The document name is also what the print dialog offers as the PDF file's name.
    const QString documentName = QString(className).replace(QLatin1Char('/'), QLatin1Char('-')) + QStringLiteral(" Assignment Listing");
    std::unique_ptr<QPrinter> printer = Printing::choosePrinter(documentName);
    if (!printer)
        return false;
    const QVector<QStringList> rows = AssignmentListing::rowsOf(*gridAssignments->model());
    const QDateTime printedAt = Clock::now();
    Printing::print(*printer, [&](QPainter &painter, QPagedPaintDevice &device) {
        AssignmentListing::paint(painter, device, className, rows, printedAt);
    });
    return true;
}
