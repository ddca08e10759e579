#pragma once
// Files the tests write by hand and read back.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

// The bytes of a file; "<unreadable>" when it cannot be read (so that a
// comparison with what it should hold fails).
inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Writes a file in place (the same inode, as an editor does), its folder
// made first; the test fails when it cannot be written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    const bool ok = f.open(QIODevice::ReadWrite | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    if (!ok)
        QTest::qFail(qPrintable(path + QStringLiteral(" cannot be written")), __FILE__, __LINE__);
    return ok;
}
