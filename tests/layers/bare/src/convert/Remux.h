#pragma once

// The header of its own folder that Remux.cpp names bare.
