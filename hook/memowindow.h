#pragma once
// What the keyboard hook library and the program agree on: the memo window
// that every key is forwarded to, and the message that carries the key.

#define MAIN_WINDOW_CLASS "MossvanePad"
#define MAIN_WINDOW_TITLE "MossvanePad"

// wParam: virtual-key code. lParam from the hook library: SHOWMEMO_RELEASED
// or 0 (a press); from a second start of the program: SHOWMEMO_FORCE.
#define WM_SHOWMEMO 0x8001
#define SHOWMEMO_FORCE 1
#define SHOWMEMO_RELEASED 0x80000000  // the keystroke's transition bit (KF_UP in its high word)
