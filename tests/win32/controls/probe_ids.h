// Resource and control ids of the controls probe. Shared by the program and
// its resource script.
#pragma once

#define PROBE_PANEL 100      // modeless: every control class, laid out like the program's dialog
#define PROBE_BOX 101        // modal: a small box with an OK button that has no text of its own

#define PROBE_PICTURE_BUTTON 108  // owner-drawn standard button over the picture
#define PROBE_PICTURE 110
#define PROBE_KOI8 101
#define PROBE_CP1251 102
#define PROBE_DISABLE 103
#define PROBE_CTRLSHIFT_LR 104
#define PROBE_SCROLL_LOCK 105
#define PROBE_NUM_LOCK 106
#define PROBE_CTRLSHIFT_CYCLED 107
#define PROBE_TYPEWRITER 111
#define PROBE_PHONETIC 112
#define PROBE_CODING_BOX 201
#define PROBE_TOGGLE_BOX 202
#define PROBE_LAYOUT_BOX 109

#define PROBE_BOX_TEXT 101
#define PROBE_BOX_FRAME 102
#define PROBE_BOX_LINE 103
#define PROBE_BOX_PICTURE 104
