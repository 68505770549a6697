// A random walk through what a user does with the real program: typing,
// retitling (case-only changes and titles another memo has among them),
// picking memos, New, Delete (also right after typing), pasting characters the memo file cannot hold
// and answering the question either way, Ctrl+T, hiding, the settings
// window, pauses, and hard kills (TerminateProcess) at random moments, some
// after such a paste, each followed by a new start, which is to show every
// character. Between the user's steps another program (a sync tool, an
// editor on another computer) now and then writes, touches and deletes memo
// files, the shown one among them, also while it has edits here. After every
// step the memo folder and the editor are compared with a model of what the
// user has (walkmodel.h), which counts the other program's texts as the
// user's.
// MOSSVANE_WALK_STEPS and MOSSVANE_WALK_KILLS set the length (80 steps and
// 8 kills by default; tools/reliability runs 1,000 and 100), and
// MOSSVANE_WALK_SEED replays the walk a failure names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/fault_env.h"
#include "tests/e2e/walkmodel.h"

namespace {
const int kNewMemo = 1;
const int kDeleteMemo = 3;
const int kSettingButton = 4;
const int kEditor = 200;
const int kFileList = 201;
const int kPin = 204;
const int kSettingDone = 11;  // the settings window's Done, by creation order
const int kSearchCommand = 40003;  // Ctrl+F
const int kSearchField = 101;
const int kHitList = 103;
const int kSearchStatus = 104;
// The journal's promise, and what a loaded machine may add to a timer.
const unsigned long kLossBoundMs = 2000 + 500;
const char kUnstorableCaption[] = "保存できない文字があります";
// Some differ only in case, and every one is taken by some memo now and then.
const char* const kTitles[] = {"Shopping", "shopping", "SHOPPING", "Todo", "todo", "買い物", "Ideas"};

int FromEnvironment(const char* name, int fallback)
{
    const char* value = getenv(name);
    int number = value ? atoi(value) : 0;
    return number > 0 ? number : fallback;
}

unsigned ChooseSeed()
{
    const char* value = getenv("MOSSVANE_WALK_SEED");
    if (value && *value) return static_cast<unsigned>(strtoul(value, nullptr, 10));
    return static_cast<unsigned>(GetTickCount() ^ (GetCurrentProcessId() << 16));
}

bool EndsWithTxt(const std::string& name)
{
    return name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".txt") == 0;
}

