// The whole class framework in one include: TApplication, TWindow,
// TFrameWindow, TDecoratedFrame, TDialog, TRadioButton, the response-table
// macros (command_table.h) and the failure record (framework_error.h).
#pragma once

#include "framework/application.h"
#include "framework/decorated_frame.h"
#include "framework/dialog.h"
#include "framework/frame_window.h"
#include "framework/framework_error.h"
#include "framework/radio_button.h"
#include "framework/window.h"
