#pragma once
#include <windows.h>

// The memo window's fonts at one DPI: the editor's, the memo list's, the
// strip's check boxes' and the tooltip's. A new set reaches every control before the old set
// is deleted.
class CMainFonts {
public:
    CMainFonts() = default;
    ~CMainFonts();
    CMainFonts(const CMainFonts&) = delete;
    CMainFonts& operator=(const CMainFonts&) = delete;

    // Makes the set for dpi; false (and the old set kept) when a font
    // cannot be made.
    bool Make(int dpi);
    // Hands the set made last to the controls (null ones are not made yet:
    // they take theirs as they are made) and deletes the set they had.
    void Apply(HWND editor, HWND list, HWND startup, HWND shortcut, HWND tooltip);

    HFONT Editor() const { return m_current[kEditor]; }
    HFONT List() const { return m_current[kList]; }
    HFONT Boxes() const { return m_current[kBoxes]; }
    HFONT Tip() const { return m_current[kTip]; }

private:
    enum { kEditor, kList, kBoxes, kTip, kCount };
    void Delete(HFONT (&fonts)[kCount]);

    HFONT m_current[kCount] = {};
    HFONT m_next[kCount] = {};
};
