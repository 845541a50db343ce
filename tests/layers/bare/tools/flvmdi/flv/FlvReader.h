#pragma once

// Inside the library, its own headers are named bare.
#include "ByteSource.h"
