#pragma once
#include <windows.h>

#include <optional>

#include "app/globals.h"

// The start's two looks into the memo folder, made on a thread of their own
// while the window is being made: a system that keeps no index of a folder
// (Wine) reads the whole folder for each, which with thousands of memos
// costs milliseconds a look. Each answer waits for the thread; without a
// thread the looks are made when first asked for. Start comes first.
class CStartLook {
public:
    CStartLook() = default;
    ~CStartLook();
    // Names the memo folder from the current directory, then looks by its
    // full name only: the current directory is the whole process's, and the
    // window's thread moves it meanwhile. A memo to be shown (the settings'
    // PrevFile, read before) tells the list that there is one, so then no
    // look for any memo is made ahead.
    void Start();
    // Whether the folder holds a memo the list would show.
    bool HasAnyMemo();
    // False only when the folder surely held none of the files an
    // interrupted save leaves there (their names begin with "~memo").
    bool MayHoldLeftovers();

    CStartLook(const CStartLook&) = delete;
    CStartLook& operator=(const CStartLook&) = delete;

private:
    static DWORD WINAPI Run(void* self);
    void Look();
    bool LookForAnyMemo() const;
    void Join();
    void Wait();

    char m_szFolder[kPathSize] = "";
    HANDLE m_hThread = nullptr;
    bool m_bMemoShown = false;
    bool m_bLooked = false;
    std::optional<bool> m_anyMemo;  // only where looked for ahead
    bool m_bLeftovers = true;
};
