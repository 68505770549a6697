#include "tests/e2e/walkmodel.h"

#include <algorithm>

namespace {
// The start of a text, enough to tell which one a message means.
std::string Head(const std::string& text)
{
    std::string head = text.substr(0, 60);
    std::replace(head.begin(), head.end(), '\r', ' ');
    std::replace(head.begin(), head.end(), '\n', '|');
    return "\"" + head + (text.size() > 60 ? "...\"" : "\"");
}

::testing::AssertionResult NoForeignText(const MemoFolder& folder, const WalkModel& model)
{
    for (const auto& file : folder) {
        if (!model.HasText(file.second))
            return ::testing::AssertionFailure() << file.first << " holds a text the user never had: " << Head(file.second);
    }
    return ::testing::AssertionSuccess();
}

void EraseOne(std::multiset<std::string>& texts, const std::string& text)
{
    auto found = texts.find(text);
    if (found != texts.end()) texts.erase(found);
}
}  // namespace

void WalkModel::Edited(const std::string& text, unsigned long now)
{
    if (m_elsewhere) m_elsewhere->edited = true;
    m_shown = text;
    m_versions.push_back({now, text});
    m_had.insert(text);
}

// Unedited, a memo changed elsewhere has nothing of the user's to store.
void WalkModel::Stored()
{
    if (AwaitsLook()) return;
    if (!m_shown.empty()) m_base = m_shown;
}

void WalkModel::Emptied(unsigned long now)
{
    Stored();
    if (m_base) m_others.insert(*m_base);
    m_base.reset();
    m_elsewhere.reset();
    ShowOnly("", now);
}

void WalkModel::Picked(const std::string& text, unsigned long now)
{
    Emptied(now);
    EraseOne(m_others, text);
    m_base = text;
    ShowOnly(text, now);
}

std::optional<std::string> WalkModel::Deleted(unsigned long now)
{
    std::optional<std::string> gone;
    if (!m_elsewhere) gone = m_shown.empty() ? m_base : std::optional<std::string>(m_shown);
    m_base.reset();
    m_elsewhere.reset();
    ShowOnly("", now);
    return gone;
}

void WalkModel::WrittenElsewhere(const std::optional<std::string>& before, const std::string& after)
{
    m_had.insert(after);
    m_unseen.insert(after);
    m_others.insert(after);
    if (!before) return;
    if (!IsShownFile(*before)) return EraseOne(m_others, *before);
    bool edited = m_elsewhere ? m_elsewhere->edited : m_shown != *before;
    if (m_elsewhere && m_elsewhere->text) EraseOne(m_others, *m_elsewhere->text);
    m_base.reset();
    m_elsewhere = Elsewhere{after, edited};
}

void WalkModel::DeletedElsewhere(const std::string& text)
{
    m_deleted.insert(text);
    if (!IsShownFile(text)) return EraseOne(m_others, text);
    bool edited = m_elsewhere ? m_elsewhere->edited : m_shown != text;
    if (m_elsewhere && m_elsewhere->text) EraseOne(m_others, *m_elsewhere->text);
    m_base.reset();
    m_elsewhere = Elsewhere{std::nullopt, edited};
}

// With edits here, the program may show the other program's text only once
// the user's is in a file of its own, a memo beside it.
bool WalkModel::Looked(const MemoFolder& folder, const std::string& editor, unsigned long now)
{
    if (editor == m_shown) return true;
    if (!m_elsewhere || editor != m_elsewhere->text.value_or("")) return false;
    if (m_elsewhere->edited) {
        if (!InSomeFile(folder, m_shown)) return false;
        m_others.insert(m_shown);
    }
    m_base = m_elsewhere->text;
    if (m_base) EraseOne(m_others, *m_base);
    m_elsewhere.reset();
    ShowOnly(editor, now);
    return true;
}

