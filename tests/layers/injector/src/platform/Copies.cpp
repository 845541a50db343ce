// The bottom floor copying through the injector, which sits above it: the layer check must refuse
// it. The copy that injects lives with the generation run that makes it.
#include "flv/CopyInjector.h"
#include "platform/FileOps.h"
