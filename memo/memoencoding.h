#pragma once

// How a memo's file holds its characters. A new memo is Shift-JIS.
enum class MemoEncoding { ShiftJis };
