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
}  // namespace

void WalkModel::Edited(const std::string& text, unsigned long now)
{
    m_shown = text;
    m_versions.push_back({now, text});
    m_had.insert(text);
}

void WalkModel::Stored()
{
    if (!m_shown.empty()) m_base = m_shown;
}

void WalkModel::Emptied(unsigned long now)
{
    Stored();
    if (m_base) m_others.insert(*m_base);
    m_base.reset();
    ShowOnly("", now);
}

void WalkModel::Picked(const std::string& text, unsigned long now)
{
    Emptied(now);
    auto found = m_others.find(text);
    if (found != m_others.end()) m_others.erase(found);
    m_base = text;
    ShowOnly(text, now);
}

std::optional<std::string> WalkModel::Deleted(unsigned long now)
{
    std::optional<std::string> gone = m_shown.empty() ? m_base : std::optional<std::string>(m_shown);
    m_base.reset();
    ShowOnly("", now);
    return gone;
}

::testing::AssertionResult WalkModel::CheckSettled(const MemoFolder& folder, const std::string& editor)
{
    if (editor != m_shown)
        return ::testing::AssertionFailure() << "the editor shows " << Head(editor) << ", the user made " << Head(m_shown);
    ::testing::AssertionResult foreign = NoForeignText(folder, *this);
    if (!foreign) return foreign;
    std::multiset<std::string> left;
    for (const auto& file : folder) left.insert(file.second);
    for (const std::string& other : m_others) {
        auto found = left.find(other);
        if (found == left.end()) return ::testing::AssertionFailure() << "a stored memo is gone: " << Head(other);
        left.erase(found);
    }
    if (left.empty()) {
        if (m_base) return ::testing::AssertionFailure() << "the shown memo's file is gone: " << Head(*m_base);
        return ::testing::AssertionSuccess();
    }
    if (left.size() > 1)
        return ::testing::AssertionFailure() << left.size() << " files for the one memo shown: " << Head(*left.begin());
    const std::string& file = *left.begin();
    bool ownVersion = std::any_of(m_versions.begin(), m_versions.end(), [&](const Version& v) { return v.text == file; });
    if (!ownVersion && file != m_base)
        return ::testing::AssertionFailure() << "a file holds " << Head(file) << ", which the shown memo never had";
    m_base = file;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WalkModel::CheckAfterKill(const MemoFolder& folder, const std::string& editor,
                                                     unsigned long killedAt, unsigned long boundMs,
                                                     long& lostMs) const
{
    ::testing::AssertionResult foreign = NoForeignText(folder, *this);
    if (!foreign) return foreign;
    if (!editor.empty() && !HasText(editor))
        return ::testing::AssertionFailure() << "the editor shows a text the user never had: " << Head(editor);
    std::map<std::string, std::string> holder;
    for (const auto& file : folder) {
        auto added = holder.emplace(file.second, file.first);
        if (!added.second)
            return ::testing::AssertionFailure() << file.first << " and " << added.first->second << " hold one text";
    }
    for (const std::string& other : m_others) {
        if (!holder.count(other)) return ::testing::AssertionFailure() << "a stored memo is gone: " << Head(other);
    }
    if (folder.size() > m_others.size() + 1)
        return ::testing::AssertionFailure() << folder.size() << " files for " << m_others.size() + 1 << " memos";
    lostMs = LostMs(editor, killedAt);
    for (const auto& file : folder) {
        long lost = LostMs(file.second, killedAt);
        if (lost >= 0 && (lostMs < 0 || lost < lostMs)) lostMs = lost;
    }
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
    for (const auto& file : folder) {
        m_had.insert(file.second);
        if (file.first == listedFile) m_base = file.second;
        else m_others.insert(file.second);
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
    m_shown = text;
    m_versions.assign(1, {now, text});
    m_had.insert(text);
}
