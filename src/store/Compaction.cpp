#include "Compaction.h"

#include "Database.h"
#include "Schema.h"
#include "platform/FileOps.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVector>


// How the file is held while it is compacted.
//
// The engine keeps a rollback journal and takes POSIX advisory locks on the
// file's inode: a reader holds SHARED; a writer takes RESERVED while it
// changes pages in its own cache and EXCLUSIVE only to write them into the
// file at commit. Only one connection at a time can hold RESERVED.
//
// 1. The program's own connection is closed, so nothing of this program is
//    left on the old file once another file has taken its place.
// 2. A connection of its own (the lock) begins an IMMEDIATE transaction and
//    so holds RESERVED until the copy has taken the file's place. From then
//    on no other connection, of this process or another, can begin to write:
//    a writer waits (its busy timeout) or fails with SQLITE_BUSY. A writer
//    already under way when the lock is asked for finishes first, and its
//    rows are in the file before the copy is made. Readers go on reading.
//    The engine refuses VACUUM INTO inside a transaction, and an EXCLUSIVE
//    lock would keep our own reader out as well: hence two connections, and
//    RESERVED as what is held.
// 3. A second connection writes the compacted copy with VACUUM INTO (it
//    reads under SHARED, which RESERVED allows) at synchronous=FULL, and the
//    copy is synced to the disk once more.
// 4. The copy is checked under the lock: the full integrity check, every
//    table and field, and the row count of each table against the file,
//    counted through the lock's own transaction.
// 5. The copy is renamed over the file, still under the lock, and the folder
//    is synced so that the rename outlives a power cut. rename() replaces
//    the name in one step: the path names the old file or the whole new one,
//    never neither, so a kill at any moment leaves a whole database (at
//    worst a stale copy beside it, which the next compaction removes).
// 6. The lock is released; it wrote nothing, so the old file never had a
//    journal of ours. The program's connection then opens the new file.
//
// Another process that had the file open keeps its descriptor on the old,
// now unlinked inode. Its waiting writer then gets its locks on that inode,
// but before the engine changes anything it opens the journal, and it first
// checks that the path still names the inode it has open. It does not, so
// the write fails with SQLITE_READONLY_DBMOVED and nothing is committed into
// the unlinked file: a row that writer was told is committed was committed
// before step 2 and is in the copy. Its reads go on seeing the old inode,
// which holds the same rows. One hazard stays: the journal's name belongs to
// the path, not to an inode, so such a process starting a read while this
// program writes the new file may take our journal for a crashed writer's,
// play it back into the old inode and delete it, leaving that one
// transaction of ours without its journal. The program-folder lock keeps a
// second Tarvela out, so only a foreign tool holding the file across a
// compaction can do that.

namespace {

constexpr int LockWaitMs = 3000;

std::function<void(const QString &)> &copyHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

// A copy and the journal the engine may have left beside it.
QStringList filesOf(const QString &copy) { return {copy, copy + QStringLiteral("-journal")}; }

// Copies under any letter case of the copy's name, with their journals; a
// folder of such a name too, which stands in the copy's way as a file would.
QStringList leftovers(const QString &copy)
{
    const QFileInfo info(copy);
    const QString name = info.fileName();
    QStringList found;
    const QStringList entries =
        QDir(info.absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0 || entry.compare(name + QStringLiteral("-journal"), Qt::CaseInsensitive) == 0)
            found << QDir(info.absolutePath()).filePath(entry);
    return found;
}

void removeQuietly(const QString &path)
{
    if (QFileInfo::exists(path))
        Trap::skip([&] { FileOps::remove(path); });
}

QVector<qint64> rowCounts(Database &db)
{
    QVector<qint64> counts;
    for (const Schema::Table &t : Schema::tables()) {
        QSqlQuery q = db.run(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t.name));
        counts << (q.next() ? q.value(0).toLongLong() : -1);
    }
    return counts;
}

// Raises 3343 when the file itself is damaged (checked through the lock's
// own transaction, so as it stands).
void refuseDamaged(Database &lock, const QString &source)
{
    try {
        lock.verify();
    } catch (const RuntimeError &e) {
        if (e.number() != Err::NotADatabase)
            return;
        Database::markDamaged(source);
        throw RuntimeError(Err::NotADatabase, e.description() + QStringLiteral(" A compacted copy would carry the damage along."));
    }
}

// Releases the lock and opens the program's connection again, however the
// compaction ends.
struct Hold {
    std::shared_ptr<Database> lock;
    QString reopen;
    ~Hold()
    {
        if (lock) {
            Trap::skip([&] { lock->execute(QStringLiteral("ROLLBACK")); });
            lock->close();
        }
        if (!reopen.isEmpty())
            Trap::skip([&] { Database::open(reopen); });
    }
};

} // namespace

namespace Compaction {

void setCopyHook(std::function<void(const QString &)> hook) { copyHook() = std::move(hook); }

void run(const QString &source, const QString &target, const QString &copy, QStringList *leftoversRemoved)
{
    const QString folder = QFileInfo(target).absolutePath();
    if (!FileOps::canCreateIn(folder))
        throw RuntimeError(Err::PathFileAccess, QStringLiteral("Path/File access error (%1)").arg(folder));

    Hold hold;
    if (Database::closeConnection(source))
        hold.reopen = target;
    hold.lock = Database::openSeparate(source, LockWaitMs);
    hold.lock->execute(QStringLiteral("BEGIN IMMEDIATE"));

    // No other compaction can be under way now: a copy found is stale.
    for (const QString &stale : leftovers(copy)) {
        try {
            FileOps::remove(stale);
        } catch (const RuntimeError &) {
            throw RuntimeError(Err::DatabaseExists, QStringLiteral("Database %1 already exists.").arg(stale));
        }
        if (leftoversRemoved && !stale.endsWith(QStringLiteral("-journal"), Qt::CaseInsensitive))
            *leftoversRemoved << stale;
    }

    try {
        {
            auto reader = Database::openSeparate(source, LockWaitMs);
            reader->run(QStringLiteral("VACUUM INTO ?"), {QFileInfo(copy).absoluteFilePath()});
            reader->close();
        }
        FileOps::syncToDisk(copy);
        try {
            if (copyHook())
                copyHook()(copy);
            auto check = Database::openSeparate(copy);
            check->verify();
            const bool same = rowCounts(*check) == rowCounts(*hold.lock);
            check->close();
            if (!same)
                throw RuntimeError(Err::General, QStringLiteral("it does not hold every row of the database"));
        } catch (const RuntimeError &e) {
            throw RuntimeError(Err::General, QStringLiteral("The compacted copy %1 failed its check, so it was not used: %2")
                                                 .arg(QDir::toNativeSeparators(copy), e.description()));
        }
        FileOps::replace(copy, target);
    } catch (const RuntimeError &e) {
        for (const QString &f : filesOf(copy))
            removeQuietly(f);
        // A copy that cannot be made, or fails its check, may carry the
        // file's own damage along: then the damage is what the user is told.
        if (e.number() == Err::NotADatabase || e.number() == Err::General)
            refuseDamaged(*hold.lock, source);
        throw;
    }
    removeQuietly(filesOf(copy).last());
    // The file kept its capital name until now: the old name goes (unless
    // the file system takes both names for the one file).
    if (QFileInfo(source).fileName() != QFileInfo(target).fileName() && !FileOps::identity(source).sameFileAs(FileOps::identity(target)))
        removeQuietly(source);
    FileOps::syncToDisk(folder);
}

} // namespace Compaction
