#pragma once
// Private window messages and control ids of the program's windows. The
// memo window's class, title and WM_SHOWMEMO belong to the hook library.
#include "hook/memowindow.h"

#define WM_INITCTRL 0x8002     // sent to a control right after it is created and subclassed; lParam: CStartLook*
#define WM_EDITMOUSE 0x8003    // wParam: 1 = mouse left the editor; lParam: show command
#define WM_SETTINGDONE 0x8004  // wParam: 1 = closed without Done; lParam: the new opacity, 0 to 255
#define WM_TRAYNOTIFY 0x800A   // wParam: tray icon id; lParam: mouse message
#define WM_STARTED 0x800B      // posted to the memo window as it is made: its start once the message loop runs
#define WM_MEMOMOVED 0x800C    // posted by the editor: its memo left it or was stored anew; the list and Startup box follow
#define WM_MEMOFILLED 0x800D   // posted by the editor: a long memo is all in
#define WM_SEARCHOPEN 0x800E   // sent by the search window: lParam, the SearchHit to open
#define WM_SEARCHDONE 0x800F   // sent by the search window as Esc or its close button closes it

// The memo list's timer: its look at the memo folder once a pop-up is done.
#define LIST_CATCHUP_TIMER 1

// The extra information of the pop-up's own click into the editor.
#define POPUP_CLICK_INFO 0x4D565044

#define IDC_NEWMEMO 1
#define IDC_COPYMEMO 2
#define IDC_DELETEMEMO 3
#define IDC_SETTING 4
#define IDC_EDIT 200
#define IDC_FILELIST 201
#define IDC_STARTUP 202
#define IDC_SHORTCUT 203
#define IDC_PIN 204

#define ID_SELECTALL 40001
#define ID_TIMESTAMP 40002
#define ID_SEARCH 40003    // Ctrl+F and the editor's menu: the search window
#define ID_FINDNEXT 40004  // F3: the next hit of the last search in the memo shown
#define ID_FINDPREV 40005  // Shift+F3: the previous one

#define ID_TRAYICON 1001
