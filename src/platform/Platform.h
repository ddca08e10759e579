#pragma once
// What the operating system gave the program: its folder, drive A:, the
// end of the program, pending events and short pauses.
#include <QList>
#include <QString>

namespace Platform {

// Names the application. No display name is given: the window system
// would add it to every window title, which carries its own text only.
void nameApplication();

// The program's folder, which holds the database, the lock and the base of
// the add-in command lines: see chooseProgramFolder. The user's data folder
// is made when it is chosen and missing.
QString programFolder();

// The choice of the program's folder from what the system gives:
// `tarvelaHome` ($TARVELA_HOME) when set; else the executable's folder when
// it can be written; else the user's data folder, `xdgDataHome`
// ($XDG_DATA_HOME) or, when that is unset or not absolute,
// `homeFolder`/.local/share, followed by /tarvela-desk.
QString chooseProgramFolder(const QString &tarvelaHome, const QString &executableFolder, bool executableFolderWritable,
                            const QString &xdgDataHome, const QString &homeFolder);

// The folder the program's own files (the tips, the help page) were
// installed to, relative to the executable's folder: share/tarvela-desk
// beside the bin folder of an installed program.
QString installedFilesFolder();

// The path of the program's own file `name` (the tips, the help page), the
// name matched without regard to letter case: the one in `programFolder`
// when it holds one, so a user's copy wins; else the installed one in
// `installedFolder`; else `programFolder`/`name`.
QString programFilePath(const QString &name, const QString &programFolder, const QString &installedFolder);
// The same in the program's folder and installedFilesFolder().
QString programFile(const QString &name);

// Drive A: for the transfer files: $TARVELA_DRIVE_A when set, else the home folder.
QString driveAFolder();

// The path of `name` in `folder`, matched without regard to letter case.
// Returns the existing file's path, or folder + "/" + name when none exists.
QString findFileNoCase(const QString &folder, const QString &name);
bool fileExistsNoCase(const QString &folder, const QString &name);
// The path of whatever stands under `name` in `folder` (a file, a folder or
// anything else), matched without regard to letter case; "" when nothing
// does. A folder where a file belongs is told as such, never taken for a
// missing file.
QString entryNoCase(const QString &folder, const QString &name);

// Ends the program at once: no window's unload handling runs.
void endProgram();
bool programEnded();
void resetProgramEnded(); // for tests

// Processes pending window events once.
void doEvents();
// Pauses the thread. In test mode the pause is recorded, not made.
void sleepMs(int ms);
const QList<int> &pauses(); // for tests
void clearPauses();

// The screen's size in twips (15 twips to a pixel).
int screenWidthTwips();
int screenHeightTwips();

// True while automated tests run: dialogs answer from queues, sounds and the
// shell are recorded instead of played or started.
bool testMode();
void setTestMode(bool on);

} // namespace Platform

namespace Platform {
// Rounds to the nearest whole number, halves to the even neighbour.
int roundHalfEven(double value);
}

// Twips (15 to a pixel) and pixels.
namespace Twips {
constexpr int PerPixel = 15;
inline int fromPixels(int px) { return px * PerPixel; }
// Whole pixels, halves rounded to even.
inline int toPixels(double twips) { return Platform::roundHalfEven(twips / PerPixel); }
} // namespace Twips
