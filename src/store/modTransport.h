#pragma once
// Values the whole program shares.
#include <QString>

// The database file: the program's folder followed by "tarvela.mdb" (an
// existing file is found whatever the letter case of its name). Set by the
// main window's load handler before anything else runs.
extern QString DatabasePath;

// The database file of a folder, as the main window names it.
QString databaseFileIn(const QString &folder);
