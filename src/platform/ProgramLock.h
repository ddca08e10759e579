#pragma once
// One copy of the program per program folder: a lock file in the folder,
// held while the program runs. A lock whose holder is gone (a crash, a kill)
// is taken over.
#include <QString>

namespace ProgramLock {

enum class Result {
    Taken,         // this program holds the folder now (or held it already)
    HeldByAnother, // another running copy holds it
    NotPossible    // no lock file can be made there (a read-only folder)
};

// Takes the lock of the folder for the rest of the program's life.
Result take(const QString &folder);
// Gives the lock up (the end of a test; the system frees it at exit anyway).
void release();
// The lock file of a folder.
QString fileIn(const QString &folder);

} // namespace ProgramLock