// The memos a list of the memo folder shows, with their contents.
MemoFolder ReadMemoFolder(const MemoApp& app)
{
    MemoFolder folder;
    for (const std::string& name : app.MemoFiles()) {
        if (EndsWithTxt(name)) folder[name] = app.ReadFile("memo\\" + name);
    }
    return folder;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool RecycleBinHolds(const std::string& text)
{
    std::string files = RecycleBinFolder() + "files\\";
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((files + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found = ReadWholeFile(files + entry.cFileName) == text;
    } while (!found && FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

// The list's text: at start, the memo file the editor shows, if any.
std::string ListedFile(const MemoApp& app)
{
    char text[MAX_PATH] = "";
    SendMessageA(app.Child(kFileList), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

// Text typed at the end: characters there already stay as they are.
void AppendText(const MemoApp& app, const std::string& text)
{
    SendMessageA(app.Editor(), EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageA(app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// The program handled a message sent with SendMessageCallback; `handled`
// points at the flag to set, if any.
void CALLBACK NoteHandled(HWND, UINT, ULONG_PTR handled, LRESULT)
{
    if (handled) *reinterpret_cast<bool*>(handled) = true;
}

// The editor's characters, which its ANSI text may show as others.
std::wstring EditorCharacters(const MemoApp& app)
{
    LRESULT length = SendMessageW(app.Editor(), WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(app.Editor(), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::wstring CharactersOf(const std::string& ansi)
{
    WCHAR wide[1024] = L"";
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 1024);
    return wide;
}

// The row of the search window's list that names memo file `file`, or -1.
LRESULT HitRowOf(HWND list, const std::string& file)
{
    const std::wstring start = CharactersOf(file.substr(0, file.size() - 4)) + L" \x2014 ";
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        WCHAR row[1024] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= 1024) continue;
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
        if (std::wstring(row).compare(0, start.size(), start) == 0) return i;
    }
    return -1;
}

struct Figures {
    int steps = 0;
    int kills = 0;
    int killsInSaves = 0;
    int killsAfterPastes = 0;  // whose restart showed the pasted characters
    int questions = 0;
    int declined = 0;
    int renames = 0;
    int searches = 0;          // memos opened from the search window
    int deletes = 0;
    int writtenElsewhere = 0;  // texts another program wrote into memo files
    int touchedElsewhere = 0;
    int deletedElsewhere = 0;
    int conflicts = 0;         // the shown memo's file changed or went while it had edits here
    int notices = 0;
    long worstLossMs = 0;
};

class Walk {
public:
    explicit Walk(unsigned seed) : m_random(seed) {}
    void Run(int steps, int kills);
    const Figures& Result() const { return m_figures; }

private:
    enum Action {
        kType, kRetitle, kPaste, kStamp, kPick, kNew, kDelete, kHide, kSettings, kPause, kElsewhere, kActions
    };
    void Step(bool kill);
    void Do(Action action);
    void TypeLine();
    void Retitle();
    void PasteUnstorable();
    void Stamp();
    void PickAnother();
    void OpenBySearch(const std::string& file, const std::string& text, bool& declined);
    void NewMemo();
    void DeleteShown();
    void HideAndPopUp();
    void OpenAndCloseSettings();
    void ActElsewhere();
    void CreateElsewhere();
    void RewriteElsewhere(const std::string& file, std::string text, bool sameSize);
    void WriteElsewhere(const std::string& file, const std::string& text);
    void TouchElsewhere(const std::string& file);
    void DeleteElsewhere(const std::string& file, const std::string& text);
    std::string SameSizeChange(const std::string& text);
    // Gives the program the time of its timer to look at the shown memo's
    // file after another program changed it.
    void AwaitLook();
    // Takes what the program showed of its own accord (walkmodel.h).
    void Look();
    void KillAndRestart();
    void End();
    void Restart();
    void CheckSettled();
    void Note(const std::string& what);
    std::string LastSteps() const;

    // Sends a command of the memo window and waits until it is handled,
    // answering the question about characters the memo file cannot hold
    // when it comes. `declined`: the user said no, and the command left
    // everything as it was.
    void Command(int id, WORD code, bool& declined);
    // Waits until `done`, answering that question if it comes.
    void AwaitAnswering(const std::function<bool()>& done, bool& declined);
    HWND BoxOfProgram() const;
    // Reads and dismisses the program's notice that a memo changed elsewhere
    // while it had edits here, where one may come; false for any other box.
    bool TookNotice(HWND box);
    void Pin(bool pinned);
    // Starts a save the way a step would, for a kill to land in.
    void StartSave();

    int Random(int from, int to) { return std::uniform_int_distribution<int>(from, to)(m_random); }
    std::string Tag() const { return "step " + std::to_string(m_step); }
    std::string TitleOf(const std::string& text) const { return text.substr(0, text.find("\r\n")); }

    MemoApp m_app;
    WalkModel m_model;
    std::mt19937 m_random;
    Figures m_figures;
    int m_step = 0;
    std::deque<std::string> m_notes;
    bool m_bHandled = false;  // the command sent last was handled
    bool m_bNoticeDue = false;  // a conflict came since the last save
    int m_notices = 0;          // since the last save
};

void Walk::Run(int steps, int kills)
{
    std::vector<int> order(static_cast<size_t>(steps));
    for (int i = 0; i < steps; ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), m_random);
    std::vector<bool> killAt(static_cast<size_t>(steps), false);
    for (int i = 0; i < std::min(kills, steps); ++i) killAt[order[i]] = true;

    ASSERT_TRUE(CreateDirectoryA(m_app.PathOf("memo").c_str(), nullptr));
    m_app.WriteFile("memo\\Kept.txt", "Kept\r\nstored before the walk");
    ASSERT_NO_FATAL_FAILURE(Restart());
    for (m_step = 1; m_step <= steps; ++m_step) {
        SCOPED_TRACE(Tag());
        ASSERT_NO_FATAL_FAILURE(Step(killAt[m_step - 1]));
        m_figures.steps = m_step;
    }
    ASSERT_NO_FATAL_FAILURE(End());
}

void Walk::Step(bool kill)
{
    if (kill) {
        Note("kill");
        return KillAndRestart();
    }
    static const int kWeights[kActions] = {24, 12, 6, 6, 12, 8, 5, 10, 4, 6, 8};
    static const char* const kNames[kActions] = {"type", "retitle", "paste", "Ctrl+T", "pick", "New", "Delete",
                                                 "hide", "settings", "pause", "elsewhere"};
    std::discrete_distribution<int> pick(std::begin(kWeights), std::end(kWeights));
    Action action = static_cast<Action>(pick(m_random));
    Note(kNames[action]);
    Look();
    ASSERT_NO_FATAL_FAILURE(Do(action));
    ASSERT_NO_FATAL_FAILURE(CheckSettled());
    if (action == kPick || action == kNew || action == kDelete || action == kHide) {
        m_notices = 0;
        m_bNoticeDue = m_model.InConflict();
    }
}

// What the last steps did, for the message of a failure.
void Walk::Note(const std::string& what)
{
    m_notes.push_back(Tag() + ": " + what);
    if (m_notes.size() > 8) m_notes.pop_front();
}

std::string Walk::LastSteps() const
{
    std::string steps = "\nthe last steps:";
    for (const std::string& note : m_notes) steps += "\n  " + note;
    return steps;
}

void Walk::Do(Action action)
{
    switch (action) {
    case kType: return TypeLine();
    case kRetitle: return Retitle();
    case kPaste: return PasteUnstorable();
    case kStamp: return Stamp();
    case kPick: return PickAnother();
    case kNew: return NewMemo();
    case kDelete: return DeleteShown();
    case kHide: return HideAndPopUp();
    case kSettings: return OpenAndCloseSettings();
    case kPause: Sleep(static_cast<DWORD>(Random(500, 2500))); return;
    case kElsewhere: return ActElsewhere();
    case kActions: break;
    }
}

void Walk::TypeLine()
{
    if (m_model.Shown().empty()) m_app.TypeText(std::string(kTitles[Random(0, 6)]) + "\r\n" + Tag() + " new");
    else AppendText(m_app, "\r\n" + Tag() + " typed");
    m_model.Edited(m_app.EditorText(), GetTickCount());
}

void Walk::Retitle()
{
    const std::string& shown = m_model.Shown();
    std::string rest = shown.empty() ? "" : shown.substr(TitleOf(shown).size());
    std::string text = kTitles[Random(0, 6)] + rest + "\r\n" + Tag() + " retitled";
    if (TitleOf(text) != TitleOf(shown)) ++m_figures.renames;
    m_app.TypeText(text);
    m_model.Edited(text, GetTickCount());
}

// Characters Shift-JIS has no code for, pasted at the end as the clipboard
// would put them; the editor's ANSI text shows them as the file would.
void Walk::PasteUnstorable()
{
    if (m_model.Shown().empty()) return TypeLine();
    std::wstring pasted = L"\r\n" + Widen(Tag()) + L" caf\u00e9 \u2603 \U00020BB7";
    SendMessageW(m_app.Editor(), EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageW(m_app.Editor(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    m_model.Edited(m_app.EditorText(), GetTickCount());
}

void Walk::Stamp()
{
    std::string before = m_app.EditorText();
    if (before.empty()) return TypeLine();
    ASSERT_TRUE(m_app.FocusChild(kEditor));
    PressKeys({VK_CONTROL, 'T'});
    ASSERT_TRUE(WaitUntil([&] { return m_app.EditorText().size() > before.size(); }, 5000)) << "no time stamp";
    // A stamp of the same second as another one would repeat a text.
    AppendText(m_app, Tag() + " stamped");
    m_model.Edited(m_app.EditorText(), GetTickCount());
}

void Walk::PickAnother()
{
    MemoFolder folder = ReadMemoFolder(m_app);
    std::vector<std::string> others;
    for (const auto& file : folder) {
        if (!m_model.IsShownMemos(file.second)) others.push_back(file.first);
    }
    if (others.empty()) return TypeLine();
    std::string file = others[static_cast<size_t>(Random(0, static_cast<int>(others.size()) - 1))];
    bool declined = false;
    // Every other pick goes through the search window, by the first line of
    // the memo's text, without taking from the random sequence.
    if (m_step % 2 == 0 && TitleOf(folder[file]).find_first_not_of(' ') != std::string::npos) {
        Note("by the search");
        ASSERT_NO_FATAL_FAILURE(OpenBySearch(file, folder[file], declined));
    } else {
        ASSERT_TRUE(m_app.SelectInList(file)) << file << " is not listed";
        ASSERT_NO_FATAL_FAILURE(Command(kFileList, CBN_SELCHANGE, declined));
    }
    if (!declined) m_model.Picked(folder[file], GetTickCount());
}

// Ctrl+F, the query typed, the memo's row selected and Enter: the memo shown
// is saved first, as for a pick in the list; a No to the question keeps it,
// and Esc closes the search window.
void Walk::OpenBySearch(const std::string& file, const std::string& text, bool& declined)
{
    ASSERT_TRUE(m_app.Command(kSearchCommand));
    HWND search = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<HWND> found = TopLevelWindowsOf(m_app.ProcessId(), "SearchWnd");
        search = found.empty() ? nullptr : found.front();
        return search && IsWindowVisible(search);
    }));
    const std::wstring query = CharactersOf(TitleOf(text));
    SendMessageW(GetDlgItem(search, kSearchField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query.c_str()));
    HWND list = GetDlgItem(search, kHitList);
    ASSERT_TRUE(WaitUntil([&] { return HitRowOf(list, file) >= 0; }))
        << file << " is not found by its first line: " << MemoApp::WindowText(GetDlgItem(search, kSearchStatus));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(HitRowOf(list, file)), 0);
    PostMessageA(search, WM_COMMAND, IDOK, 0);
    ASSERT_NO_FATAL_FAILURE(AwaitAnswering([&] { return !IsWindowVisible(search); }, declined));
    if (!declined) {
        ++m_figures.searches;
        return;
    }
    PostMessageA(search, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(search); }));
}

void Walk::NewMemo()
{
    bool declined = false;
    ASSERT_NO_FATAL_FAILURE(Command(kNewMemo, BN_CLICKED, declined));
    if (!declined) m_model.Emptied(GetTickCount());
}

// With a Recycle Bin the file goes there at once, holding the text shown:
// half the time a line typed just before, never stored. Only characters the
// memo file cannot hold bring a question. A file changed elsewhere that the
// user never saw may be kept instead, shown, with a notice.
void Walk::DeleteShown()
{
    if (Random(0, 1) == 0) {
        Note("typed before the Delete");
        ASSERT_NO_FATAL_FAILURE(TypeLine());
    }
    const bool unseen = m_model.AwaitsLook();
    m_bNoticeDue = m_bNoticeDue || unseen;
    bool declined = false;
    ASSERT_NO_FATAL_FAILURE(Command(kDeleteMemo, BN_CLICKED, declined));
    if (declined) return;
    if (unseen) {
        Look();
        if (!m_model.ChangedElsewhere()) return Note("the change elsewhere shown, not deleted");
    }
    ++m_figures.deletes;
    std::optional<std::string> gone = m_model.Deleted(GetTickCount());
    if (gone) {
        EXPECT_TRUE(RecycleBinHolds(*gone)) << "the Recycle Bin lacks the text shown" << LastSteps();
    }
}

void Walk::HideAndPopUp()
{
    ASSERT_NO_FATAL_FAILURE(Pin(false));
    ASSERT_TRUE(m_app.FocusChild(kEditor));
    bool declined = false;
    ActivateOtherWindow();
    ASSERT_NO_FATAL_FAILURE(AwaitAnswering([&] { return !IsWindowVisible(m_app.Window()); }, declined));
    if (declined) {
        EXPECT_TRUE(IsWindowVisible(m_app.Window())) << "the memo window went although the user kept editing";
        return Pin(true);
    }
    m_model.Stored();
    ASSERT_NO_FATAL_FAILURE(Pin(true));
    ASSERT_TRUE(m_app.PopUpByRequest());
    if (!m_model.AwaitsLook()) return;
    EXPECT_TRUE(WaitUntil([&] {
        Look();
        return !m_model.AwaitsLook();
    }, 5000))
        << "after the pop-up the editor still shows " << m_model.Shown().size()
        << " bytes of a memo whose file changed elsewhere" << LastSteps();
}

void Walk::OpenAndCloseSettings()
{
    ASSERT_TRUE(m_app.Command(kSettingButton));
    HWND setting = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<HWND> found = TopLevelWindowsOf(m_app.ProcessId(), "SettingWnd");
        setting = found.empty() ? nullptr : found.front();
        return setting && IsWindowVisible(setting);
    }));
    // Finished by Done, by Enter or by Esc in turn, without taking from the
    // random sequence, so that a seed replays the walk it always did.
    const int way = m_step % 3;
    if (way == 0) {
        HWND done = GetWindow(setting, GW_CHILD);
        for (int i = 0; done && i < kSettingDone; ++i) done = GetWindow(done, GW_HWNDNEXT);
        ASSERT_TRUE(done);
        DWORD_PTR result;
        ASSERT_TRUE(SendMessageTimeoutA(done, BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result));
    } else {
        ASSERT_TRUE(WaitUntil([&] { return IsChild(setting, m_app.FocusWindow()); }, 5000)) << "a control has the focus";
        PressKeys({static_cast<BYTE>(way == 1 ? VK_RETURN : VK_ESCAPE)});
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(setting); }));
    EXPECT_TRUE(IsWindowVisible(m_app.Window())) << "the pinned memo window went with the settings window";
}

