#include "AssignmentSearch.h"

#include "Database.h"

#include <QSqlQuery>

namespace AssignmentSearch {

QString Hit::entry() const { return assignmentTitle + QStringLiteral(" [") + className + QStringLiteral("]"); }

QString countText(qsizetype hits) { return QStringLiteral("Found %1 results.").arg(hits); }

QVector<Hit> find(const QString &databasePath, const QString &text)
{
    QVector<Hit> hits;
    if (text.isEmpty())
        return hits;
    // The text is looked for as it stands, letter case folded in every
    // script (LIKE and NOCASE fold only the ASCII letters).
    auto db = Database::open(databasePath);
    QSqlQuery q = db->run(QStringLiteral("SELECT a.ID, a.AssignmentTitle, c.ClassName, s.Title "
                                         "FROM Assignments AS a "
                                         "JOIN Classes AS c ON c.ID = a.Class_ID "
                                         "JOIN Semesters AS s ON s.ID = c.Semester_ID "
                                         "WHERE (instr(FOLDED(a.AssignmentTitle), FOLDED(?)) > 0 "
                                         "OR instr(FOLDED(a.Comments), FOLDED(?)) > 0) "
                                         "AND c.ClassName <> '' AND s.Title <> '' "
                                         "ORDER BY a.ID"),
                          {text, text});
    while (q.next()) {
        Hit h;
        h.assignmentId = q.value(0).toInt();
        h.assignmentTitle = q.value(1).toString();
        h.className = q.value(2).toString();
        h.semesterTitle = q.value(3).toString();
        hits.push_back(h);
    }
    q.finish();
    q = QSqlQuery();
    db->close();
    return hits;
}

} // namespace AssignmentSearch
