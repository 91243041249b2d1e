// Drives KESTRUM.EXE from a second process under Wine: a virtual desktop of this test
// process's own, posted clicks and keys, and message boxes read back from outside.
#include "driver.h"

#include <dlgs.h>
#include <psapi.h>

#include <iterator>
#include <string>

#ifndef KESTRUM_EXE
#error "KESTRUM_EXE must name the program, relative to the test's working directory"
#endif

namespace e2e {

namespace {

constexpr DWORD kPollMs = 10;

template <typename Predicate>
bool waitUntil(Predicate done, DWORD timeoutMs = kWaitMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

std::string desktopName()
{
    return "kestrum-e2e-" + std::to_string(GetCurrentProcessId());
}

constexpr char kDesktopSizesKey[] = "Software\\Wine\\Explorer\\Desktops";

// Without a window manager, Wine waits about two seconds for every window it hides; in a
// virtual desktop Wine manages the windows itself and draws their frames. Wine makes a
// desktop virtual when the registry gives a size for its name. This thread joins the
// desktop too, so that the windows of this process live there as well.
HDESK virtualDesktop()
{
    static HDESK desktop = [] {
        std::string name = desktopName();
        std::string size =
            std::to_string(kDesktopWidth) + "x" + std::to_string(kDesktopHeight);
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopSizesKey, 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return HDESK(nullptr);
        RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(size.c_str()), DWORD(size.size() + 1));
        RegCloseKey(key);
        HDESK created = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (created && !SetThreadDesktop(created)) {
            CloseDesktop(created);
            return HDESK(nullptr);
        }
        return created;
    }();
    return desktop;
}

// Once the desktop is up its size has been read, so the prefix keeps no trace of it.
void forgetDesktopSize()
{
    static bool forgotten = false;
    if (forgotten)
        return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopSizesKey, 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(key, desktopName().c_str());
        RegCloseKey(key);
    }
    forgotten = true;
}

std::string className(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct DialogSearch {
    DWORD processId;
    HWND owner;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && GetWindow(window, GW_OWNER) == search->owner &&
        IsWindowVisible(window) && className(window) == "#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the process, owned by `owner` (none for the main dialog).
HWND findDialog(DWORD processId, HWND owner)
{
    DialogSearch search{processId, owner, nullptr};
    EnumDesktopWindows(virtualDesktop(), matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The Open dialog's file name box: an edit field of its own in the old-style dialog, the
// edit field inside a combo box in the Explorer-style one that Wine shows.
BOOL CALLBACK matchFileNameBox(HWND window, LPARAM parameter)
{
    int id = GetDlgCtrlID(window);
    if ((id == edt1 || id == cmb13) && className(window) == "Edit") {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}

HWND fileNameBox(HWND openDialog)
{
    HWND found = nullptr;
    if (openDialog)
        EnumChildWindows(openDialog, matchFileNameBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

INT_PTR CALLBACK ignoreMessages(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Sent with a bound, so a hung program cannot hang the test.
LRESULT sendTo(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs,
                             &result))
        return 0;
    return LRESULT(result);
}

std::optional<std::uintptr_t> remoteModuleBase(HANDLE process, const char* module)
{
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &needed))
        return std::nullopt;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < std::size(modules); ++i) {
        char name[MAX_PATH] = "";
        GetModuleBaseNameA(process, modules[i], name, sizeof name);
        if (lstrcmpiA(name, module) == 0)
            return reinterpret_cast<std::uintptr_t>(modules[i]);
    }
    return std::nullopt;
}

}  // namespace

void Program::end()
{
    if (!process_.hProcess)
        return;
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kWaitMs);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
    dialog_ = nullptr;
}

bool Program::start(const std::string& workDirectory)
{
    if (!virtualDesktop())
        return false;
    char program[MAX_PATH];
    if (!GetFullPathNameA(KESTRUM_EXE, sizeof program, program, nullptr))
        return false;
    std::string desktop = desktopName();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    if (!CreateProcessA(program, nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                        workDirectory.c_str(), &startup, &process_))
        return false;
    waitUntil([&] { return (dialog_ = findDialog(process_.dwProcessId, nullptr)) != nullptr; });
    if (dialog_)
        forgetDesktopSize();
    return dialog_ != nullptr;
}

HWND Program::control(int id) const
{
    return GetDlgItem(dialog_, id);
}

int Program::focusedId() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(process_.dwThreadId, &info) || !info.hwndFocus ||
        GetParent(info.hwndFocus) != dialog_)
        return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

int Program::defaultButtonId() const
{
    LRESULT answer = sendTo(dialog_, DM_GETDEFID);
    return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : 0;
}

// WM_GETTEXT rather than GetWindowText, which for another process's edit field gives its
// window name instead of what the field holds.
std::string Program::text(HWND window) const
{
    LRESULT length = sendTo(window, WM_GETTEXTLENGTH);
    std::string text(size_t(length) + 1, '\0');
    LRESULT copied = sendTo(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(size_t(copied));
    return text;
}

// WM_SETTEXT is not held to the field's limit on typing, so any length gets in.
bool Program::setText(int id, const std::string& text) const
{
    return sendTo(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) == TRUE;
}

bool Program::isChecked(int id) const
{
    return sendTo(control(id), BM_GETCHECK) == BST_CHECKED;
}

void Program::click(int id) const
{
    PostMessageA(control(id), BM_CLICK, 0, 0);
}

void Program::postCommand(WPARAM wParam, HWND from) const
{
    PostMessageA(dialog_, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(from));
}

// The key goes through the dialog loop like a typed one, where IsDialogMessage turns
// Tab, Enter and Esc into focus moves and commands.
void Program::pressKey(UINT key) const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    HWND target = info.hwndFocus ? info.hwndFocus : dialog_;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// What the caption's close button asks of the window.
void Program::closeByCaptionButton() const
{
    PostMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool Program::focus(int id) const
{
    sendTo(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(id)), TRUE);
    return waitUntil([&] { return focusedId() == id; });
}

int Program::tab() const
{
    int before = focusedId();
    pressKey(VK_TAB);
    int after = 0;
    if (!waitUntil([&] { return (after = focusedId()) != before && after != 0; }))
        return 0;
    return after;
}

std::optional<MessageBoxView> Program::waitForMessageBox() const
{
    HWND box = nullptr;
    if (!waitUntil([&] { return (box = findDialog(process_.dwProcessId, dialog_)) != nullptr; }))
        return std::nullopt;
    MessageBoxView view;
    view.caption = text(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string name = className(child);
        if (lstrcmpiA(name.c_str(), "Button") == 0) {
            view.buttons.push_back(text(child));
        } else if (lstrcmpiA(name.c_str(), "Static") == 0) {
            // A Wine message box always has its icon static; without an icon it is empty.
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                view.icon = std::uint32_t(sendTo(child, STM_GETICON));
            else
                view.text = text(child);
        }
    }
    return view;
}

bool Program::dismissMessageBox() const
{
    HWND box = findDialog(process_.dwProcessId, dialog_);
    if (!box)
        return false;
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return waitUntil([&] { return !IsWindow(box); });
}

// A second box would be created while the first one's command is still being handled,
// before the dialog answers the round trip; the short watch after it is for good measure.
bool Program::noMessageBoxShown() const
{
    sendTo(dialog_, WM_NULL);
    return !waitUntil([&] { return findDialog(process_.dwProcessId, dialog_) != nullptr; }, 200);
}

bool Program::toggleCheckBox(int id) const
{
    bool before = isChecked(id);
    click(id);
    return waitUntil([&] { return isChecked(id) != before; });
}

std::optional<std::string> Program::waitForOpenDialog() const
{
    HWND nameBox = nullptr;
    if (!waitUntil([&] {
            return (nameBox = fileNameBox(findDialog(process_.dwProcessId, dialog_))) != nullptr;
        }))
        return std::nullopt;
    return text(nameBox);
}

bool Program::answerOpenDialog(const std::string& name, int button) const
{
    HWND openDialog = findDialog(process_.dwProcessId, dialog_);
    HWND nameBox = fileNameBox(openDialog);
    if (!nameBox || sendTo(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str())) != TRUE)
        return false;
    PostMessageA(GetDlgItem(openDialog, button), BM_CLICK, 0, 0);
    if (!waitUntil([&] { return !IsWindow(openDialog); }))
        return false;
    sendTo(dialog_, WM_NULL);   // answered once the browse has ended and set its field
    return true;
}

// The code written into the program calls the function with the arguments as its calling
// convention wants them; the thread's exit code is what the function returned, cut to 32
// bits. Handles such as icons belong to the process that loaded them, so they are
// compared there; a user handle carries only 32 bits, also in a 64-bit process, so the
// cut loses nothing of it.
std::optional<std::uint32_t> Program::callInProgram(const char* module, const char* function,
                                                     std::vector<std::uintptr_t> arguments) const
{
    HMODULE local = GetModuleHandleA(module);
    FARPROC localFunction = local ? GetProcAddress(local, function) : nullptr;
    std::optional<std::uintptr_t> remoteBase = remoteModuleBase(process_.hProcess, module);
    if (!localFunction || !remoteBase || arguments.size() > 4)
        return std::nullopt;
    std::uintptr_t target = *remoteBase + (reinterpret_cast<std::uintptr_t>(localFunction) -
                                           reinterpret_cast<std::uintptr_t>(local));

    std::vector<unsigned char> code;
    auto emit = [&](std::uintptr_t value) {
        for (size_t shift = 0; shift < 8 * sizeof value; shift += 8)
            code.push_back(static_cast<unsigned char>(value >> shift));
    };
    if constexpr (sizeof(void*) == 8) {
        // sub rsp, 40: the 32 bytes the callee may spill its register arguments into, and
        // the stack aligned to 16 bytes again at the call. Then mov rcx, rdx, r8, r9 (all
        // four, unused ones 0); mov rax, function; call rax; add rsp, 40; ret.
        arguments.resize(4);
        code = {0x48, 0x83, 0xEC, 0x28};
        const unsigned char loads[4][2] = {{0x48, 0xB9}, {0x48, 0xBA}, {0x49, 0xB8}, {0x49, 0xB9}};
        for (size_t i = 0; i < 4; ++i) {
            code.insert(code.end(), std::begin(loads[i]), std::end(loads[i]));
            emit(arguments[i]);
        }
        code.insert(code.end(), {0x48, 0xB8});
        emit(target);
        code.insert(code.end(), {0xFF, 0xD0, 0x48, 0x83, 0xC4, 0x28, 0xC3});
    } else {
        // push each argument, last first; mov eax, function; call eax; ret 4.
        for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
            code.push_back(0x68);
            emit(*argument);
        }
        code.push_back(0xB8);
        emit(target);
        code.insert(code.end(), {0xFF, 0xD0, 0xC2, 0x04, 0x00});
    }

