// The main dialog: its procedure, and the module instance it needs.
#pragma once

#include <windows.h>

void storeModuleInstance(HINSTANCE instance);
INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
