// A bare name of a header of another folder (the injector's library): only a flat include path
// finds it, so the layer check must refuse it. Its own header, named bare, is fine.
#include "Remux.h"
#include "FlvReader.h"
#include "flv/ByteSource.h"
