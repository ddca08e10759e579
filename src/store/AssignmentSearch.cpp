#include "AssignmentSearch.h"

#include "Database.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace AssignmentSearch {

QString Hit::entry() const { return assignmentTitle + QStringLiteral(" [") + className + QStringLiteral("]"); }

QString countText(qsizetype hits) { return QStringLiteral("Found %1 results.").arg(hits); }

QVector<Hit> find(const QString &databasePath, const QString &text)
{
    QVector<Hit> hits;
    if (text.isEmpty())
        return hits;
    // The engine's REGEXP runs a Unicode-aware expression: the escaped text
    // matches itself only, and (?i) ignores letter case for every script the
    // text holds, where LIKE and NOCASE fold only the ASCII letters.
    const QString pattern = QStringLiteral("(?i)") + QRegularExpression::escape(text);
    auto db = Database::open(databasePath);
    QSqlQuery q = db->run(QStringLiteral("SELECT a.ID, a.AssignmentTitle, c.ClassName, s.Title "
                                         "FROM Assignments AS a "
                                         "JOIN Classes AS c ON c.ID = a.Class_ID "
                                         "JOIN Semesters AS s ON s.ID = c.Semester_ID "
                                         "WHERE (a.AssignmentTitle REGEXP ? OR a.Comments REGEXP ?) "
                                         "AND c.ClassName <> '' AND s.Title <> '' "
                                         "ORDER BY a.ID"),
                          {pattern, pattern});
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
