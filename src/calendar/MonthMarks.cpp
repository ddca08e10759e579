#include "MonthMarks.h"

#include "platform/DateText.h"
#include "store/Database.h"
#include "store/Recordset.h"
#include "store/Schema.h"
#include "store/Values.h"

#include <QDate>
#include <cmath>

namespace MonthMarks {

bool isDayOfTheYear(int month, int day) { return QDate(2000, month, day).isValid(); }

std::optional<MonthDay> ofItem(const QVariant &month, const QVariant &day)
{
    if (month.isNull() || day.isNull() || !month.isValid() || !day.isValid())
        return std::nullopt;
    bool okMonth = false, okDay = false;
    const double m = month.toDouble(&okMonth);
    const double d = day.toDouble(&okDay);
    if (!okMonth || !okDay || !std::isfinite(m) || !std::isfinite(d) || std::fabs(m) > 100 || std::fabs(d) > 100)
        return std::nullopt;
    const MonthDay md{static_cast<int>(std::trunc(m)), static_cast<int>(std::trunc(d))};
    if (!isDayOfTheYear(md.month, md.day))
        return std::nullopt;
    return md;
}

std::optional<MonthDay> ofDueDate(const QVariant &dateDue)
{
    const auto d = DateText::toDate(dateDue);
    if (!d || !d->isValid())
        return std::nullopt;
    return MonthDay{d->month(), d->day()};
}

QVector<MonthDay> ofItems(Database &db)
{
    QVector<MonthDay> out;
    // Each distinct pair of the items' months and days, read from their
    // index alone. A pair with an empty half marks nothing.
    const Schema::Field *month = Schema::field(QStringLiteral("CalItems"), QStringLiteral("Month"));
    const Schema::Field *day = Schema::field(QStringLiteral("CalItems"), QStringLiteral("Day"));
    for (const QVector<QVariant> &pair : db.readRows(QStringLiteral("SELECT DISTINCT Month, Day FROM CalItems")).rows)
        if (const auto md = ofItem(Values::fromStorage(month, pair.at(0)), Values::fromStorage(day, pair.at(1))))
            out << *md;
    return out;
}

QVector<MonthDay> ofDueDates(Database &db)
{
    QVector<MonthDay> out;
    // The due dates as the store writes them: each month and day they hold
    // is read once from their index, whatever the number of rows. Such a
    // date marks its month and day when it is a real date, which the 29th
    // of February is only in a leap year.
    const QString written = Schema::storedDateCondition(QStringLiteral("DateDue"));
    const QString days = QStringLiteral("WITH RECURSIVE md(k) AS ("
                                        "SELECT min(substr(DateDue, 6, 5)) FROM Assignments WHERE %1 "
                                        "UNION ALL SELECT (SELECT min(substr(DateDue, 6, 5)) FROM Assignments "
                                        "WHERE %1 AND substr(DateDue, 6, 5) > md.k) FROM md WHERE md.k IS NOT NULL) "
                                        "SELECT k FROM md WHERE k IS NOT NULL")
                             .arg(written);
    for (const QVector<QVariant> &row : db.readRows(days).rows) {
        const QString monthDay = row.first().toString();
        const MonthDay md{monthDay.left(2).toInt(), monthDay.mid(3, 2).toInt()};
        if (!isDayOfTheYear(md.month, md.day))
            continue;
        if (md == MonthDay{2, 29}) {
            bool leap = false;
            const QString years = QStringLiteral("SELECT substr(DateDue, 1, 4) FROM Assignments WHERE %1 AND substr(DateDue, 6, 5) = '02-29'")
                                      .arg(written);
            for (const QVector<QVariant> &year : db.readRows(years).rows)
                leap = leap || QDate::isLeapYear(year.first().toInt());
            if (!leap)
                continue;
        }
        out << md;
    }
    // Due dates in any other form (another program may write them so):
    // each distinct value read as the store reads it.
    auto rs = db.openRecordset(QStringLiteral("SELECT DISTINCT DateDue FROM Assignments WHERE NOT ") + written, Database::Snapshot);
    for (; !rs->isEOF(); rs->MoveNext())
        if (const auto md = ofDueDate(rs->value(QStringLiteral("DateDue"))))
            out << *md;
    return out;
}

} // namespace MonthMarks