// Another program at work in the memo folder: a new memo file, or, to the
// shown memo's file (two times in three, half of them after a line typed here)
// or another one, whole new texts (now and then a burst of them, as a sync
// tool brings several versions), a change of one character that keeps the
// size, a new time on the same bytes, or a delete.
void Walk::ActElsewhere()
{
    int way = Random(0, 9);
    if (way < 2) return CreateElsewhere();
    MemoFolder folder = ReadMemoFolder(m_app);
    std::string shownFile;
    std::vector<std::string> others;
    for (const auto& file : folder) {
        if (m_model.IsShownFile(file.second)) shownFile = file.first;
        else others.push_back(file.first);
    }
    bool onShown = !shownFile.empty() && (others.empty() || Random(0, 2) > 0);
    if (!onShown && others.empty()) return CreateElsewhere();
    std::string file =
        onShown ? shownFile : others[static_cast<size_t>(Random(0, static_cast<int>(others.size()) - 1))];
    if (onShown && Random(0, 1) == 0) {
        Note("typed before the change elsewhere");
        ASSERT_NO_FATAL_FAILURE(TypeLine());
    }
    if (way < 7) ASSERT_NO_FATAL_FAILURE(RewriteElsewhere(file, folder[file], way >= 5));
    else if (way == 7) ASSERT_NO_FATAL_FAILURE(TouchElsewhere(file));
    else ASSERT_NO_FATAL_FAILURE(DeleteElsewhere(file, folder[file]));
    if (!onShown || way == 7) return;
    if (m_model.InConflict()) ++m_figures.conflicts;
    AwaitLook();
}

