// uic makes ui_FrmA.h from the form beside this file; no form makes ui_FrmB.h.
#include "ui_FrmA.h"
#include "ui_FrmB.h"
