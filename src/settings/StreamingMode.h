#pragma once

// How the videos reach the player; stored in profiles as its digit.
enum class StreamingMode { Normal = 1, Rtmp = 2, Pseudo = 3 };
