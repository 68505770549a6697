#pragma once
// Faults brought on the real program from outside: full and read-only file
// systems (mounted from under Wine through /bin/sh, which needs root), files
// held open by another process, and the figures of the program's process
// for the endurance run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"

// The Unix path of a Windows path, by Wine's own mapping; empty when the
// tests do not run under Wine.
std::string UnixPathOf(const std::string& windowsPath);

// Runs a command line with /bin/sh -c (it must hold no double quote) and
// waits for it; its exit status, or -1 when it did not run or end in time.
int RunUnixShell(const std::string& command, DWORD timeoutMs = 30000);

// Empty when faults can be mounted here; otherwise why not, for GTEST_SKIP.
std::string WhyNoMounts();

// A file system mounted on a folder or file for the life of the object and
// unmounted (lazily, so that a test that failed half-way cannot block it).
class UnixMount {
public:
    // A tmpfs of `size` (mount's -o size=) on the folder.
    static UnixMount Tmpfs(const std::string& windowsDir, const char* size);
    // The file or folder bound onto itself read-only: no process, root
    // included, writes or replaces it.
    static UnixMount ReadOnlyBind(const std::string& windowsPath);

    UnixMount(UnixMount&& other) noexcept;
    ~UnixMount();
    bool ok() const { return m_bMounted; }
    // mount -o remount,<options> on the target ("ro", "rw").
    bool Remount(const char* options) const;

    UnixMount(const UnixMount&) = delete;
    UnixMount& operator=(const UnixMount&) = delete;
    UnixMount& operator=(UnixMount&&) = delete;

private:
    UnixMount(const std::string& target, const std::string& mountArguments);
    std::string m_target;
    bool m_bMounted = false;
};

// Fills the file system of a folder: writes `file` there until no byte more
// fits. False if the disk never said it was full.
bool FillDisk(const std::string& file);

// Holds a file open with no sharing, as another program can.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock() { Release(); }
    bool ok() const { return m_hFile != INVALID_HANDLE_VALUE; }
    void Release();

    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    HANDLE m_hFile;
};

// Under Wine the X server has a say in which window is active around a
// pop-up and a message box, so the memo window may lose the activation, and
// save, at any moment then. A test pins the window so that only its own
// commands save, and lets the ending save what the editor kept.
::testing::AssertionResult Pin(const MemoApp& app);
// Clicks another program and waits until the memo window hid (it saved).
::testing::AssertionResult Deactivate(MemoApp& app);
// Clicks another program when the save is to fail: returns the message box
// that the program shows, or null.
HWND DeactivateIntoMessageBox(MemoApp& app);
// The caption and text of a message box, dismissed; "<no box>" when null.
std::string ReadAndDismiss(HWND box);

// Last write time of a file (0 when it has none).
ULONGLONG LastWriteTime(const std::string& path);

// What the program's process holds. Wine has no per-process count of USER
// and GDI objects (GetGuiResources gives 0 there): the windows of the
// process stand in for the USER objects, and a GDI leak shows in the bytes.
struct ProcessFigures {
    DWORD handles = 0;       // the system's process list
    DWORD userObjects = 0;   // GetGuiResources
    DWORD gdiObjects = 0;    // GetGuiResources
    DWORD windows = 0;       // top-level and child windows
    SIZE_T privateBytes = 0; // PrivateUsage, or PagefileUsage where that is 0
};
ProcessFigures MeasureProcess(const MemoApp& app);
