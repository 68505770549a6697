#include "memo/memostore.h"

#include <cstring>
#include <new>

#include "app/bounded.h"
#include "app/config.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "memo/memofiles.h"
#include "memo/memoname.h"
#include "memo/textencoding.h"
#include "memo/title.h"
#include "memo/unstorable.h"
#include "startup/links.h"

namespace {
const char kLinkCaption[] = "スタートアップへのショートカットの作成に失敗しました %s";
const char kMoveLinkCaption[] = "スタートアップのショートカットの名前の変更に失敗しました %s";

// A memo that is not there is no error; one that is there but cannot be
// opened (another program holds it, say) is.
bool IsMissingFileError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

DWORD ReadOpenFile(HANDLE hFile, std::unique_ptr<char[]>& text, DWORD& size)
{
    DWORD high = 0;
    DWORD fileSize = GetFileSize(hFile, &high);
    if (fileSize == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return GetLastError();
    text.reset(high == 0 && fileSize != MAXDWORD ? new (std::nothrow) char[fileSize + 1] : nullptr);
    if (!text) return ERROR_NOT_ENOUGH_MEMORY;
    if (!ReadFile(hFile, text.get(), fileSize, &size, nullptr)) return GetLastError();
    text[size] = '\0';
    return ERROR_SUCCESS;
}

// Whether the file (full path) is gone: not there, or a folder in its place.
// A file that cannot be asked about is no gone file, and neither is one
// whose folder is out of reach (a share that dropped).
bool IsGone(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return GetLastError() == ERROR_FILE_NOT_FOUND;
}

uint64_t Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// The stamp of memo `name`'s file in the memo folder; none for no memo.
MemoStamp StampOfMemo(const std::string& name)
{
    char folder[kPathSize];
    char file[kPathSize];
    FormatMemoFolder(folder, sizeof(folder));
    ScopedCurrentDirectory inMemo(folder);
    if (!inMemo.ok() || !FormatMemoFileName(file, sizeof(file), name)) return {};
    return StampOfFile(file);
}
}  // namespace

DWORD CMemoStore::Read(const std::string& name, std::unique_ptr<char[]>& text, DWORD& size, bool& missing)
{
    size = 0;
    missing = true;
    char file[kPathSize];
    char folder[kPathSize];
    if (!FormatMemoFileName(file, sizeof(file), name)) return ERROR_INVALID_NAME;
    FormatMemoFolder(folder, sizeof(folder));
    ScopedCurrentDirectory inMemo(folder);
    if (!inMemo.ok()) return ERROR_PATH_NOT_FOUND;
    HANDLE hFile = CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        missing = IsMissingFileError(error);
        return error;
    }
    missing = false;
    DWORD error = ReadOpenFile(hFile, text, size);
    const MemoStamp stamp = StampOfOpenFile(hFile);
    CloseHandle(hFile);
    if (error != ERROR_SUCCESS) return error;
    TakeRead(name, stamp, text.get(), size, Now());
    return ERROR_SUCCESS;
}

// The journal goes as soon as the text is on disk, before the link work: a
// kill during that work must not bring the text back as a second copy. The
// memo folder, which a deletion while the program runs must not leave the
// memo without, is made again.
DWORD CMemoStore::Store(const char* text, DWORD length, bool edited, std::string& name, LinkFailure& linkFailure,
                        bool& linkDropped)
{
    const bool detached = m_shown.IsDetached();
    const std::string current = FileMemo();
    const MemoEncoding encoding = SaveEncoding();
    if (detached && IsMarkedStartup()) {
        MarkStartup(false);
        linkDropped = true;
    }
    m_journal.FormPaths();
    char folder[kPathSize];
    FormatMemoFolder(folder, sizeof(folder));
    if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(folder, nullptr);
    ScopedCurrentDirectory inMemo(folder);
    if (!inMemo.ok()) return ERROR_PATH_NOT_FOUND;
    bool written = false;
    DWORD error = WriteInMemoFolder(text, length, edited, name, current, written);
    if (error != ERROR_SUCCESS) return error;
    m_journal.Remove();
    if (written) {
        TakeStored(name, text, length);
        m_shown.SetEncoding(encoding);
    }
    FollowWithLink(written, name, current, linkFailure, linkDropped);
    return ERROR_SUCCESS;
}

