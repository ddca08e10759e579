#pragma once
// Mending a database file whose damage lies in its indexes only (the lists
// the engine keeps to find rows quickly; every row is whole in its table):
// the indexes are built anew from the rows. The mended file is made and
// checked in memory first; the file itself changes only when apply() is
// asked for, after a copy of it as it was has been kept beside it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

class IndexRepair
{
public:
    ~IndexRepair();
    IndexRepair(const IndexRepair &) = delete;
    IndexRepair &operator=(const IndexRepair &) = delete;

    // Examines a file the engine's check found damaged, on a connection of
    // its own that keeps other programs from writing to the file for as long
    // as the object lives. A repair ready to apply when the damage lies in
    // the indexes only and the mended file passed the engine's full check
    // with every row of every table; nothing when the damage reaches the
    // rows, or the file cannot be read or held. Writes nothing.
    static std::unique_ptr<IndexRepair> prepare(const QString &file);

    // The engine's full check of every page and every index against its
    // table: the damage it finds, each finding once (none for a whole file);
    // a check the engine cannot finish ends with the engine's reason. Rows
    // holding a text longer than its field allows are no damage.
    static QStringList fullCheck(sqlite3 *db);

    // The file apply() keeps the database as it was in (beside it).
    QString keptCopy() const { return m_kept; }
    // Keeps the file as it was under keptCopy(), then puts the mended file
    // in its place. Raises 75 when a file cannot be written; the database
    // file is then as it was.
    void apply();

private:
    IndexRepair() = default;

    sqlite3 *m_hold = nullptr; // the connection that keeps writers out
    QString m_file;
    QString m_kept;
    QByteArray m_original;
    QByteArray m_mended;
};