// Under a title the walk types when no memo has it, so that a save may find
// its title taken by a file it never listed.
void Walk::CreateElsewhere()
{
    std::string title = kTitles[Random(0, 6)];
    if (m_app.FileExists("memo\\" + title + ".txt")) title = "Elsewhere " + std::to_string(m_step);
    std::string text = title + "\r\n" + Tag() + " new elsewhere";
    Note("new elsewhere: " + title + ".txt");
    ASSERT_NO_FATAL_FAILURE(WriteElsewhere(title + ".txt", text));
    m_model.WrittenElsewhere(std::nullopt, text);
}

void Walk::RewriteElsewhere(const std::string& file, std::string text, bool sameSize)
{
    int times = Random(0, 3) == 0 ? Random(2, 4) : 1;
    for (int i = 0; i < times; ++i) {
        std::string after = sameSize ? SameSizeChange(text)
                                     : TitleOf(text) + "\r\n" + Tag() + " written elsewhere " + std::to_string(i);
        Note((after.size() == text.size() ? "one character changed elsewhere in " : "rewritten elsewhere: ") + file);
        ASSERT_NO_FATAL_FAILURE(WriteElsewhere(file, after));
        m_model.WrittenElsewhere(text, after);
        text = after;
        ++m_figures.writtenElsewhere;
    }
}

