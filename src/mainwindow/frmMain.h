#pragma once
#include "platform/Form.h"
class frmMain : public Form
{
    Q_OBJECT
    TARVELA_FORM(frmMain)
public:
    frmMain();
};
