#include "memo/startlook.h"

#include "app/bounded.h"
#include "app/config.h"
#include "app/scopedhandles.h"
#include "memo/memofiles.h"
#include "memo/memoname.h"

CStartLook::~CStartLook()
{
    Join();
}

// A folder that cannot be named holds nothing the start could use, as
// the window's own looks would find.
void CStartLook::Start()
{
    m_bMemoShown = g_config && g_config->IsValid() && !IsReservedMemoName(g_config->PrevFile);
    if (!FormatMemoFolder(m_szFolder, sizeof(m_szFolder))) {
        m_bLooked = true;
        m_anyMemo = false;
        m_bLeftovers = false;
        return;
    }
    m_hThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

bool CStartLook::HasAnyMemo()
{
    Wait();
    return m_anyMemo ? *m_anyMemo : LookForAnyMemo();
}

bool CStartLook::MayHoldLeftovers()
{
    Wait();
    return m_bLeftovers;
}

DWORD WINAPI CStartLook::Run(void* self)
{
    static_cast<CStartLook*>(self)->Look();
    return 0;
}

// The leftovers first: the editor asks for them before the list asks for a
// memo. A look that fails for any other reason than finding nothing leaves
// the leftovers to be looked for by name.
void CStartLook::Look()
{
    m_bLooked = true;
    char pattern[kPathSize];
    if (FormatBounded(pattern, sizeof(pattern), "%s%s", m_szFolder, kLeftoverPattern)) {
        WIN32_FIND_DATAA entry;
        ScopedFind find(pattern, entry);
        m_bLeftovers = find.ok() || GetLastError() != ERROR_FILE_NOT_FOUND;
    }
    // A leftover may be brought back as a memo before the list asks.
    if (!m_bLeftovers && !m_bMemoShown) m_anyMemo = LookForAnyMemo();
}

bool CStartLook::LookForAnyMemo() const
{
    char pattern[kPathSize];
    return FormatBounded(pattern, sizeof(pattern), "%s%s", m_szFolder, kMemoFilePattern) &&
           FindListedMemo(pattern, nullptr);
}

void CStartLook::Join()
{
    if (!m_hThread) return;
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}

void CStartLook::Wait()
{
    Join();
    if (!m_bLooked) Look();
}