// Straight into the file, or, as sync tools do, into a temporary file
// renamed over it.
void Walk::WriteElsewhere(const std::string& file, const std::string& text)
{
    if (Random(0, 1) == 0) return m_app.WriteFile("memo\\" + file, text);
    std::string temp = "memo\\.sync-" + std::to_string(m_step) + ".tmp";
    m_app.WriteFile(temp, text);
    std::string target = m_app.PathOf("memo\\" + file);
    ASSERT_TRUE(MoveFileExA(m_app.PathOf(temp).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        << "the rename over " << file << " failed with " << GetLastError();
}

// A clock ahead or behind, as on another computer.
void Walk::TouchElsewhere(const std::string& file)
{
    Note("touched elsewhere: " + file);
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = CreateFileA(m_app.PathOf("memo\\" + file).c_str(), FILE_WRITE_ATTRIBUTES, share, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle) << file << " cannot be opened: " << GetLastError();
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time;
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    const ULONGLONG shift = static_cast<ULONGLONG>(Random(2, 7200)) * 10000000ULL;
    time.QuadPart = Random(0, 1) == 0 ? time.QuadPart + shift : time.QuadPart - shift;
    FILETIME touched = {time.LowPart, time.HighPart};
    BOOL set = SetFileTime(handle, nullptr, nullptr, &touched);
    CloseHandle(handle);
    ASSERT_TRUE(set);
    ++m_figures.touchedElsewhere;
}

void Walk::DeleteElsewhere(const std::string& file, const std::string& text)
{
    Note("deleted elsewhere: " + file);
    ASSERT_TRUE(DeleteFileA(m_app.PathOf("memo\\" + file).c_str())) << file << ": " << GetLastError();
    m_model.DeletedElsewhere(text);
    ++m_figures.deletedElsewhere;
}

// A letter or digit after the first line, a single-byte character, made
// another; a text the user never had.
std::string Walk::SameSizeChange(const std::string& text)
{
    size_t body = text.find("\r\n");
    std::vector<size_t> places;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsDBCSLeadByte(c)) ++i;
        else if (body != std::string::npos && i > body && isalnum(c)) places.push_back(i);
    }
    for (int attempt = 0; attempt < 20 && !places.empty(); ++attempt) {
        std::string changed = text;
        changed[places[static_cast<size_t>(Random(0, static_cast<int>(places.size()) - 1))]] =
            static_cast<char>('a' + Random(0, 25));
        if (!m_model.HasText(changed)) return changed;
    }
    return TitleOf(text) + "\r\n" + Tag() + " written elsewhere";
}

