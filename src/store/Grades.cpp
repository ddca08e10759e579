#include "Grades.h"

#include "Schema.h"

#include <QHash>
#include <cmath>

namespace Grades {

std::optional<QString> letterFor(qint64 earned, const QVariant &a, const QVariant &b, const QVariant &c, const QVariant &d,
                                 const QVariant &f)
{
    auto atLeast = [earned](const QVariant &t) { return !t.isNull() && t.isValid() && earned >= t.toLongLong(); };
    auto below = [earned](const QVariant &t) { return !t.isNull() && t.isValid() && earned < t.toLongLong(); };
    if (atLeast(a))
        return QStringLiteral("(A)");
    if (atLeast(b) && below(a))
        return QStringLiteral("(B)");
    if (atLeast(c) && below(b))
        return QStringLiteral("(C)");
    if (atLeast(d) && below(c))
        return QStringLiteral("(D)");
    if (atLeast(f))
        return QStringLiteral("(F)");
    return std::nullopt;
}

std::optional<double> gradePoints(const QString &letter)
{
    static const QHash<QString, double> points = {
        {QStringLiteral("A+"), 4},    {QStringLiteral("A"), 4},     {QStringLiteral("A-"), 3.66}, {QStringLiteral("B+"), 3.33},
        {QStringLiteral("B"), 3},     {QStringLiteral("B-"), 2.66}, {QStringLiteral("C+"), 2.33}, {QStringLiteral("C"), 2},
        {QStringLiteral("C-"), 1.66}, {QStringLiteral("D+"), 1.33}, {QStringLiteral("D"), 1},     {QStringLiteral("D-"), 0.66},
        {QStringLiteral("F"), 0}};
    const auto it = points.constFind(letter.toUpper());
    if (it == points.constEnd())
        return std::nullopt;
    return it.value();
}

QString gpaText(double gpa)
{
    if (!std::isfinite(gpa))
        return QString();
    if (gpa == std::floor(gpa))
        return QString::number(gpa, 'f', 0);
    return QString::number(gpa, 'f', 2);
}

bool GpaTotals::add(double creditHours, const QString &finalLetter)
{
    const Schema::Field *hours = Schema::field(QStringLiteral("Classes"), QStringLiteral("CreditHours"));
    if (!std::isfinite(creditHours) || creditHours < hours->minimum || creditHours > hours->maximum)
        return false;
    m_hours += creditHours;
    if (const auto points = gradePoints(finalLetter))
        m_quality += *points * creditHours;
    return true;
}

std::optional<double> GpaTotals::gpa() const
{
    if (m_quality == 0 || m_hours == 0)
        return std::nullopt;
    const double gpa = m_quality / m_hours;
    if (!std::isfinite(gpa))
        return std::nullopt;
    return gpa;
}

std::optional<qint64> pointsShy(const QVariant &threshold, const QString &earnedText)
{
    if (threshold.isNull() || !threshold.isValid())
        return std::nullopt;
    bool ok = false;
    const QString text = earnedText.trimmed();
    qint64 whole = text.toLongLong(&ok);
    if (!ok) {
        const double earned = text.toDouble(&ok);
        if (!ok || !std::isfinite(earned) || std::fabs(earned) >= 9.2e18)
            return std::nullopt;
        whole = static_cast<qint64>(std::trunc(earned));
    }
    bool isWhole = false;
    const qint64 limit = threshold.toLongLong(&isWhole);
    qint64 shy = 0;
    if (!isWhole || __builtin_sub_overflow(limit, whole, &shy))
        return std::nullopt;
    return shy;
}

} // namespace Grades
