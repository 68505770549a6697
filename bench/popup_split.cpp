// The pop-up taken apart: the benchmark does each step of a pop-up itself,
// on the hidden memo window, on the floor window and on the floor window with
// the memo window's controls, and times each step on its own: the DPI
// look-up, the show, the paint of the window and of each control, the
// top-most move, the synthetic click, and the wait until the editor has the
// focus and the button bar is hidden. A window of another process is painted
// when asked (its thread gets WM_PAINT sent), so each control's paint is its
// own figure. What the layered composition costs shows in BenchPopUp's floor
// that is not layered. The memo list's look at the memo folder, which comes
// on a timer once the pop-up is done, is timed beside a message that does
// nothing.
#include <windows.h>

#include <string>

#include "app/messages.h"
#include "bench/benches.h"
#include "tests/e2e/harness.h"

namespace {
const int kWarmUpRounds = 2;
const int kRounds = 12;
const DWORD kUpMs = 5000;
const int kClickInset = 20;

typedef HRESULT(WINAPI* GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);

// The program's look-up of the DPI where the cursor is.
int DpiAt(POINT at)
{
    static const GetDpiForMonitorFn getDpi = reinterpret_cast<GetDpiForMonitorFn>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("shcore.dll"), "GetDpiForMonitor")));
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
    if (getDpi && SUCCEEDED(getDpi(monitor, 0, &x, &y))) return static_cast<int>(x);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class Steps {
public:
    explicit Steps(std::vector<Row>& rows) : m_rows(rows) {}
    // `count`, where given, is recorded instead of the time.
    template <typename F>
    void Time(const std::string& name, F step, double count = -1)
    {
        const double start = NowMicros();
        step();
        Add(name, count >= 0 ? count : NowMicros() - start);
    }

private:
    void Add(const std::string& name, double micros)
    {
        for (Row& row : m_rows) {
            if (row.name != name) continue;
            row.samples.push_back(micros);
            return;
        }
        m_rows.push_back({name, "us", {micros}, ""});
    }
    std::vector<Row>& m_rows;
};

// One pop-up, step by step, from the window hidden and idle; false when
// it did not come up. `rows` is null for a warm-up round.
bool PopUpStepByStep(HWND window, bool lookUpDpi, std::vector<Row>* rows)
{
    std::vector<Row> ignored;
    Steps steps(rows ? *rows : ignored);
    POINT cursor;
    GetCursorPos(&cursor);
    if (lookUpDpi) steps.Time("DPI look-up at the cursor", [&] { DpiAt(cursor); });
    HWND list = GetDlgItem(window, IDC_FILELIST);
    if (list) {
        steps.Time("list's look at the folder, unchanged", [&] { SendMessageA(list, WM_TIMER, LIST_CATCHUP_TIMER, 0); });
        steps.Time("(a message to the list: WM_NULL)", [&] { SendMessageA(list, WM_NULL, 0, 0); });
    }
    steps.Time("show (not yet painted)", [&] { ShowWindow(window, SW_SHOWNA); });
    steps.Time("paint: the window's own area", [&] { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN); });
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        steps.Time("paint: " + ControlName(child),
                   [&] { RedrawWindow(child, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); });
    }
    steps.Time("top-most move to the cursor", [&] {
        SetWindowPos(window, HWND_TOPMOST, cursor.x - 200, cursor.y - 125, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    });
    RECT editor;
    GetWindowRect(GetDlgItem(window, IDC_EDIT), &editor);
    HWND barButton = GetDlgItem(window, IDC_NEWMEMO);
    if (barButton) steps.Time("(the button bar up before the click: 1)", [] {}, IsWindowVisible(barButton) ? 1 : 0);
    steps.Time("synthetic click (calls return)", [&] {
        SetCursorPos(editor.right - kClickInset, editor.bottom - kClickInset);
        mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, POPUP_CLICK_INFO);
        mouse_event(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, 0, 0, 0, POPUP_CLICK_INFO);
        SetCursorPos(cursor.x, cursor.y);
    });
    bool up = false;
    steps.Time("until the editor is focused", [&] { up = PollUntil([window] { return IsUp(window); }, kUpMs); });
    return up;
}

const Row* Find(const std::vector<Row>& rows, const std::string& name)
{
    for (const Row& row : rows) {
        if (row.name == name) return &row;
    }
    return nullptr;
}
}  // namespace

std::string ControlName(HWND control)
{
    switch (GetDlgCtrlID(control)) {
    case IDC_NEWMEMO: return "the New button";
    case IDC_COPYMEMO: return "the Copy button";
    case IDC_DELETEMEMO: return "the Delete button";
    case IDC_SETTING: return "the settings button";
    case IDC_EDIT: return "the editor";
    case IDC_FILELIST: return "the memo list";
    case IDC_STARTUP: return "the Startup box";
    case IDC_SHORTCUT: return "the Shortcut box";
    case IDC_PIN: return "the pin";
    }
    return Format("control %d", GetDlgCtrlID(control));
}

std::vector<Row> SplitPopUp(HWND memo, HWND floor)
{
    const FloorWindow controls(FloorKind::Controls);
    if (!controls.Window() || !HideAndSettle(controls.Window()))
        return {{"pop-up split: (no floor window with controls)", "", {}, ""}};
    std::vector<Row> sides[3];
    const HWND windows[3] = {memo, floor, controls.Window()};
    for (int round = -kWarmUpRounds; round < kRounds; ++round) {
        for (int i = 0; i < 3; ++i) {
            if (!PopUpStepByStep(windows[i], i == 0, round >= 0 ? &sides[i] : nullptr))
                return {{Format("pop-up split: (window %d did not come up)", i), "", {}, ""}};
            if (!HideAndSettle(windows[i])) return {{Format("pop-up split: (window %d did not hide)", i), "", {}, ""}};
        }
    }
    std::vector<Row> rows;
    for (Row row : sides[0]) {
        const Row* floorRow = Find(sides[1], row.name);
        const Row* controlsRow = Find(sides[2], row.name);
        row.note = floorRow ? Format("floor %.1f us", Median(floorRow->samples)) : "the floor has none";
        if (controlsRow) row.note += Format("; with the controls %.1f us", Median(controlsRow->samples));
        row.name = "  step: " + row.name;
        rows.push_back(row);
    }
    for (Row row : sides[1]) {
        if (Find(sides[0], row.name)) continue;
        row.note = "the floor's only";
        row.name = "  step: " + row.name;
        rows.push_back(row);
    }
    return rows;
}
