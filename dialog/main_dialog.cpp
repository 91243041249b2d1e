// The main dialog's procedure: browsing, the four-part switch, and running the commands.
#include "main_dialog.h"

#include "commands.h"
#include "resource_ids.h"
#include "work_area.h"

#include <commdlg.h>
#include <cstddef>

static_assert(kBoxPlain == MB_OK && kBoxError == MB_ICONERROR);

// The record as Windows 95 and NT 4.0 know it, without the fields later systems added;
// the 64-bit test build uses the same fields at their 64-bit size.
constexpr DWORD kOpenFileSize400 = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kOpenFileSize400 == (sizeof(void*) == 4 ? 76 : 136));

// One record serves all five browse buttons and is never rebuilt, so whatever the Open
// dialog writes back, such as the filter last chosen, carries over to the next browse.
// Its owner, instance and file buffer are filled in once at start-up. No demand that
// the file exist: the same dialog picks the names of files to be written.
static constinit OPENFILENAMEA openFile = {
    .lStructSize = kOpenFileSize400,
    .hwndOwner = nullptr,
    .hInstance = nullptr,
    .lpstrFilter = "Binary files (*.bin,*.rom)\0*.bin;*.rom\0All files\0*.*\0",
    .lpstrCustomFilter = nullptr,
    .nMaxCustFilter = 0,
    .nFilterIndex = 0,
    .lpstrFile = nullptr,
    .nMaxFile = kPathBufferSize,
    .lpstrFileTitle = nullptr,
    .nMaxFileTitle = 0,
    .lpstrInitialDir = ".\\",
    .lpstrTitle = nullptr,
    .Flags = OFN_HIDEREADONLY,
    .nFileOffset = 0,
    .nFileExtension = 0,
    .lpstrDefExt = nullptr,
    .lCustData = 0,
    .lpfnHook = nullptr,
    .lpTemplateName = nullptr,
    .pvReserved = nullptr,
    .dwReserved = 0,
    .FlagsEx = 0,
};

static constexpr int kPartThreeFourControls[] = {IDC_PART3_PATH, IDC_PART4_PATH,
                                                 IDC_BROWSE_PART3, IDC_BROWSE_PART4};

void storeModuleInstance(HINSTANCE instance)
{
    openFile.hInstance = instance;
}

// Copies a path field into the path buffer and tells whether its whole text fitted:
// a command must not go on with a cut path, which may name another file.
static bool fetchDialogPath(int field)
{
    HWND dialog = openFile.hwndOwner;
    GetDlgItemTextA(dialog, field, pathBuffer(), kPathBufferSize);
    return GetWindowTextLengthA(GetDlgItem(dialog, field)) < kPathBufferSize;
}

static void initDialog(HWND dialog)
{
    openFile.hwndOwner = dialog;
    openFile.lpstrFile = pathBuffer();
    HICON icon = LoadIconA(openFile.hInstance, MAKEINTRESOURCEA(IDI_MAIN));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

static void showOutcome(HWND dialog, Outcome outcome)
{
    MessageBoxA(dialog, outcomeText(outcome), outcomeCaption(outcome), outcomeBoxStyle(outcome));
}

// Disabling the rows of parts 3 and 4 keeps their text for when they come back.
static void switchFourParts(HWND dialog, HWND checkBox)
{
    unsigned char fourParts = SendMessageA(checkBox, BM_GETCHECK, 0, 0) & 1;
    setFourPartFlag(fourParts);
    for (int control : kPartThreeFourControls)
        EnableWindow(GetDlgItem(dialog, control), fourParts);
}

// The field's text is where the Open dialog starts; a cancelled browse changes nothing.
static void browseForPath(HWND dialog, int field)
{
    fetchDialogPath(field);
    if (GetOpenFileNameA(&openFile))
        SetDlgItemTextA(dialog, field, pathBuffer());
}

static BOOL dispatchCommand(HWND dialog, WPARAM wParam, HWND control)
{
    switch (wParam) {   // whole wParam, so edit-field notifications match nothing
    case IDOK:           showOutcome(dialog, runSplit(fetchDialogPath)); return TRUE;
    case IDC_MERGE:      showOutcome(dialog, runMerge(fetchDialogPath)); return TRUE;
    case IDC_FOUR_PARTS: switchFourParts(dialog, control);               return TRUE;
    case IDCANCEL:       EndDialog(dialog, 0);                           return TRUE;   // Exit, Esc
    }
    if (wParam >= IDC_BROWSE_IMAGE && wParam <= IDC_BROWSE_PART4) {
        browseForPath(dialog, int(wParam) - (IDC_BROWSE_IMAGE - IDC_IMAGE_PATH));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: initDialog(dialog);   return TRUE;   // focus goes to the first tab stop
    case WM_CLOSE:      EndDialog(dialog, 0); return TRUE;
    case WM_COMMAND:    return dispatchCommand(dialog, wParam, reinterpret_cast<HWND>(lParam));
    }
    return FALSE;   // unhandled: the dialog manager does the default
}
