#pragma once
// The About window with the program's version.
#include "platform/Form.h"

class QLabel;
class QPushButton;

class frmAbout : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmAbout)
public:
    frmAbout();

protected:
    void Form_Load() override;

private Q_SLOTS:
    void cmdExit_Click();

private:
    QLabel *lblVersion;
    QPushButton *cmdExit;
};
