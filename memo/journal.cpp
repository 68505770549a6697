#include "memo/journal.h"

#include <cctype>

#include "app/bounded.h"
#include "app/curdir.h"
#include "app/globals.h"
#include "memo/memofiles.h"

namespace {
// The memo folder's name of the versions before.
const char kEarlierJournalFile[] = "~memojournal.bin";
const char kEarlierJournalTemp[] = "~memojournal.tmp";
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

// The first version folded the bytes.
uint32_t FirstFolderKey(const char* dir)
{
    std::string folded(dir);
    for (char& c : folded) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return Crc32(folded.data(), folded.size());
}
}  // namespace

bool CRecoveryJournal::FormPlace(Place place, const char* dir, const char* name, const char* tempName)
{
    m_bPathOk[place] = FormatBounded(m_szJournal[place], kPathSize, "%s%s", dir, name) &&
                       FormatBounded(m_szTemp[place], kPathSize, "%s%s", dir, tempName);
    return m_bPathOk[place];
}

// Without the computer's name no journal could be told from another
// computer's: then there is none.
bool CRecoveryJournal::FormPaths()
{
    if (m_bPathsTried) return !m_folder.empty();
    m_bPathsTried = true;
    char folder[kPathSize];
    char dir[kPathSize];
    char tempDir[kPathSize];
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = "";
    DWORD computerSize = sizeof(computer);
    if (!GetComputerNameA(computer, &computerSize) || computer[0] == '\0') return false;
    if (!FormatMemoFolder(folder, sizeof(folder)) || !GetCurrentDirectoryBounded(dir, sizeof(dir))) return false;
    m_folder = folder;
    m_computer = computer;
    const std::string journal = JournalFileName(m_computer);
    const std::string temp = journal.substr(0, journal.size() - 4) + ".tmp";
    FormPlace(kMemoFolder, folder, journal.c_str(), temp.c_str());
    FormPlace(kEarlierMemoFolder, folder, kEarlierJournalFile, kEarlierJournalTemp);
    DWORD length = GetTempPathA(sizeof(tempDir), tempDir);
    if (length == 0 || length >= sizeof(tempDir)) return true;
    char name[kPathSize];
    char tempName[kPathSize];
    const std::string safeComputer = FileSafeName(m_computer);
    if (FormatBounded(name, sizeof(name), "MossvanePad-%s-%08X.journal", safeComputer.c_str(), FolderKey(dir)) &&
        FormatBounded(tempName, sizeof(tempName), "%s.tmp", name)) {
        FormPlace(kTempFolder, tempDir, name, tempName);
    }
    for (Place place : {kEarlierTempFolder, kFirstTempFolder}) {
        uint32_t key = place == kEarlierTempFolder ? FolderKey(dir) : FirstFolderKey(dir);
        if (FormatBounded(name, sizeof(name), "MossvanePad-%08X.journal", key) &&
            FormatBounded(tempName, sizeof(tempName), "%s.tmp", name)) {
            FormPlace(place, tempDir, name, tempName);
        }
    }
    return true;
}

const char* CRecoveryJournal::JournalPath(Place place)
{
    return FormPaths() && m_bPathOk[place] ? m_szJournal[place] : nullptr;
}

const char* CRecoveryJournal::TempPath(Place place)
{
    return FormPaths() && m_bPathOk[place] ? m_szTemp[place] : nullptr;
}

// Another copy's journal may have appeared there since the last look.
bool CRecoveryJournal::WriteAt(Place place, const std::string& bytes, DWORD& error)
{
    if (!m_bKeep[place] && IsAnothersAt(place)) m_bKeep[place] = true;
    if (m_bKeep[place]) {
        error = ERROR_ALREADY_EXISTS;
        return false;
    }
    const char* journal = JournalPath(place);
    const char* temp = TempPath(place);
    if (!journal || !temp) {
        error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    error = WriteFileThrough(temp, journal, bytes.data(), static_cast<DWORD>(bytes.size()), true);
    return error == ERROR_SUCCESS;
}

DWORD CRecoveryJournal::Write(JournalRecord record)
{
    if (!FormPaths()) return ERROR_PATH_NOT_FOUND;
    record.account = Account();
    record.folder = m_folder;
    record.computer = m_computer;
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
    if (!FormPaths()) return false;
    if (record.computer.empty()) {
        if (!IsEarlier(place)) return false;
        if (record.account.empty()) return true;
    } else if (record.computer != m_computer) {
        return false;
    }
    if (record.account != Account()) return false;
    if (place == kMemoFolder || place == kEarlierMemoFolder) return true;
    return FoldMemoName(record.folder) == FoldMemoName(m_folder);
}

bool CRecoveryJournal::IsAnothersAt(Place place)
{
    const char* journal = JournalPath(place);
    if (!journal) return false;
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
std::optional<JournalRecord> CRecoveryJournal::Find(bool inMemoFolder)
{
    std::optional<JournalRecord> newest;
    m_found = kPlaces;
    for (int i = 0; i < kPlaces; ++i) {
        Place place = static_cast<Place>(i);
        if (!inMemoFolder && IsMemoFolder(place)) continue;
        const char* journal = JournalPath(place);
        if (!journal || GetFileAttributesA(journal) == INVALID_FILE_ATTRIBUTES) continue;
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
    if (m_found != kPlaces && IsEarlier(m_found)) m_bTaken[m_found] = true;
    return newest;
}

bool CRecoveryJournal::KeepFound(char* path, size_t size)
{
    const char* journal = m_found == kPlaces ? nullptr : JournalPath(m_found);
    if (!journal) return false;
    m_bKeep[m_found] = true;
    return CopyBounded(path, size, journal);
}

// Whose the journal is, is asked at each removal: another copy may have
// written one there since this run last looked.
void CRecoveryJournal::RemoveAt(Place place)
{
    const char* journal = JournalPath(place);
    if (m_bKeep[place] || !journal || (IsEarlier(place) && !m_bTaken[place])) return;
    if (IsAnothersAt(place)) {
        m_bKeep[place] = true;
        return;
    }
    if (DeleteFileA(journal) || GetLastError() == ERROR_FILE_NOT_FOUND) m_bTaken[place] = false;
}

void CRecoveryJournal::Remove()
{
    for (int place = 0; place < kPlaces; ++place) RemoveAt(static_cast<Place>(place));
}
