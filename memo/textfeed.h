#pragma once
#include <windows.h>

#include <memory>

// A memo's text on its way into the editor piece by piece (see
// textpieces.h). Until the last piece is in, the text held here is what the
// editor is to show: saves, the journal and the clipboard take it from here.
class CTextFeed {
public:
    // Takes the text to put in; `edited` is what the editor's modified flag
    // is to say once it is all in.
    void Start(std::unique_ptr<char[]> text, size_t size, bool edited);
    void Stop();
    bool IsActive() const { return m_text != nullptr; }
    bool IsComplete() const { return m_next >= m_size; }
    // Appends the next piece to the edit control's text.
    void PutNextPiece(HWND edit);
    // Whether the edit control holds the whole text: every piece went in.
    bool EditHoldsAll(HWND edit) const;

    const char* Text() const { return m_text.get(); }
    size_t Size() const { return m_size; }
    bool Edited() const { return m_bEdited; }
    int PercentDone() const;
    // Changes with every Start, so that a caller can tell that the text it
    // was putting in was replaced meanwhile.
    unsigned Generation() const { return m_generation; }

private:
    std::unique_ptr<char[]> m_text;  // NUL-terminated
    size_t m_size = 0;
    size_t m_next = 0;
    bool m_bEdited = false;
    unsigned m_generation = 0;
};

// Replaces the edit control's selection with the `size` bytes of `text`,
// each character as the whole text converts. Returns the characters put in,
// or -1 when there was no memory for them.
int ReplaceEditSelection(HWND edit, const char* text, size_t size);
