#include "memo/journal.h"

#include <cctype>

#include "app/bounded.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "memo/memofiles.h"

namespace {
const char kJournalFile[] = "~memojournal.bin";
const char kJournalTemp[] = "~memojournal.tmp";
// A journal is the text of one memo: a few times the largest memo suffices.
const DWORD kLargestJournal = 256u * 1024 * 1024;

// A journal's owner fields come before its text, within these bytes.
const DWORD kJournalHead = 4096;

// The same folder names the same copy, whatever the case of its spelling;
// its characters are folded, not its bytes, so that two names apart in a
// double-byte character are told apart.
uint32_t FolderKey(const char* dir)
{
    std::string folded = FoldMemoName(dir);
    return Crc32(folded.data(), folded.size());
}

// The version before folded the bytes.
uint32_t EarlierFolderKey(const char* dir)
{
    std::string folded(dir);
    for (char& c : folded) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return Crc32(folded.data(), folded.size());
}

std::string OwnMemoFolder()
{
    char folder[kPathSize];
    return FormatMemoFolder(folder, sizeof(folder)) ? folder : "";
}
}  // namespace

bool CRecoveryJournal::FormatPaths(Place place, char* journal, char* temp) const
{
    if (place == kMemoFolder) {
        char folder[kPathSize];
        return FormatMemoFolder(folder, sizeof(folder)) &&
               FormatBounded(journal, kPathSize, "%s%s", folder, kJournalFile) &&
               FormatBounded(temp, kPathSize, "%s%s", folder, kJournalTemp);
    }
    char dir[kPathSize];
    char tempDir[kPathSize];
    DWORD length = GetTempPathA(sizeof(tempDir), tempDir);
    if (length == 0 || length >= sizeof(tempDir) || !GetCurrentDirectoryBounded(dir, sizeof(dir))) return false;
    uint32_t key = place == kTempFolder ? FolderKey(dir) : EarlierFolderKey(dir);
    return FormatBounded(journal, kPathSize, "%sMossvanePad-%08X.journal", tempDir, key) &&
           FormatBounded(temp, kPathSize, "%sMossvanePad-%08X.journal.tmp", tempDir, key);
}

bool CRecoveryJournal::WriteAt(Place place, const std::string& bytes, DWORD& error)
{
    char journal[kPathSize];
    char temp[kPathSize];
    if (place == kMemoFolder && !m_bKeep[place] && IsAnothersAt(place)) m_bKeep[place] = true;
    if (m_bKeep[place]) {
        error = ERROR_ALREADY_EXISTS;
        return false;
    }
    if (!FormatPaths(place, journal, temp)) {
        error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    error = WriteFileThrough(temp, journal, bytes.data(), static_cast<DWORD>(bytes.size()), true);
    return error == ERROR_SUCCESS;
}

DWORD CRecoveryJournal::Write(JournalRecord record)
{
    record.account = Account();
    record.folder = OwnMemoFolder();
    std::string bytes = EncodeJournal(record);
    DWORD error = ERROR_SUCCESS;
    DWORD tempError = ERROR_SUCCESS;
    Place written = kMemoFolder;
    if (!WriteAt(kMemoFolder, bytes, error)) {
        if (!WriteAt(kTempFolder, bytes, tempError)) return error;
        written = kTempFolder;
    }
    for (int place = 0; place < kPlaces; ++place) {
        if (place != written) RemoveAt(static_cast<Place>(place));
    }
    return ERROR_SUCCESS;
}

const std::string& CRecoveryJournal::Account()
{
    if (m_account.empty()) {
        char name[257] = "";
        DWORD size = sizeof(name);
        if (GetUserNameA(name, &size)) m_account = name;
    }
    return m_account;
}

bool CRecoveryJournal::IsOwn(const JournalRecord& record, Place place)
{
    if (record.account.empty()) return true;
    if (record.account != Account()) return false;
    return place == kMemoFolder || FoldMemoName(record.folder) == FoldMemoName(OwnMemoFolder());
}

bool CRecoveryJournal::IsAnothersAt(Place place)
{
    char journal[kPathSize];
    char temp[kPathSize];
    if (!FormatPaths(place, journal, temp)) return false;
    HANDLE hFile = CreateFileA(journal, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    std::string head(kJournalHead, '\0');
    DWORD read = 0;
    bool ok = ReadFile(hFile, &head[0], kJournalHead, &read, nullptr) != FALSE;
    CloseHandle(hFile);
    head.resize(ok ? read : 0);
    std::optional<JournalRecord> owner = DecodeJournalOwner(head);
    return owner && !IsOwn(*owner, place);
}

// Of two journals the newer comes back now, and the other is kept for the
// next start: it may hold a text that could not be shown before.
std::optional<JournalRecord> CRecoveryJournal::Find()
{
    std::optional<JournalRecord> newest;
    m_found = kPlaces;
    for (int i = 0; i < kPlaces; ++i) {
        Place place = static_cast<Place>(i);
        char journal[kPathSize];
        char temp[kPathSize];
        if (!FormatPaths(place, journal, temp)) continue;
        if (GetFileAttributesA(journal) == INVALID_FILE_ATTRIBUTES) continue;
        std::string bytes;
        std::optional<JournalRecord> record;
        if (ReadWholeFile(journal, bytes, kLargestJournal) == ERROR_SUCCESS) record = DecodeJournal(bytes);
        if (!record || !IsOwn(*record, place)) {
            m_bKeep[place] = true;
            continue;
        }
        if (newest && record->writtenAt <= newest->writtenAt) {
            m_bKeep[place] = true;
            continue;
        }
        if (newest) m_bKeep[m_found] = true;
        newest = std::move(record);
        m_found = place;
    }
    return newest;
}

bool CRecoveryJournal::KeepFound(char* path, size_t size)
{
    char temp[kPathSize];
    char journal[kPathSize];
    if (m_found == kPlaces || !FormatPaths(m_found, journal, temp)) return false;
    m_bKeep[m_found] = true;
    return CopyBounded(path, size, journal);
}

void CRecoveryJournal::RemoveAt(Place place)
{
    char journal[kPathSize];
    char temp[kPathSize];
    if (m_bKeep[place] || !FormatPaths(place, journal, temp)) return;
    DeleteFileA(journal);
}

void CRecoveryJournal::Remove()
{
    RemoveAt(kMemoFolder);
    RemoveAt(kTempFolder);
}
