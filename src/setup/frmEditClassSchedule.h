#pragma once
// The weekly schedule editor: a start and an end time for each weekday of
// one class, shown and re-entered as "h:mm AM/PM". A box is checked when it
// loses the focus; the arrow keys move through the grid. Done or the close
// box store the fourteen times.
#include "platform/Form.h"

#include "ClassTimes.h"

class DataSource;
class QLineEdit;
class QPushButton;

class frmEditClassSchedule : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmEditClassSchedule)
public:
    frmEditClassSchedule();

    // The class whose times are edited; the class editor positions it.
    DataSource *datClasses;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void cmdDone_Click();

private:
    // Rewrites a box's time as "h:mm AM/PM", empties a blank box, and clears
    // a box that holds no time, with a message and the focus back in it.
    void ValidateTime(QLineEdit *box);
    void validateAll();
    void box_GotFocus(QLineEdit *box);
    void box_LostFocus(QLineEdit *box);
    // True when the key moved the focus (the key is then used up).
    bool box_KeyDown(int index, int key);

    // Monday start, Monday end, Tuesday start, ... Sunday end.
    QLineEdit *m_boxes[ClassTimes::BoxCount];
    QLineEdit *txtMondayFrom;
    QLineEdit *txtMondayTo;
    QLineEdit *txtTuesdayFrom;
    QLineEdit *txtTuesdayTo;
    QLineEdit *txtWednesdayFrom;
    QLineEdit *txtWednesdayTo;
    QLineEdit *txtThursdayFrom;
    QLineEdit *txtThursdayTo;
    QLineEdit *txtFridayFrom;
    QLineEdit *txtFridayTo;
    QLineEdit *txtSaturdayFrom;
    QLineEdit *txtSaturdayTo;
    QLineEdit *txtSundayFrom;
    QLineEdit *txtSundayTo;
    QPushButton *cmdDone;
};
