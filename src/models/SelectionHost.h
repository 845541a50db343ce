#pragma once

#include "settings/StreamingMode.h"

// What the video-selection dialogs need of the main window: the streaming mode, the HTML5 choice
// they mirror (and may switch through the main window's own change handling), and the warning
// marker `lblVideoFilesStatus` they show and hide.
class SelectionHost {
  public:
    virtual ~SelectionHost() = default;
    virtual StreamingMode streamingMode() const = 0;
    virtual bool html5() const = 0;
    virtual void setHtml5(bool on) = 0;
    virtual bool videoFilesStatusVisible() const = 0;
    virtual void setVideoFilesStatusVisible(bool visible) = 0;
};
