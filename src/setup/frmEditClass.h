#pragma once
// The class editor: the main window's current class with its title, teacher
// data, credit hours, GPA flag, point thresholds and notes. Each activation
// finds the current class again; Done or the close box store the boxes.
// "Edit Schedule" opens the weekly schedule editor over it, modal.
#include "platform/Form.h"

class DataSource;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmEditClass : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmEditClass)
public:
    frmEditClass();

    // The classes, positioned on the class being edited.
    DataSource *datClasses;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private Q_SLOTS:
    void Command1_Click();
    void SSCommand1_Click();

private:
    // The remembered selection names the class: it follows a rename.
    void followRename();
    QString m_shownName;

    QLineEdit *Text1; // field Points_Grade_A
    QLineEdit *Text2; // field Points_Grade_B
    QLineEdit *Text3; // field Points_Grade_C
    QLineEdit *Text4; // field Points_Grade_D
    QLineEdit *Text5; // field PointsPossible
    QLineEdit *Text6; // field ClassName
    QLineEdit *Text7; // field TeacherName
    QLineEdit *Text8; // field TeacherPhone
    QLineEdit *Text9; // field TeacherEMail
    QLineEdit *Text10; // field CreditHours
    QPlainTextEdit *Text11; // field ClassNotes
    QCheckBox *SSCheck1; // field AppliesToGPA: "Class applies to overall GPA?"
    QPushButton *Command1; // "Done"
    QPushButton *SSCommand1; // "Edit Schedule"
};
