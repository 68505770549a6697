#pragma once
// What the keyboard hook library and the program agree on: the memo window
// that every key is forwarded to, and the message that carries the key.

#define MAIN_WINDOW_CLASS "MossvanePad"
#define MAIN_WINDOW_TITLE "MossvanePad"

#define WM_SHOWMEMO 0x8001  // wParam: virtual-key code; lParam: 1 = show unconditionally
