#pragma once
// The grade arithmetic of the grade book, without windows: the letter a
// points total reaches, the grade points of a final letter, the GPA text.
#include <QString>
#include <QVariant>
#include <optional>

namespace Grades {

// The letter "(A)" ... "(F)" that `earned` reaches against the thresholds (an
// empty threshold, Null, blocks the tests it takes part in); nullopt when no
// test holds, so the letter shown stays as it was.
std::optional<QString> letterFor(qint64 earned, const QVariant &a, const QVariant &b, const QVariant &c,
                                 const QVariant &d, const QVariant &f);

// Grade points of a final letter, compared after conversion to capitals and
// without trimming; nullopt for any other text.
std::optional<double> gradePoints(const QString &letter);

// The GPA as shown: a whole number as its digits, otherwise the first two
// decimals, rounded ("3.57" for 25 / 7); empty for a value that is no
// finite number.
QString gpaText(double gpa);

// The running totals of a GPA calculation over closed classes.
class GpaTotals
{
public:
    // Adds a closed class: its credit hours, and its grade points times its
    // credit hours. False, adding nothing, when the credit hours are outside
    // what a class can carry (0 to Schema::MaxCreditHours) or no number.
    bool add(double creditHours, const QString &finalLetter);
    // The GPA; nullopt when there is none to show (no quality points or no
    // credit hours, as the calculation stops then, or no finite result).
    std::optional<double> gpa() const;

private:
    double m_hours = 0;
    double m_quality = 0;
};

// Points still missing to a threshold ("Points shy of"): the threshold minus
// the whole part of the earned points; nullopt when either is missing.
std::optional<qint64> pointsShy(const QVariant &threshold, const QString &earnedText);

} // namespace Grades
