#include "ProgramLock.h"

#include "FileOps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// How the folder is held.
//
// The lock is the system's exclusive lock (flock) on the open lock file, not
// the file itself: it lasts exactly as long as this program has the file
// open, and the system drops it when the program ends in any way. Every copy
// opens the one file at the path (making it when there is none) and asks for
// the lock without waiting; of any number of copies started at once, exactly
// one gets it. The file is never made with a test for its existence (a file
// left behind would then count as held), and what it holds (this process's
// number, program, computer and start of the system, one a line) only
// serves to tell the user who holds it.
//
// The file can be replaced or removed while others have it open: a copy
// that got the lock checks that the path still names the file it locked and
// starts again otherwise, so two copies never hold two different files.

namespace {

struct Hold {
    int fd = -1;
    QString folder;
    QByteArray file; // the lock file's path, as the system takes it
    ~Hold() { ProgramLock::release(); }
};
Hold g_hold;

QByteArray thisMachineId() { return QSysInfo::machineUniqueId(); }

QByteArray contents()
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' + program.toUtf8() + '\n'
        + QSysInfo::machineHostName().toUtf8() + '\n' + thisMachineId() + '\n' + QSysInfo::bootUniqueId() + '\n';
}

bool isPlainText(const QByteArray &line)
{
    if (line.isEmpty() || line.size() > 255)
        return false;
    for (char c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    return QString::fromUtf8(line).toUtf8() == line;
}

// The computer a lock file names when it names another one than this; ""
// for this computer, and for a file that names none (empty, garbage, or
// not of the form written above).
QString otherComputer(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 3)
        return {};
    bool ok = false;
    if (lines.at(0).toLongLong(&ok) <= 0 || !ok)
        return {};
    const QByteArray host = lines.at(2);
    const QByteArray machine = lines.size() > 3 ? lines.at(3) : QByteArray();
    if (!isPlainText(host))
        return {};
    // The computer's own identity decides where both are known: a name can
    // change with the network.
    if (isPlainText(machine) && !thisMachineId().isEmpty())
        return machine == thisMachineId() ? QString() : QString::fromUtf8(host);
    return host == QSysInfo::machineHostName().toUtf8() ? QString() : QString::fromUtf8(host);
}

QByteArray readAll(int fd)
{
    QByteArray out;
    char buffer[1024];
    for (off_t at = 0; out.size() < 64 * 1024;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n <= 0)
            break;
        out.append(buffer, n);
        at += n;
    }
    return out;
}

// The path names the very file that is open.
bool stillAt(int fd, const QByteArray &path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
}

bool isImmutable(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool marked = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
    ::close(fd);
    return marked;
}

ProgramLock::Outcome cannotReplace(const QString &file, const QByteArray &path, int error)
{
    const QString name = QDir::toNativeSeparators(file);
    QString problem;
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        problem = QStringLiteral("a folder of that name stands where the file should be. Move or delete the folder %1, "
                                 "then start Tarvela Desk again.").arg(name);
    else if (isImmutable(path))
        problem = QStringLiteral("the file is marked as unchangeable (immutable). Have the mark removed (chattr -i %1, as "
                                 "administrator), then start Tarvela Desk again.").arg(name);
    else if (error == EACCES || error == EPERM)
        problem = QStringLiteral("you have no permission to change it or its folder. Delete the file %1 (or have it "
                                 "deleted by its owner), then start Tarvela Desk again.").arg(name);
    else if (error == EROFS)
        problem = QStringLiteral("it lies on a disk that cannot be written. Start Tarvela Desk from a folder that can be "
                                 "written.");
    else
        problem = QStringLiteral("%1. Delete the file %2, then start Tarvela Desk again.")
                      .arg(QString::fromLocal8Bit(std::strerror(error)), name);
    return {ProgramLock::Result::CannotReplace, QString(), problem};
}

// Puts a new file, holding this program's lock and its contents, in the
// place of one this program cannot write (but whose lock it holds). The new
// file's descriptor, or -1 with errno set.
int replaceUnwritable(const QString &file, const QByteArray &path)
{
    if (FileOps::isDenied(file)) {
        errno = EACCES;
        return -1;
    }
    QByteArray temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return -1;
    const QByteArray text = contents();
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::write(fd, text.constData(), size_t(text.size())) != text.size()
        || ::fchmod(fd, 0644) != 0 || ::rename(temp.constData(), path.constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

namespace ProgramLock {

QString fileIn(const QString &folder) { return QDir(folder).filePath(QStringLiteral("tarvela.lock")); }

Outcome take(const QString &folder)
{
    const QString wanted = QDir::cleanPath(QDir(folder).absolutePath());
    if (g_hold.fd >= 0 && g_hold.folder == wanted)
        return {Result::Taken, {}, {}};
    release();
    const QString file = fileIn(wanted);
    const QByteArray path = QFile::encodeName(file);
    // A few rounds at most: a round starts again only when another copy
    // replaced or removed the file in the moment between its open and lock.
    for (int round = 0; round < 50; ++round) {
        bool writable = !FileOps::isDenied(file);
        int fd = writable ? ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644) : -1;
        if (fd < 0) {
            const int error = writable ? errno : EACCES;
            struct stat st {};
            if (::lstat(path.constData(), &st) != 0)
                return {Result::NotPossible, {}, {}}; // no file, and none can be made
            if (!S_ISREG(st.st_mode) || (error != EACCES && error != EPERM && error != EROFS))
                return cannotReplace(file, path, error);
            // A file this program may not write: its lock can still be had.
            writable = false;
            fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
            if (fd < 0)
                return cannotReplace(file, path, errno);
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            const QString computer = otherComputer(readAll(fd));
            ::close(fd);
            if (error != EWOULDBLOCK)
                return {Result::NotPossible, {}, {}}; // the file system keeps no locks
            if (!computer.isEmpty())
                return {Result::OtherComputer, computer, {}};
            return {Result::HeldByAnother, {}, {}};
        }
        if (!stillAt(fd, path)) {
            ::close(fd);
            continue;
        }
        // Nobody on this computer holds it. One that names another computer
        // may be in use there (a shared folder): that computer decides.
        const QString computer = otherComputer(readAll(fd));
        if (!computer.isEmpty()) {
            ::close(fd);
            return {Result::OtherComputer, computer, {}};
        }
        if (writable) {
            // What the file says only tells who holds it: the lock holds even
            // when it cannot be written (a full disk).
            const QByteArray text = contents();
            const bool told = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, text.constData(), size_t(text.size()), 0) == text.size();
            Q_UNUSED(told);
        } else {
            const int replaced = replaceUnwritable(file, path);
            const int error = errno;
            ::close(fd);
            if (replaced < 0)
                return cannotReplace(file, path, error);
            fd = replaced;
        }
        g_hold.fd = fd;
        g_hold.folder = wanted;
        g_hold.file = path;
        return {Result::Taken, {}, {}};
    }
    return {Result::HeldByAnother, {}, {}};
}

void release()
{
    if (g_hold.fd < 0)
        return;
    // Removed while still locked: a copy that opened it meanwhile finds the
    // path no longer names it and starts over.
    if (stillAt(g_hold.fd, g_hold.file))
        ::unlink(g_hold.file.constData());
    ::close(g_hold.fd);
    g_hold.fd = -1;
    g_hold.folder.clear();
    g_hold.file.clear();
}

} // namespace ProgramLock
