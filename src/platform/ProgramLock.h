#pragma once
// One copy of the program per program folder: a lock file in the folder,
// locked by the system for this program while it runs. The system lets that
// lock go however the program ends (a crash, a kill, a power cut), so what a
// file left behind holds (nothing, garbage, a process number that no longer
// runs) never blocks a start: the next start takes it over. Only a running
// copy holding the lock keeps another out. A file naming another computer
// is left to that computer.
#include <QString>

namespace ProgramLock {

enum class Result {
    Taken,          // this program holds the folder now (or held it already)
    HeldByAnother,  // another running copy on this computer holds it
    OtherComputer,  // the lock file names another computer (`computer`)
    CannotReplace,  // a lock file is there that cannot be taken over (`problem`)
    NotPossible     // no lock file can be made there (a read-only folder)
};

struct Outcome {
    Result result = Result::NotPossible;
    QString computer; // OtherComputer: the computer the file names
    QString problem;  // CannotReplace: why, and what the user can do about it
};

// Takes the lock of the folder for the rest of the program's life.
Outcome take(const QString &folder);
// Gives the lock up and removes the file (also done when the program ends
// normally).
void release();
// The lock file of a folder.
QString fileIn(const QString &folder);

} // namespace ProgramLock
