#pragma once
// The calendar window: the day view of the selected date, the to-do grid and
// the month view, whose days are marked where calendar items and due dates
// fall. It opens beside the main window and shows the main window when it
// closes.
#include "MonthMarks.h"
#include "platform/Form.h"

#include <QRect>
#include <QString>
#include <QTime>
#include <QVector>

class DataGrid;
class DataSource;
class DayView;
class MonthView;
class QPushButton;
class QSplitter;

class frmCalendar : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmCalendar)
public:
    frmCalendar();

    // The main window's Calendar command: shows the window.
    static void open();

    // Where the window opens (frame rectangles): as large as the main
    // window, level with it, and as far from the screen's left edge as the
    // main window is wide; moved left and up, and made smaller, as far as
    // needed to be whole on the screen's available area.
    static QRect placeBesideMainWindow(const QRect &mainFrame, const QRect &available);

    DataSource *datTasks;
    DataSource *datAssignments;
    DataSource *datCalendar;

public Q_SLOTS:
    // "Add Event", also offered by a double click on a day.
    void cmdAddEvent_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void SSMonth1_SelChange(const QString &selDate);
    void SSMonth1_DblClick();
    void gridTasks_GotFocus();
    void SSDay1_CloseEdit(int taskIndex, const QTime &start, const QTime &end, const QString &text);
    void SSDay1_DeleteTask(bool *rtnCancel, bool *rtnDispPromptMsg);
    void SSCommand1_Click();
    void SSCommand2_Click();

private:
    void markDays();
    void showDay(const QString &selDate);

    QSplitter *SSSplitter1; // the day, the to-do list and the month side by side
    DayView *SSDay1; // the chosen day's events by the hour
    DataGrid *gridTasks;
    MonthView *SSMonth1; // the month: picks the day, marks days with events
    QPushButton *cmdAddEvent;
    QPushButton *SSCommand1; // "Delete Event"
    QPushButton *SSCommand2; // "Exit Calendar"

    // The month marks are made at the first activation of each opening;
    // those of the due dates as the assignments stood when the window loaded.
    bool m_marksDone = false;
    // The to-do hint is on its way up (the grid may get the focus again meanwhile).
    bool m_toDoHintComing = false;
    QVector<MonthMarks::MonthDay> m_dueMarks;
    // The date last selected in the month view, as its text.
    QString m_lastSelected;
};
