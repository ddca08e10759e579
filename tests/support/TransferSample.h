#pragma once
// One class with every field set and three assignments (Null and empty
// values, commas, apostrophes, a line break, a leading double quote,
// non-ASCII letters), and the transfer file it gives (data/class_full.tarvela).
#include "platform/TextCodec.h"
#include "setup/ClassTransfer.h"

#include <QFile>
#include <QPair>
#include <QtTest>

namespace TransferSample {

using Fields = QVector<QPair<QString, QVariant>>;

// The class as the file stores it (Semester_ID not included).
inline Fields classRow()
{
    return {
        {"ClassName", "O'Neill's Drama, Modern"},
        {"TeacherName", "Müller, Jürgen"},
        {"TeacherPhone", "555-0101"},
        {"TeacherEMail", "jmuller@example.edu"},
        {"MondayFrom", "09:00:00"}, {"MondayTo", "10:15:00"},
        {"TuesdayFrom", "13:30:00"}, {"TuesdayTo", "14:45:00"},
        {"WednesdayFrom", "09:00:00"}, {"WednesdayTo", "10:15:00"},
        {"ThursdayFrom", "13:30:00"}, {"ThursdayTo", "14:45:00"},
        {"FridayFrom", "12:00:00"}, {"FridayTo", "12:50:30"},
        {"SaturdayFrom", "00:00:00"}, {"SaturdayTo", "00:30:00"},
        {"SundayFrom", "18:00:00"}, {"SundayTo", "21:05:00"},
        {"StartDate", "2026-09-01"}, {"EndDate", "2026-12-18"},
        {"PointsPossible", 40000}, {"Points_Grade_A", 36000}, {"Points_Grade_B", 32000},
        {"Points_Grade_C", 28000}, {"Points_Grade_D", 24000}, {"Points_Grade_F", 0},
        // Not carried by the file.
        {"ClassNotes", "Bring the anthology"}, {"CreditHours", 3.5}, {"ClassClosed", 1},
        {"FinalLetterGrade", "A-"}, {"AppliesToGPA", 1},
    };
}

// The assignments as stored, in the order they were added (not by due date).
inline QVector<Fields> assignmentRows()
{
    return {
        {{"AssignmentType", "Quiz"}, {"DateDue", "2026-11-05"}, {"MaxPointsPossible", 0},
         {"Comments", "Ære, øl og ål — naïve café €"}, {"AssignmentTitle", "Final's Quiz"}, {"ActualPoints", 0},
         {"Completed", 0}},
        {{"AssignmentType", "Homework"}, {"DateDue", "2026-09-10"}, {"MaxPointsPossible", 10},
         {"Comments", "Read pages 1-10, then\r\nsummarise\nthem"}, {"AssignmentTitle", "Sonnets, part 1"},
         {"ActualPoints", 9}, {"DocumentPath", "/home/s/sonnets.odt"}, {"Completed", 1}, {"DateEntered", "2026-09-01"}},
        {{"AssignmentType", ""}, {"DateDue", "2026-10-01"}, {"MaxPointsPossible", QVariant()}, {"Comments", QVariant()},
         {"AssignmentTitle", "\"Ghosts\" by Ibsen"}, {"ActualPoints", 5}},
    };
}

inline QVariant find(const Fields &fields, const QString &name)
{
    for (const auto &f : fields)
        if (f.first == name)
            return f.second;
    return QVariant();
}

inline QByteArray golden()
{
    QFile file(QFINDTESTDATA("setup/data/class_full.tarvela"));
    if (!file.open(QIODevice::ReadOnly))
        QTest::qFail("the golden file is missing", __FILE__, __LINE__);
    return file.readAll();
}

// The 26 class lines of the golden file, to build other files from.
inline QStringList classLines()
{
    return TextCodec::splitLines(QString::fromUtf8(golden())).mid(0, ClassTransfer::ClassLines);
}

} // namespace TransferSample
