#include "GradeBookQueries.h"

#include "Database.h"
#include "Recordset.h"
#include "Values.h"
#include "platform/RuntimeError.h"

#include <limits>

namespace {
const QString TypeText = QStringLiteral("AssignmentTypeText");

// Adds a value that may be empty to a total carried in 64 bits, so a class
// shows its true sums and a number the file holds beyond 32 bits counts as
// it is.
void addPoints(qint64 &total, const QVariant &value, const char *field)
{
    if (value.isNull())
        return;
    if (value.typeId() != QMetaType::LongLong)
        throw RuntimeError(Err::TypeMismatch, QStringLiteral("Type mismatch: \"%1\" is not a whole number (field %2).")
                                                  .arg(Values::displayText(value), QString::fromLatin1(field)));
    if (__builtin_add_overflow(total, value.toLongLong(), &total))
        throw RuntimeError(Err::Overflow, QStringLiteral("Overflow: the total of %1 is too large.").arg(QString::fromLatin1(field)));
}
} // namespace

namespace GradeBookQueries {

PointsTotals pointsTotals(const QString &databasePath, const QString &assignmentSource, const QVariantList &params)
{
    auto db = Database::open(databasePath);
    auto rs = db->openRecordset(assignmentSource, Database::Snapshot, params);
    const PointsTotals totals = pointsTotals(*rs);
    rs->Close();
    db->close();
    return totals;
}

PointsTotals pointsTotals(const Recordset &assignments)
{
    PointsTotals totals;
    totals.hasRows = !assignments.isEmpty();
    if (!totals.hasRows)
        return totals;
    const int possible = assignments.fieldIndex(QStringLiteral("MaxPointsPossible"));
    const int earned = assignments.fieldIndex(QStringLiteral("ActualPoints"));
    for (int row = 0; row < assignments.RecordCount(); ++row) {
        addPoints(totals.possible, assignments.valueAt(row, possible), "MaxPointsPossible");
        addPoints(totals.earned, assignments.valueAt(row, earned), "ActualPoints");
    }
    return totals;
}

QVector<ClosedClass> closedClasses(const QString &databasePath)
{
    QVector<ClosedClass> out;
    auto db = Database::open(databasePath);
    auto rs = db->openRecordset(QStringLiteral("SELECT ClassName, ClassClosed, CreditHours, FinalLetterGrade FROM Classes"),
                                Database::Snapshot);
    const int closed = rs->fieldIndex(QStringLiteral("ClassClosed"));
    const int hours = rs->fieldIndex(QStringLiteral("CreditHours"));
    const int letter = rs->fieldIndex(QStringLiteral("FinalLetterGrade"));
    const int name = rs->fieldIndex(QStringLiteral("ClassName"));
    for (int row = 0; row < rs->RecordCount(); ++row) {
        if (rs->valueAt(row, closed).toBool())
            out.push_back({rs->valueAt(row, hours), rs->valueAt(row, letter).toString(), rs->valueAt(row, name).toString()});
    }
    rs->Close();
    db->close();
    return out;
}

QStringList assignmentTypes(const QString &databasePath)
{
    QStringList out;
    auto db = Database::open(databasePath);
    auto rs = db->openRecordset(QStringLiteral("AssignmentTypes"), Database::Snapshot);
    while (!rs->isEOF()) {
        out << rs->value(TypeText).toString();
        rs->MoveNext();
    }
    rs->Close();
    db->close();
    return out;
}

void addAssignmentType(const QString &databasePath, const QString &type)
{
    auto db = Database::open(databasePath);
    auto rs = db->openRecordset(QStringLiteral("AssignmentTypes"), Database::Dynaset);
    rs->AddNew();
    rs->setValue(TypeText, type);
    rs->Update();
    rs->Close();
    db->close();
}

bool removeAssignmentType(const QString &databasePath, const QString &type)
{
    auto db = Database::open(databasePath);
    auto rs = db->openRecordset(QStringLiteral("SELECT * From AssignmentTypes WHERE AssignmentTypeText = ? COLLATE BINARY"),
                                Database::Dynaset, {type});
    const bool found = !rs->isEmpty();
    if (found)
        rs->Delete();
    rs->Close();
    db->close();
    return found;
}

void deleteClass(const QString &databasePath, const QVariant &classId)
{
    auto db = Database::open(databasePath);
    db->executeTogether({{QStringLiteral("DELETE FROM Assignments WHERE Class_ID = ?"), {classId}},
                         {QStringLiteral("DELETE FROM Classes WHERE ID = ?"), {classId}}});
    db->close();
}

void deleteSemester(const QString &databasePath, const QVariant &semesterId)
{
    auto db = Database::open(databasePath);
    db->executeTogether(
        {{QStringLiteral("DELETE FROM Assignments WHERE Class_ID IN (SELECT ID FROM Classes WHERE Semester_ID = ?)"), {semesterId}},
         {QStringLiteral("DELETE FROM Classes WHERE Semester_ID = ?"), {semesterId}},
         {QStringLiteral("DELETE FROM Semesters WHERE ID = ?"), {semesterId}}});
    db->close();
}

} // namespace GradeBookQueries