// Unedited here, the change is to show while the window shows, within a
// few of the timer's two seconds; with edits here both texts are kept, and
// the notice may come now or with the save.
void Walk::AwaitLook()
{
    const bool unedited = m_model.AwaitsLook();
    WaitUntil([&] {
        TookNotice(BoxOfProgram());
        Look();
        return !m_model.ChangedElsewhere();
    }, unedited ? 10000 : 4000);
    if (unedited) {
        EXPECT_FALSE(m_model.AwaitsLook()) << "10 s after its file changed elsewhere the editor still shows "
                                           << m_model.Shown().size() << " bytes of the old text" << LastSteps();
    }
}

void Walk::Look()
{
    if (!m_model.ChangedElsewhere()) return;
    std::string editor = m_app.EditorText();
    if (editor != m_model.Shown()) m_model.Looked(ReadMemoFolder(m_app), editor, GetTickCount());
}

void Walk::KillAndRestart()
{
    ++m_figures.kills;
    std::wstring pasted;  // the editor's characters after a paste the file cannot hold
    std::string pastedText;
    if (Random(0, 2) == 0) {
        // Typing or such a paste, then the kill: before the journal's two
        // seconds are up as often as after.
        if (Random(0, 1) == 0 && !m_model.Shown().empty()) {
            ASSERT_NO_FATAL_FAILURE(PasteUnstorable());
            pasted = EditorCharacters(m_app);
            pastedText = m_model.Shown();
        } else {
            ASSERT_NO_FATAL_FAILURE(TypeLine());
        }
        Sleep(static_cast<DWORD>(Random(0, 4000)));
    } else {
        ++m_figures.killsInSaves;
        ASSERT_NO_FATAL_FAILURE(StartSave());
        Sleep(static_cast<DWORD>(Random(0, 150)));
    }
    unsigned long killedAt = GetTickCount();
    m_app.Kill();
    Note("killed " + std::to_string(GetTickCount() - killedAt) + " ms ago; the editor showed " + std::to_string(m_model.Shown().size()) + " bytes");
    ASSERT_TRUE(m_app.Start()) << "no start after the kill";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(m_app.Editor()) != FALSE; }));
    MemoFolder folder = ReadMemoFolder(m_app);
    long lost = 0;
    ASSERT_TRUE(m_model.CheckAfterKill(folder, m_app.EditorText(), killedAt, kLossBoundMs, lost)) << LastSteps();
    EXPECT_FALSE(m_app.FileExists("memo\\~memorename.tmp")) << "a memo is left under a name no list shows";
    // The pasted text comes back from the journal only, with every character.
    if (!pasted.empty() && m_app.EditorText() == pastedText) {
        ++m_figures.killsAfterPastes;
        EXPECT_TRUE(EditorCharacters(m_app) == pasted) << "the restart shows other characters" << LastSteps();
    }
    m_figures.worstLossMs = std::max(m_figures.worstLossMs, lost);
    ASSERT_NO_FATAL_FAILURE(Restart());
}

