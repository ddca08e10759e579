#pragma once
// The semester wizard: an introduction page and a details page (title,
// start and end date). Every way out shows the main window again.
#include "platform/Form.h"

class DateCombo;
class QGroupBox;
class QLineEdit;
class QPushButton;

class frmAddSemesterWizard : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmAddSemesterWizard)
public:
    frmAddSemesterWizard();

    // Shows the wizard on its introduction page.
    void showIntroduction();

protected:
    void Form_Unload(bool &cancel) override;

private Q_SLOTS:
    void SSCommand1_Click();
    void SSCommand2_Click();

private:
    QGroupBox *fra1; // page 1: "Add Semester Wizard - Introduction"
    QGroupBox *fra2; // page 2: "Add Semester Wizard - Details"
    QLineEdit *Text1; // the new semester's Title
    DateCombo *SSDateCombo1; // its StartDate
    DateCombo *SSDateCombo2; // its EndDate
    QPushButton *SSCommand1; // "Next >>>", then "Finish"
    QPushButton *SSCommand2; // "Cancel"
};
