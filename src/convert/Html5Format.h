#pragma once

// The two kinds of HTML5 copy: an MP4 (H.264 + AAC), which every browser with a video element
// plays, and a WebM (VP9 + Opus).
enum class Html5Format { Mp4, WebM };
