#pragma once
// The face and cell height, in pixels, of the memo window's own captions
// (the strip's check boxes) from Windows Vista on. No windows.h here: the
// tests make the same font to measure those captions.
constexpr char kMainFontFace[] = "メイリオ";
constexpr int kMainFontHeight = 21;
