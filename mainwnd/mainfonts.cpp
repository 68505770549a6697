#include "mainwnd/mainfonts.h"

#include "app/bounded.h"
#include "app/dpi.h"
#include "app/dpiscale.h"
#include "app/globals.h"

namespace {
const char kTextFace[] = "メイリオ";
const int kTextHeight = 21;  // the editor's and the memo list's, at 96 DPI

HFONT MakeFont(const char* face, int height96, int dpi)
{
    LOGFONTA font = {};
    font.lfHeight = ScaleForDpi(height96, dpi);
    CopyBounded(font.lfFaceName, sizeof(font.lfFaceName), face);
    return CreateFontIndirectA(&font);
}

HFONT MakeTipFont(int dpi)
{
    LOGFONTA font;
    return StatusFontForDpi(dpi, font) ? CreateFontIndirectA(&font) : nullptr;
}

void SendFont(HWND hWnd, HFONT font)
{
    if (hWnd) SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
}  // namespace

CMainFonts::~CMainFonts()
{
    Delete(m_current);
    Delete(m_next);
}

void CMainFonts::Delete(HFONT (&fonts)[kCount])
{
    for (HFONT& font : fonts) {
        if (font) DeleteObject(font);
        font = nullptr;
    }
}

bool CMainFonts::Make(int dpi)
{
    HFONT made[kCount] = {MakeFont(kTextFace, kTextHeight, dpi), MakeFont(kTextFace, kTextHeight, dpi),
                          MakeFont(g_pszFontFace, g_nFontHeight, dpi), MakeTipFont(dpi)};
    for (HFONT font : made) {
        if (font) continue;
        Delete(made);
        return false;
    }
    Delete(m_next);
    for (int i = 0; i < kCount; ++i) m_next[i] = made[i];
    return true;
}

void CMainFonts::Apply(HWND editor, HWND list, HWND startup, HWND shortcut, HWND tooltip)
{
    if (!m_next[kEditor]) return;
    SendFont(editor, m_next[kEditor]);
    SendFont(list, m_next[kList]);
    SendFont(startup, m_next[kBoxes]);
    SendFont(shortcut, m_next[kBoxes]);
    SendFont(tooltip, m_next[kTip]);
    Delete(m_current);
    for (int i = 0; i < kCount; ++i) {
        m_current[i] = m_next[i];
        m_next[i] = nullptr;
    }
}
