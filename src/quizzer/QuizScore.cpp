#include "QuizScore.h"

QString QuizScore::normalised(const QString &answer)
{
    qsizetype first = 0, last = answer.size() - 1;
    while (first <= last && answer.at(first) == QLatin1Char(' '))
        ++first;
    while (last >= first && answer.at(last) == QLatin1Char(' '))
        --last;
    return answer.mid(first, last - first + 1).toUpper();
}

bool QuizScore::isRight(const QString &typed, const QVariant &stored)
{
    if (stored.isNull() || !stored.isValid())
        return false;
    return normalised(typed) == normalised(stored.toString());
}

bool QuizScore::answer(const QString &typed, const QVariant &stored)
{
    ++m_given;
    const bool right = isRight(typed, stored);
    if (right)
        ++m_right;
    return right;
}

QString QuizScore::message() const
{
    return QStringLiteral("You've scored %1 out of a possible %2 points.").arg(m_right).arg(m_given);
}
