#include "options/DialogChecks.h"

void Check(HWND dialog, int id, DWORD on)
{
    CheckDlgButton(dialog, id, on != 0 ? BST_CHECKED : BST_UNCHECKED);
}

DWORD Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}
