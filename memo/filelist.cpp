#include "memo/filelist.h"

#include <commctrl.h>

LRESULT CFileList::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

void CFileList::Refresh() {}
