#pragma once
// Files the platform tests write by hand and read back.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

// The bytes of a file; "<unreadable>" when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Writes a file in place (the same inode, as an editor does), its folder made first.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::ReadWrite | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
