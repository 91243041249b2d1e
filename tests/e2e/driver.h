// Drives KESTRUM.EXE from a second process, as a user's clicks and keys would: starts it
// in a virtual desktop, finds its dialog, fills fields, clicks, reads message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Every wait is bounded by this, so a hung program fails its test instead of the run.
constexpr DWORD kWaitMs = 10000;

constexpr int kDesktopWidth = 640;
constexpr int kDesktopHeight = 480;

// A message box as the program shows it; the icon is a handle in the program's process,
// by its low 32 bits, as callInProgram gives handles.
struct MessageBoxView {
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
    std::uint32_t icon = 0;
};

// One run of KESTRUM.EXE. The destructor kills the program if it is still running.
class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { end(); }

    // Kills the program if it is still running and lets go of it; it no longer holds its
    // current directory then.
    void end();

    // Starts the program with `workDirectory` as its current directory and waits for its
    // dialog to show; false when either fails.
    bool start(const std::string& workDirectory);

    HWND dialog() const { return dialog_; }
    HWND control(int id) const;
    int focusedId() const;
    int defaultButtonId() const;   // as the dialog manager answers DM_GETDEFID; 0 if none

    std::string text(HWND window) const;
    std::string text(int id) const { return text(control(id)); }
    bool setText(int id, const std::string& text) const;
    bool isChecked(int id) const;

    // Posted, not sent: a command that opens a message box returns only once it is closed.
    void click(int id) const;
    void postCommand(WPARAM wParam, HWND from = nullptr) const;
    void pressKey(UINT key) const;   // to the control that has the focus
    void closeByCaptionButton() const;

    // Moves the focus the way the dialog manager would for a click into the control.
    bool focus(int id) const;
    // Presses Tab and waits for the focus to move; the id it moved to, or 0.
    int tab() const;

    // Waits for a message box owned by the dialog; nullopt if none shows in time.
    std::optional<MessageBoxView> waitForMessageBox() const;
    // Clicks the shown box's OK button and waits for the box to go.
    bool dismissMessageBox() const;
    // True when, after the dialog has handled what was posted to it, no box is shown.
    bool noMessageBoxShown() const;
    // Clicks the check box and waits until its check state has flipped: also proof that
    // whatever was posted to the dialog before has been handled.
    bool toggleCheckBox(int id) const;

    // Waits for the Open dialog of a browse; the text its file name box starts with, or
    // nullopt if none shows in time.
    std::optional<std::string> waitForOpenDialog() const;
    // Types `name` into the Open dialog's file name box and presses its button `button`,
    // IDOK ("Open") or IDCANCEL; true once the dialog has closed and the browse ended.
    bool answerOpenDialog(const std::string& name, int button) const;

    // Calls a function exported by one of the program's DLLs, on a new thread in the
    // program's process, with up to four arguments; the low 32 bits of its result (all
    // that a thread's exit code holds), or nullopt.
    std::optional<std::uint32_t> callInProgram(const char* module, const char* function,
                                                std::vector<std::uintptr_t> arguments) const;

    std::optional<DWORD> waitForExit();
    bool running() const;

private:
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
};

// The size in pixels of a dialog-unit rectangle under the dialog's font, 8 point
// "MS Sans Serif", measured on a dialog of this process's own.
RECT dialogUnitsToPixels(RECT units);

}  // namespace e2e
