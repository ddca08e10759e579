#include "Platform.h"

#include "FileOps.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <cmath>
#include <QWidget>

namespace {
bool g_ended = false;
bool g_testMode = false;
QList<int> g_pauses;
}

namespace Platform {

void nameApplication() { QCoreApplication::setApplicationName(QStringLiteral("TarvelaDesk")); }

QString chooseProgramFolder(const QString &tarvelaHome, const QString &executableFolder, bool executableFolderWritable,
                            const QString &xdgDataHome, const QString &homeFolder)
{
    if (!tarvelaHome.isEmpty())
        return QDir::cleanPath(tarvelaHome);
    if (executableFolderWritable)
        return executableFolder;
    // A relative $XDG_DATA_HOME is not valid and is passed over.
    const QString data = QDir::isAbsolutePath(xdgDataHome) ? xdgDataHome : homeFolder + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/tarvela-desk"));
}

QString programFolder()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString home = qEnvironmentVariable("TARVELA_HOME");
    const bool writable = home.isEmpty() && FileOps::canCreateIn(executableFolder);
    const QString folder = chooseProgramFolder(home, executableFolder, writable, qEnvironmentVariable("XDG_DATA_HOME"),
                                               QDir::homePath());
    if (home.isEmpty() && !writable)
        QDir().mkpath(folder);
    return folder;
}

QString installedFilesFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" TARVELA_INSTALLED_FILES));
}

QString programFilePath(const QString &name, const QString &programFolder, const QString &installedFolder)
{
    if (fileExistsNoCase(programFolder, name))
        return findFileNoCase(programFolder, name);
    if (fileExistsNoCase(installedFolder, name))
        return findFileNoCase(installedFolder, name);
    return QDir(programFolder).filePath(name);
}

QString programFile(const QString &name) { return programFilePath(name, programFolder(), installedFilesFolder()); }

QString driveAFolder()
{
    const QString a = qEnvironmentVariable("TARVELA_DRIVE_A");
    if (!a.isEmpty())
        return QDir::cleanPath(a);
    return QDir::homePath();
}

QString findFileNoCase(const QString &folder, const QString &name)
{
    QDir dir(folder);
    const QFileInfo exact(dir.filePath(name));
    if (exact.exists() && exact.isFile())
        return exact.filePath();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

QString entryNoCase(const QString &folder, const QString &name)
{
    QDir dir(folder);
    const QFileInfo exact(dir.filePath(name));
    if (exact.exists() || exact.isSymLink())
        return exact.filePath();
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return QString();
}

bool fileExistsNoCase(const QString &folder, const QString &name)
{
    const QFileInfo info(findFileNoCase(folder, name));
    return info.exists() && info.isFile();
}

void endProgram()
{
    g_ended = true;
    // Hide every window without closing it, so that no unload handling runs.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->hide();
    }
    if (!g_testMode)
        QCoreApplication::exit(0);
}

bool programEnded() { return g_ended; }
void resetProgramEnded() { g_ended = false; }

void doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void sleepMs(int ms)
{
    if (g_testMode) {
        g_pauses.append(ms);
        return;
    }
    QThread::msleep(static_cast<unsigned long>(ms));
}

const QList<int> &pauses() { return g_pauses; }
void clearPauses() { g_pauses.clear(); }

int screenWidthTwips()
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? Twips::fromPixels(s->geometry().width()) : 0;
}

int screenHeightTwips()
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? Twips::fromPixels(s->geometry().height()) : 0;
}

bool testMode() { return g_testMode; }

int roundHalfEven(double value)
{
    // Done by hand so that no floating-point rounding mode can change it.
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff > 0.5)
        return static_cast<int>(down) + 1;
    if (diff < 0.5)
        return static_cast<int>(down);
    const int d = static_cast<int>(down);
    return (d % 2 == 0) ? d : d + 1;
}
void setTestMode(bool on) { g_testMode = on; }

} // namespace Platform
