#include "MonthView.h"

#include "platform/Clock.h"
#include "platform/DateText.h"

#include <QEvent>
#include <QPainter>
#include <QTableView>

MonthView::MonthView(QWidget *parent) : QCalendarWidget(parent)
{
    // The design's day styles and their looks.
    m_styles = {
        {QStringLiteral("(Today)"), QString(), QColor(), QColor(0, 0, 160)},
        {QStringLiteral("SemesterEnds"), QString(), QColor(220, 235, 255), QColor(0, 0, 128)},
        {QStringLiteral("ClassDay"), QString(), QColor(235, 245, 235), QColor(0, 96, 0)},
        {QStringLiteral("ClassStarts"), QString(), QColor(210, 240, 210), QColor(0, 96, 0)},
        {QStringLiteral("Sundays"), QString(), QColor(), QColor(128, 0, 0)},
        {QStringLiteral("ClassEnds"), QString(), QColor(210, 240, 210), QColor(0, 64, 0)},
        {QStringLiteral("SemesterStarts"), QString(), QColor(220, 235, 255), QColor(0, 0, 128)},
        {QStringLiteral("AssignmentDue"), QString(), QColor(255, 222, 173), QColor(170, 0, 0)},
    };
    setGridVisible(true);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setSelectedDate(Clock::today());
    if (auto *view = findChild<QTableView *>()) {
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);
    }
    connect(this, &QCalendarWidget::selectionChanged, this, [this] { Q_EMIT SelChange(selectedDateText()); });
    connect(this, &QCalendarWidget::activated, this, [this](QDate) {
        if (!m_doubleClicking)
            return;
        m_doubleClicking = false;
        Q_EMIT DblClick();
    });
}

bool MonthView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: m_doubleClicking = true; break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress: m_doubleClicking = false; break;
    default: break;
    }
    return QCalendarWidget::eventFilter(watched, event);
}

QStringList MonthView::dayStyleNames() const
{
    QStringList names;
    for (const DayStyle &s : m_styles)
        names << s.name;
    return names;
}

bool MonthView::hasDayStyle(const QString &name) const { return dayStyleNames().contains(name); }

bool MonthView::setDayStyleText(const QString &name, const QString &text)
{
    for (DayStyle &s : m_styles) {
        if (s.name == name) {
            s.text = text;
            return true;
        }
    }
    return false;
}

QString MonthView::dayStyleText(const QString &name) const
{
    for (const DayStyle &s : m_styles)
        if (s.name == name)
            return s.text;
    return QString();
}

bool MonthView::setDayStyle(int month, int day, const QString &style)
{
    if (!MonthMarks::isDayOfTheYear(month, day))
        return false;
    for (int i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i].name == style) {
            m_dayStyles.insert(MonthMarks::key(month, day), i);
            return true;
        }
    }
    return false;
}

QString MonthView::dayStyle(int month, int day) const
{
    const auto it = m_dayStyles.constFind(MonthMarks::key(month, day));
    return it == m_dayStyles.cend() ? QString() : m_styles[*it].name;
}

QString MonthView::dayStyleOf(const QDate &date) const
{
    return date.isValid() ? dayStyle(date.month(), date.day()) : QString();
}

void MonthView::clearDayStyles()
{
    m_dayStyles.clear();
    Repaint();
}

QString MonthView::dayText(const QDate &date) const
{
    const DayStyle *s = styleFor(date);
    return s ? s->text : QString();
}

std::optional<QDate> MonthView::cellDate(const QString &dateText) { return DateText::parseDate(dateText); }

QString MonthView::dateText(const QDate &date) { return DateText::shortDate(date); }

QString MonthView::selectedDateText() const { return dateText(selectedDate()); }

void MonthView::Repaint() { updateCells(); }

const MonthView::DayStyle *MonthView::styleFor(const QDate &date) const
{
    if (!date.isValid())
        return nullptr;
    const auto it = m_dayStyles.constFind(MonthMarks::key(date.month(), date.day()));
    return it == m_dayStyles.cend() ? nullptr : &m_styles[*it];
}

void MonthView::paintCell(QPainter *painter, const QRect &rect, QDate date) const
{
    const DayStyle *style = styleFor(date);
    const bool selected = date == selectedDate();
    if (!style || selected) {
        QCalendarWidget::paintCell(painter, rect, date);
    } else {
        painter->save();
        painter->fillRect(rect, style->background.isValid() ? style->background : palette().base().color());
        QFont bold = font();
        bold.setBold(true);
        painter->setFont(bold);
        QColor fore = style->foreground;
        if (date.month() != monthShown())
            fore.setAlpha(110);
        painter->setPen(fore);
        painter->drawText(rect, Qt::AlignCenter, QString::number(date.day()));
        painter->restore();
    }
    painter->save();
    if (style && selected) {
        painter->setPen(QPen(style->foreground, 2));
        painter->drawRect(rect.adjusted(1, 1, -2, -2));
    }
    if (date == Clock::today()) {
        painter->setPen(QPen(m_styles.first().foreground, 1, Qt::DotLine));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}
