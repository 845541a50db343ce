// A relative name that leaves its folder escapes the layer order: the layer check must refuse
// it, whatever the folder it climbs into.
#include "../models/Views.h"
#include "platform/Views.h"
