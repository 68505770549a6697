#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/globals.h"
#include "startup/links.h"
#include "startup/shelllink.h"

namespace {
// COM for the length of one link operation. CoUninitialize is paired only
// with a CoInitialize that succeeded, so a caller's own apartment survives.
class ComApartment {
public:
    ComApartment() : m_hr(CoInitialize(nullptr)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_hr;
};

// The shell's link object with its IPersistFile; both are released when it
// ends, whichever step failed.
class LinkObject {
public:
    LinkObject()
    {
        m_hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&m_pLink));
        if (SUCCEEDED(m_hr)) m_hr = m_pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&m_pFile));
    }
    ~LinkObject()
    {
        if (m_pFile) m_pFile->Release();
        if (m_pLink) m_pLink->Release();
    }
    LinkObject(const LinkObject&) = delete;
    LinkObject& operator=(const LinkObject&) = delete;

    HRESULT result() const { return m_hr; }
    IShellLinkA* link() const { return m_pLink; }
    IPersistFile* file() const { return m_pFile; }

private:
    HRESULT m_hr;
    IShellLinkA* m_pLink = nullptr;
    IPersistFile* m_pFile = nullptr;
};

// IPersistFile takes UTF-16 names; a name longer than MAX_PATH is refused.
HRESULT ToWide(const char* path, WCHAR (&out)[MAX_PATH])
{
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, out, MAX_PATH) == 0) return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

// workingDir may be null: not read then.
HRESULT ReadLinkFields(IShellLinkA* link, char* path, char* workingDir, char* description)
{
    WIN32_FIND_DATAA data;
    HRESULT hr = link->GetPath(path, kPathSize, &data, SLGP_RAWPATH);
    if (SUCCEEDED(hr) && workingDir) hr = link->GetWorkingDirectory(workingDir, kPathSize);
    if (FAILED(hr)) return hr;
    return link->GetDescription(description, kPathSize);
}

// Loads a link file and reads its fields, resolving it first when asked. A
// half-read link matches nothing, so any failure empties them all.
HRESULT ReadLink(const char* linkFile, bool resolve, HWND owner, char* path, char* workingDir, char* description)
{
    path[0] = '\0';
    description[0] = '\0';
    if (workingDir) workingDir[0] = '\0';
    ComApartment com;
    LinkObject object;
    if (FAILED(object.result())) return object.result();
    WCHAR wideFile[MAX_PATH];
    HRESULT hr = ToWide(linkFile, wideFile);
    if (SUCCEEDED(hr)) hr = object.file()->Load(wideFile, STGM_READ);
    if (SUCCEEDED(hr) && resolve) hr = object.link()->Resolve(owner, SLR_NO_UI | SLR_ANY_MATCH);
    if (SUCCEEDED(hr)) hr = ReadLinkFields(object.link(), path, workingDir, description);
    if (FAILED(hr)) {
        path[0] = '\0';
        description[0] = '\0';
        if (workingDir) workingDir[0] = '\0';
    }
    return hr;
}
}  // namespace

HRESULT CreateShellLink(const char* linkPath, const char* targetPath, const char* workingDir,
                        const char* description)
{
    ComApartment com;
    LinkObject object;
    if (FAILED(object.result())) return object.result();
    WCHAR widePath[MAX_PATH];
    HRESULT hr = ToWide(linkPath, widePath);
    if (FAILED(hr)) return hr;
    object.link()->SetPath(targetPath);
    object.link()->SetWorkingDirectory(workingDir);
    if (description) object.link()->SetDescription(description);
    return object.file()->Save(widePath, TRUE);
}

HRESULT ReadShellLink(HWND owner, const char* linkFile, char* path, char* description)
{
    return ReadLink(linkFile, true, owner, path, nullptr, description);
}

HRESULT ReadLinkAsStored(const char* linkPath, char* path, char* workingDir, char* description)
{
    return ReadLink(linkPath, false, nullptr, path, workingDir, description);
}
