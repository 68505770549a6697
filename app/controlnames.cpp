#include "app/controlnames.h"

#include "app/messages.h"

namespace {
// Ctrl+C stays the editor's copy of the selection; the whole memo is copied
// with Shift added.
const ControlName kNames[] = {
    {IDC_NEWMEMO, "新規メモ", "Ctrl+N"},
    {IDC_COPYMEMO, "メモをコピー", "Ctrl+Shift+C"},
    {IDC_DELETEMEMO, "メモを削除", "Ctrl+D"},
    {IDC_SETTING, "設定", "Ctrl+,"},
    {IDC_PIN, "ピン留め", "Ctrl+Shift+P"},
    {IDC_FILELIST, "メモの一覧", "Ctrl+L"},
    {IDC_STARTUP, nullptr, "Ctrl+Shift+S"},
    {IDC_SHORTCUT, nullptr, "Ctrl+Shift+K"},
};
}  // namespace

const ControlName* FindControlName(int id)
{
    for (const ControlName& entry : kNames) {
        if (entry.id == id) return &entry;
    }
    return nullptr;
}
