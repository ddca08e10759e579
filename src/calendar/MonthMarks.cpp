#include "MonthMarks.h"

#include "platform/DateText.h"
#include "store/Database.h"
#include "store/Recordset.h"

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
    auto rs = db.openRecordset(QStringLiteral("SELECT DISTINCT Month, Day FROM CalItems"), Database::Snapshot);
    for (; !rs->isEOF(); rs->MoveNext())
        if (const auto md = ofItem(rs->value(QStringLiteral("Month")), rs->value(QStringLiteral("Day"))))
            out << *md;
    return out;
}

QVector<MonthDay> ofDueDates(Database &db)
{
    QVector<MonthDay> out;
    auto rs = db.openRecordset(QStringLiteral("SELECT DISTINCT DateDue FROM Assignments"), Database::Snapshot);
    for (; !rs->isEOF(); rs->MoveNext())
        if (const auto md = ofDueDate(rs->value(QStringLiteral("DateDue"))))
            out << *md;
    return out;
}

} // namespace MonthMarks
