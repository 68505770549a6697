#pragma once
// What the user of a random walk through the program has, told by texts
// rather than file names: the text the editor shows, the text of its memo's
// file, and the texts of the other stored memos. Every text the walk makes
// is new (each carries a step number), so a text names one version of one
// memo, and two files holding one text are a duplicate.
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
    // editor was empty, its file's text; none when there was neither.
    std::optional<std::string> Deleted(unsigned long now);

    const std::string& Shown() const { return m_shown; }
    // Whether the text is the shown memo's, shown or in its file.
    bool IsShownMemos(const std::string& text) const { return text == m_shown || text == m_base; }
    bool HasText(const std::string& text) const { return m_had.count(text) != 0; }

    // After a step that ended as the user sees it: the editor shows what
    // the model does, and the folder holds each stored memo once. The shown
    // memo's file may hold any text it had since it was loaded, as a hide
    // that Wine's activation brought saves it; that text is its file's now.
    ::testing::AssertionResult CheckSettled(const MemoFolder& folder, const std::string& editor);
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
    void Restarted(const MemoFolder& folder, const std::string& editor, const std::string& listedFile,
                   unsigned long now);

private:
    struct Version {
        unsigned long at;  // when the editor began to show it
        std::string text;
    };
    // How much typing before `killedAt` the text lacks; -1 when the shown
    // memo never had it.
    long LostMs(const std::string& text, unsigned long killedAt) const;
    void ShowOnly(const std::string& text, unsigned long now);

    std::multiset<std::string> m_others;  // stored memos other than the shown one
    std::optional<std::string> m_base;    // the shown memo's file
    std::string m_shown;
    std::vector<Version> m_versions;      // of the shown memo, since it was shown
    std::set<std::string> m_had;          // every text the user had
};