// The ending stores the memo shown; a user who said no to the question goes
// on editing, and ends the program again.
void Walk::End()
{
    bool declined = true;
    for (int attempt = 0; declined && attempt < 10; ++attempt) {
        m_app.ClickTrayIcon();
        ASSERT_NO_FATAL_FAILURE(AwaitAnswering([&] { return !m_app.IsRunning(); }, declined));
    }
    ASSERT_FALSE(declined) << "the program did not end";
    EXPECT_EQ(0u, m_app.WaitForExit(30000));
    m_model.Stored();
    ASSERT_TRUE(m_model.CheckSettled(ReadMemoFolder(m_app), m_model.Shown(), GetTickCount())) << LastSteps();
}

// The program runs pinned, so that only the walk's own steps hide and save.
void Walk::Restart()
{
    if (!m_app.IsRunning()) {
        ASSERT_TRUE(m_app.Start());
    }
    ASSERT_NO_FATAL_FAILURE(Pin(true));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(m_app.Editor()) != FALSE; }));
    m_model.Restarted(ReadMemoFolder(m_app), m_app.EditorText(), ListedFile(m_app), GetTickCount());
    m_notices = 0;
    m_bNoticeDue = m_model.InConflict();
}

void Walk::StartSave()
{
    int way = Random(0, 2);
    MemoFolder folder = ReadMemoFolder(m_app);
    if (way == 1 && (folder.empty() || !m_app.SelectInList(folder.begin()->first))) way = 2;
    if (way < 2) {
        int id = way == 0 ? kNewMemo : kFileList;
        SendMessageCallbackA(m_app.Window(), WM_COMMAND, MAKEWPARAM(id, way == 0 ? BN_CLICKED : CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(m_app.Child(id)), NoteHandled, 0);
        return;
    }
    ASSERT_NO_FATAL_FAILURE(Pin(false));
    m_app.FocusChild(kEditor);
    ActivateOtherWindow();
}

void Walk::CheckSettled()
{
    m_bNoticeDue = m_bNoticeDue || m_model.InConflict();
    TookNotice(BoxOfProgram());
    ASSERT_FALSE(BoxOfProgram()) << "a message box: " << ReadAndDismiss(BoxOfProgram());
    MemoFolder folder = ReadMemoFolder(m_app);
    ASSERT_TRUE(m_model.CheckSettled(folder, m_app.EditorText(), GetTickCount())) << LastSteps();
}

void Walk::Command(int id, WORD code, bool& declined)
{
    m_bHandled = false;
    ASSERT_TRUE(SendMessageCallbackA(m_app.Window(), WM_COMMAND, MAKEWPARAM(id, code),
                                     reinterpret_cast<LPARAM>(m_app.Child(id)), NoteHandled,
                                     reinterpret_cast<ULONG_PTR>(&m_bHandled)));
    ASSERT_NO_FATAL_FAILURE(AwaitAnswering([&] { return m_bHandled; }, declined));
}

void Walk::AwaitAnswering(const std::function<bool()>& done, bool& declined)
{
    declined = false;
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        box = BoxOfProgram();
        if (TookNotice(box)) box = nullptr;
        return box || done();
    }, 30000)) << "the step did not end";
    if (!box) return;
    ASSERT_EQ(kUnstorableCaption, MemoApp::WindowText(box)) << "a message box: " << ReadAndDismiss(box);
    ++m_figures.questions;
    declined = Random(0, 2) == 0;
    Note(declined ? "asked, and said no" : "asked, and said yes");
    m_figures.declined += declined;
    PostMessageA(box, WM_COMMAND, declined ? IDNO : IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(WaitUntil([&] {
        HWND next = BoxOfProgram();
        return (next == nullptr || TookNotice(next)) && (declined || done());
    }, 30000))
        << "the step did not end after the answer: " << ReadAndDismiss(BoxOfProgram());
    if (declined) WaitUntil(done, 5000);
}

