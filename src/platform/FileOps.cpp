#include "FileOps.h"

#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QStringList g_denied;
QStringList g_readDenied;

QString normal(const QString &path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// Whether the path is one of the listed paths or lies inside one of them.
bool within(const QString &p, const QStringList &list)
{
    for (const QString &d : list)
        if (p.compare(d, Qt::CaseInsensitive) == 0 || p.startsWith(d + QLatin1Char('/'), Qt::CaseInsensitive))
            return true;
    return false;
}

RuntimeError accessError(const QString &path)
{
    return RuntimeError(Err::PathFileAccess, QStringLiteral("Path/File access error (%1)").arg(path));
}
} // namespace

namespace FileOps {

Identity identity(const QString &path)
{
    Identity id;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        id.statError = errno == ENOENT || errno == ENOTDIR ? 0 : errno;
        return id;
    }
    id.exists = true;
    id.isDir = S_ISDIR(st.st_mode);
    id.device = quint64(st.st_dev);
    id.inode = quint64(st.st_ino);
    id.size = qint64(st.st_size);
    id.mtimeSec = qint64(st.st_mtim.tv_sec);
    id.mtimeNsec = qint64(st.st_mtim.tv_nsec);
    return id;
}

QString Identity::text() const
{
    if (!exists)
        return QString();
    return QStringLiteral("%1:%2:%3:%4.%5").arg(device).arg(inode).arg(size).arg(mtimeSec).arg(mtimeNsec);
}

void syncToDisk(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY);
    int rc = -1;
    int error = errno;
    if (fd >= 0) {
        rc = ::fsync(fd);
        error = errno;
        ::close(fd);
    }
    if (rc != 0)
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("Path/File access error (%1): it could not be written to the disk (%2).")
                                                     .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error))));
}

bool isDenied(const QString &path) { return within(normal(path), g_denied); }

bool exists(const QString &path) { return QFileInfo::exists(path); }

void remove(const QString &path)
{
    if (isDenied(path) || !QFile::remove(path))
        throw accessError(path);
}

void replace(const QString &from, const QString &to)
{
    if (isDenied(from) || isDenied(to))
        throw accessError(to);
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw accessError(to);
}

bool canCreateIn(const QString &folder)
{
    if (isDenied(folder) || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".tarvela-probe-XXXXXX")));
    return probe.open();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    if (isDenied(path))
        throw accessError(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("Path/File access error (%1): %2").arg(path, file.errorString()));
}

QByteArray readFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw RuntimeError(Err::FileNotFound, QStringLiteral("File not found: %1").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (info.isDir() || !canRead(path) || !file.open(QIODevice::ReadOnly))
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("Path/File access error: %1 could not be read%2.")
                                                     .arg(QDir::toNativeSeparators(path),
                                                          info.isDir() ? QStringLiteral(" (it is a folder)") : QString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("Path/File access error: %1 could not be read (%2).")
                                                     .arg(QDir::toNativeSeparators(path), file.errorString()));
    return bytes;
}

void denyChanges(const QString &path) { g_denied << normal(path); }
void clearDenied()
{
    g_denied.clear();
    g_readDenied.clear();
}

bool canRead(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isReadable() || (info.isDir() && !info.isExecutable()))
        return false;
    return !within(normal(path), g_readDenied);
}
void denyReading(const QString &path) { g_readDenied << normal(path); }

} // namespace FileOps
