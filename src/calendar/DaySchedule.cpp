#include "DaySchedule.h"

#include "platform/DateText.h"
#include "store/Database.h"
#include "store/Recordset.h"

#include <QHash>

namespace DaySchedule {

QColor red() { return QColor(255, 0, 0); }

std::optional<ClassTimeFields> classTimeFields(const QString &weekday)
{
    // The order in which the weekday names are tried.
    static const char *const days[] = {"Monday", "Tuesday", "Wednesday", "Friday", "Saturday", "Sunday", "Thursday"};
    for (const char *day : days) {
        const QString name = QString::fromLatin1(day);
        if (weekday == name)
            return ClassTimeFields{name + QStringLiteral("From"), name + QStringLiteral("To")};
    }
    return std::nullopt;
}

DayEntry itemEntry(const QVariant &itemTime, const QString &text)
{
    DayEntry e;
    e.text = text;
    e.colour = red();
    if (const auto t = DateText::toTime(itemTime)) {
        e.start = *t;
        e.end = t->addSecs(60);
    } else {
        e.start = QTime(13, 0);
        e.end = QTime(13, 1);
    }
    return e;
}

std::optional<DayEntry> assignmentEntry(const QVariant &from, const QVariant &to, const QString &title)
{
    const auto start = DateText::toTime(from);
    const auto end = DateText::toTime(to);
    if (!start || !end)
        return std::nullopt;
    DayEntry e;
    e.text = title;
    e.colour = red();
    e.start = *start;
    e.end = (*start == QTime(0, 0) && *end == QTime(0, 0)) ? QTime(0, 30) : *end;
    return e;
}

DayEntry todoEntry(const QString &details)
{
    DayEntry e;
    e.text = QStringLiteral("(To-Do) ") + details;
    e.start = QTime(0, 0);
    e.end = QTime(1, 0);
    return e;
}

Content build(Database &db, const QDate &date)
{
    Content content;
    const QString day = date.toString(Qt::ISODate);

    auto items = db.openRecordset(QStringLiteral("SELECT * FROM CalItems WHERE date(ItemDate) = ? ORDER BY ID"),
                                  Database::Snapshot, {day});
    for (; !items->isEOF(); items->MoveNext()) {
        const QString text = items->value(QStringLiteral("ItemText")).toString();
        if (text.isEmpty())
            continue;
        const QVariant time = items->value(QStringLiteral("ItemTime"));
        content.entries.push_back(itemEntry(time, text));
        const QVariant details = items->value(QStringLiteral("ItemDetails"));
        if (DateText::toTime(time) && !details.isNull())
            content.details = details.toString();
    }
    items->Close();

    const std::optional<ClassTimeFields> fields = classTimeFields(DateText::weekdayName(date));
    auto due = db.openRecordset(QStringLiteral("SELECT * FROM Assignments WHERE date(DateDue) = ? ORDER BY ID"),
                                Database::Snapshot, {day});
    // The class times of the day, looked up once for each class the due
    // work belongs to; none when there is no such class.
    QHash<QString, std::optional<QPair<QVariant, QVariant>>> times;
    for (; !due->isEOF(); due->MoveNext()) {
        const QString title = due->value(QStringLiteral("AssignmentTitle")).toString();
        const QVariant classId = due->value(QStringLiteral("Class_ID"));
        if (title.isEmpty() || classId.isNull() || !fields)
            continue;
        const QString key = QString::number(classId.typeId()) + QLatin1Char(' ') + classId.toString();
        auto known = times.find(key);
        if (known == times.end()) {
            auto cls = db.openRecordset(QStringLiteral("SELECT * FROM Classes WHERE ID = ?"), Database::Snapshot, {classId});
            known = times.insert(key, cls->isEmpty() ? std::nullopt
                                                     : std::optional(qMakePair(cls->value(fields->from), cls->value(fields->to))));
            cls->Close();
        }
        if (*known) {
            if (auto e = assignmentEntry((*known)->first, (*known)->second, title))
                content.entries.push_back(*e);
        }
    }
    due->Close();

    auto todos = db.openRecordset(QStringLiteral("SELECT * FROM Tasks WHERE date(\"Date\") = ? ORDER BY TaskID"),
                                  Database::Snapshot, {day});
    for (; !todos->isEOF(); todos->MoveNext())
        content.entries.push_back(todoEntry(todos->value(QStringLiteral("Details")).toString()));
    todos->Close();
    return content;
}

} // namespace DaySchedule