HWND Walk::BoxOfProgram() const
{
    for (HWND box : TopLevelWindowsOf(m_app.ProcessId(), "#32770")) {
        if (IsWindowVisible(box)) return box;
    }
    return nullptr;
}

bool Walk::TookNotice(HWND box)
{
    if (!box || !(m_bNoticeDue || m_model.InConflict())) return false;
    if (MemoApp::WindowText(box) == kUnstorableCaption) return false;
    ++m_notices;
    ++m_figures.notices;
    Note("notice: " + ReadAndDismiss(box));
    EXPECT_LE(m_notices, 1) << "more than one notice before the memo was saved" << LastSteps();
    return true;
}

void Walk::Pin(bool pinned)
{
    SendMessageA(m_app.Child(kPin), BM_SETCHECK, pinned ? BST_CHECKED : BST_UNCHECKED, 0);
    ASSERT_TRUE(m_app.Command(kPin)) << "the pin box was not handled";
}

TEST(UserWalk, RandomStepsAndKillsLoseNoTextDamageNoMemoAndMakeNoDuplicate)
{
    unsigned seed = ChooseSeed();
    int steps = FromEnvironment("MOSSVANE_WALK_STEPS", 80);
    int kills = FromEnvironment("MOSSVANE_WALK_KILLS", 8);
    std::cout << "[ walk     ] seed " << seed << " (MOSSVANE_WALK_SEED=" << seed << " replays it), " << steps
              << " steps, " << kills << " kills" << std::endl;
    SCOPED_TRACE("seed " + std::to_string(seed));
    Walk walk(seed);
    walk.Run(steps, kills);
    const Figures& figures = walk.Result();
    RecordProperty("seed", std::to_string(seed));
    RecordProperty("steps", std::to_string(figures.steps));
    RecordProperty("kills", std::to_string(figures.kills));
    RecordProperty("kills_in_saves", std::to_string(figures.killsInSaves));
    RecordProperty("kills_after_pastes", std::to_string(figures.killsAfterPastes));
    RecordProperty("questions", std::to_string(figures.questions));
    RecordProperty("declined", std::to_string(figures.declined));
    RecordProperty("renames", std::to_string(figures.renames));
    RecordProperty("searches", std::to_string(figures.searches));
    RecordProperty("deletes", std::to_string(figures.deletes));
    RecordProperty("written_elsewhere", std::to_string(figures.writtenElsewhere));
    RecordProperty("touched_elsewhere", std::to_string(figures.touchedElsewhere));
    RecordProperty("deleted_elsewhere", std::to_string(figures.deletedElsewhere));
    RecordProperty("conflicts", std::to_string(figures.conflicts));
    RecordProperty("notices", std::to_string(figures.notices));
    RecordProperty("worst_loss_ms", std::to_string(figures.worstLossMs));
    RecordProperty("loss_bound_ms", std::to_string(kLossBoundMs));
}
}  // namespace
