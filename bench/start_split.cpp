// The start taken apart from outside, with nothing added to the program: the
// system tells the benchmark of each window the starting process makes and
// of each focus it gives (out-of-context WinEvents, stamped with the tick
// count when they happen). Each step is the moment its event came, counted
// from CreateProcess, up to the moment the window answers. Between two
// events lies what the process did meanwhile: between the editor made and
// its first focus, the program's load of the memo with its looks for what an
// interrupted save left behind; between the list made and the Startup box
// made, the list's look at the folder. Wine tells of no first focus of a
// process: there it shows as the input method's COM window
// (OleMainThreadWndClass), which the focus makes as it activates the input
// method. The floor windows are taken apart the same way, in turns. The tick
// count counts whole milliseconds.
#include "bench/start_split.h"

#include <windows.h>

#include <algorithm>

#include "bench/benches.h"

namespace {
const int kWarmUpRounds = 1;
const int kRounds = 10;
const DWORD kAnswerMs = 5000;
const DWORD kReadyCapMs = 30000;
const char kAnswers[] = "answers";
const double kClockReadingMs = 5;

struct Mark {
    std::string name;
    double ms;  // since the start
};

struct Event {
    std::string name;
    DWORD tick;
};

// The events' clock, the tick count, less NowMicros's in milliseconds. The
// tick count lags: Wine renews it as its server works, Windows at its timer's
// tick. So it is read many times, each right after a call that reaches the
// server and before the other clock: the largest difference is the closest.
double TickLessNowMs()
{
    const double until = NowMicros() + kClockReadingMs * 1000;
    double offset = -1e300;
    for (double now = 0; now < until;) {
        WaitForSingleObject(GetCurrentProcess(), 0);
        const DWORD tick = GetTickCount();
        now = NowMicros();
        offset = std::max(offset, static_cast<double>(tick) - now / 1000);
    }
    return offset;
}

// The events of one start, in the order they came. One at a time: the
// system's callback has no context of its own.
class StartEvents {
public:
    StartEvents()
    {
        s_current = this;
        m_hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_FOCUS, nullptr, OnEvent, 0, 0,
                                 WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }
    ~StartEvents()
    {
        if (m_hook) UnhookWinEvent(m_hook);
        s_current = nullptr;
    }
    StartEvents(const StartEvents&) = delete;
    StartEvents& operator=(const StartEvents&) = delete;

    // The thread whose events count.
    void Watch(DWORD thread) { m_thread = thread; }
    bool ok() const { return m_hook != nullptr; }
    // In milliseconds since `startMicros` (NowMicros), with `tickLessNowMs`
    // from TickLessNowMs.
    std::vector<Mark> Marks(double startMicros, double tickLessNowMs) const
    {
        std::vector<Mark> marks;
        for (const Event& event : m_events)
            marks.push_back({event.name, event.tick - tickLessNowMs - startMicros / 1000});
        return marks;
    }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hWnd, LONG object, LONG child, DWORD thread,
                                 DWORD time)
    {
        if (!s_current || thread != s_current->m_thread || child != CHILDID_SELF) return;
        if (event == EVENT_OBJECT_CREATE && object == OBJID_WINDOW)
            s_current->m_events.push_back({NameOf(hWnd) + " made", time});
        if (event == EVENT_OBJECT_FOCUS) s_current->m_events.push_back({NameOf(hWnd) + " focused", time});
    }

    static std::string NameOf(HWND hWnd)
    {
        char className[64] = "";
        GetClassNameA(hWnd, className, sizeof(className));
        if (lstrcmpiA(className, "ComboLBox") == 0) return "the memo list's drop-down";
        if (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) return ControlName(hWnd);
        return Format("a top-level window (%s)", className);
    }

    static StartEvents* s_current;
    HWINEVENTHOOK m_hook = nullptr;
    DWORD m_thread = 0;
    std::vector<Event> m_events;
};
StartEvents* StartEvents::s_current = nullptr;

// One start until the window answers; empty when it did not. The events are
// all in once the window answered: each was posted before the answer.
std::vector<Mark> MarksOfOneStart(const Program& program)
{
    const double tickLessNowMs = TickLessNowMs();
    StartEvents events;
    Launched launched(program);
    events.Watch(launched.ThreadId());
    const double readyMs = launched.WaitReady(kAnswerMs, kReadyCapMs);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::vector<Mark> marks = events.Marks(launched.StartMicros(), tickLessNowMs);
    launched.Close();
    if (!events.ok() || readyMs < 0) return {};
    marks.push_back({kAnswers, readyMs});
    return marks;
}

// Per mark, in the order of the first round: when it came, and how long
// after the mark before it.
struct Steps {
    std::vector<std::string> order;
    std::vector<std::vector<double>> at, after;

    void Add(const std::vector<Mark>& marks)
    {
        for (size_t i = 0; i < marks.size(); ++i) {
            const size_t step = IndexOf(marks[i].name);
            at[step].push_back(marks[i].ms);
            after[step].push_back(marks[i].ms - (i > 0 ? marks[i - 1].ms : 0));
        }
    }

    const std::vector<double>* At(const std::string& name) const
    {
        const size_t step = Find(name);
        return step < order.size() ? &at[step] : nullptr;
    }

private:
    size_t Find(const std::string& name) const
    {
        size_t step = 0;
        while (step < order.size() && order[step] != name) ++step;
        return step;
    }

    size_t IndexOf(const std::string& name)
    {
        const size_t step = Find(name);
        if (step < order.size()) return step;
        order.push_back(name);
        at.emplace_back();
        after.emplace_back();
        return step;
    }
};

void AddRows(std::vector<Row>& rows, const std::string& prefix, const Steps& side, const Steps* other,
             const char* otherName)
{
    for (size_t i = 0; i < side.order.size(); ++i) {
        std::string note = Format("%.0f ms after the step before", Median(side.after[i]));
        const std::vector<double>* otherAt = other ? other->At(side.order[i]) : nullptr;
        if (otherAt && !otherAt->empty()) note += Format("; %s at %.0f ms", otherName, Median(*otherAt));
        rows.push_back({prefix + side.order[i], "ms", side.at[i], note});
    }
}
}  // namespace

std::vector<Row> SplitStart(const Program& pad, const std::vector<NamedProgram>& floors, const std::string& what)
{
    Steps padSteps;
    std::vector<Steps> floorSteps(floors.size());
    for (int round = -kWarmUpRounds; round < kRounds; ++round) {
        const std::vector<Mark> padMarks = MarksOfOneStart(pad);
        if (round >= 0) padSteps.Add(padMarks);
        for (size_t i = 0; i < floors.size(); ++i) {
            const std::vector<Mark> floorMarks = MarksOfOneStart(floors[i].program);
            if (round >= 0) floorSteps[i].Add(floorMarks);
        }
    }
    if (padSteps.order.empty()) return {{"start split" + what + ": (no events came)", "", {}, ""}};
    std::vector<Row> rows;
    const Steps* first = floorSteps.empty() ? nullptr : &floorSteps[0];
    AddRows(rows, "start split" + what + ": MossvanePad, ", padSteps, first, first ? floors[0].name.c_str() : "");
    for (size_t i = 0; i < floors.size(); ++i)
        AddRows(rows, "start split" + what + ": " + floors[i].name + ", ", floorSteps[i], nullptr, "");
    return rows;
}
