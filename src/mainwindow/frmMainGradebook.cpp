#include "frmMain.h"
#include "frmMainSteps.h"

#include "frmClassStatus.h"
#include "frmConfirmGrade.h"
#include "store/Grades.h"

#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/GradeBookQueries.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/Values.h"
#include "store/clsTarvelaDB.h"
#include "bound/frmCompactDB.h"
#include "store/modTransport.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>

using namespace frmMainSteps;

// ---------------------------------------------------------- grade figures

void frmMain::RefreshPoints()
{
    if (NoAssignmentSelected()) {
        lblMaxPoints->setText(QString());
        lblCurrentPoints->setText(QString());
        lblLetterGrade->setText(QString());
        return;
    }
    // The rows the grid holds answer while they are what the file holds.
    GradeBookQueries::PointsTotals totals;
    datAssignments->readStoredRows(DatabasePath, [&](const Recordset &rows) { totals = GradeBookQueries::pointsTotals(rows); });
    const qint64 possible = totals.possible;
    const qint64 earned = totals.earned;
    if (!totals.hasRows) {
        lblMaxPoints->setText(QString());
        lblCurrentPoints->setText(QString());
    } else {
        lblMaxPoints->setText(QString::number(possible));
        lblCurrentPoints->setText(QString::number(earned));
    }
    if (datClasses->hasCurrentRow()) {
        Recordset &cls = datClasses->recordset();
        const QVariant a = cls.value(QStringLiteral("Points_Grade_A"));
        const QVariant b = cls.value(QStringLiteral("Points_Grade_B"));
        const QVariant c = cls.value(QStringLiteral("Points_Grade_C"));
        const QVariant d = cls.value(QStringLiteral("Points_Grade_D"));
        const QVariant f = cls.value(QStringLiteral("Points_Grade_F"));
        if (const auto letter = Grades::letterFor(earned, a, b, c, d, f))
            lblLetterGrade->setText(*letter);
        if (possible == 0)
            lblLetterGrade->setText(QStringLiteral("(A)"));
    }
}

void frmMain::LoadAssignmentTypes()
{
    QStringList types;
    gridAssignments->clearColumnList(1);
    datAssignmentTypes->Refresh();
    if (!datAssignmentTypes->noRows()) {
        Recordset &rs = datAssignmentTypes->recordset();
        rs.MoveFirst();
        while (!rs.isEOF()) {
            types << rs.value(QStringLiteral("AssignmentTypeText")).toString();
            rs.MoveNext();
        }
    } else {
        types = {QStringLiteral("Homework"), QStringLiteral("Quiz"), QStringLiteral("Test"), QStringLiteral("Response Journal"),
                 QStringLiteral("Presentation")};
    }
    gridAssignments->setColumnList(1, types);
}

void frmMain::CalculateGPA(bool showMessage)
{
    // Any failure ends the calculation silently, the label unchanged.
    try {
        Grades::GpaTotals totals;
        for (const GradeBookQueries::ClosedClass &cls : GradeBookQueries::closedClasses(DatabasePath)) {
            const QVariant credit = cls.creditHours;
            if (credit.isNull())
                return; // an empty value leaves the totals empty
            bool isNumber = false;
            const double hours = credit.toDouble(&isNumber);
            if (!isNumber)
                return; // a value that does not convert
            if (!totals.add(hours, cls.finalLetterGrade)) {
                // Credit hours no class can carry would give a figure that
                // means nothing: no GPA, and on request the reason.
                if (showMessage)
                    MessageBox::show(QStringLiteral("The GPA cannot be calculated: the class %1 has %2 credit hours, and a class "
                                                    "has from 0 to %3.\n\nCorrect its credit hours in the class editor.")
                                         .arg(cls.className, Values::displayText(credit))
                                         .arg(Schema::MaxCreditHours),
                                     MessageBox::OkOnly, MessageBox::Exclamation, QString());
                return;
            }
        }
        const auto gpa = totals.gpa();
        if (!gpa)
            return;
        const QString text = Grades::gpaText(*gpa);
        if (showMessage)
            MessageBox::show(QStringLiteral("GPA = ") + text, MessageBox::OkOnly, MessageBox::NoIcon, QString());
        lblGPA->setText(text);
    } catch (const RuntimeError &) {
    }
}

// ------------------------------------------------------------------- grid

void frmMain::gridAssignments_AfterInsert()
{
    const QString proc = QStringLiteral("gridAssignments_AfterInsert");
    // The new row belongs to the current class.
    step(proc, false, [&] {
        Recordset &rs = datAssignments->recordset();
        rs.MoveLast();
        rs.Edit();
        rs.setValue(QStringLiteral("Class_ID"), datClasses->recordset().value(QStringLiteral("ID")));
        rs.Update();
    });
    QString type;
    step(proc, false, [&] { type = datAssignments->recordset().value(QStringLiteral("AssignmentType")).toString(); });
    if (type.trimmed().isEmpty())
        return;
    bool found = false;
    step(proc, false, [&] { found = GradeBookQueries::assignmentTypes(DatabasePath).contains(type); });
    if (found)
        return;
    const auto answer = MessageBox::show(QStringLiteral("I couldn't find the assignment type \n") + type
                                             + QStringLiteral(" in the database.\n\nShall I add it?"),
                                         MessageBox::YesNo, MessageBox::Question, QStringLiteral("New assignment type?"));
    if (answer != MessageBox::Yes)
        return;
    step(proc, false, [&] { GradeBookQueries::addAssignmentType(DatabasePath, type); });
    step(proc, false, [&] { LoadAssignmentTypes(); });
}

