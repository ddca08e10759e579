#pragma once
// "Add New Assignment": the title, type, due date and points possible of a
// new assignment of the current class.
#include "platform/Form.h"

class DataSource;
class DateCombo;
class QComboBox;
class QLineEdit;
class QPushButton;

class frmAddAssignment : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmAddAssignment)
public:
    frmAddAssignment();

    DataSource *Data1; // the table Assignments, on the new row
    DataSource *datAssignmentTypes;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private Q_SLOTS:
    void Command1_Click();

private:
    QLineEdit *Text1; // field AssignmentTitle
    QComboBox *Combo1; // field AssignmentType (the class's assignment types)
    DateCombo *SSDateCombo1; // field DateDue
    QLineEdit *Text2; // field MaxPointsPossible
    QPushButton *Command1; // "Done"
};
