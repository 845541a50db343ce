// Two folders of one rank do not include each other: the layer check must refuse this.
#include "appearance/SkinList.h"
#include "convert/Html5Copy.h"
#include "platform/AppError.h"
