#include "Values.h"

#include "platform/DateText.h"
#include "platform/RuntimeError.h"
#include "platform/TextCodec.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace {

RuntimeError mismatch(const Schema::Field *f, const QVariant &value, const char *what)
{
    return RuntimeError(Err::TypeMismatch,
                        QStringLiteral("Type mismatch: \"%1\" is not %2 (field %3).")
                            .arg(value.toString(), QString::fromLatin1(what), f->name));
}

RuntimeError outOfRange(const Schema::Field *f, const QString &number, qint64 lo, qint64 hi)
{
    return RuntimeError(Err::Overflow, QStringLiteral("Overflow: %1 is out of range for the field %2, which takes whole numbers "
                                                      "from %3 to %4.")
                                           .arg(number, f->name)
                                           .arg(lo)
                                           .arg(hi));
}

// The smallest and largest whole number a field holds.
qint64 lowest(const Schema::Field *f)
{
    return f->type == Schema::Type::Integer ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
}
qint64 highest(const Schema::Field *f)
{
    return f->type == Schema::Type::Integer ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
}

// A value read as a number: exact for whole numbers written as digits,
// else as a double. Raises a type mismatch for what is no number.
struct Number {
    bool whole = false;
    qint64 n = 0;
    double d = 0;
};

Number readNumber(const Schema::Field *f, const QVariant &value)
{
    Number r;
    bool ok = false;
    switch (value.typeId()) {
    case QMetaType::Bool:
        r.whole = true;
        r.n = value.toBool() ? -1 : 0;
        return r;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        r.whole = true;
        r.n = value.toLongLong();
        return r;
    case QMetaType::ULongLong:
        if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max())) {
            r.d = value.toDouble();
            return r;
        }
        r.whole = true;
        r.n = value.toLongLong();
        return r;
    case QMetaType::Double:
    case QMetaType::Float: r.d = value.toDouble(); ok = true; break;
    default: {
        const QString text = value.toString().trimmed();
        r.n = text.toLongLong(&ok);
        if (ok) {
            r.whole = true;
            return r;
        }
        r.d = text.toDouble(&ok);
        break;
    }
    }
    if (!ok || std::isnan(r.d)) // "nan" reads as a number, but is none
        throw mismatch(f, value, "a number");
    return r;
}

// A whole number for a 16- or 32-bit field: a fraction is rounded as the
// engine rounds (a half to the even number); one out of the field's range
// raises an overflow.
qint64 wholeNumber(const Schema::Field *f, const QVariant &value)
{
    const Number r = readNumber(f, value);
    qint64 n = r.n;
    if (!r.whole) {
        const double rounded = std::nearbyint(r.d); // halves to even, as the engine rounds
        if (!(rounded >= double(lowest(f)) && rounded <= double(highest(f))))
            throw outOfRange(f, value.toString().trimmed(), lowest(f), highest(f));
        n = static_cast<qint64>(rounded);
    }
    if (n < lowest(f) || n > highest(f))
        throw outOfRange(f, QString::number(n), lowest(f), highest(f));
    return n;
}

bool isWholeNumberField(const Schema::Field *f)
{
    return f && (f->type == Schema::Type::Integer || f->type == Schema::Type::Long);
}

