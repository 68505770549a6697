#pragma once
// The settings window shows the memo window's opacity (Alpha, 0 = invisible,
// 255 = opaque) as a transparency in percent. No windows.h here: a plain
// rule.

// Alpha outside 0..255 (a hand-edited ini file) counts as the nearest valid
// value, so the percentage always lies within 0..100.
int AlphaToPercent(int alpha);

// Percent outside 0..100 counts as the nearest valid value, so the result
// always lies within 0..255.
int PercentToAlpha(int percent);
