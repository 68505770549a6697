// The memo list's refresh as the count of memos grows, and saving, loading
// and switching memos as their size grows, each timed as the send of the
// command that the memo window carries out.
#include <windows.h>

#include <optional>
#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "bench/memo_files.h"
#include "memo/journalformat.h"
#include "tests/e2e/harness.h"

namespace {
const int kWarmUpRounds = 2;
const int kRounds = 15;

const DWORD kShowCapMs = 60000;

// Until the command is carried out, `done` holds and the effect is painted:
// the paint is sent to the program's thread and waited for.
template <typename Done>
double TimeCommandMs(const MemoApp& app, int id, WORD code, Done done)
{
    const double start = NowMicros();
    app.Command(id, code);
    PollUntil(done, kShowCapMs);
    RedrawWindow(app.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return (NowMicros() - start) / 1000;
}

double TimeCommandMs(const MemoApp& app, int id, WORD code)
{
    return TimeCommandMs(app, id, code, [] { return true; });
}

LRESULT ListMessage(const MemoApp& app, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(app.Child(IDC_FILELIST), msg, wParam, lParam);
}

size_t EditorLength(const MemoApp& app)
{
    return static_cast<size_t>(SendMessageA(app.Editor(), WM_GETTEXTLENGTH, 0, 0));
}

// The editor holds the whole memo `name` of `size` bytes: its length, and
// its first line, for two memos of one size.
bool Shows(const MemoApp& app, const std::string& name, size_t size)
{
    if (EditorLength(app) != size) return false;
    const std::string firstLine = name + "\r\n";
    std::string start(firstLine.size() + 1, '\0');
    SendMessageA(app.Editor(), WM_GETTEXT, start.size(), reinterpret_cast<LPARAM>(&start[0]));
    return start.compare(0, firstLine.size(), firstLine) == 0;
}

// Picks the memo's entry in the list as the user does and times the memo
// window's handling of the pick until the editor holds the whole memo,
// which a program may fill after the command returns.
double PickMs(const MemoApp& app, const std::string& name, size_t size)
{
    const std::string entry = name + ".txt";
    // Opened and closed first, as the user does: opening lists the folder.
    ListMessage(app, CB_SHOWDROPDOWN, TRUE);
    ListMessage(app, CB_SHOWDROPDOWN, FALSE);
    LRESULT index = ListMessage(app, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    ListMessage(app, CB_SETCURSEL, static_cast<WPARAM>(index));
    // A pick is made in the list, which has the keyboard focus then: a
    // focused editor costs Wine more to fill (its caret follows every step).
    app.FocusChild(IDC_FILELIST);
    return TimeCommandMs(app, IDC_FILELIST, CBN_SELCHANGE, [&] { return Shows(app, name, size); });
}

// Wine's own cost of showing a memo: its text set into a bare edit box of
// the editor's style, size and font, and painted. Its window, of this
// process, lies clear of the memo window and never takes the activation,
// which would hide the memo window.
class BareEditor {
public:
    explicit BareEditor(const MemoApp& app)
    {
        RECT rc;
        GetWindowRect(app.Editor(), &rc);
        const int width = rc.right - rc.left;
        const int height = rc.bottom - rc.top;
        m_hWnd = CreateWindowExA(WS_EX_LAYERED | WS_EX_NOACTIVATE, "STATIC", nullptr, WS_POPUP, 0,
                                 GetSystemMetrics(SM_CYSCREEN) - height, width, height, nullptr, nullptr, nullptr,
                                 nullptr);
        SetLayeredWindowAttributes(m_hWnd, 0, 230, LWA_ALPHA);
        m_hEdit = CreateWindowExA(0, "EDIT", nullptr, kEditStyle, 0, 0, width, height, m_hWnd, nullptr, nullptr,
                                  nullptr);
        LOGFONTA font = {};  // the editor's font: all else zero
        font.lfHeight = 21;
        lstrcpynA(font.lfFaceName, "メイリオ", LF_FACESIZE);
        m_hFont = CreateFontIndirectA(&font);
        SendMessageA(m_hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), TRUE);
        SendMessageA(m_hEdit, EM_SETLIMITTEXT, 0, 0);  // as the editor: no limit
        ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    }
    ~BareEditor()
    {
        DestroyWindow(m_hWnd);
        DeleteObject(m_hFont);
    }
    // Set as a window text, or as the replacement of the whole selection.
    double ShowMs(const std::string& text, bool replace) const
    {
        SetWindowTextA(m_hEdit, "");
        UpdateWindow(m_hWnd);
        const double start = NowMicros();
        if (replace) {
            SendMessageA(m_hEdit, EM_SETSEL, 0, -1);
            SendMessageA(m_hEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        } else {
            SetWindowTextA(m_hEdit, text.c_str());
        }
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return (NowMicros() - start) / 1000;
    }

private:
    static const DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | ES_MULTILINE |
                                    ES_AUTOVSCROLL | ES_WANTRETURN;
    HWND m_hWnd;
    HWND m_hEdit;
    HFONT m_hFont;
};

// An unedited memo is not written again: marked edited, the next save
// writes it whole, as after typing.
void MarkEdited(const MemoApp& app)
{
    SendMessageA(app.Editor(), EM_SETMODIFY, TRUE, 0);
}

// The journal's timer running out, as while typing: the editor journals its
// text at once.
double JournalMs(const MemoApp& app)
{
    MarkEdited(app);
    const double start = NowMicros();
    SendMessageA(app.Editor(), WM_TIMER, 1, 0);
    return (NowMicros() - start) / 1000;
}

bool JournalHolds(const MemoApp& app, const std::string& text)
{
    std::optional<JournalRecord> record = DecodeJournal(app.ReadFile("memo\\" + JournalFile()));
    return record && record->text == text;
}

// Times `run` over the rounds; nothing is kept when `check` fails after them.
template <typename Run, typename Check>
Row Rounds(const std::string& name, const std::string& note, Run run, Check check)
{
    Row row{name, "ms", {}, note};
    for (int round = -kWarmUpRounds; round < kRounds; ++round) {
        const double ms = run();
        if (round >= 0) row.samples.push_back(ms);
    }
    if (!check()) row = {name, "ms", {}, "the check after the rounds failed"};
    return row;
}
}  // namespace

std::vector<Row> BenchList()
{
    std::vector<Row> rows;
    for (int count : {100, 1000, 10000}) {
        MemoApp app;
        WriteSmallMemos(app, count);
        Row row{Format("memo list: refresh, %d memos", count), "ms", {}, ""};
        if (app.Start()) {
            row = Rounds(row.name, "", [&] { return TimeCommandMs(app, IDC_FILELIST, CBN_DROPDOWN); },
                         [&] { return ListMessage(app, CB_GETCOUNT) == count; });
        }
        if (!row.samples.empty()) row.note = Format("%.1f us per memo", Median(row.samples) * 1000 / count);
        rows.push_back(row);
        app.EndFromTray();
    }
    rows.back().note += " (goal: no faster than linear)";
    return rows;
}

std::vector<Row> BenchMemos()
{
    struct Size {
        const char* label;
        size_t bytes;
    };
    const Size sizes[] = {{"1 KB", 1024}, {"100 KB", 100 * 1024}, {"1 MB", 1024 * 1024}};
    MemoApp app;
    CreateDirectoryA(app.PathOf("memo").c_str(), nullptr);
    for (const Size& size : sizes) {
        for (const char* which : {"A", "B"}) {
            const std::string name = Format("memo %s %s", which, size.label);
            app.WriteFile("memo\\" + name + ".txt", MemoText(name, size.bytes));
        }
    }
    std::vector<Row> saves, journals, loads, floors, switches;
    if (!app.Start()) return {{"memos: (the program did not start)", "ms", {}, ""}};
    BareEditor bare(app);
    for (const Size& size : sizes) {
        const std::string a = Format("memo A %s", size.label);
        const std::string b = Format("memo B %s", size.label);
        auto loaded = [&] { return IsWindowVisible(app.Window()) && EditorLength(app) == size.bytes; };
        PickMs(app, a, size.bytes);
        // The Startup box's command saves the memo at once, as hiding does.
        saves.push_back(Rounds(Format("save: %s memo", size.label), "edited, then the Startup box command",
                               [&] {
                                   MarkEdited(app);
                                   return TimeCommandMs(app, IDC_STARTUP, BN_CLICKED);
                               },
                               [&] { return loaded() && app.Memo(a) == MemoText(a, size.bytes); }));
        journals.push_back(Rounds(Format("journal: %s memo", size.label),
                                  "the journal timer running out (goal: within 1.2x the save)",
                                  [&] { return JournalMs(app); },
                                  [&] { return JournalHolds(app, MemoText(a, size.bytes)); }));
        // After a new memo the editor is empty and its save does nothing.
        loads.push_back(Rounds(Format("load: %s memo", size.label), "picked from the list after a new memo",
                               [&] {
                                   app.Command(IDC_NEWMEMO);
                                   return PickMs(app, a, size.bytes);
                               },
                               loaded));
        const std::string text = MemoText(a, size.bytes);
        floors.push_back(Rounds(Format("load floor: %s text into a bare edit box", size.label), "Wine's own cost",
                                [&] { return bare.ShowMs(text, false); }, [] { return true; }));
        floors.push_back(Rounds(Format("load floor: %s text, the box's selection replaced", size.label),
                                "the same box", [&] { return bare.ShowMs(text, true); }, [] { return true; }));
        int turn = 0;
        switches.push_back(Rounds(Format("switch: between two %s memos", size.label),
                                  "edited, then the other picked: saves one, loads the other",
                                  [&] {
                                      MarkEdited(app);
                                      return PickMs(app, ++turn % 2 ? b : a, size.bytes);
                                  },
                                  loaded));
    }
    app.EndFromTray();
    std::vector<Row> rows = saves;
    rows.insert(rows.end(), journals.begin(), journals.end());
    rows.insert(rows.end(), loads.begin(), loads.end());
    rows.insert(rows.end(), floors.begin(), floors.end());
    rows.insert(rows.end(), switches.begin(), switches.end());
    return rows;
}
