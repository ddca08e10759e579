#pragma once
// The splash window shown for a moment at start-up.
#include "platform/Form.h"

class QLabel;

class frmSplash : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmSplash)
public:
    frmSplash();
    static QString versionText();

private:
    QLabel *lblVersion;
};
