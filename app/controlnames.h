#pragma once
// The names of the memo window's picture controls: their window text, which
// screen readers announce and the tooltips show, and the key that does the
// same from the editor (the accelerators in res/MossvanePad.rc), for them
// and for the strip's other controls. No windows.h here.

struct ControlName {
    int id;           // IDC_NEWMEMO ... IDC_SETTING, IDC_FILELIST ... IDC_PIN
    const char* name;  // null: the control's window text is its name
    const char* key;   // null: no key
};

// The entry of control `id`, or null for a control that says its own name.
const ControlName* FindControlName(int id);
