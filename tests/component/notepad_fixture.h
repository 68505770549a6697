#pragma once
// A CNotepadWnd bound to a real EDIT control in a hidden parent window, with
// the settings store and the memo folder in a fresh temporary folder that is
// the current directory.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/config.h"
#include "app/curdir.h"
#include "memo/notepadwnd.h"

// A fresh folder under %TEMP% holding an empty "memo" folder; removed with
// everything in it.
class TempMemoFolder {
public:
    TempMemoFolder();
    ~TempMemoFolder();
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// Answers the message boxes that the calling thread brings up: a second
// thread finds each one, records its caption and text and presses the
// answer's button (OK, or No in a Yes/No box, by default).
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(WPARAM answer = IDOK);
    ~MessageBoxWatcher();
    // Stops watching; the captions seen, in order.
    std::vector<std::string> Stop();
    // The texts of the boxes seen, in order; after Stop.
    const std::vector<std::string>& Texts() const { return m_texts; }
    // g_nMessageBoxes as seen while each box was up.
    bool FlagWasSetWhileUp() const { return m_bFlagSet; }

private:
    static BOOL CALLBACK Inspect(HWND hWnd, LPARAM self);

    DWORD m_threadId;
    bool m_bStop = false;
    bool m_bFlagSet = true;
    std::mutex m_mutex;
    std::vector<HWND> m_seen;
    std::vector<std::string> m_captions;
    std::vector<std::string> m_texts;
    WPARAM m_answer;
    std::thread m_worker;
};

class NotepadTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Memo files by their relative name in the memo folder.
    std::string MemoPath(const std::string& file) const;
    void WriteMemoFile(const std::string& file, const std::string& bytes) const;
    std::optional<std::string> ReadMemoFile(const std::string& file) const;
    // Every entry of the memo folder, with the case it has on disk, sorted.
    std::vector<std::string> MemoFolderEntries() const;

    // As typing does: the text counts as edited.
    void SetText(const std::string& text) const
    {
        SetWindowTextA(m_hEdit, text.c_str());
        SendMessageA(m_hEdit, EM_SETMODIFY, TRUE, 0);
    }
    std::string Text() const;
    // The editor's set-up as the memo window makes it at start, with the
    // memo folder looked into meanwhile.
    LRESULT InitAtStart() const;
    std::pair<DWORD, DWORD> Selection() const;
    std::string PrevFile() const { return g_config->PrevFile; }
    // Saves `text` as a new memo.
    void SaveNewMemo(const std::string& text);

    // WM_EDITMOUSE (wParam, lParam) pairs that reached the parent.
    static std::vector<std::pair<WPARAM, LPARAM>> s_editMouse;

    TempMemoFolder m_folder;
    std::unique_ptr<ScopedCurrentDirectory> m_inFolder;
    std::unique_ptr<CConfig> m_config;
    HWND m_hParent = nullptr;
    HWND m_hEdit = nullptr;
    CNotepadWnd m_notepad;

private:
    static LRESULT CALLBACK ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
