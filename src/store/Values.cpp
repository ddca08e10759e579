#include "Values.h"

#include "platform/DateText.h"
#include "platform/RuntimeError.h"

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

qint64 wholeNumber(const Schema::Field *f, const QVariant &value)
{
    bool ok = false;
    double d = 0;
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool() ? -1 : 0;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: d = value.toDouble(); ok = std::isfinite(d); break;
    default: d = value.toString().trimmed().toDouble(&ok); break;
    }
    if (!ok || std::isnan(d)) // "nan" reads as a number, but is none
        throw mismatch(f, value, "a number");
    if (std::fabs(d) > 9.0e15)
        throw RuntimeError(Err::Overflow, QStringLiteral("Overflow: %1 is too large for the field %2.").arg(value.toString(), f->name));
    return static_cast<qint64>(std::nearbyint(d)); // halves to even, as the engine rounds
}

} // namespace

namespace Values {

QVariant fromStorage(const Schema::Field *field, const QVariant &raw)
{
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
    case Schema::Type::Long: return QVariant(static_cast<int>(raw.toLongLong()));
    case Schema::Type::Double: return QVariant(raw.toDouble());
    case Schema::Type::DateTime: {
        const QString s = raw.toString();
        if (s.size() == 10) {
            const QDate d = QDate::fromString(s, Qt::ISODate);
            if (d.isValid())
                return QVariant(d);
        } else if (s.size() == 8) {
            const QTime t = QTime::fromString(s, QStringLiteral("HH:mm:ss"));
            if (t.isValid())
                return QVariant(t);
        } else if (s.size() == 19) {
            const QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (dt.isValid())
                return QVariant(dt);
        }
        const QVariant v = DateText::parse(s);
        return v.isValid() ? v : QVariant(s);
    }
    case Schema::Type::Text:
    case Schema::Type::Memo: return QVariant(raw.toString());
    }
    return raw;
}

QVariant toStorage(const Schema::Field *f, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    if (!f)
        return value;
    const bool isText = value.typeId() == QMetaType::QString;
    const bool blank = isText && value.toString().trimmed().isEmpty();
    switch (f->type) {
    case Schema::Type::Boolean: {
        if (blank)
            return QVariant();
        if (isText) {
            const QString s = value.toString().trimmed();
            if (s.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || s.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0)
                return 1;
            if (s.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0 || s.compare(QStringLiteral("no"), Qt::CaseInsensitive) == 0)
                return 0;
        }
        return wholeNumber(f, value) != 0 ? 1 : 0;
    }
    case Schema::Type::Integer:
    case Schema::Type::Long: {
        if (blank)
            return QVariant();
        const qint64 n = wholeNumber(f, value);
        const qint64 lo = f->type == Schema::Type::Integer ? -32768 : std::numeric_limits<qint32>::min();
        const qint64 hi = f->type == Schema::Type::Integer ? 32767 : std::numeric_limits<qint32>::max();
        if (n < lo || n > hi)
            throw RuntimeError(Err::Overflow, QStringLiteral("Overflow: %1 is too large for the field %2.").arg(n).arg(f->name));
        return QVariant(static_cast<int>(n));
    }
    case Schema::Type::Double: {
        if (blank)
            return QVariant();
        bool ok = false;
        const double d = isText ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw mismatch(f, value, "a number");
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
        if (f->type == Schema::Type::Text && s.size() > f->length)
            throw RuntimeError(Err::FieldTooSmall,
                               QStringLiteral("The text for %1 is too long: %2 characters, at most %3 are allowed.")
                                   .arg(f->name).arg(s.size()).arg(f->length));
        return QVariant(s);
    }
    }
    return value;
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
