#include "DateText.h"

#include <QRegularExpression>

namespace {

int fullYear(const QString &digits)
{
    const int y = digits.toInt();
    if (digits.size() <= 2)
        return y < 30 ? 2000 + y : 1900 + y;
    return y;
}

std::optional<QDate> make(int y, int m, int d)
{
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString ampm(const QTime &t) { return t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"); }
int hour12(const QTime &t)
{
    const int h = t.hour() % 12;
    return h == 0 ? 12 : h;
}

} // namespace

namespace DateText {

std::optional<QDate> parseDate(const QString &text)
{
    const QString s = text.trimmed();
    static const QRegularExpression mdy(QStringLiteral("^(\\d{1,2})([/-])(\\d{1,2})\\2(\\d{4}|\\d{2})$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    QRegularExpressionMatch m = mdy.match(s);
    if (m.hasMatch())
        return make(fullYear(m.captured(4)), m.captured(1).toInt(), m.captured(3).toInt());
    m = iso.match(s);
    if (m.hasMatch())
        return make(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return std::nullopt;
}

std::optional<QTime> parseTime(const QString &text)
{
    const QString s = text.trimmed();
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{1,2})(?::(\\d{1,2}))?(?::(\\d{1,2}))?\\s*(?:([AaPp])\\.?\\s*[Mm]\\.?)?$"));
    const QRegularExpressionMatch m = re.match(s);
    if (!m.hasMatch())
        return std::nullopt;
    const bool hasMinutes = !m.captured(2).isEmpty();
    const bool hasMarker = !m.captured(4).isEmpty();
    if (!hasMinutes && !hasMarker)
        return std::nullopt; // a bare number is not a time
    int h = m.captured(1).toInt();
    const int min = hasMinutes ? m.captured(2).toInt() : 0;
    const int sec = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (min > 59 || sec > 59)
        return std::nullopt;
    if (hasMarker) {
        if (h > 12)
            return std::nullopt;
        const bool pm = m.captured(4).compare(QStringLiteral("p"), Qt::CaseInsensitive) == 0;
        if (h == 12)
            h = 0;
        if (pm)
            h += 12;
    } else if (h > 23) {
        return std::nullopt;
    }
    return QTime(h, min, sec);
}

QVariant parse(const QString &text)
{
    const QString s = text.trimmed();
    if (s.isEmpty())
        return QVariant();
    if (auto d = parseDate(s))
        return QVariant(*d);
    if (auto t = parseTime(s))
        return QVariant(*t);
    // A date followed by a time, with a blank or an ISO "T" between them.
    static const QRegularExpression both(QStringLiteral("^(\\S+)(?:\\s+|T)(.+)$"));
    const QRegularExpressionMatch m = both.match(s);
    if (m.hasMatch()) {
        const auto d = parseDate(m.captured(1));
        const auto t = parseTime(m.captured(2));
        if (d && t)
            return QVariant(QDateTime(*d, *t));
    }
    return QVariant();
}

bool isDate(const QString &text) { return parse(text).isValid(); }

std::optional<QDate> toDate(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QDate: return value.toDate();
    case QMetaType::QDateTime: return value.toDateTime().date();
    case QMetaType::QTime: return QDate(1899, 12, 30);
    case QMetaType::QString: {
        const QVariant v = parse(value.toString());
        if (!v.isValid())
            return std::nullopt;
        return toDate(v);
    }
    default: return std::nullopt;
    }
}

std::optional<QTime> toTime(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QTime: return value.toTime();
    case QMetaType::QDateTime: return value.toDateTime().time();
    case QMetaType::QDate: return QTime(0, 0);
    case QMetaType::QString: {
        const QVariant v = parse(value.toString());
        if (!v.isValid())
            return std::nullopt;
        return toTime(v);
    }
    default: return std::nullopt;
    }
}

std::optional<QTime> timeOfDay(const QString &text)
{
    const QVariant value = parse(text);
    if (!value.isValid())
        return std::nullopt;
    return toTime(value);
}

QString mmddyyyy(const QDate &d)
{
    return QStringLiteral("%1/%2/%3").arg(d.month(), 2, 10, QLatin1Char('0')).arg(d.day(), 2, 10, QLatin1Char('0')).arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString shortDate(const QDate &d)
{
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString hmmAmPm(const QTime &t)
{
    return QStringLiteral("%1:%2 %3").arg(hour12(t)).arg(t.minute(), 2, 10, QLatin1Char('0')).arg(ampm(t));
}

QString hhmmAmPm(const QTime &t)
{
    return QStringLiteral("%1:%2 %3").arg(hour12(t), 2, 10, QLatin1Char('0')).arg(t.minute(), 2, 10, QLatin1Char('0')).arg(ampm(t));
}

QString longTime(const QTime &t)
{
    return QStringLiteral("%1:%2:%3 %4").arg(hour12(t)).arg(t.minute(), 2, 10, QLatin1Char('0')).arg(t.second(), 2, 10, QLatin1Char('0')).arg(ampm(t));
}

QString weekdayName(const QDate &d)
{
    static const char *const names[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    if (!d.isValid())
        return QString();
    return QString::fromLatin1(names[d.dayOfWeek() - 1]);
}

QString general(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate: return shortDate(value.toDate());
    case QMetaType::QTime: return longTime(value.toTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        if (dt.time() == QTime(0, 0))
            return shortDate(dt.date());
        return shortDate(dt.date()) + QLatin1Char(' ') + longTime(dt.time());
    }
    default: return value.toString();
    }
}

} // namespace DateText
