#pragma once
// The grade book's queries beyond the main window's record sources: the
// points totals of a class, the closed classes the GPA counts, the
// assignment types, and the deletions that take a class's or a semester's
// dependent rows along. Each opens the database file for its own work and
// raises a run-time error when the file cannot be read or written.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

class Recordset;

namespace GradeBookQueries {

struct PointsTotals {
    bool hasRows = false;
    qint64 possible = 0; // MaxPointsPossible summed
    qint64 earned = 0;   // ActualPoints summed
};

// Sums the points possible and earned over the assignments that the query
// `assignmentSource` (with its parameters) selects, in 64 bits; empty values
// are skipped. A value that is no whole number raises error 13 (type
// mismatch), a sum beyond 64 bits error 6 (overflow).
PointsTotals pointsTotals(const QString &databasePath, const QString &assignmentSource, const QVariantList &params);
// The same over the assignment rows a recordset holds (every row, wherever
// its position stands).
PointsTotals pointsTotals(const Recordset &assignments);

struct ClosedClass {
    QVariant creditHours; // Null when empty
    QString finalLetterGrade;
    QString className;
};

// Every closed class of every semester, in table order.
QVector<ClosedClass> closedClasses(const QString &databasePath);

// The texts of the assignment type table, in table order.
QStringList assignmentTypes(const QString &databasePath);
// Adds a type as written.
void addAssignmentType(const QString &databasePath, const QString &type);
// Removes the first type written exactly so (letter case counts); false
// when there is none.
bool removeAssignmentType(const QString &databasePath, const QString &type);

// Deletes a class with its assignments, or a semester with its classes and
// their assignments: all of it or, when anything fails, nothing.
void deleteClass(const QString &databasePath, const QVariant &classId);
void deleteSemester(const QString &databasePath, const QVariant &semesterId);

} // namespace GradeBookQueries
