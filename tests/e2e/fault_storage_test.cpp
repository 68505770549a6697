// Faults of the memo folder's storage, brought on the real program: a full
// disk, a read-only folder or file, a memo held open by another program, the
// memo folder deleted. Each ends with every stored memo intact, the failure
// the program reports shown in its message box, and the edit that could not
// be saved then still kept and saved once it can be.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/fault_env.h"

namespace {
const int kNewMemo = 1;
const int kEdit = 200;
const int kFileList = 201;
const char kSaveFailed[] = "ファイルの保存に失敗しました";
const char kReadFailed[] = "ファイルの読み込みに失敗しました";

using Files = std::vector<std::string>;

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

std::string SaveFailedFor(const char* file)
{
    return std::string(kSaveFailed) + " " + file + ": ";
}

// A program folder whose memo folder holds kept.txt and other.txt, with
// kept the memo shown at start.
const std::string kKept = "kept\r\nstored before the fault";
const std::string kOther = "other\r\nnever touched";

void WriteMemos(const MemoApp& app)
{
    app.WriteFile("memo\\kept.txt", kKept);
    app.WriteFile("memo\\other.txt", kOther);
    app.WriteFile("MossvanePad.ini", "[ReadFile]\r\nPrevFile=kept\r\n");
}

TEST(FaultStorage, FullDiskFailsTheSaveAndTheEditIsSavedOnceThereIsRoom)
{
    std::string why = WhyNoMounts();
    if (!why.empty()) GTEST_SKIP() << why;
    RecordProperty("fault", "memo folder on a full disk (a 64 KiB tmpfs filled up): hide, and New memo");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    UnixMount disk = UnixMount::Tmpfs(app.PathOf("memo"), "64k");
    ASSERT_TRUE(disk.ok());
    WriteMemos(app);
    ASSERT_TRUE(FillDisk(app.PathOf("memo\\filler.bin")));
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(kKept, app.EditorText());

    const std::string edited = "kept\r\n" + std::string(6000, 'e');
    app.TypeText(edited);
    std::string seen = ReadAndDismiss(DeactivateIntoMessageBox(app));
    EXPECT_TRUE(StartsWith(seen, SaveFailedFor("kept.txt"))) << seen;
    EXPECT_TRUE(app.WaitHidden());
    EXPECT_EQ("<no box>", ReadAndDismiss(app.WaitForMessageBox(3000))) << "one failed save, one message";
    EXPECT_EQ(kKept, app.Memo("kept"));
    EXPECT_EQ((Files{"filler.bin", "kept.txt", "other.txt"}), app.MemoFiles()) << "no temporary file is left";

    ASSERT_TRUE(Pin(app));
    ASSERT_TRUE(app.PopUp());
    EXPECT_EQ(edited, app.EditorText()) << "the edit stays in the editor";
    app.PostCommand(kNewMemo);
    HWND box = app.WaitForMessageBox();
    EXPECT_EQ(kKept, app.Memo("kept"));
    ASSERT_TRUE(DeleteFileA(app.PathOf("memo\\filler.bin").c_str()));
    seen = ReadAndDismiss(box);
    EXPECT_TRUE(StartsWith(seen, SaveFailedFor("kept.txt"))) << seen;
    EXPECT_EQ(edited, app.EditorText()) << "New memo does not throw away what could not be saved";

    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(edited, app.Memo("kept")) << "saved once there is room";
    EXPECT_EQ(kOther, app.Memo("other"));
    RecordProperty("outcome", "save refused with the disk-full message; file unchanged, no temporary file; "
                              "the edit stayed in the editor and was saved once space was freed");
}

TEST(FaultStorage, ReadOnlyFolderFailsTheSaveAndASwitchKeepsTheEditShown)
{
    std::string why = WhyNoMounts();
    if (!why.empty()) GTEST_SKIP() << why;
    RecordProperty("fault", "memo folder read-only (a tmpfs remounted ro): hide, and picking another memo");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    UnixMount folder = UnixMount::Tmpfs(app.PathOf("memo"), "1m");
    ASSERT_TRUE(folder.ok());
    WriteMemos(app);
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(folder.Remount("ro"));
    ASSERT_TRUE(Deactivate(app)) << "an unedited memo needs no write";
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));

    ASSERT_TRUE(app.PopUp());
    const std::string edited = "kept\r\nedited on a read-only folder";
    app.TypeText(edited);
    std::string seen = ReadAndDismiss(DeactivateIntoMessageBox(app));
    EXPECT_TRUE(StartsWith(seen, SaveFailedFor("kept.txt"))) << seen;
    EXPECT_TRUE(app.WaitHidden());
    EXPECT_EQ("<no box>", ReadAndDismiss(app.WaitForMessageBox(3000))) << "one failed save, one message";

    ASSERT_TRUE(Pin(app));
    ASSERT_TRUE(app.PopUp());
    ASSERT_TRUE(app.SelectInList("other.txt"));
    app.PostCommand(kFileList, CBN_SELCHANGE);
    HWND box = app.WaitForMessageBox();
    EXPECT_EQ(kKept, app.Memo("kept"));
    ASSERT_TRUE(folder.Remount("rw"));
    seen = ReadAndDismiss(box);
    EXPECT_TRUE(StartsWith(seen, SaveFailedFor("kept.txt"))) << seen;
    EXPECT_EQ(edited, app.EditorText()) << "the memo that could not be saved stays shown";

    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(edited, app.Memo("kept"));
    EXPECT_EQ(kOther, app.Memo("other"));
    EXPECT_EQ((Files{"kept.txt", "other.txt"}), app.MemoFiles());
    RecordProperty("outcome", "save refused with its message; no switch away from the unsaved memo; "
                              "files unchanged; the edit saved once the folder was writable");
}

