#include "memo/folderwatch.h"

#include "app/bounded.h"

CFolderWatch::~CFolderWatch()
{
    Stop();
}

void CFolderWatch::Stop()
{
    if (m_hChange != INVALID_HANDLE_VALUE) FindCloseChangeNotification(m_hChange);
    m_hChange = INVALID_HANDLE_VALUE;
    m_bStarted = false;
}

void CFolderWatch::Start(const char* folder)
{
    Stop();
    if (!CopyBounded(m_szFolder, sizeof(m_szFolder), folder) || !ReadWriteTime(m_written)) return;
    m_hChange = FindFirstChangeNotificationA(m_szFolder, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    m_bStarted = true;
}

bool CFolderWatch::Changed() const
{
    if (!m_bStarted) return true;
    if (m_hChange != INVALID_HANDLE_VALUE && WaitForSingleObject(m_hChange, 0) != WAIT_TIMEOUT) return true;
    FILETIME written;
    return !ReadWriteTime(written) || written.dwLowDateTime != m_written.dwLowDateTime ||
           written.dwHighDateTime != m_written.dwHighDateTime;
}

bool CFolderWatch::ReadWriteTime(FILETIME& written) const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(m_szFolder, GetFileExInfoStandard, &data)) return false;
    written = data.ftLastWriteTime;
    return true;
}
