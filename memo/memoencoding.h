#pragma once

// How a memo's file holds its characters. A new memo is Shift-JIS; the
// others are kept for the files other programs wrote in them, byte-order
// mark (BOM) as found.
enum class MemoEncoding { ShiftJis, Utf8, Utf8Bom, Utf16Le, Utf16Be };
