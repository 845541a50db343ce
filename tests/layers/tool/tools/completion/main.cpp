// A program over the core reads the folder its line of the layer order names.
#include "settings/ProfileLayout.h"
