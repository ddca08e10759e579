#pragma once
// Finding assignments of every semester and class by a piece of their title
// or comments.
#include <QString>
#include <QVector>

namespace AssignmentSearch {

struct Hit {
    int assignmentId = 0;
    QString assignmentTitle;
    QString className;
    QString semesterTitle;

    // The entry a result list shows: title + " [" + class name + "]".
    QString entry() const;
};

// Every assignment whose title or comments contain `text`, in table order,
// with its class name and its semester's title. The text is taken as it
// stands ("%", "_", "*", "?" and apostrophes are characters like any other)
// and letter case is ignored, for letters beyond ASCII too. An assignment
// whose class or semester is missing, or has no name, is left out: there is
// nothing to take the user to. An empty text finds nothing. Raises a
// run-time error when the database cannot be read.
QVector<Hit> find(const QString &databasePath, const QString &text);

// The count line under a result list: "Found N results.".
QString countText(qsizetype hits);

} // namespace AssignmentSearch
