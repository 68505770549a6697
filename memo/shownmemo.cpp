#include "memo/shownmemo.h"

namespace {
// Two seconds in FILETIME units.
const uint64_t kCoarseTime = 20000000;
}  // namespace

ShownAction DecideShownAction(Elsewhere found, bool edited)
{
    switch (found) {
    case Elsewhere::Changed: return edited ? ShownAction::KeepAsNew : ShownAction::ShowNew;
    case Elsewhere::Deleted: return edited ? ShownAction::StoreAgain : ShownAction::Leave;
    default: return ShownAction::None;
    }
}

void CShownMemo::Take(const std::string& name, const MemoStamp& stamp, const void* bytes, size_t size, uint64_t now)
{
    m_name = name;
    m_seen.stamp = stamp;
    m_seen.crc = Crc32(bytes, size);
    m_seen.seenAt = now;
    m_detachedFrom.clear();
    m_gone = false;
}

void CShownMemo::Forget()
{
    m_name.clear();
    m_seen = {};
    m_detachedFrom.clear();
    m_gone = false;
    m_encoding = MemoEncoding::ShiftJis;
}

void CShownMemo::Detach()
{
    if (m_name.empty()) return;
    m_detachedFrom = m_name;
    m_name.clear();
    m_seen = {};
    m_gone = false;
}

void CShownMemo::MarkGone()
{
    if (m_name.empty()) return;
    m_seen = {};
    m_gone = true;
}

bool CShownMemo::Knows(const std::string& name) const
{
    return !m_name.empty() && m_name == name && (m_seen.stamp.present || m_gone);
}

bool CShownMemo::NeedsBytes(const MemoStamp& now) const
{
    if (m_gone || !now.present || now.size != m_seen.stamp.size) return false;
    if (now.writeTime != m_seen.stamp.writeTime) return true;
    return m_seen.seenAt < now.writeTime + kCoarseTime;
}

Elsewhere CShownMemo::Compare(const MemoStamp& now, const void* bytes, size_t size) const
{
    if (!now.present) return Elsewhere::Deleted;
    if (m_gone) return Elsewhere::Changed;
    if (now.size != m_seen.stamp.size) return Elsewhere::Changed;
    if (!bytes) return Elsewhere::Same;
    if (size != now.size || Crc32(bytes, size) != m_seen.crc) return Elsewhere::Changed;
    return now.writeTime == m_seen.stamp.writeTime ? Elsewhere::Same : Elsewhere::Touched;
}

void CShownMemo::TakeTouch(const MemoStamp& now, uint64_t at)
{
    m_seen.stamp = now;
    m_seen.seenAt = at;
}
