#pragma once
// Scoring a quiz: a typed answer is right when, turned to upper case and
// stripped of leading and trailing blanks, it equals the stored answer so
// treated. A stored answer without value is never right.
#include <QString>
#include <QVariant>

class QuizScore
{
public:
    // The form in which answers are compared.
    static QString normalised(const QString &answer);
    static bool isRight(const QString &typed, const QVariant &stored);

    // Counts one answer; returns whether it was right.
    bool answer(const QString &typed, const QVariant &stored);

    int answersGiven() const { return m_given; }
    int rightAnswers() const { return m_right; }
    // "You've scored N out of a possible M points."
    QString message() const;

private:
    int m_given = 0;
    int m_right = 0;
};
