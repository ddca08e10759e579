#pragma once
// The month view of the calendar window: a month calendar whose days can be
// given named day styles. A day's style is kept by month and day number, so
// it shows in every year the view pages to. Selecting a day raises
// SelChange with its date as text ("M/d/yyyy"); a double click on a day
// raises DblClick.
#include "MonthMarks.h"

#include <QCalendarWidget>
#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class MonthView : public QCalendarWidget
{
    Q_OBJECT
public:
    // A named day style: its text and its looks.
    struct DayStyle {
        QString name;
        QString text;
        QColor background;
        QColor foreground;
    };

    explicit MonthView(QWidget *parent = nullptr);

    // The view's day styles, from its design: "(Today)", "SemesterEnds",
    // "ClassDay", "ClassStarts", "Sundays", "ClassEnds", "SemesterStarts",
    // "AssignmentDue".
    QStringList dayStyleNames() const;
    bool hasDayStyle(const QString &name) const;
    // The text attribute of a named style; false for an unknown name.
    bool setDayStyleText(const QString &name, const QString &text);
    QString dayStyleText(const QString &name) const;

    // The day cell of a month and day number: gives it a named style
    // (false when the day or the style does not exist).
    bool setDayStyle(int month, int day, const QString &style);
    // The style of a day ("" for none), whatever its year.
    QString dayStyle(int month, int day) const;
    QString dayStyleOf(const QDate &date) const;
    void clearDayStyles();
    // The text of a day's cell: the text of its style ("" for none).
    QString dayText(const QDate &date) const;

    // The day cell a date text names, as the date it stands for; nullopt
    // when the text is no date.
    static std::optional<QDate> cellDate(const QString &dateText);
    // The text form of a date in SelChange.
    static QString dateText(const QDate &date);
    QString selectedDateText() const;

    // Draws all cells again.
    void Repaint();

Q_SIGNALS:
    void SelChange(const QString &selDate);
    void DblClick();

protected:
    void paintCell(QPainter *painter, const QRect &rect, QDate date) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const DayStyle *styleFor(const QDate &date) const;

    QVector<DayStyle> m_styles;
    QHash<int, int> m_dayStyles; // MonthMarks::key -> index into m_styles
    bool m_doubleClicking = false;
};
