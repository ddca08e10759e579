#include "CalendarItems.h"

#include "store/Database.h"
#include "store/Recordset.h"

namespace {

// An item without a time shows at 1:00 PM; an entry there also stands for
// such a row, or the user could never delete an event added without a time.
const QString Match = QStringLiteral(
    "SELECT * FROM CalItems WHERE date(ItemDate) = ? AND (time(ItemTime) = ? OR (ItemTime IS NULL AND ? = '13:00:00')) "
    "AND SAMETEXT(ItemText, ?) ORDER BY ID");

QVariantList matchParams(const QDate &date, const QTime &start, const QString &text)
{
    const QString time = start.toString(QStringLiteral("HH:mm:ss"));
    return {date.toString(Qt::ISODate), time, time, text};
}

} // namespace

namespace CalendarItems {

bool isStored(Database &db, const QDate &date, const QTime &start, const QString &text)
{
    return !db.openRecordset(Match, Database::Snapshot, matchParams(date, start, text))->isEmpty();
}

bool isAssignmentTitle(Database &db, const QString &text)
{
    return !db.openRecordset(QStringLiteral("SELECT * FROM Assignments WHERE SAMETEXT(AssignmentTitle, ?)"), Database::Snapshot, {text})
                ->isEmpty();
}

void store(Database &db, const QDate &date, const QTime &start, const QString &text)
{
    auto rs = db.openRecordset(QStringLiteral("SELECT * FROM CalItems WHERE ID IS NULL"), Database::Dynaset);
    rs->AddNew();
    try {
        rs->setValue(QStringLiteral("ItemDate"), date);
        rs->setValue(QStringLiteral("ItemTime"), start);
        rs->setValue(QStringLiteral("AlarmEnabledNotice"), true);
        rs->setValue(QStringLiteral("ItemText"), text);
        rs->setValue(QStringLiteral("ItemDetails"), text);
        rs->Update();
    } catch (...) {
        rs->CancelUpdate();
        throw;
    }
}

bool deleteFirst(Database &db, const QDate &date, const QTime &start, const QString &text)
{
    auto rs = db.openRecordset(Match, Database::Dynaset, matchParams(date, start, text));
    if (rs->isEmpty())
        return false;
    rs->MoveFirst();
    rs->Delete();
    return true;
}

int storeTyped(Database &db, const QDate &date, const QVector<DayEntry> &entries)
{
    int stored = 0;
    for (const DayEntry &e : entries) {
        if (!e.typed || e.text.isEmpty())
            continue;
        if (isStored(db, date, e.start, e.text) || isAssignmentTitle(db, e.text))
            continue;
        store(db, date, e.start, e.text);
        ++stored;
    }
    return stored;
}

} // namespace CalendarItems
