// The live dialog read back from outside: window, controls, icon, focus walk and default button.
#include "driver.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

struct ControlRow {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    RECT units;   // x, y, width, height in dialog units, as the template gives them
};

// The dialog template, control by control in template order.
const ControlRow kTemplate[] = {
    {IDC_FRAME_EXIT, "Static", "", 0x50000000, WS_EX_CLIENTEDGE, {216, 87, 62, 20}},
    {IDC_FRAME_SPLIT, "Button", "", 0x50000007, 0, {216, 1, 62, 28}},
    {IDC_FRAME_MERGE, "Button", "", 0x50000007, 0, {216, 31, 62, 27}},
    {IDC_GROUP_PARTS, "Button", "PARTS", 0x50000007, 0, {2, 31, 211, 76}},
    {IDC_GROUP_IMAGE, "Button", "ROM", 0x50000007, 0, {2, 1, 211, 28}},
    {IDC_IMAGE_PATH, "Edit", "", 0x50010080, WS_EX_CLIENTEDGE, {5, 12, 185, 13}},
    {IDC_BROWSE_IMAGE, "Button", "...", 0x50010000, 0, {193, 12, 15, 13}},
    {IDC_PART1_PATH, "Edit", "", 0x50010080, WS_EX_CLIENTEDGE, {5, 41, 185, 13}},
    {IDC_BROWSE_PART1, "Button", "...", 0x50010000, 0, {193, 41, 15, 13}},
    {IDC_PART2_PATH, "Edit", "", 0x50010080, WS_EX_CLIENTEDGE, {5, 58, 185, 13}},
    {IDC_BROWSE_PART2, "Button", "...", 0x50010000, 0, {193, 58, 15, 13}},
    {IDC_PART3_PATH, "Edit", "", 0x58010080, WS_EX_CLIENTEDGE, {5, 74, 185, 13}},
    {IDC_BROWSE_PART3, "Button", "...", 0x58010000, 0, {193, 74, 15, 13}},
    {IDC_PART4_PATH, "Edit", "", 0x58010080, WS_EX_CLIENTEDGE, {5, 90, 185, 13}},
    {IDC_BROWSE_PART4, "Button", "...", 0x58010000, 0, {193, 91, 15, 13}},
    {IDC_FOUR_PARTS, "Button", "4", 0x50010003, 0, {222, 69, 24, 10}},
    {IDOK, "Button", "1 -> M", 0x50010001, 0, {222, 11, 49, 15}},
    {IDC_MERGE, "Button", "M -> 1", 0x50010000, 0, {222, 41, 49, 14}},
    {IDCANCEL, "Button", "Exit", 0x50010000, 0, {222, 90, 49, 15}},
};

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
