#include "ProgramLock.h"

#include <QDir>
#include <QLockFile>
#include <memory>

namespace {
std::unique_ptr<QLockFile> g_lock;
QString g_folder;
} // namespace

namespace ProgramLock {

QString fileIn(const QString &folder) { return QDir(folder).filePath(QStringLiteral("tarvela.lock")); }

Result take(const QString &folder)
{
    const QString wanted = QDir::cleanPath(QDir(folder).absolutePath());
    if (g_lock && g_folder == wanted)
        return Result::Taken;
    release();
    auto lock = std::make_unique<QLockFile>(fileIn(wanted));
    // Only a holder that is no longer running makes a lock stale, however
    // long the program has been running.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        g_lock = std::move(lock);
        g_folder = wanted;
        return Result::Taken;
    }
    return lock->error() == QLockFile::LockFailedError ? Result::HeldByAnother : Result::NotPossible;
}

void release()
{
    if (g_lock)
        g_lock->unlock();
    g_lock.reset();
    g_folder.clear();
}

} // namespace ProgramLock