void frmMain::gridAssignments_AfterUpdate()
{
    quietly([&] { RefreshPoints(); });
}

void frmMain::gridAssignments_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &)
{
    if (button == Qt::RightButton)
        mnuAssignment->popup(QCursor::pos());
}

// ----------------------------------------------------------------- timers

void frmMain::tmrCalculateGPA_Timer() { CalculateGPA(false); }

void frmMain::tmrTimeDate_Timer()
{
    const QDateTime now = Clock::now();
    const QString text = DateText::mmddyyyy(now.date()) + QLatin1Char(' ') + DateText::hhmmAmPm(now.time());
    if (SSPanel3->text() != text)
        SSPanel3->setText(text);
}

// ------------------------------------------------- close-out and deletions

void frmMain::mnuSemesterDelete_Click()
{
    if (datSemesters->noRows()) {
        MessageBox::show(QStringLiteral("In order to delete a semester, you have to have one selected!"), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No semester selected!"));
        return;
    }
    QVariant semesterId;
    QString title;
    if (!quietly([&] {
            semesterId = datSemesters->recordset().value(QStringLiteral("ID"));
            title = datSemesters->recordset().value(QStringLiteral("Title")).toString();
        }))
        return;
    if (MessageBox::show(QStringLiteral("Are you sure you want to delete ") + title
                             + QStringLiteral("?\nAny classes and/or assignments associated with this\nsemester will also be "
                                              "deleted!\n\nConfirm?"),
                         MessageBox::YesNo, MessageBox::Question, QStringLiteral("Confirm semester deletion."))
        != MessageBox::Yes)
        return;
    // The semester, its classes and their work go together or not at all.
    if (!deleteTogether(QStringLiteral("semester"), [&] { GradeBookQueries::deleteSemester(DatabasePath, semesterId); }))
        return;
    afterDeletion();
}

void frmMain::mnuClassDelete_Click()
{
    QVariant classId;
    if (!quietly([&] { classId = datClasses->recordset().value(QStringLiteral("ID")); }))
        return;
    bool hadWork = false;
    quietly([&] {
        datAssignments->recordset().MoveFirst();
        hadWork = datAssignments->hasCurrentRow();
    });
    if (hadWork
        && MessageBox::show(QStringLiteral("There are assignments associated with this class!\nDeleting the class with remove them "
                                           "as well.\n\nDo you want to proceed?"),
                            MessageBox::YesNo, MessageBox::Question, QStringLiteral("Classes Present!"))
               != MessageBox::Yes)
        return;
    // The class and its work go together or not at all.
    if (!deleteTogether(QStringLiteral("class"), [&] { GradeBookQueries::deleteClass(DatabasePath, classId); }))
        return;
    afterDeletion();
    if (hadWork)
        gridAssignments->setEnabled(false);
}

bool frmMain::deleteTogether(const QString &what, const std::function<void()> &deletion)
{
    try {
        deletion();
        return true;
    } catch (const RuntimeError &e) {
        Trap::tell(e, MessageBox::Exclamation, QStringLiteral("The %1 could not be deleted; nothing was changed.\n\n").arg(what));
        return false;
    }
}

void frmMain::afterDeletion()
{
    // The selection is read again, so that nothing deleted stays current.
    quietly([&] { datSemesters->Refresh(); });
    quietly([&] { datClasses->Refresh(); });
    quietly([&] { datAssignments->Refresh(); });
    quietly([&] { RefreshPoints(); });
    step(QStringLiteral("(General)_RefreshTree"), false, [&] { RefreshTree(); });
}

void frmMain::mnuClassCloseOut_Click()
{
    if (!datClasses->hasCurrentRow()) {
        MessageBox::show(QStringLiteral("You cannot close out a class unless a class is selected."), MessageBox::OkOnly,
                         MessageBox::Information, QStringLiteral("No class!"));
        return;
    }
    frmConfirmGrade *w = frmConfirmGrade::instance();
    w->Show();
    w->propose(lblLetterGrade->text().mid(1, 1));
}

void frmMain::mnuAssignmentDelete_Click()
{
    if (NoAssignmentSelected()) {
        MessageBox::show(QStringLiteral("There was no assignment to delete!  Select one with your \nleft mouse button first, "
                                        "then delete."),
                         MessageBox::OkOnly, MessageBox::Information, QStringLiteral("No assignment!"));
        return;
    }
    if (quietly([&] { datAssignments->recordset().Delete(); }))
        quietly([&] { RefreshPoints(); }); // the totals no longer count it
}

void frmMain::lblLetterGrade_Click()
{
    frmClassStatus *w = frmClassStatus::instance();
    w->Show();
    QVariant thresholds[4];
    const char *fields[] = {"Points_Grade_A", "Points_Grade_B", "Points_Grade_C", "Points_Grade_D"};
    for (int i = 0; i < 4; ++i)
        quietly([&] { thresholds[i] = datClasses->recordset().value(QString::fromLatin1(fields[i])); });
    w->fill(thresholds, lblCurrentPoints->text());
}