    void* remoteCode = VirtualAllocEx(process_.hProcess, nullptr, code.size(),
                                      MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    if (!remoteCode)
        return std::nullopt;
    std::optional<std::uint32_t> result;
    if (WriteProcessMemory(process_.hProcess, remoteCode, code.data(), code.size(), nullptr)) {
        HANDLE thread = CreateRemoteThread(process_.hProcess, nullptr, 0,
                                           reinterpret_cast<LPTHREAD_START_ROUTINE>(remoteCode),
                                           nullptr, 0, nullptr);
        if (thread) {
            DWORD exitCode = 0;
            if (WaitForSingleObject(thread, kWaitMs) == WAIT_OBJECT_0 &&
                GetExitCodeThread(thread, &exitCode))
                result = exitCode;
            CloseHandle(thread);
        }
    }
    // Left in place if the thread is stuck in it; the program is killed after the test.
    if (result)
        VirtualFreeEx(process_.hProcess, remoteCode, 0, MEM_RELEASE);
    return result;
}

std::optional<DWORD> Program::waitForExit()
{
    DWORD exitCode = 0;
    if (WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &exitCode))
        return std::nullopt;
    return exitCode;
}

bool Program::running() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

// MapDialogRect works only on a dialog of the calling process, so a hidden one with the
// program's font stands in; a program whose font differs then fails on every rectangle.
RECT dialogUnitsToPixels(RECT units)
{
    static HWND reference = [] {
        struct alignas(4) Template {
            DLGTEMPLATE header;
            WORD menu, windowClass, title;
            WORD pointSize;
            WCHAR font[sizeof "MS Sans Serif"];
        } dialogTemplate{};
        dialogTemplate.header.style = WS_POPUP | DS_SETFONT;
        dialogTemplate.header.cx = 280;
        dialogTemplate.header.cy = 110;
        dialogTemplate.pointSize = 8;
        const char font[] = "MS Sans Serif";
        for (size_t i = 0; i < sizeof font; ++i)
            dialogTemplate.font[i] = WCHAR(font[i]);
        virtualDesktop();
        return CreateDialogIndirectParamA(
            GetModuleHandleA(nullptr), &dialogTemplate.header, nullptr, ignoreMessages, 0);
    }();
    RECT pixels = units;
    if (!reference || !MapDialogRect(reference, &pixels))
        return RECT{-1, -1, -1, -1};
    return pixels;
}

}  // namespace e2e
