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
    QGroupBox *fra1;
    QGroupBox *fra2;
    QLineEdit *Text1;
    DateCombo *SSDateCombo1;
    DateCombo *SSDateCombo2;
    QPushButton *SSCommand1;
    QPushButton *SSCommand2;
};
