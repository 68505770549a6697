#pragma once
#include <windows.h>

// Tells whether files may have been added to, removed from or renamed in a
// folder since it was last read. A change notification answers at once on
// a local disk; the folder's last write time answers where no notification
// comes (some network folders). Either one saying so is enough: a change
// seen twice costs one more listing, a change missed leaves the list wrong.
class CFolderWatch {
public:
    CFolderWatch() = default;
    ~CFolderWatch();
    // Call before reading the folder, so that a change made while it is read
    // counts as a change.
    void Start(const char* folder);
    // True until Start has been called, and when the folder cannot be asked.
    bool Changed() const;

    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

private:
    void Stop();
    bool ReadWriteTime(FILETIME& written) const;

    char m_szFolder[MAX_PATH] = "";
    HANDLE m_hChange = INVALID_HANDLE_VALUE;
    FILETIME m_written = {};
    bool m_bStarted = false;
};