// Reads "YYYY-MM-DD", "HH:MM:SS" and "YYYY-MM-DD HH:MM:SS", the forms the
// store writes, without the general parser; invalid when the text is none
// of them.
int digitsAt(const QString &s, qsizetype at, int count)
{
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = s.at(at + i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

QDate isoDate(const QString &s, qsizetype at)
{
    if (s.at(at + 4) != QLatin1Char('-') || s.at(at + 7) != QLatin1Char('-'))
        return QDate();
    const int y = digitsAt(s, at, 4), m = digitsAt(s, at + 5, 2), d = digitsAt(s, at + 8, 2);
    if (y < 0 || m < 0 || d < 0)
        return QDate();
    return QDate(y, m, d);
}

QTime isoTime(const QString &s, qsizetype at)
{
    if (s.at(at + 2) != QLatin1Char(':') || s.at(at + 5) != QLatin1Char(':'))
        return QTime();
    const int h = digitsAt(s, at, 2), m = digitsAt(s, at + 3, 2), sec = digitsAt(s, at + 6, 2);
    if (h < 0 || m < 0 || sec < 0)
        return QTime();
    return QTime(h, m, sec);
}

QVariant storedDateTime(const QString &s)
{
    if (s.size() == 10) {
        const QDate d = isoDate(s, 0);
        if (d.isValid())
            return QVariant(d);
    } else if (s.size() == 8) {
        const QTime t = isoTime(s, 0);
        if (t.isValid())
            return QVariant(t);
    } else if (s.size() == 19 && s.at(10) == QLatin1Char(' ')) {
        const QDate d = isoDate(s, 0);
        const QTime t = isoTime(s, 11);
        if (d.isValid() && t.isValid())
            return QVariant(QDateTime(d, t));
    }
    // Anything else (a file written by another tool) goes the slow way.
    const QVariant v = DateText::parse(s);
    return v.isValid() ? v : QVariant(s);
}

} // namespace

namespace Values {

QVariant fromStorage(const Schema::Field *field, const QVariant &raw)
{
    // A yes/no field is never Null: one left so by another program reads as no.
    if (field && field->type == Schema::Type::Boolean && (raw.isNull() || !raw.isValid()))
        return QVariant(false);
    if (raw.isNull() || !raw.isValid())
        return QVariant();
    if (!field)
        return raw;
    switch (field->type) {
    case Schema::Type::Boolean:
        if (raw.typeId() == QMetaType::QString) {
            const QString s = raw.toString().trimmed();
            return QVariant(s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || (s.toInt() != 0));
        }
        return QVariant(raw.toLongLong() != 0);
    case Schema::Type::Integer:
    case Schema::Type::Long: {
        // Shown as stored, never cut to the field's width: a number in the
        // file beyond 32 bits reads as it is.
        switch (raw.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int: return QVariant(raw.toLongLong());
        case QMetaType::Double: {
            const double d = raw.toDouble();
            if (d == std::trunc(d) && std::fabs(d) < 9.2e18)
                return QVariant(static_cast<qlonglong>(d));
            return QVariant(d);
        }
        default: {
            bool ok = false;
            const qlonglong n = raw.toString().trimmed().toLongLong(&ok);
            return ok ? QVariant(n) : QVariant(raw.toString());
        }
        }
    }
    case Schema::Type::Double: {
        bool ok = false;
        const double d = raw.toDouble(&ok);
        return ok ? QVariant(d) : QVariant(raw.toString()); // a text in the file is shown as it is
    }
    case Schema::Type::DateTime: return storedDateTime(raw.toString());
    case Schema::Type::Text:
    case Schema::Type::Memo: return QVariant(raw.toString());
    }
    return raw;
}

QVariant toStorage(const Schema::Field *f, const QVariant &value)
{
    const bool isText = value.typeId() == QMetaType::QString;
    const bool blank = isText && value.toString().trimmed().isEmpty();
    // A yes/no field holds yes or no: nothing written into it is no.
    if (f && f->type == Schema::Type::Boolean && (value.isNull() || !value.isValid() || blank))
        return 0;
    if (value.isNull() || !value.isValid())
        return QVariant();
    if (!f)
        return value;
    switch (f->type) {
    case Schema::Type::Boolean: {
        if (isText) {
            const QString s = value.toString().trimmed();
            if (s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || s.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0)
                return 1;
            if (s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0 || s.compare(QStringLiteral("no"), Qt::CaseInsensitive) == 0)
                return 0;
        }
        const Number r = readNumber(f, value);
        return (r.whole ? r.n != 0 : r.d != 0) ? 1 : 0;
    }
    case Schema::Type::Integer:
    case Schema::Type::Long: {
        if (blank)
            return QVariant();
        return QVariant(static_cast<int>(wholeNumber(f, value)));
    }
    case Schema::Type::Double: {
        if (blank)
            return QVariant();
        bool ok = false;
        const double d = isText ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw mismatch(f, value, "a number");
        if (d < f->minimum || d > f->maximum)
            throw RuntimeError(Err::Overflow, QStringLiteral("Overflow: %1 is out of range for the field %2, which takes numbers "
                                                             "from %3 to %4.")
                                                  .arg(isText ? value.toString().trimmed() : QString::number(d, 'g', 15), f->name)
                                                  .arg(f->minimum, 0, 'g', 15)
                                                  .arg(f->maximum, 0, 'g', 15));
        return QVariant(d);
    }
    case Schema::Type::DateTime: {
        QVariant v = value;
        if (isText) {
            if (blank)
                return QVariant();
            v = DateText::parse(value.toString());
            if (!v.isValid())
                throw mismatch(f, value, "a date or time");
        }
        switch (v.typeId()) {
        case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
        case QMetaType::QTime: return v.toTime().toString(QStringLiteral("HH:mm:ss"));
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            if (dt.time() == QTime(0, 0))
                return dt.date().toString(Qt::ISODate);
            return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        default: throw mismatch(f, value, "a date or time");
        }
    }
    case Schema::Type::Text:
    case Schema::Type::Memo: {
        QString s;
        switch (value.typeId()) {
        case QMetaType::Bool: s = value.toBool() ? QStringLiteral("True") : QStringLiteral("False"); break;
        case QMetaType::QDate:
        case QMetaType::QTime:
        case QMetaType::QDateTime: s = DateText::general(value); break;
        default: s = value.toString(); break;
        }
        if (f->type == Schema::Type::Text) {
            // Counted in characters, as the database's own check counts.
            const qsizetype length = TextCodec::characterCount(s);
            if (length > f->length)
                throw RuntimeError(Err::FieldTooSmall,
                                   QStringLiteral("The text for %1 is too long: %2 characters, at most %3 are allowed.")
                                       .arg(f->name)
                                       .arg(length)
                                       .arg(f->length));
        }
        return QVariant(s);
    }
    }
    return value;
}

QVariant typedToStorage(const Schema::Field *f, const QVariant &value)
{
    if (isWholeNumberField(f) && value.typeId() == QMetaType::QString && !value.toString().trimmed().isEmpty()) {
        const Number r = readNumber(f, value);
        if (!r.whole && std::isfinite(r.d) && r.d != std::trunc(r.d))
            throw RuntimeError(Err::TypeMismatch, QStringLiteral("%1 takes whole numbers only: \"%2\" has a fraction. "
                                                                 "Type a whole number.")
                                                      .arg(f->name, value.toString().trimmed()));
    }
    return toStorage(f, value);
}

QString displayText(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime: return DateText::general(value);
    case QMetaType::Double: return QString::number(value.toDouble(), 'g', 15);
    default: return value.toString();
    }
}

bool isTrue(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return false;
    if (value.typeId() == QMetaType::QString) {
        const QString s = value.toString().trimmed();
        return s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || s.toInt() != 0;
    }
    return value.toLongLong() != 0 || value.toBool();
}

} // namespace Values