// The file was written just now; it is read back only by its attributes.
// Runs in the memo folder.
void CMemoStore::TakeStored(const std::string& name, const char* text, DWORD length)
{
    char file[kPathSize];
    if (!FormatMemoFileName(file, sizeof(file), name)) {
        m_shown.Forget();
        return;
    }
    m_shown.Take(name, StampOfFile(file), text, length, Now());
}

// Runs in the memo folder. `written`: the text went to disk under `name`;
// otherwise the current memo's file is as it should be.
DWORD CMemoStore::WriteInMemoFolder(const char* text, DWORD length, bool edited, std::string& name,
                                    const std::string& current, bool& written)
{
    if (IsStoredUnchanged(edited, current)) return ERROR_SUCCESS;
    std::optional<std::string> chosen = ChooseMemoName(name, current, MemoFileExists, FoldMemoName);
    if (!chosen) return ERROR_FILE_EXISTS;
    name = *chosen;
    // A file that came back after it was found deleted holds another text.
    DWORD error = StoreMemo(text, length, name, m_shown.IsGone() ? std::string(kNoMemoName) : current);
    written = error == ERROR_SUCCESS;
    return error;
}

// The memo is stored as `name`, having been `current` (`written`), or its
// file was already as it should be: its Startup link follows the mark, and
// a written memo is the current one from now on, its file all the editor's.
// Runs in the memo folder.
void CMemoStore::FollowWithLink(bool written, const std::string& name, const std::string& current,
                                LinkFailure& linkFailure, bool& linkDropped)
{
    if (!written) {
        UpdateStartupLink(current.c_str(), linkFailure, linkDropped);
        return;
    }
    g_config->SetPrevFile(name.c_str());
    m_unheldMemo.clear();
    if (name != current) {
        if (!IsMarkedStartup()) RemoveMemoLink(current.c_str());
        else linkFailure = {RenameMemoLink(name.c_str(), current.c_str()), kMoveLinkCaption, current};
    }
    UpdateStartupLink(name.c_str(), linkFailure, linkDropped);
}

