// The whole class framework in one include: TApplication, TWindow,
// TFrameWindow, TDecoratedFrame, TDialog, TRadioButton and the response-table
// macros (command_table.h).
#pragma once

#include "framework/application.h"
#include "framework/decorated_frame.h"
#include "framework/dialog.h"
#include "framework/frame_window.h"
#include "framework/radio_button.h"
#include "framework/window.h"
