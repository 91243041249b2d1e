// The program's entry point, called by Windows with no C runtime in between.
#include "main_dialog.h"
#include "resource_ids.h"

// No WINAPI here: binutils would then silently enter at the start of .text instead.
extern "C" void WinMainCRTStartup()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    storeModuleInstance(instance);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc, 0);
    ExitProcess(0);
}
