// The program includes its library by the library's folder.
#include "flv/FlvReader.h"
