// TDecoratedFrame: the frame that applications derive their main window
// from: a TFrameWindow whose client is placed by the frame's layout (it
// fills the client area, see frame_window.h). The framework offers no
// decorations (tool bars, status bars): the program has none to place.
#pragma once

#include "framework/frame_window.h"

class TDecoratedFrame : public TFrameWindow {
public:
    TDecoratedFrame(TWindow* parent, const char* title, TWindow* client = nullptr)
        : TFrameWindow(parent, title, client) {}
};
