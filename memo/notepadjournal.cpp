#include "memo/notepadwnd.h"

#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "app/bounded.h"
#include "app/config.h"
#include "app/globals.h"
#include "memo/unstorable.h"

// The recovery journal of the text being edited: written within two seconds
// of a change, and brought back at the next start.

namespace {
// Leaves room for the write itself within two seconds of the first change.
const UINT kJournalDelayMs = 1500;
}  // namespace

// The restored text is marked edited, so that the next hide stores it by
// the ordinary save: under its title, beside any memo it would clash with.
bool CNotepadWnd::RestoreFromJournal(bool inMemoFolder)
{
    std::optional<JournalRecord> record = m_store.FindJournal(inMemoFolder);
    if (!record) return false;
    bool stored = false;
    std::string target = m_store.RestoreTarget(*record, stored);
    if (stored) {
        m_store.FinishRename(*record, target);
        m_store.RemoveJournal();
        CopyBounded(m_pszName, kMemoNameSize, target.c_str());
        LoadMemo(false, m_pszName);
        return true;
    }
    // Characters a save would replace come back as they were typed; the
    // question about them comes at the next save.
    std::wstring characters(record->wide.begin(), record->wide.end());
    if (ConvertsTo(record->text.c_str(), static_cast<int>(record->text.size()), characters)) characters.clear();
    std::unique_ptr<char[]> text(characters.empty() ? new (std::nothrow) char[record->text.size() + 1] : nullptr);
    DWORD error = ERROR_NOT_ENOUGH_MEMORY;
    if (!characters.empty()) {
        error = ShowCharacters(characters, true);
    } else if (text) {
        memcpy(text.get(), record->text.c_str(), record->text.size() + 1);
        error = ShowText(std::move(text), record->text.size(), true);
    }
    if (error != ERROR_SUCCESS) {
        ShowRestoreFailure(error);
        return false;
    }
    m_bFillingRestored = IsFilling();
    g_config->SetPrevFile(target.c_str());
    m_store.AdoptRestored(*record, target);
    return true;
}

// One timer for a run of changes, not one write a key: typing on without a
// pause is journaled every time the timer runs out.
void CNotepadWnd::NoteEdit()
{
    if (m_bJournalDue) return;
    m_bJournalDue = SetTimer(m_hWnd, kJournalTimer, kJournalDelayMs, nullptr) != 0;
}

void CNotepadWnd::OnJournalTimer()
{
    KillTimer(m_hWnd, kJournalTimer);
    m_bJournalDue = false;
    if (IsWindowVisible(GetParent(m_hWnd)) && g_nMessageBoxes == 0) Reconcile();
    if (IsModified()) JournalNow();
}

void CNotepadWnd::KeepInJournal()
{
    if (IsModified()) JournalNow();
}

DWORD CNotepadWnd::JournalNow()
{
    int length = 0;
    std::unique_ptr<char[]> text = ReadText(0, length);
    if (!text) return ERROR_NOT_ENOUGH_MEMORY;
    // The characters go in too only where the text does not convert to them:
    // nearly always it does, and a journal of half the size is written
    // sooner. A text still going in came as a save stores it.
    std::wstring characters = IsFilling() ? std::wstring() : ReadWindowCharacters(m_hWnd);
    if (ConvertsTo(text.get(), length, characters)) characters.clear();
    return m_store.WriteJournal(text.get(), static_cast<DWORD>(length), characters.data(), characters.size());
}