TEST(FaultStorage, ReadOnlyMemoIsNeitherReplacedNorRenamedAndTheEditIsSavedAtTheEnd)
{
    RecordProperty("fault", "memo file with the read-only attribute: edited, and its first line changed");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    WriteMemos(app);
    ASSERT_TRUE(SetFileAttributesA(app.PathOf("memo\\kept.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(Deactivate(app)) << "an unedited memo needs no write";
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));

    ASSERT_TRUE(app.PopUp());
    app.TypeText("kept\r\nedited");
    std::string seen = ReadAndDismiss(DeactivateIntoMessageBox(app));
    EXPECT_TRUE(StartsWith(seen, SaveFailedFor("kept.txt"))) << seen;
    ASSERT_TRUE(app.PopUp());
    const std::string renamed = "renamed\r\nedited";
    app.TypeText(renamed);
    seen = ReadAndDismiss(DeactivateIntoMessageBox(app));
    EXPECT_TRUE(StartsWith(seen, SaveFailedFor("renamed.txt"))) << seen;
    EXPECT_TRUE(app.WaitHidden());
    EXPECT_EQ(kKept, app.Memo("kept"));
    EXPECT_EQ((Files{"kept.txt", "other.txt"}), app.StoredMemoFiles());
    EXPECT_NE(0u, GetFileAttributesA(app.PathOf("memo\\kept.txt").c_str()) & FILE_ATTRIBUTE_READONLY);

    ASSERT_TRUE(SetFileAttributesA(app.PathOf("memo\\kept.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ((Files{"other.txt", "renamed.txt"}), app.MemoFiles()) << "the ending saved the edit that was kept";
    EXPECT_EQ(renamed, app.Memo("renamed"));
    RecordProperty("outcome", "both saves refused with the access-denied message; file, name and attribute "
                              "unchanged; the edit saved when the program ended after the attribute was cleared");
}

TEST(FaultStorage, MemoHeldByAnotherProgramIsReportedOnLoadAndKeptOnSave)
{
    RecordProperty("fault", "memo file held open without sharing by another process: at start, when picked, "
                            "and when saved (New memo)");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    WriteMemos(app);
    FileLock lock(app.PathOf("memo\\kept.txt"));
    ASSERT_TRUE(lock.ok());
    ASSERT_TRUE(app.StartProcess());
    std::string seen = ReadAndDismiss(app.WaitForMessageBox(30000));
    EXPECT_TRUE(StartsWith(seen, std::string(kReadFailed) + ": ")) << seen;
    ASSERT_TRUE(app.WaitForWindow());
    EXPECT_EQ("", app.EditorText());
    const std::string fresh = "fresh\r\nwritten while kept was held";
    app.TypeText(fresh);
    ASSERT_TRUE(app.FocusChild(kEdit));
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(fresh, app.Memo("fresh"));

    ASSERT_TRUE(Pin(app));
    ASSERT_TRUE(app.PopUp());
    ASSERT_TRUE(app.SelectInList("kept.txt"));
    app.PostCommand(kFileList, CBN_SELCHANGE);
    seen = ReadAndDismiss(app.WaitForMessageBox());
    EXPECT_TRUE(StartsWith(seen, std::string(kReadFailed) + ": ")) << seen;
    EXPECT_EQ("", app.EditorText());

    lock.Release();
    ASSERT_TRUE(app.PickMemo("kept.txt"));
    ASSERT_EQ(kKept, app.EditorText());
    FileLock saveLock(app.PathOf("memo\\kept.txt"));
    ASSERT_TRUE(saveLock.ok());
    const std::string edited = "kept\r\nedited while held";
    app.TypeText(edited);
    app.PostCommand(kNewMemo);
    HWND box = app.WaitForMessageBox();
    saveLock.Release();
    EXPECT_EQ(kKept, app.Memo("kept"));
    seen = ReadAndDismiss(box);
    EXPECT_TRUE(StartsWith(seen, SaveFailedFor("kept.txt"))) << seen;
    EXPECT_EQ(edited, app.EditorText());

    EXPECT_EQ(0u, app.EndFromTray());
    EXPECT_EQ(edited, app.Memo("kept")) << "the ending saved the edit that was kept";
    EXPECT_EQ(kOther, app.Memo("other"));
    EXPECT_EQ((Files{"fresh.txt", "kept.txt", "other.txt"}), app.MemoFiles());
    RecordProperty("outcome", "load reported with the read-failure message and the editor left empty (so no "
                              "save can replace the memo); save refused with its message, file unchanged; "
                              "the edit saved at the end once the file was free");
}

void DeleteFolder(const std::string& dir)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string path = dir + "\\" + entry.cFileName;
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

TEST(FaultStorage, MemoFolderDeletedWhileRunningIsMadeAgainWithTheShownMemo)
{
    RecordProperty("fault", "memo folder deleted while the program runs: hide, then New memo");
    MemoApp app;
    ASSERT_TRUE(CreateDirectoryA(app.PathOf("memo").c_str(), nullptr));
    WriteMemos(app);
    ASSERT_TRUE(app.Start());
    DeleteFolder(app.PathOf("memo"));
    ASSERT_FALSE(app.FolderExists("memo"));

    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(nullptr, app.WaitForMessageBox(1000));
    EXPECT_EQ(kKept, app.Memo("kept")) << "the memo shown is all that is left of the folder: it is kept";
    ASSERT_TRUE(app.PopUp());
    DeleteFolder(app.PathOf("memo"));
    ASSERT_TRUE(app.Command(kNewMemo));
    const std::string second = "second\r\nafter the folder went";
    app.TypeText(second);
    ASSERT_TRUE(Deactivate(app));
    EXPECT_EQ(second, app.Memo("second"));
    EXPECT_EQ(kKept, app.Memo("kept"));
    EXPECT_EQ(0u, app.EndFromTray());
    RecordProperty("outcome", "no message; the folder was made again at the next save and the memo shown "
                              "written back into it; later memos saved there");
}
}  // namespace
