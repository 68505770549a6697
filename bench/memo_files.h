#pragma once
// The memos that the benchmarks put into the program's folder.
#include <string>

class MemoApp;

// A memo of exactly `size` bytes of ordinary short lines whose first line
// is its name.
std::string MemoText(const std::string& name, size_t size);
// The name's line, then `lines` lines of ordinary words of `lineBytes`
// bytes each, their line breaks included.
std::string LongLinesText(const std::string& name, size_t lineBytes, int lines);

// `count` one-line memos "memo 00000" and on in the memo folder.
void WriteSmallMemos(const MemoApp& app, int count);
// Stores the memo and names it in the settings file as the memo shown
// last, which the program shows again when it starts.
void WriteLastMemo(const MemoApp& app, const std::string& name, const std::string& text);
// The memo's file, as a path that another program can open.
std::string MemoPath(const MemoApp& app, const std::string& name);
