#pragma once
// The item window: the date, time, summary, details and notice alarm of
// one calendar item, bound to its row. Add Event makes the row first and
// opens the window on it; Done stores the item's day, month and year, by
// which the month view marks it.
#include "platform/Controls.h"
#include "platform/Form.h"

class DataSource;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// A date box with up and down arrows that step its date by a day (the Up
// and Down keys do the same), besides its drop-down calendar.
class SpinDateCombo : public DateCombo
{
    Q_OBJECT
public:
    explicit SpinDateCombo(QWidget *parent = nullptr);
    // One day later (step 1) or earlier (-1); a box without a date starts
    // from today.
    void stepBy(int days);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

class frmCalItem : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmCalItem)
public:
    frmCalItem();

    // The Add Event command: stores a new item dated today at once and
    // shows the window on it.
    static void addEvent();

    DataSource *Data1; // the table CalItems, on the item shown

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool &cancel) override;

private Q_SLOTS:
    void cmdDone_Click();

private:
    // The time box holds a time or nothing; refused with a message otherwise.
    bool checkTime();
    // The date box holds a date or nothing; refused with a message otherwise.
    bool checkDate();

    SpinDateCombo *cmbEventDate;
    QLineEdit *Text3; // field ItemTime (the time of the item)
    QLineEdit *txtEventSummary;
    QPlainTextEdit *txtEventDetails;
    QCheckBox *chkVisual;
    QPushButton *cmdDone;
};