// Not written again: the editor cannot give back every byte it was given
// (a NUL, a broken double-byte pair), and the file may have been changed by
// another program since. Runs in the memo folder.
bool CMemoStore::IsStoredUnchanged(bool edited, const std::string& current) const
{
    char file[kPathSize];
    if (edited || !FormatMemoFileName(file, sizeof(file), current)) return false;
    DWORD attributes = GetFileAttributesA(file);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs in the memo folder, as the link operations expect. A link that could
// not be made takes the mark back: the window must not claim a link that is
// not there. The first failure of the save is the one told of.
void CMemoStore::UpdateStartupLink(const char* name, LinkFailure& linkFailure, bool& linkDropped)
{
    if (!IsMarkedStartup()) {
        RemoveMemoLink(name);
        return;
    }
    DWORD error = CreateMemoLink(name);
    if (error == ERROR_SUCCESS) return;
    MarkStartup(false);
    linkDropped = true;
    if (linkFailure.error == ERROR_SUCCESS) linkFailure = {error, kLinkCaption, name};
}

void CMemoStore::RecoverInterruptedRename()
{
    char folder[kPathSize];
    if (!FormatMemoFolder(folder, sizeof(folder))) return;
    ScopedCurrentDirectory inMemo(folder);
    if (inMemo.ok()) BringBackRenamedMemo();
}

bool CMemoStore::FormatMemoPath(const std::string& name, char* path, size_t size) const
{
    char folder[kPathSize];
    char file[kPathSize];
    return FormatMemoFolder(folder, sizeof(folder)) && FormatMemoFileName(file, sizeof(file), name) &&
           FormatBounded(path, size, "%s%s", folder, file);
}

// A memo that no file holds yet is asked for by the program's folder, where
// its file would be made.
bool CMemoStore::CanRecycle(bool hasText) const
{
    char path[kPathSize];
    if (FormatMemoPath(g_config->PrevFile, path, sizeof(path)) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return ::CanRecycle(path);
    if (!hasText || !GetCurrentFolderPath(path, sizeof(path))) return true;
    return ::CanRecycle(path);
}

// The text shown is stored before anything goes. Then the file goes before
// the rest: while it is still there, so are its Startup link and the
// journal, and the memo stays whole for the user to try again.
DWORD CMemoStore::Delete(const char* text, DWORD length, const std::string* file, bool edited, bool forGood)
{
    // A detached text was never stored: the file it left holds a change
    // made elsewhere, which no delete of this text takes along.
    if (forGood && m_shown.IsDetached()) {
        MarkStartup(false);
        m_journal.Remove();
        m_shown.Forget();
        return ERROR_SUCCESS;
    }
    if (!forGood && length > 0) {
        std::string name = DeriveTitle(text, IsAnsiLeadByte);
        LinkFailure linkFailure;
        bool linkDropped = false;
        const char* bytes = file ? file->data() : text;
        const DWORD size = file ? static_cast<DWORD>(file->size()) : length;
        DWORD error = Store(bytes, size, edited, name, linkFailure, linkDropped);
        if (error != ERROR_SUCCESS) return error;
    }
    const std::string name = g_config->PrevFile;
    char path[kPathSize];
    if (FormatMemoPath(name, path, sizeof(path)) && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        DWORD error = RemoveMemoFile(path, forGood);
        if (error != ERROR_SUCCESS) return error;
    }
    if (IsMarkedStartup() && !IsReservedMemoName(name)) DeleteMemoLink(name.c_str());
    MarkStartup(false);
    m_journal.Remove();
    m_shown.Forget();
    m_unheldMemo.clear();
    return ERROR_SUCCESS;
}

void CMemoStore::MarkStartup(bool marked)
{
    g_bStartupLink = marked ? TRUE : FALSE;
}

bool CMemoStore::IsMarkedStartup() const
{
    return g_bStartupLink != FALSE;
}

bool CMemoStore::HoldsUnheldBytes() const
{
    return !m_unheldMemo.empty() && m_unheldMemo == g_config->PrevFile;
}

// A file in a Unicode encoding decodes whole and is written back whole.
void CMemoStore::TakeRead(const std::string& name, const MemoStamp& stamp, const char* bytes, size_t size,
                          uint64_t at)
{
    m_shown.Take(name, stamp, bytes, size, at);
    const MemoEncoding encoding = DetectEncoding(bytes, size);
    m_shown.SetEncoding(encoding);
    if (encoding != MemoEncoding::ShiftJis || IsHeldExactly(bytes, size)) m_unheldMemo.clear();
    else m_unheldMemo = name;
}

// A text detached from its memo's file was typed over that file's text, in
// its encoding.
MemoEncoding CMemoStore::SaveEncoding() const
{
    if (m_shown.IsDetached() || m_shown.Knows(g_config->PrevFile)) return m_shown.Encoding();
    return MemoEncoding::ShiftJis;
}

std::string CMemoStore::EncodeCharacters(const std::wstring& characters) const
{
    // wchar_t is UTF-16 on Windows.
    return EncodeText(std::u16string(characters.begin(), characters.end()), SaveEncoding());
}

DWORD CMemoStore::WriteJournal(const char* text, DWORD length, const wchar_t* wide, size_t wideLength)
{
    JournalRecord record;
    // A detached text is restored as a memo of its own, like a new one.
    record.memo = FileMemo();
    if (m_shown.Knows(record.memo)) record.base = m_shown.Stamp();
    record.writtenAt = Now();
    record.text.assign(text, length);
    // wchar_t is UTF-16 on Windows.
    record.wide.assign(reinterpret_cast<const char16_t*>(wide), wideLength);
    return m_journal.Write(std::move(record));
}

// A run ended between storing the text and removing the journal left the
// text stored already, under the name that save chose: restored as a memo
// of its own, it would be stored a second time.
std::string CMemoStore::RestoreTarget(const JournalRecord& record, bool& stored)
{
    // A text that had to lose characters matches a file that lost the same
    // ones: only the journal holds them, so it is restored, not dropped.
    std::string holder = record.wide.empty() ? FindStoredText(record.text, record.memo) : std::string();
    stored = !holder.empty();
    if (stored) return holder;
    if (IsReservedMemoName(record.memo) || !record.base.present) return kNoMemoName;
    return StampOfMemo(record.memo) == record.base ? record.memo : kNoMemoName;
}

void CMemoStore::FinishRename(const JournalRecord& record, const std::string& holder)
{
    if (IsReservedMemoName(record.memo) || !record.base.present || IsSameMemoName(holder, record.memo, FoldMemoName) ||
        !(StampOfMemo(record.memo) == record.base))
        return;
    char path[kPathSize];
    if (!FormatMemoPath(record.memo, path, sizeof(path)) || !::CanRecycle(path) ||
        RemoveMemoFile(path, false) != ERROR_SUCCESS)
        return;
    char folder[kPathSize];
    FormatMemoFolder(folder, sizeof(folder));
    ScopedCurrentDirectory inMemo(folder);
    if (inMemo.ok()) RenameMemoLink(holder.c_str(), record.memo.c_str());
}

std::string CMemoStore::FindStoredText(const std::string& text, const std::string& preferred) const
{
    char folder[kPathSize];
    if (text.empty() || !FormatMemoFolder(folder, sizeof(folder))) return "";
    ScopedCurrentDirectory inMemo(folder);
    if (!inMemo.ok()) return "";
    std::string file = FindMemoHolding(text, preferred);
    return file.empty() ? "" : MemoNameOfFile(file);
}

std::string CMemoStore::KeepJournal()
{
    char path[kPathSize];
    return m_journal.KeepFound(path, sizeof(path)) ? path : "";
}

// The memo's file was read before this run only: whether it holds bytes the
// editor cannot give back is asked again.
void CMemoStore::AdoptRestored(const JournalRecord& record, const std::string& name)
{
    const bool same = name == record.memo;
    m_shown.Forget();
    m_unheldMemo.clear();
    char path[kPathSize];
    std::string bytes;
    if (!same || !FormatMemoPath(name, path, sizeof(path)) || ReadWholeFile(path, bytes, kLargestMemo) != ERROR_SUCCESS)
        return;
    TakeRead(name, record.base, bytes.data(), bytes.size(), record.writtenAt);
}

Elsewhere CMemoStore::Look()
{
    const std::string name = g_config->PrevFile;
    char path[kPathSize];
    if (!m_shown.Knows(name) || !FormatMemoPath(name, path, sizeof(path))) return Elsewhere::Same;
    const MemoStamp now = StampOfFile(path);
    if (!now.present) return IsGone(path) ? Elsewhere::Deleted : Elsewhere::Same;
    const bool read = m_shown.NeedsBytes(now);
    std::string bytes;
    // A file that cannot be read now under the time seen is taken as seen:
    // a write then fails and tells the user why. Under a new time it is
    // being written elsewhere, and a write could replace it all the same.
    if (read && ReadWholeFile(path, bytes, kLargestMemo) != ERROR_SUCCESS) {
        if (IsGone(path)) return Elsewhere::Deleted;
        return now.writeTime == m_shown.Stamp().writeTime ? Elsewhere::Same : Elsewhere::Changed;
    }
    const Elsewhere found = m_shown.Compare(now, read ? bytes.data() : nullptr, bytes.size());
    if (found == Elsewhere::Touched || (read && found == Elsewhere::Same)) m_shown.TakeTouch(now, Now());
    return found;
}

std::string CMemoStore::FileMemo() const
{
    return m_shown.IsDetached() ? std::string(kNoMemoName) : std::string(g_config->PrevFile);
}
