#pragma once
// Class > Export and Class > Import: the current class with its assignments
// to the class transfer file on drive A:, and a class from that file into the
// current semester, through the main window's current selection. Every
// run-time error goes to the reporter; the command then goes on where it
// safely can.
#include <QString>
#include <functional>

class RuntimeError;

namespace ClassTransfer {

using Reporter = std::function<void(const RuntimeError &)>;

// The transfer file on drive A:, as written; for reading, an existing file
// of that name in other letter case counts too.
QString exportPath();
QString importPath();

// Writes the current class and its assignments (in the order of the main
// window's assignment list) to the transfer file and says so. Without a
// current class nothing happens. A failure is reported, claims no success
// and leaves an earlier file as it was. True when the file was written.
bool exportCurrentClass(const Reporter &report);

// After the user confirms, adds the file's class with its assignments to the
// current semester, makes it the current class and rebuilds the tree. A file
// that cannot be opened adds nothing; one that is not a class transfer file
// adds nothing either, and the user is told what is wrong with it. The class
// and its assignments are stored together: when a write fails, nothing of
// the file is stored, and the user is told so. True when a class was added.
bool importIntoCurrentSemester(const Reporter &report);

} // namespace ClassTransfer
