#pragma once
// Reads and writes shell links the way the shell does, independently of the
// program's own link code, and names the shell's Startup folder. Shared by
// the component and the end-to-end tests.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

struct LinkFields {
    bool ok = false;
    std::string target;
    std::string workingDir;
    std::string description;
    std::string arguments;
};

namespace links_probe {
template <typename Use>
bool WithShellLink(Use use)
{
    HRESULT init = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&link))) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) && use(link, file);
    if (file) file->Release();
    if (link) link->Release();
    if (SUCCEEDED(init)) CoUninitialize();
    return ok;
}

inline std::wstring Wide(const std::string& text)
{
    WCHAR wide[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH * 2);
    return wide;
}
}  // namespace links_probe

// The link's raw fields, without resolving it.
inline LinkFields ReadLinkBack(const std::string& linkPath)
{
    LinkFields fields;
    fields.ok = links_probe::WithShellLink([&](IShellLinkA* link, IPersistFile* file) {
        if (FAILED(file->Load(links_probe::Wide(linkPath).c_str(), STGM_READ))) return false;
        char text[1024] = "";
        link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH);
        fields.target = text;
        text[0] = '\0';
        link->GetWorkingDirectory(text, sizeof(text));
        fields.workingDir = text;
        text[0] = '\0';
        link->GetDescription(text, sizeof(text));
        fields.description = text;
        text[0] = '\0';
        link->GetArguments(text, sizeof(text));
        fields.arguments = text;
        return true;
    });
    return fields;
}

// A link as a user or another program might leave it in the Startup folder.
inline bool WriteLink(const std::string& linkPath, const std::string& target, const std::string& workingDir,
                      const char* description)
{
    return links_probe::WithShellLink([&](IShellLinkA* link, IPersistFile* file) {
        link->SetPath(target.c_str());
        link->SetWorkingDirectory(workingDir.c_str());
        if (description) link->SetDescription(description);
        return SUCCEEDED(file->Save(links_probe::Wide(linkPath).c_str(), TRUE));
    });
}

// The shell's per-user Startup folder, with a trailing backslash.
inline std::string ShellStartupFolder()
{
    char folder[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
    return std::string(folder) + "\\";
}

// File names (with ".lnk") of the links in a folder ending with a backslash.
inline std::vector<std::string> LinkFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.lnk").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(entry.cFileName);
    while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

// Links of the shell's Startup folder whose target lies in `folder`, by file
// name. The Startup folder is shared by every test, so a test judges only
// the links into its own folder.
inline std::vector<std::pair<std::string, LinkFields>> StartupLinksInto(const std::string& folder)
{
    std::vector<std::pair<std::string, LinkFields>> links;
    std::string startup = ShellStartupFolder();
    for (const std::string& name : LinkFilesIn(startup)) {
        LinkFields fields = ReadLinkBack(startup + name);
        if (fields.target.compare(0, folder.size() + 1, folder + "\\") == 0) links.emplace_back(name, fields);
    }
    std::sort(links.begin(), links.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return links;
}

// Removes the Startup folder's links into a test's folder when the test
// starts and when it ends, however it ends.
class StartupLinksCleanup {
public:
    explicit StartupLinksCleanup(std::string folder) : m_folder(std::move(folder)) { Remove(); }
    ~StartupLinksCleanup() { Remove(); }

private:
    void Remove() const
    {
        for (const auto& link : StartupLinksInto(m_folder)) DeleteFileA((ShellStartupFolder() + link.first).c_str());
    }
    std::string m_folder;
};
