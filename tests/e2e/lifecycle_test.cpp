// Ending the program, the four-part switch, and commands that carry a notification code.
#include "driver.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

class Lifecycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.start(std::filesystem::temp_directory_path().string()))
            << "KESTRUM.EXE did not show a dialog";
    }

    // Which of the dialog's inputs are enabled, by id.
    std::map<int, bool> enabledControls() const
    {
        std::map<int, bool> enabled;
        for (int id = IDC_IMAGE_PATH; id <= IDC_FOUR_PARTS; ++id)
            enabled[id] = IsWindowEnabled(program.control(id)) != FALSE;
        for (int id : {IDOK, IDCANCEL})
            enabled[id] = IsWindowEnabled(program.control(id)) != FALSE;
        return enabled;
    }

    e2e::Program program;
};

TEST_F(Lifecycle, ExitButtonEndsWithCodeZero)
{
    program.click(IDCANCEL);
    EXPECT_EQ(program.waitForExit(), 0u);
}

TEST_F(Lifecycle, EscEndsWithCodeZero)
{
    program.pressKey(VK_ESCAPE);
    EXPECT_EQ(program.waitForExit(), 0u);
}

TEST_F(Lifecycle, CloseButtonEndsWithCodeZero)
{
    program.closeByCaptionButton();
    EXPECT_EQ(program.waitForExit(), 0u);
}

TEST_F(Lifecycle, FourSwitchesThePartThreeAndFourRowsAndKeepsTheirText)
{
    std::map<int, bool> twoParts = enabledControls();
    std::map<int, bool> fourParts = twoParts;
    for (int id : {IDC_PART3_PATH, IDC_PART4_PATH, IDC_BROWSE_PART3, IDC_BROWSE_PART4}) {
        EXPECT_FALSE(twoParts[id]) << "control " << id << " enabled at start";
        fourParts[id] = true;
    }
    EXPECT_FALSE(program.isChecked(IDC_FOUR_PARTS));
    // Text can be put into a disabled field; the switch must leave it there.
    ASSERT_TRUE(program.setText(IDC_PART3_PATH, "third.bin"));
    ASSERT_TRUE(program.setText(IDC_PART4_PATH, "fourth.bin"));

    ASSERT_TRUE(program.toggleCheckBox(IDC_FOUR_PARTS));
    EXPECT_EQ(enabledControls(), fourParts);
    EXPECT_EQ(program.text(IDC_PART3_PATH), "third.bin");
    EXPECT_EQ(program.text(IDC_PART4_PATH), "fourth.bin");

    ASSERT_TRUE(program.toggleCheckBox(IDC_FOUR_PARTS));
    EXPECT_EQ(enabledControls(), twoParts);
    EXPECT_EQ(program.text(IDC_PART3_PATH), "third.bin");
    EXPECT_EQ(program.text(IDC_PART4_PATH), "fourth.bin");
    EXPECT_TRUE(program.noMessageBoxShown());
}

// Only a plain click counts: an edit field's notification that happens to carry a
// command's id in its low word must do nothing.
TEST_F(Lifecycle, CommandsWithANotificationCodeAreIgnored)
{
    HWND field = program.control(IDC_IMAGE_PATH);
    program.postCommand(MAKEWPARAM(IDOK, EN_CHANGE), field);
    program.postCommand(MAKEWPARAM(IDC_MERGE, EN_UPDATE), field);
    program.postCommand(MAKEWPARAM(IDC_BROWSE_IMAGE, EN_SETFOCUS), field);
    program.postCommand(MAKEWPARAM(IDCANCEL, EN_KILLFOCUS), field);
    // The click is handled after all of them, which makes it the sign they are done.
    EXPECT_TRUE(program.toggleCheckBox(IDC_FOUR_PARTS));
    EXPECT_TRUE(program.noMessageBoxShown());
    EXPECT_TRUE(program.running());
}

}  // namespace
