#include "frmMain.h"
frmMain::frmMain() {}
