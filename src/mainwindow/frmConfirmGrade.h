#pragma once
// "Letter Grade Confirmation - Closing Class": confirms the final letter
// grade of the current class and closes the class out.
#include "platform/Form.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class frmConfirmGrade : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmConfirmGrade)
public:
    frmConfirmGrade();

    // The letter the grade book computed, proposed as the answer.
    void propose(const QString &letter);

private Q_SLOTS:
    void cmdDone_Click();

private:
    QLineEdit *txtTarvelaLetterGrade;
    QComboBox *cmbActualLetterGrade;
    QPushButton *cmdDone;
};
