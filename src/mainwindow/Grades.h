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
// decimals, rounded ("3.57" for 25 / 7).
QString gpaText(double gpa);

// Points still missing to a threshold ("Points shy of"): the threshold minus
// the whole part of the earned points; nullopt when either is missing.
std::optional<qint64> pointsShy(const QVariant &threshold, const QString &earnedText);

} // namespace Grades
