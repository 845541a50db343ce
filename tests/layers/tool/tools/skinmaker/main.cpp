// A build tool that stands on no layer of src/: the layer check must refuse its include of one.
#include "SkinStyle.h"
#include "settings/ProfileLayout.h"
