// The windows' pictures are drawn by the real windows: everything below src/ui is open to it.
#include "app/MainController.h"
#include "platform/Clock.h"
#include "ui/FrmMain.h"
