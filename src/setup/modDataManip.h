#pragma once
// Adding a semester: the checks on a new semester and the new row.
#include <QString>

// Checks the title and the two date texts and appends the semester. Each
// refusal tells its own message; returns true when the row was added.
bool AddSemester(const QString &title, const QString &startDate, const QString &endDate);
