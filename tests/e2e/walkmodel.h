#pragma once
// What the user of a random walk through the program has, told by texts
// rather than file names: the text the editor shows, the text of its memo's
// file, and the texts of the other stored memos. Every text the walk makes
// is new (each carries a step number), so a text names one version of one
// memo, and two files holding one text are a duplicate. What another
// program writes into the memo folder (a sync tool, another computer, an
// editor) counts as the user's too: it stays in a file until that program
// itself replaces or deletes it.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The memo folder: file name to content.
using MemoFolder = std::map<std::string, std::string>;

class WalkModel {
public:
    // The editor shows a text the user made (typed, pasted, stamped).
    void Edited(const std::string& text, unsigned long now);
    // The shown memo was stored as the editor shows it.
    void Stored();
    // New memo: the shown memo stored, then the editor empty.
    void Emptied(unsigned long now);
    // The shown memo stored, then the memo holding `text` picked.
    void Picked(const std::string& text, unsigned long now);
    // The shown memo went to the Recycle Bin: the text shown, or, where the
    // editor was empty, its file's text; none when there was neither, or
    // when its file was changed elsewhere since the program last read it.
    std::optional<std::string> Deleted(unsigned long now);

    // Another program wrote `after` into the memo file that held `before`
    // (none: into a new file).
    void WrittenElsewhere(const std::optional<std::string>& before, const std::string& after);
    // Another program deleted the memo file that held `text`.
    void DeletedElsewhere(const std::string& text);
    // Takes what the program showed of its own accord: the text written
    // elsewhere into the shown memo's file, or an empty editor where that
    // file was deleted, once the user's own text is safe. False when the
    // editor shows neither that nor what the user made.
    bool Looked(const MemoFolder& folder, const std::string& editor, unsigned long now);

    const std::string& Shown() const { return m_shown; }
    // Whether the text is the shown memo's, shown or in its file.
    bool IsShownMemos(const std::string& text) const { return text == m_shown || IsShownFile(text); }
    // Whether the file holding the text is the shown memo's.
    bool IsShownFile(const std::string& text) const
    {
        return text == m_base || (m_elsewhere && text == m_elsewhere->text);
    }
    bool HasText(const std::string& text) const { return m_had.count(text) != 0; }
    // The shown memo's file changed elsewhere, or went, and the program has
    // not shown that yet.
    bool ChangedElsewhere() const { return m_elsewhere.has_value(); }
    // ... and the user has edits the file lacks: both texts are to be kept,
    // and the program may say so once.
    bool InConflict() const { return m_elsewhere && m_elsewhere->edited; }
    // ... and the user has none: a pop-up is to show what is there now.
    bool AwaitsLook() const { return m_elsewhere && !m_elsewhere->edited; }

    // After a step that ended as the user sees it: the editor shows what
    // the model does, and the folder holds each stored memo once. The shown
    // memo's file may hold any text it had since it was loaded, as a hide
    // that Wine's activation brought saves it; that text is its file's now.
    ::testing::AssertionResult CheckSettled(const MemoFolder& folder, const std::string& editor, unsigned long now);
    // After a kill and a new start: no file holds a text the user never had
    // or a text another file holds, every other memo is still there and the
    // shown one has one file at most, and of
    // the shown memo's texts one no older than `boundMs` before the kill is
    // in the editor or in a file. `lostMs` gets how much typing that one
    // lacks.
    ::testing::AssertionResult CheckAfterKill(const MemoFolder& folder, const std::string& editor,
                                              unsigned long killedAt, unsigned long boundMs, long& lostMs) const;
    // Takes what a start shows as the user's from now on: the editor's
    // text, shown as memo `listedFile`'s (none when empty), and every file.
    // A text written elsewhere into that file and never shown stays the
    // other program's where the editor shows something else (the journal's
    // text).
    void Restarted(const MemoFolder& folder, const std::string& editor, const std::string& listedFile,
                   unsigned long now);

private:
    struct Version {
        unsigned long at;  // when the editor began to show it
        std::string text;
    };
    // What another program did to the shown memo's file.
    struct Elsewhere {
        std::optional<std::string> text;  // none: deleted
        bool edited;                      // the user has edits the file lacks
    };
    // How much typing before `killedAt` the text lacks; -1 when the shown
    // memo never had it.
    long LostMs(const std::string& text, unsigned long killedAt) const;
    void ShowOnly(const std::string& text, unsigned long now);
    // A deleted memo is back, or the shown memo's old text was stored anew.
    ::testing::AssertionResult NothingRevived(const MemoFolder& folder) const;
    bool InSomeFile(const MemoFolder& folder, const std::string& text) const;
    const char* Gone(const std::string& text) const;

    std::multiset<std::string> m_others;  // stored memos other than the shown one
    std::optional<std::string> m_base;    // the shown memo's file
    std::string m_shown;
    std::vector<Version> m_versions;      // of the shown memo, since it was shown
    std::set<std::string> m_had;          // every text the user had
    std::optional<Elsewhere> m_elsewhere; // since the program last read the shown memo's file
    std::set<std::string> m_deleted;      // deleted elsewhere: never to come back
    std::set<std::string> m_unseen;       // written elsewhere, never shown in the editor
};
