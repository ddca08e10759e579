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

    QLineEdit *Text1;
    QLineEdit *Text2;
    QLineEdit *Text3;
    QLineEdit *Text4;
    QLineEdit *Text5;
    QLineEdit *Text6;
    QLineEdit *Text7;
    QLineEdit *Text8;
    QLineEdit *Text9;
    QLineEdit *Text10;
    QPlainTextEdit *Text11;
    QCheckBox *SSCheck1;
    QPushButton *Command1;
    QPushButton *SSCommand1;
};
