// Faults of the settings file and the start directory, brought on the real
// program: the ini file read-only or a folder in its place (the settings of
// the run cannot be kept; the memos are, and nothing breaks), and a start
// directory too long for the program's paths.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/fault_env.h"

namespace {
const std::string kKept = "kept\r\nstored before the run";

TEST(FaultSettings, FolderInPlaceOfTheIniFileIsNoErrorAndTheMemosAreKept)
{
    RecordProperty("fault", "a folder named MossvanePad.ini in place of the settings file");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("MossvanePad.ini").c_str(), nullptr));
    ASSERT_TRUE(app.Start());
    const std::string text = "written\r\nwith no settings file";
    app.TypeText(text);
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_TRUE(app.FolderExists("MossvanePad.ini"));
    EXPECT_EQ(text, app.Memo("written"));
    RecordProperty("outcome", "defaults used, no message (the settings are not memo text); the memo saved; "
                              "a clean exit, the folder left as it was");
}

TEST(FaultSettings, ReadOnlyIniFileIsReadAndLeftAsItIs)
{
    std::string why = WhyNoMounts();
    if (!why.empty()) GTEST_SKIP() << why;
    RecordProperty("fault", "settings file read-only (bound read-only onto itself)");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    app.WriteFile("memo\\kept.txt", kKept);
    const std::string ini = "[ReadFile]\r\nPrevFile=kept\r\n[Window]\r\nWidth=420\r\n";
    app.WriteFile("MossvanePad.ini", ini);
    UnixMount readOnly = UnixMount::ReadOnlyBind(app.PathOf("MossvanePad.ini"));
    ASSERT_TRUE(readOnly.ok());
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(kKept, app.EditorText()) << "the settings are read";
    RECT client;
    GetClientRect(app.Window(), &client);
    EXPECT_EQ(420, client.right);
    const std::string edited = "kept\r\nedited";
    app.TypeText(edited);
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(ini, app.ReadFile("MossvanePad.ini"));
    EXPECT_EQ(edited, app.Memo("kept"));
    RecordProperty("outcome", "settings read; writing them at the end failed silently and the file is "
                              "unchanged; the memo saved; a clean exit");
}

// A folder path of exactly `length` characters below the app's folder.
std::string FolderOfLength(const MemoApp& app, size_t length)
{
    std::string path = app.Dir();
    while (path.size() < length) {
        size_t room = length - path.size() - 1;
        std::string part(room > 100 ? 100 : room, 'd');
        if (room - part.size() == 1) part.pop_back();
        path += "\\" + part;
        CreateDirectoryA(path.c_str(), nullptr);
    }
    return path;
}

TEST(FaultSettings, StartDirectoryOf250CharactersIsRefusedWithAMessage)
{
    RecordProperty("fault", "started with a current directory of 250 characters");
    MemoApp app;
    std::string dir = FolderOfLength(app, 250);
    ASSERT_EQ(250u, dir.size());
    ASSERT_TRUE(app.StartProcess(dir)) << "Wine starts a process there";
    std::string seen = ReadAndDismiss(app.WaitForMessageBox());
    EXPECT_NE(std::string::npos, seen.find("パス")) << seen;
    EXPECT_EQ(0u, app.WaitForExit(15000));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "\\memo").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "\\MossvanePad.ini").c_str()));
    RecordProperty("outcome", "refused at start with the path-too-long message; nothing created there");
}
}  // namespace
