// The run reaching into a window's model: the layer check must refuse it. The run asks the
// windows through Views, which is fine.
#include "models/MainWindowModel.h"
#include "platform/Views.h"
