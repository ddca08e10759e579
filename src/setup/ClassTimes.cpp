#include "ClassTimes.h"

#include "platform/DateText.h"

namespace ClassTimes {

std::optional<QTime> read(const QString &text) { return DateText::timeOfDay(text); }

QString show(const QTime &time) { return DateText::hmmAmPm(time); }

Checked check(const QString &text)
{
    if (text.trimmed().isEmpty())
        return {Checked::Empty, QString()};
    if (const auto time = read(text))
        return {Checked::Valid, show(*time)};
    return {Checked::Invalid, QString()};
}

int arrowTarget(int box, Arrow arrow)
{
    if (box < 0 || box >= BoxCount)
        return -1;
    const int day = box / 2;
    const bool start = box % 2 == 0;
    switch (arrow) {
    case Arrow::Left: return day > 0 ? box - 2 : -1;
    case Arrow::Right: return day < 6 ? box + 2 : -1;
    case Arrow::Up: return start ? -1 : box - 1;
    case Arrow::Down: return start ? box + 1 : -1;
    }
    return -1;
}

} // namespace ClassTimes