::testing::AssertionResult WalkModel::CheckSettled(const MemoFolder& folder, const std::string& editor,
                                                  unsigned long now)
{
    if (!Looked(folder, editor, now))
        return ::testing::AssertionFailure() << "the editor shows " << Head(editor) << ", the user made " << Head(m_shown);
    ::testing::AssertionResult foreign = NoForeignText(folder, *this);
    if (!foreign) return foreign;
    ::testing::AssertionResult revived = NothingRevived(folder);
    if (!revived) return revived;
    std::multiset<std::string> left;
    for (const auto& file : folder) left.insert(file.second);
    for (const std::string& other : m_others) {
        auto found = left.find(other);
        if (found == left.end()) {
            return ::testing::AssertionFailure() << Gone(other) << Head(other);
        }
        left.erase(found);
    }
    if (left.empty()) {
        if (m_base) return ::testing::AssertionFailure() << "the shown memo's file is gone: " << Head(*m_base);
        return ::testing::AssertionSuccess();
    }
    if (left.size() > 1)
        return ::testing::AssertionFailure() << left.size() << " files for the one memo shown: " << Head(*left.begin());
    const std::string& file = *left.begin();
    if (AwaitsLook())
        return ::testing::AssertionFailure() << "a file holds " << Head(file)
                                             << " for a memo changed elsewhere and not edited here";
    bool ownVersion = std::any_of(m_versions.begin(), m_versions.end(), [&](const Version& v) { return v.text == file; });
    if (!ownVersion && file != m_base)
        return ::testing::AssertionFailure() << "a file holds " << Head(file) << ", which the shown memo never had";
    m_base = file;
    // The user's text has a file of its own again, beside the other's.
    if (InConflict()) m_elsewhere.reset();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WalkModel::CheckAfterKill(const MemoFolder& folder, const std::string& editor,
                                                     unsigned long killedAt, unsigned long boundMs,
                                                     long& lostMs) const
{
    ::testing::AssertionResult foreign = NoForeignText(folder, *this);
    if (!foreign) return foreign;
    ::testing::AssertionResult revived = NothingRevived(folder);
    if (!revived) return revived;
    if (!editor.empty() && !HasText(editor))
        return ::testing::AssertionFailure() << "the editor shows a text the user never had: " << Head(editor);
    std::map<std::string, std::string> holder;
    for (const auto& file : folder) {
        auto added = holder.emplace(file.second, file.first);
        if (!added.second)
            return ::testing::AssertionFailure() << file.first << " and " << added.first->second << " hold one text";
    }
    for (const std::string& other : m_others) {
        if (!holder.count(other)) return ::testing::AssertionFailure() << Gone(other) << Head(other);
    }
    if (folder.size() > m_others.size() + 1)
        return ::testing::AssertionFailure() << folder.size() << " files for " << m_others.size() + 1 << " memos";
    lostMs = LostMs(editor, killedAt);
    for (const auto& file : folder) {
        long lost = LostMs(file.second, killedAt);
        if (lost >= 0 && (lostMs < 0 || lost < lostMs)) lostMs = lost;
    }
    // Unedited since its file changed elsewhere, the shown memo had nothing
    // of the user's left to lose.
    if (lostMs < 0 && AwaitsLook()) lostMs = 0;
    if (lostMs < 0)
        return ::testing::AssertionFailure() << "nothing of the shown memo survived; it showed " << Head(m_shown);
    if (lostMs > static_cast<long>(boundMs))
        return ::testing::AssertionFailure() << lostMs << " ms of typing lost; the editor had shown " << Head(m_shown);
    return ::testing::AssertionSuccess();
}

void WalkModel::Restarted(const MemoFolder& folder, const std::string& editor, const std::string& listedFile,
                          unsigned long now)
{
    m_others.clear();
    m_base.reset();
    m_elsewhere.reset();
    for (const auto& file : folder) {
        m_had.insert(file.second);
        if (file.first == listedFile) m_base = file.second;
        else m_others.insert(file.second);
    }
    if (m_base && !editor.empty() && editor != *m_base && m_unseen.count(*m_base)) {
        m_others.insert(*m_base);
        m_elsewhere = Elsewhere{m_base, true};
        m_base.reset();
    }
    ShowOnly(editor, now);
}

long WalkModel::LostMs(const std::string& text, unsigned long killedAt) const
{
    for (size_t i = m_versions.size(); i-- > 0;) {
        if (m_versions[i].text != text) continue;
        if (i + 1 == m_versions.size()) return 0;
        return std::max(0L, static_cast<long>(killedAt - m_versions[i + 1].at));
    }
    return -1;
}

void WalkModel::ShowOnly(const std::string& text, unsigned long now)
{
    m_unseen.erase(text);
    m_shown = text;
    m_versions.assign(1, {now, text});
    m_had.insert(text);
}

::testing::AssertionResult WalkModel::NothingRevived(const MemoFolder& folder) const
{
    for (const auto& file : folder) {
        if (m_deleted.count(file.second))
            return ::testing::AssertionFailure()
                   << file.first << " brings back a memo deleted elsewhere: " << Head(file.second);
    }
    return ::testing::AssertionSuccess();
}

const char* WalkModel::Gone(const std::string& text) const
{
    return m_unseen.count(text) ? "a text written elsewhere, never shown, is gone: " : "a stored memo is gone: ";
}

bool WalkModel::InSomeFile(const MemoFolder& folder, const std::string& text) const
{
    return std::any_of(folder.begin(), folder.end(), [&](const auto& file) { return file.second == text; });
}
