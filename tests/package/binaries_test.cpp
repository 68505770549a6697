// The built 32-bit program and hook library read as PE files on the build
// machine: the two must agree on the decorated export names, and the
// library, which the system maps into every process with keyboard input,
// must carry nothing but its hook.
#include "tests/package/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <ostream>
#include <set>
#include <utility>

void PrintTo(const PeImage::Export& e, std::ostream* out)
{
    *out << "{\"" << e.name << "\", " << e.ordinal << "}";
}

namespace {
const uint32_t kSharedBit = 0x10000000;  // IMAGE_SCN_MEM_SHARED
const uint16_t kMachineI386 = 0x14C;
const uint16_t kSubsystemWindowsGui = 2;
const uint16_t kFileDll = 0x2000;

std::string BinPath(const char* file)
{
    const char* dir = getenv("MOSSVANE_BIN_DIR");
    if (!dir) throw std::runtime_error("MOSSVANE_BIN_DIR is not set");
    return std::string(dir) + "/" + file;
}

const PeImage& HookDll()
{
    static const PeImage image(BinPath("MossvaneHook.dll"));
    return image;
}

const PeImage& ProgramExe()
{
    static const PeImage image(BinPath("MossvanePad.exe"));
    return image;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

std::set<std::string> ImportedDlls(const PeImage& image)
{
    std::set<std::string> dlls;
    for (const PeImage::Import& import : image.Imports()) dlls.insert(Upper(import.dll));
    return dlls;
}

TEST(HookImage, ExportsOnlyTheTwoDecoratedNamesUnderItsModuleName)
{
    EXPECT_EQ("MossvaneHook.dll", HookDll().ExportModuleName());
    const std::vector<PeImage::Export> expected = {{"?freehook@@YGXXZ", 1}, {"?sethook@@YGXXZ", 2}};
    const std::vector<PeImage::Export> exports = HookDll().Exports();
    EXPECT_EQ(expected, exports);
    for (const PeImage::Export& e : exports) EXPECT_FALSE(e.name.empty()) << "ordinal " << e.ordinal << " has no name";
    EXPECT_NE(0u, HookDll().Headers().entryPoint);
}

TEST(HookImage, KeepsTheHookHandleAloneInAnUnsharedDataSection)
{
    std::vector<PeImage::Section> sections = HookDll().Sections();
    auto shareda = std::find_if(sections.begin(), sections.end(), [](const PeImage::Section& s) {
        return s.name == ".shareda";
    });
    ASSERT_TRUE(shareda != sections.end()) << "no .shareda section";
    EXPECT_EQ(4u, shareda->virtualSize);
    EXPECT_EQ(0x200u, shareda->rawSize);
    EXPECT_EQ(0xC0000040u, shareda->characteristics);
    for (const PeImage::Section& s : sections)
        EXPECT_EQ(0u, s.characteristics & kSharedBit) << s.name << " is shared between processes";
}

TEST(HookImage, CarriesOnlyItsManifest)
{
    std::vector<PeImage::Resource> resources = HookDll().Resources();
    ASSERT_EQ(1u, resources.size()) << "no version block, no other resource";
    const PeImage::Resource& manifest = resources.front();
    EXPECT_EQ("#24", manifest.type);
    EXPECT_EQ("#2", manifest.name);
    EXPECT_EQ(1033u, manifest.language);
    EXPECT_NE(std::string::npos, manifest.data.find("level=\"asInvoker\"")) << manifest.data;
    EXPECT_NE(std::string::npos, manifest.data.find("uiAccess=\"false\"")) << manifest.data;
}

// Loaded into every process that takes keyboard input: only DLLs that every
// Windows has, no runtime library, and small.
TEST(HookImage, ImportsOnlyKernelAndUserAndStaysSmall)
{
    std::set<std::string> dlls = ImportedDlls(HookDll());
    EXPECT_EQ(1u, dlls.count("USER32.DLL"));
    for (const std::string& dll : dlls) EXPECT_TRUE(dll == "KERNEL32.DLL" || dll == "USER32.DLL") << dll;
    EXPECT_LE(HookDll().FileSize(), 16u * 1024);
}

TEST(ProgramImage, ImportsTheHookByItsDecoratedNames)
{
    std::vector<PeImage::Import> imports = ProgramExe().Imports();
    auto hook = std::find_if(imports.begin(), imports.end(), [](const PeImage::Import& i) {
        return Upper(i.dll) == "MOSSVANEHOOK.DLL";
    });
    ASSERT_TRUE(hook != imports.end()) << "MossvaneHook.dll is not imported";
    EXPECT_EQ("MossvaneHook.dll", hook->dll);
    std::set<std::string> names(hook->names.begin(), hook->names.end());
    EXPECT_EQ((std::set<std::string>{"?freehook@@YGXXZ", "?sethook@@YGXXZ"}), names);
    EXPECT_EQ(2u, hook->names.size());
}

const PeImage::Resource* ManifestOf(const PeImage& image, std::vector<PeImage::Resource>& resources)
{
    resources = image.Resources();
    for (const PeImage::Resource& resource : resources) {
        if (resource.type == "#24") return &resource;
    }
    return nullptr;
}

// Windows 8.1 and later read the awareness from the manifest, in the asmv3
// application part that XP's loader passes over.
TEST(ProgramImage, DeclaresPerMonitorDpiAwarenessWhereXpIgnoresIt)
{
    std::vector<PeImage::Resource> resources;
    const PeImage::Resource* manifest = ManifestOf(ProgramExe(), resources);
    ASSERT_NE(nullptr, manifest);
    const std::string& xml = manifest->data;
    EXPECT_NE(std::string::npos, xml.find("xmlns:asmv3=\"urn:schemas-microsoft-com:asm.v3\"")) << xml;
    const size_t application = xml.find("<asmv3:application>");
    const size_t settings = xml.find("<asmv3:windowsSettings>");
    ASSERT_NE(std::string::npos, application) << xml;
    ASSERT_TRUE(application < settings && settings != std::string::npos) << xml;
    const size_t aware = xml.find(
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>");
    const size_t awareness = xml.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                                      "PerMonitorV2, PerMonitor</dpiAwareness>");
    const size_t end = xml.find("</asmv3:windowsSettings>");
    EXPECT_TRUE(settings < aware && aware < end) << xml;
    EXPECT_TRUE(settings < awareness && awareness < end) << xml;
}

// Every function the two binaries may import, DLL by DLL. Each one's
// documented minimum client is Windows XP or earlier; msvcrt.dll's are those
// of XP's own C runtime, and gdiplus.dll's those of GDI+ 1.0, which XP ships.
// What only later Windows has is looked up by name at run time: imported,
// it would keep the program from starting on XP at all. A function outside
// the list fails the test, so that a new import is checked first.
const std::map<std::string, std::set<std::string>> kXpSp3Imports = {
    {"KERNEL32.DLL",
     {
      "CloseHandle", "CreateDirectoryA", "CreateFileA", "CreateMutexA", "CreateSemaphoreW", "CreateThread",
      "DeleteCriticalSection",
      "DeleteFileA", "EnterCriticalSection", "FindClose", "FindCloseChangeNotification",
      "FindFirstChangeNotificationA", "FindFirstFileA", "FindNextFileA", "FindResourceA",
      "FlushFileBuffers", "FormatMessageA", "FreeLibrary", "GetComputerNameA", "GetCurrentDirectoryA",
      "GetCurrentThreadId", "GetDriveTypeA", "GetFileAttributesA", "GetFileAttributesExA",
      "GetFileInformationByHandle", "GetFileSize", "GetLastError", "GetLocalTime",
      "GetModuleHandleA", "GetModuleHandleW", "GetPrivateProfileIntA", "GetPrivateProfileStringA", "GetProcAddress",
      "GetStartupInfoA", "GetSystemDirectoryA", "GetSystemTimeAsFileTime", "GetTempPathA", "GetTickCount",
      "GetVersionExA", "GlobalAlloc", "GlobalFree", "GlobalLock", "GlobalUnlock", "InitializeCriticalSection",
      "IsDBCSLeadByte", "IsDBCSLeadByteEx", "LeaveCriticalSection", "LoadLibraryA", "LoadLibraryW", "LoadResource",
      "LocalAlloc", "LocalFree", "LockResource", "lstrcmpA", "lstrlenA", "MoveFileA", "MoveFileExA", "MulDiv",
      "MultiByteToWideChar", "RaiseException", "ReadFile", "ReleaseSemaphore", "SetCurrentDirectoryA", "SetLastError",
      "SetUnhandledExceptionFilter", "SizeofResource", "Sleep", "TlsAlloc", "TlsFree", "TlsGetValue", "TlsSetValue",
      "VirtualProtect", "VirtualQuery", "WaitForSingleObject", "WideCharToMultiByte", "WriteFile",
      "WritePrivateProfileStringA"
     }},
    {"USER32.DLL",
     {
      "AdjustWindowRectEx", "AppendMenuA", "BeginPaint", "CallNextHookEx", "CallWindowProcW", "CharUpperBuffW", "CheckDlgButton",
      "ClientToScreen", "CloseClipboard", "CopyRect", "CreatePopupMenu", "CreateWindowExA", "CreateWindowExW", "DefWindowProcA", "DefWindowProcW", "DestroyIcon",
      "DestroyMenu", "DestroyWindow", "DispatchMessageA", "DispatchMessageW", "DrawFocusRect", "EmptyClipboard", "EnableWindow", "EndPaint",
      "EnumDisplayMonitors", "FillRect", "FindWindowA", "GetActiveWindow", "GetAsyncKeyState", "GetCaretPos", "GetClientRect",
      "GetComboBoxInfo", "GetCursorPos", "GetDC", "GetDlgCtrlID", "GetFocus", "GetForegroundWindow",
      "GetKeyboardState", "GetKeyState", "GetMessageA", "GetMessageW", "GetMessageExtraInfo", "GetMessagePos", "GetMessageTime",
      "GetMonitorInfoA", "GetParent", "GetQueueStatus", "GetSysColor", "GetSysColorBrush", "GetSystemMetrics",
      "GetWindowLongA", "GetWindowLongW", "GetWindowRect", "GetWindowTextA", "GetWindowTextLengthA",
      "GetWindowTextLengthW", "GetWindowTextW", "InflateRect", "IntersectRect", "InvalidateRect", "IsChild",
      "IsClipboardFormatAvailable", "IsDialogMessageA", "IsDialogMessageW", "IsWindow", "IsWindowUnicode", "IsWindowEnabled", "IsWindowVisible", "KillTimer", "LoadAcceleratorsA",
      "LoadCursorA", "LoadIconA", "LoadImageA", "MapWindowPoints", "MessageBeep", "MessageBoxA", "MessageBoxW", "MonitorFromPoint",
      "MonitorFromRect", "MonitorFromWindow", "mouse_event", "OffsetRect", "OpenClipboard", "PeekMessageA",
      "PostMessageA", "PostQuitMessage", "PtInRect", "RegisterClassA", "RegisterClassExA", "RegisterHotKey",
      "RegisterWindowMessageA", "ReleaseDC", "ScreenToClient", "SendMessageA", "SendMessageTimeoutA", "SendMessageW", "SetCaretPos",
      "SetClipboardData", "SetCursor", "SetCursorPos", "SetFocus", "SetForegroundWindow", "SetKeyboardState",
      "SetLayeredWindowAttributes", "SetTimer", "SetWindowLongA", "SetWindowLongW", "SetWindowPos", "SetWindowRgn",
      "SetWindowsHookExA", "SetWindowTextA", "ShowCursor", "ShowWindow", "SystemParametersInfoA", "TrackMouseEvent",
      "TrackPopupMenu",
      "TranslateAcceleratorA", "TranslateMessage", "UnhookWindowsHookEx", "UnregisterHotKey", "UpdateWindow",
      "WindowFromPoint"
     }},
    {"GDI32.DLL",
     {
      "CombineRgn", "CreateFontIndirectA", "CreateRectRgn", "CreateSolidBrush", "DeleteObject", "GetDeviceCaps",
      "GetDIBits", "GetTextExtentPoint32A", "SelectObject", "SetBkMode", "SetTextColor", "TextOutA"
     }},
    {"ADVAPI32.DLL",
     {
      "GetUserNameA"
     }},
    {"SHELL32.DLL",
     {
      "Shell_NotifyIconA", "SHFileOperationA", "SHGetFolderPathA", "SHQueryRecycleBinA"
     }},
    {"SHLWAPI.DLL",
     {
      "StrToIntA"
     }},
    {"OLE32.DLL",
     {
      "CoCreateInstance", "CoInitialize", "CoUninitialize", "CreateStreamOnHGlobal"
     }},
    {"COMCTL32.DLL",
     {
      "InitCommonControls"
     }},
    {"GDIPLUS.DLL",  // GDI+ 1.0, which XP ships
     {
      "GdipAlloc", "GdipBitmapLockBits", "GdipBitmapUnlockBits", "GdipCloneImage", "GdipCreateBitmapFromScan0",
      "GdipCreateBitmapFromStream", "GdipCreateFromHDC", "GdipCreateHBITMAPFromBitmap", "GdipCreateImageAttributes",
      "GdipDeleteGraphics", "GdipDisposeImage", "GdipDisposeImageAttributes", "GdipDrawImageRectI",
      "GdipDrawImageRectRectI", "GdipFree", "GdipGetImageGraphicsContext", "GdipGetImageHeight", "GdipGetImageWidth",
      "GdipGraphicsClear", "GdiplusShutdown", "GdiplusStartup", "GdipSetImageAttributesWrapMode",
      "GdipSetInterpolationMode", "GdipSetPixelOffsetMode"
     }},
    {"MSVCRT.DLL",  // XP's own C runtime, which MinGW links against
     {
      "__getmainargs", "__initenv", "__mb_cur_max", "__p__acmdln", "__p__commode", "__p__fmode", "__set_app_type",
      "__setusermatherr", "_amsg_exit", "_cexit", "_close", "_errno", "_initterm", "_iob", "_onexit", "_read",
      "abort", "atoi", "calloc", "exit", "fprintf", "fputc", "fputs", "free", "fwrite", "localeconv", "malloc",
      "memchr", "memcmp", "memcpy", "memmove", "memset", "realloc", "setlocale", "signal", "strchr", "strcmp",
      "strerror", "strlen", "strncmp", "strrchr", "strtol", "toupper", "vfprintf", "wcslen"
     }},
    {"MOSSVANEHOOK.DLL",  // the program's own hook library
     {
      "?freehook@@YGXXZ", "?sethook@@YGXXZ"
     }},
};

// GDI+ is loaded on first use, off the start's path; what it is asked for
// is held to the same list, since a function XP lacks would fail there.
TEST(Binaries, ImportOnlyFunctionsThatWindowsXpSp3Has)
{
    const std::pair<const char*, const PeImage*> binaries[] = {{"MossvanePad.exe", &ProgramExe()},
                                                               {"MossvaneHook.dll", &HookDll()}};
    for (const auto& [file, image] : binaries) {
        std::vector<PeImage::Import> imports = image->Imports();
        const std::vector<PeImage::Import> delayed = image->DelayImports();
        imports.insert(imports.end(), delayed.begin(), delayed.end());
        for (const PeImage::Import& import : imports) {
            auto allowed = kXpSp3Imports.find(Upper(import.dll));
            for (const std::string& name : import.names) {
                EXPECT_TRUE(allowed != kXpSp3Imports.end() && allowed->second.count(name))
                    << file << " imports " << import.dll << "!" << name
                    << ", which is not on the list of what Windows XP SP3 has";
            }
        }
    }
    const std::vector<PeImage::Import> delayed = ProgramExe().DelayImports();
    ASSERT_EQ(1u, delayed.size());
    EXPECT_EQ("GDIPLUS.DLL", Upper(delayed.front().dll));
    const std::vector<std::string>& names = delayed.front().names;
    EXPECT_EQ(1, std::count(names.begin(), names.end(), "GdiplusStartup")) << "GDI+ is never started";
    EXPECT_EQ(0u, ImportedDlls(ProgramExe()).count("GDIPLUS.DLL")) << "GDI+ is loaded with the program";
}

TEST(Binaries, TargetWindowsXpOn32BitIntel)
{
    for (const PeImage* image : {&ProgramExe(), &HookDll()}) {
        const PeImage::HeaderFields& headers = image->Headers();
        EXPECT_EQ(kMachineI386, headers.machine);
        EXPECT_EQ(5, headers.majorSubsystemVersion);
        EXPECT_EQ(1, headers.minorSubsystemVersion);
    }
    EXPECT_EQ(kSubsystemWindowsGui, ProgramExe().Headers().subsystem);
    EXPECT_TRUE(HookDll().Headers().characteristics & kFileDll);
}
}  // namespace
