/* Resource and control ids of Vyrtel.exe, shared by the resource scripts
   and the program. Plain #defines only: windres reads this file too. */
#ifndef VYRTEL_RESOURCE_IDS_H
#define VYRTEL_RESOURCE_IDS_H

#define IDI_VYRTEL 1001       /* icon group: the frame's large and small icon */
#define IDI_MODE_UKRAINIAN 1002  /* the notification-area icon: typing translated */
#define IDI_MODE_LATIN 1003      /* a coding chosen, typing not translated */
#define IDI_MODE_OFF 1004        /* no coding chosen */
#define IDB_EMBLEM 1          /* the trident emblem */
#define IDB_TITLE 2           /* the lettered title */

#define IDD_CONTROL 2000      /* the control dialog, the main window's client */
#define IDD_ABOUT 2001        /* the About box */

/* Controls of the control dialog. IDOK is "Minimize", IDCANCEL is "Exit". */
#define IDC_KOI8 101
#define IDC_CP1251 102
#define IDC_DISABLE 103
#define IDC_CTRL_SHIFT_LEFT_RIGHT 104
#define IDC_SCROLL_LOCK 105
#define IDC_NUM_LOCK 106
#define IDC_CTRL_SHIFT_CYCLED 107
#define IDC_ABOUT_BUTTON 108  /* owner-drawn button over the emblem */
#define IDC_LAYOUT_BOX 109
#define IDC_EMBLEM 110
#define IDC_TYPEWRITER 111
#define IDC_PHONETIC 112
#define IDC_CODING_BOX 201
#define IDC_TOGGLE_BOX 202

/* Controls of the About box. IDOK is its button. */
#define IDC_ABOUT_TEXT 101
#define IDC_ABOUT_FRAME 102
#define IDC_ABOUT_LINE 103

#endif
