#pragma once
// Today's events: the assignments due today, the calendar items and the
// tasks dated today. Shown whenever any of the three tables holds a row.
#include "platform/Form.h"

class QListWidget;
class QPushButton;

class frmToday : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmToday)
public:
    frmToday();

protected:
    void Form_Load() override;

private Q_SLOTS:
    void cmdOK_Click();

private:
    QListWidget *lstToday;
    QPushButton *cmdOK;
};
