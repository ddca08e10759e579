#pragma once
// "Assignment Detail": one assignment's figures and dates, with its comments
// to read and write. It shows the main window's current assignment each
// time it becomes active.
#include "platform/Form.h"

class DataSource;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmAssignmentDetail : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmAssignmentDetail)
public:
    frmAssignmentDetail();

    // Assignment > Details: the window on the current assignment, when there is one.
    static void showCurrentAssignment();

    DataSource *Data1; // the current assignment's row

protected:
    void Form_Load() override;
    void Form_Activate() override;

private Q_SLOTS:
    void Command1_Click();

private:
    QLabel *Label1; // field AssignmentTitle
    QLabel *Label2; // field MaxPointsPossible
    QLabel *Label3; // field ActualPoints
    QLabel *Label5; // field DateDue
    QLabel *Label7; // field DateEntered
    QLabel *Label9; // field AssignmentType
    QPlainTextEdit *Text1; // field Comments
    QPushButton *Command1; // "Done"
};
