#pragma once
// The listing window: the assignments of a printed listing in a grid, filled
// and printed without ever being shown. Reports > All Assignments and
// Ungraded Assignments print through it.
#include "platform/Form.h"

#include <QVariantList>

class DataGrid;
class DataSource;

class frmReportGrid : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmReportGrid)
public:
    frmReportGrid();

    DataSource *datAssignments;
    DataGrid *gridAssignments;

    // Reports > All Assignments: the current class's assignments as the main
    // window lists them.
    static void printAllAssignments();
    // Reports > Ungraded Assignments: those with exactly 0 points earned.
    static void printUngradedAssignments();

    // Prints the grid's rows under the class's header. False when the user
    // cancelled; a failure raises a run-time error.
    bool PrintGrid(const QString &className);

    static QString ungradedQuery();

protected:
    void Form_Load() override;

private:
    static void printListing(bool ungraded);
};
