#pragma once
// "Tarvela Configuration": the list of assignment type names that the grid
// and the add-assignment window offer.
#include "platform/Form.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmConfiguration : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmConfiguration)
public:
    frmConfiguration();

protected:
    void Form_Activate() override;

private Q_SLOTS:
    void SSCommand1_Click();
    void SSCommand2_Click();
    void cmdDone_Click();

private:
    void RefreshAssignmentTypes();

    QGroupBox *SSFrame1; // "Assignment Types"
    QListWidget *lstAssignmentTypes;
    QPushButton *SSCommand1; // "Add" an assignment type
    QPushButton *SSCommand2; // "Remove" the chosen assignment type
    QPushButton *cmdDone;
    QLineEdit *txtItem;
};
