// The live dialog read back from outside: window, controls, icon, focus walk and default button.
#include "dialog_template.h"
#include "driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

std::string classOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Each of x, y, width and height is converted on its own, as the dialog manager does.
RECT pixelRect(const RECT& units)
{
    RECT pixels = e2e::dialogUnitsToPixels(units);
    return {pixels.left, pixels.top, pixels.left + pixels.right, pixels.top + pixels.bottom};
}

RECT clientRectOf(HWND window, HWND dialog)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

::testing::AssertionResult sameRect(const RECT& expected, const RECT& actual)
{
    if (EqualRect(&expected, &actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected " << expected.left << "," << expected.top << " to " << expected.right
           << "," << expected.bottom << " but is " << actual.left << "," << actual.top << " to "
           << actual.right << "," << actual.bottom;
}

class DialogLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.start(std::filesystem::temp_directory_path().string()))
            << "KESTRUM.EXE did not show a dialog";
    }

    e2e::Program program;
};

// Read while the focus is still where the program put it: a pushbutton that takes the
// focus takes the default style with it.
TEST_F(DialogLayout, LiveWindowAndControlsMatchTheTemplate)
{
    HWND dialog = program.dialog();
    EXPECT_EQ(classOf(dialog), "#32770");
    EXPECT_EQ(program.text(dialog), "KESTRUM / MERGER");
    // Windows adds WS_CLIPSIBLINGS to a top-level window and DS_3DLOOK to a dialog, and
    // the extended styles for its frame and its keyboard interface.
    EXPECT_EQ(DWORD(GetWindowLongA(dialog, GWL_STYLE)), 0x10C80840u | WS_CLIPSIBLINGS | DS_3DLOOK);
    EXPECT_EQ(DWORD(GetWindowLongA(dialog, GWL_EXSTYLE)),
              DWORD(WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT));

    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_TRUE(sameRect(pixelRect({0, 0, 280, 110}), client));
    RECT frame;
    GetWindowRect(dialog, &frame);
    EXPECT_NEAR(frame.left, (e2e::kDesktopWidth - (frame.right - frame.left)) / 2, 1)
        << "not centred";
    EXPECT_NEAR(frame.top, (e2e::kDesktopHeight - (frame.bottom - frame.top)) / 2, 1)
        << "not centred";

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : kTemplate) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        ASSERT_NE(child, nullptr) << "fewer controls than the template";
        EXPECT_EQ(GetDlgCtrlID(child), row.id) << "out of template order";
        EXPECT_EQ(classOf(child), row.className);
        EXPECT_EQ(program.text(child), row.text);
        EXPECT_EQ(DWORD(GetWindowLongA(child, GWL_STYLE)), row.style);
        // The dialog manager gives every control WS_EX_NOPARENTNOTIFY.
        EXPECT_EQ(DWORD(GetWindowLongA(child, GWL_EXSTYLE)), row.exStyle | WS_EX_NOPARENTNOTIFY);
        EXPECT_TRUE(sameRect(pixelRect(row.units), clientRectOf(child, dialog)));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than the template";
}

// The icon handles mean something only inside the program, so they are compared there.
TEST_F(DialogLayout, SmallIconIsTheProgramsOwnAndTheOnlyOne)
{
    auto instance = std::uintptr_t(GetWindowLongPtrA(program.dialog(), GWLP_HINSTANCE));
    auto ownIcon = program.callInProgram("user32.dll", "LoadIconA", {instance, IDI_MAIN});
    auto small = program.callInProgram("user32.dll", "SendMessageA",
                                       {std::uintptr_t(program.dialog()), WM_GETICON, ICON_SMALL, 0});
    auto big = program.callInProgram("user32.dll", "SendMessageA",
                                     {std::uintptr_t(program.dialog()), WM_GETICON, ICON_BIG, 0});
    ASSERT_TRUE(ownIcon && small && big) << "could not ask inside the program";
    EXPECT_NE(*ownIcon, 0u) << "no icon resource " << IDI_MAIN;
    EXPECT_EQ(*small, *ownIcon);
    EXPECT_EQ(*big, 0u);
}

// The walk closes on itself, so the group boxes and the frame never take the focus.
// Enter in a field runs the split; the commands' tests press it.
TEST_F(DialogLayout, TabWalksTheTemplateOrderInBothModes)
{
    EXPECT_EQ(program.focusedId(), IDC_IMAGE_PATH);
    EXPECT_EQ(program.defaultButtonId(), IDOK);

    const std::vector<int> twoParts = {IDC_BROWSE_IMAGE, IDC_PART1_PATH, IDC_BROWSE_PART1,
                                       IDC_PART2_PATH,   IDC_BROWSE_PART2, IDC_FOUR_PARTS,
                                       IDOK,             IDC_MERGE,        IDCANCEL,
                                       IDC_IMAGE_PATH};
    std::vector<int> walk;
    for (size_t i = 0; i < twoParts.size(); ++i)
        walk.push_back(program.tab());
    EXPECT_EQ(walk, twoParts);

    ASSERT_TRUE(program.toggleCheckBox(IDC_FOUR_PARTS));
    ASSERT_TRUE(program.focus(IDC_IMAGE_PATH));
    const std::vector<int> fourParts = {
        IDC_BROWSE_IMAGE, IDC_PART1_PATH, IDC_BROWSE_PART1, IDC_PART2_PATH,   IDC_BROWSE_PART2,
        IDC_PART3_PATH,   IDC_BROWSE_PART3, IDC_PART4_PATH, IDC_BROWSE_PART4, IDC_FOUR_PARTS,
        IDOK,             IDC_MERGE,      IDCANCEL,         IDC_IMAGE_PATH};
    walk.clear();
    for (size_t i = 0; i < fourParts.size(); ++i)
        walk.push_back(program.tab());
    EXPECT_EQ(walk, fourParts);
}

}  // namespace
