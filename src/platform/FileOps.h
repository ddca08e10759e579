#pragma once
// Deleting, renaming, writing and reading files, with the error numbers the
// program reports (53: file not found, 75: path/file access error). Tests can
// make the operations on a path fail as a read-only or locked file would,
// whoever runs them.
#include <QByteArray>
#include <QString>

namespace FileOps {

bool exists(const QString &path);
// Removes the file; run-time error 75 when it cannot be removed.
void remove(const QString &path);
// Renames `from` to `to`, replacing `to` in one step when it exists;
// run-time error 75 when that cannot be done.
void replace(const QString &from, const QString &to);
// True when a new file can be made in the folder.
bool canCreateIn(const QString &folder);
// Writes the whole file under a temporary name and renames it over `path`
// at the end, so that a failure leaves an earlier file as it was; run-time
// error 75, naming the reason, when the file cannot be written.
void writeFile(const QString &path, const QByteArray &bytes);

// What tells one state of a file on disk from another: the file itself
// (device and inode), its size and its modification time. Two identities
// are equal only when nothing was written to the path in between (as far as
// the file system tells).
struct Identity {
    bool exists = false;
    int statError = 0; // why the path could not be looked at (0: it does not exist, or it could)
    bool isDir = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;

    bool operator==(const Identity &o) const = default;
    // The same file, whatever was written to it.
    bool sameFileAs(const Identity &o) const { return exists && o.exists && device == o.device && inode == o.inode; }
    // As text, for keeping it in the settings.
    QString text() const;
};
Identity identity(const QString &path);

// Writes what the system holds of a file, or of a folder's entries (a
// rename in it), to the disk; run-time error 75 when that fails.
void syncToDisk(const QString &path);

// The whole content of a file; run-time error 53 when there is no such
// file, 75 when it cannot be read.
QByteArray readFile(const QString &path);

// Test support: every change of this path (or of anything inside this
// folder) fails with error 75.
void denyChanges(const QString &path);
void clearDenied();
bool isDenied(const QString &path);

// True when the folder or file exists and its contents can be read.
bool canRead(const QString &path);
// Test support: reading this path (or anything inside it) fails as a folder
// without permission would. clearDenied() lifts it too.
void denyReading(const QString &path);

} // namespace FileOps
