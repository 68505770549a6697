#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "app/globals.h"
#include "memo/journalformat.h"

// The recovery journal: the editor's text while it is edited, so that a
// crash, a kill or a lost save takes at most the last moments of typing.
// It lives in the memo folder as a file no memo pattern matches, named for
// the computer ("~memojournal-<computer>.bin"), so that computers sharing a
// synced memo folder never write one file; where that folder cannot take it
// (a full disk, a read-only folder, another's journal under that name), in
// the user's temporary folder under a name made from the computer and this
// copy's folder. Both places are written through a temporary file and a
// write-through move, and read at start. A journal records the computer, the
// account and the memo folder of the copy that wrote it: one of another
// computer or account, or in the temporary folder of another folder, is
// never restored, removed or written over, whenever it appeared. The names
// of the versions before, whose journals name no computer, are read at start
// and never written; such a journal goes only once this run took its text.
// The paths are formed once, from the program's folder, which is the
// current directory at the first call; later calls may run in any folder.
class CRecoveryJournal {
public:
    // Forms the paths now, where the caller may be about to leave the
    // program's folder; false when they cannot be formed.
    bool FormPaths();
    // Writes the record to the memo folder, or failing that to the
    // temporary folder; the other place's journal goes, so that only the
    // newest one stays. ERROR_SUCCESS or the memo folder's error.
    DWORD Write(JournalRecord record);
    // The newest usable journal of the two places. A file that is there but
    // is no journal (torn, foreign, unreadable) is left where it is and not
    // written over or removed by this run. inMemoFolder false leaves out
    // the memo folder, known to hold no journal.
    std::optional<JournalRecord> Find(bool inMemoFolder);
    // Removes this run's journals, and one of a version before whose text
    // this run took.
    void Remove();
    // Keeps the journal that Find gave for this run: it is neither removed
    // nor written over, and the next start finds it again. Its path into
    // path; false when Find gave none.
    bool KeepFound(char* path, size_t size);

private:
    // The names of the versions before are read, never written.
    enum Place { kMemoFolder, kTempFolder, kEarlierMemoFolder, kEarlierTempFolder, kFirstTempFolder, kPlaces };
    static bool IsEarlier(Place place) { return place >= kEarlierMemoFolder; }
    static bool IsMemoFolder(Place place) { return place == kMemoFolder || place == kEarlierMemoFolder; }
    // Full paths of the journal and its temporary file in one place; null
    // when they cannot be formed.
    const char* JournalPath(Place place);
    const char* TempPath(Place place);
    bool WriteAt(Place place, const std::string& bytes, DWORD& error);
    void RemoveAt(Place place);
    // Whether the record is this copy's to restore and replace: written on
    // this computer under this account, and for a journal of the temporary
    // folder, for this folder. A journal of a version before names no
    // computer: it is taken only under the names those versions wrote.
    bool IsOwn(const JournalRecord& record, Place place);
    // Whether the journal now at a place was written by another copy.
    bool IsAnothersAt(Place place);
    const std::string& Account();
    bool FormPlace(Place place, const char* dir, const char* name, const char* tempName);

    bool m_bKeep[kPlaces] = {};  // a file found there that is not this run's to replace
    bool m_bTaken[kPlaces] = {};  // a journal of a version before whose text this run took
    Place m_found = kPlaces;     // where the journal Find gave is
    std::string m_account;
    std::string m_computer;
    std::string m_folder;  // the memo folder; empty until the paths are formed
    bool m_bPathsTried = false;
    bool m_bPathOk[kPlaces] = {};
    char m_szJournal[kPlaces][kPathSize] = {};
    char m_szTemp[kPlaces][kPathSize] = {};
};
