#pragma once
// The class wizard: makes one class of a semester in four steps (semester,
// name and dates; credit hours and point thresholds; weekly times; teacher
// and notes). Its opener shows it and then appends the blank class row
// through `datClasses`; every bound box edits that row. Finish saves it,
// Cancel and the close box delete it again.
#include "platform/Form.h"

#include <QVariant>

class DataSource;
class DateCombo;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class frmClassWizzy : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmClassWizzy)
public:
    frmClassWizzy();

    // The class being made. Its record source starts without rows: it only
    // ever holds the row the opener appends, so nothing chosen or typed in
    // the wizard can reach another class.
    DataSource *datClasses;
    // The semester list and the chosen semester's look-up.
    DataSource *datSemesters;

    // The step shown, 1 to 4.
    int currentStep() const;

    // "Add a Class": shows the wizard and appends the blank class row it
    // fills. A wizard already open goes on with the class it is making.
    static void addClass();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void cboSemester_Click();
    void cmdNext_Click();
    void Command2_Click();
    void cmdCancel_Click();
    void datClasses_Reposition();

private:
    void cboSemester_KeyPress();
    void Finish();
    void showStep(int step);
    // Puts the chosen semester's key and dates into the boxes of the class
    // row, once that row exists.
    void applyChosenSemester();
    // Deletes the row appended for the wizard, ignoring errors.
    void discardNewClass();

    QGroupBox *Frame1; // step 1: semester, class name, start and end dates
    QGroupBox *Frame2; // step 2: credit hours, points possible, grade thresholds
    QGroupBox *Frame3; // step 3: class times, Monday to Sunday
    QGroupBox *Frame4; // step 4: teacher and notes
    QLabel *imgBooks;
    QLabel *imgBooks2; // the books picture of step 2
    QLabel *imgBooks3; // the books picture of step 3
    QLabel *imgBooks4; // the books picture of step 4

    QComboBox *cboSemester;
    QLineEdit *txtClassName;
    DateCombo *cboStart;
    DateCombo *cboEnd;
    QLineEdit *txtSemesterID;
    QLineEdit *txtCreditHours;
    QLineEdit *txtPointsPossible;
    QLineEdit *txtPoints_Grade_A;
    QLineEdit *txtPoints_Grade_B;
    QLineEdit *txtPoints_Grade_C;
    QLineEdit *txtPoints_Grade_D;
    QLineEdit *Text[14]; // Text1 to Text14: Monday start ... Sunday end
    QLineEdit *txtTeacherName;
    QLineEdit *txtTeacherPhone;
    QLineEdit *txtTeacherEMail;
    QPlainTextEdit *Text18; // field ClassNotes

    QPushButton *cmdCancel;
    QPushButton *Command2; // "<< Previous"
    QPushButton *cmdNext;

    // Set up on the first activation: the list filled, the last semester chosen.
    bool m_prepared = false;
    // The chosen semester, kept until the class row exists.
    bool m_semesterChosen = false;
    QVariant m_semesterId;
    QVariant m_semesterStart;
    QVariant m_semesterEnd;
    // Finish saved the class: the closing keeps the row.
    bool m_saved = false;
};
