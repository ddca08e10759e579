#include "Grades.h"

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
    if (gpa == std::floor(gpa))
        return QString::number(static_cast<qint64>(gpa));
    return QString::number(gpa, 'f', 2);
}

std::optional<qint64> pointsShy(const QVariant &threshold, const QString &earnedText)
{
    if (threshold.isNull() || !threshold.isValid())
        return std::nullopt;
    bool ok = false;
    const double earned = earnedText.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return threshold.toLongLong() - static_cast<qint64>(std::trunc(earned));
}

} // namespace Grades
