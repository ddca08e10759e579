#include "clsTarvelaDB.h"

#include "Compaction.h"
#include "Database.h"
#include "Recordset.h"
#include "Schema.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Trap.h"

#include <QDir>
#include <QFile>
#include <optional>

namespace {

QString lines(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *l : list)
        out << QString::fromLatin1(l);
    return out.join(QLatin1Char('\n'));
}

const char *statusFor(const QString &table)
{
    if (table == QLatin1String("Assignments")) return "Creating Assignments table";
    if (table == QLatin1String("AssignmentTypes")) return "Creating AssignmentTypes table";
    if (table == QLatin1String("CalItems")) return "Creating CalItems table";
    if (table == QLatin1String("Classes")) return "Creating Classes table";
    if (table == QLatin1String("Contacts")) return "Creating contacts table";
    if (table == QLatin1String("QuizItems")) return "Creating QuizItems table";
    if (table == QLatin1String("Quizzes")) return "Creating Quizzes table";
    if (table == QLatin1String("Semesters")) return "Creating Semesters table";
    return "Creating Tasks table";
}

} // namespace

bool clsTarvelaDB::Create_Tarvela_DB(const QString &folder)
{
    m_lastError.clear();
    const QString path = QDir(folder).filePath(databaseFileName());

    // An old file (whatever the letter case of its name) goes first.
    const QString old = Platform::findFileNoCase(folder, databaseFileName());
    if (FileOps::exists(old)) {
        Database::closeConnection(old);
        try {
            FileOps::remove(old);
        } catch (const RuntimeError &e) {
            if (e.number() == Err::PathFileAccess) {
                Q_EMIT Notice(lines({"The Tarvela database could not be created ", "because the old database was opened or",
                                        "was read-only and therefore could not ", "be deleted.", "",
                                        "Please close or disable any applications", "using Tarvela or adjust access rights",
                                        "and try again."}), QStringLiteral("Old TARVELA.MDB opened"), NoticeKind::Information);
                m_lastError = e.description();
                return false;
            }
        }
    }

    if (!FileOps::canCreateIn(folder)) {
        m_lastError = QStringLiteral("The folder %1 does not exist or cannot be written.").arg(folder);
        return false;
    }

    std::shared_ptr<Database> db;
    try {
        db = Database::create(path);
        // The whole schema goes in as one piece: a failure leaves no half-made file.
        db->beginTrans();
        for (const Schema::Table &table : Schema::tables()) {
            Q_EMIT StatusText(QString::fromLatin1(statusFor(table.name)));
            db->execute(Schema::createStatement(table));
            if (table.name == QLatin1String("AssignmentTypes")) {
                auto rs = db->openRecordset(QStringLiteral("AssignmentTypes"), Database::Table);
                for (const QString &type : Schema::seedAssignmentTypes()) {
                    rs->AddNew();
                    rs->setValue(QStringLiteral("AssignmentTypeText"), type);
                    rs->Update();
                }
                rs->Close();
            }
        }
        // The indexes the queries need (no part of the program reads them).
        for (const Schema::Index &index : Schema::indexes())
            db->execute(Schema::createIndexStatement(index));
        for (const QString &statement : Schema::createStatements(Schema::assignmentText()))
            db->execute(statement);
        db->commitTrans();
        db->close();
    } catch (const RuntimeError &e) {
        m_lastError = e.description();
        if (db) {
            db->rollback();
            db->close();
            QFile::remove(path);
        }
        return false;
    }
    Q_EMIT StatusText(QStringLiteral("Database creation completed"));
    return true;
}

bool clsTarvelaDB::Compact_Tarvela_DB(const QString &folder)
{
    Q_EMIT StatusText(QStringLiteral("Beginning compacting operation on the Tarvela database"));
    const QString source = Platform::findFileNoCase(folder, databaseFileName());
    const QString target = QDir(folder).filePath(databaseFileName());
    const QString temp = QDir(folder).filePath(compactFileName());
    QStringList leftovers;
    std::optional<RuntimeError> failure;
    try {
        Compaction::run(source, target, temp, &leftovers);
    } catch (const RuntimeError &e) {
        failure = e;
    }
    // A copy an earlier compaction left behind no longer blocks this one.
    if (!leftovers.isEmpty())
        Q_EMIT Notice(QStringLiteral("A copy left behind by an earlier compaction was removed:\n%1")
                             .arg(QDir::toNativeSeparators(leftovers.join(QLatin1Char('\n')))), QStringLiteral("TARVELAC.MDB removed"), NoticeKind::Information);
    if (!failure) {
        Q_EMIT StatusText(QStringLiteral("Compacting operation on the Tarvela database was successful"));
        return true;
    }
    const RuntimeError &e = *failure;
    if (e.number() == Err::DatabaseExists) {
        Q_EMIT Notice(lines({"The Tarvela database could not be compacted ", "because the temporary destination file,  ",
                                "tarvelac.mdb, already exists.", "", "Please delete the file (TARVELAC.MDB) and try",
                                "compacting your database again."}), QStringLiteral("TARVELAC.MDB exists"), NoticeKind::Information);
        return false;
    }
    const QString where = QStringLiteral("\n\nYour database is unchanged: %1").arg(source);
    if (e.number() == Err::NotADatabase) {
        Q_EMIT Notice(QStringLiteral("The Tarvela database could not be compacted because it is damaged:\n%1%2\n\n"
                                        "Start Tarvela Desk again: its check at the start finds the damage, and when only the "
                                        "indexes are damaged it offers to rebuild them without losing a row. When more is "
                                        "damaged, put your last backup copy of tarvela.mdb in its place.")
                             .arg(e.description(), where), QStringLiteral("Database Damaged"), NoticeKind::Critical);
        return false;
    }
    if (e.number() == Err::PathFileAccess || e.number() == Err::Locked) {
        // Held by another program, or a file that cannot be renamed or removed.
        const QString cause = e.number() == Err::Locked ? QStringLiteral("\n\n") + e.description() : QString();
        Q_EMIT Notice(lines({"The Tarvela database could not be compacted ", "because the old database was opened or",
                                "was read-only and therefore could not ", "be deleted.", "",
                                "Please close or disable any applications", "using Tarvela or adjust access rights",
                                "and try again."}) + cause + where, QStringLiteral("Old TARVELA.MDB opened"), NoticeKind::Information);
    } else {
        Q_EMIT Notice(e.description() + where, Trap::titleOf(e, QStringLiteral("Database not compacted")), NoticeKind::Critical);
    }
    return false;
}
