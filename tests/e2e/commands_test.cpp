// Split and merge through the dialog: fields, browsing for them, buttons, Enter, the one
// message box, the files.
#include "driver.h"
#include "resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

constexpr char kComplete[] = "Operation complete!";
constexpr char kReadError[] = "Error reading file!";
constexpr char kWriteError[] = "Error writing file!";
constexpr size_t kPathLimit = 259;   // characters of a path, without its NUL

void writeFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class CommandsThroughDialog : public ::testing::Test {
protected:
    // A folder of the test's own: Wine gives a later process the id of an earlier one, so
    // the name is drawn at random until it is new.
    void SetUp() override
    {
        std::random_device random;
        do
            directory = fs::temp_directory_path() / ("kestrum-e2e-" + std::to_string(random()));
        while (!fs::create_directory(directory));
        ASSERT_TRUE(program.start(directory.string())) << "KESTRUM.EXE did not show a dialog";
    }

    // The program, and the Open dialog of a browse, hold their current folder while they
    // run, so the folder goes only once the program has ended.
    void TearDown() override
    {
        program.end();
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }

    std::string file(const char* name) const { return (directory / name).string(); }

    // Throws, which ends the test as failed: an ASSERT would end only this helper.
    void fill(int field, const std::string& path)
    {
        if (!program.setText(field, path))
            throw std::runtime_error("could not fill field " + std::to_string(field));
    }

    // Waits for the one box a command ends in, checks it, closes it, and sees that no
    // second box follows.
    void expectOutcome(const char* text, const std::string& caption)
    {
        auto box = program.waitForMessageBox();
        ASSERT_TRUE(box) << "no message box";
        EXPECT_EQ(box->text, text);
        EXPECT_EQ(box->caption, caption);
        EXPECT_EQ(box->buttons, std::vector<std::string>{"OK"});
        if (std::string(text) == kComplete) {
            EXPECT_EQ(box->icon, 0u) << "the completion box has an icon";
        } else {
            auto errorIcon = program.callInProgram(
                "user32.dll", "LoadIconA", {0, reinterpret_cast<std::uintptr_t>(IDI_ERROR)});
            ASSERT_TRUE(errorIcon);
            EXPECT_NE(box->icon, 0u) << "the error box has no icon";
            EXPECT_EQ(box->icon, *errorIcon) << "the error box has another icon";
        }
        ASSERT_TRUE(program.dismissMessageBox());
        EXPECT_TRUE(program.noMessageBoxShown()) << "a second message box";
    }

    std::vector<std::string> filesInDirectory() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path directory;
    e2e::Program program;
};

TEST_F(CommandsThroughDialog, SplitAndMergeTwoParts)
{
    writeFile(file("image.bin"), {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16});
    fill(IDC_IMAGE_PATH, file("image.bin"));
    fill(IDC_PART1_PATH, file("p1.bin"));
    fill(IDC_PART2_PATH, file("p2.bin"));
    fill(IDC_PART3_PATH, file("p3.bin"));   // disabled, so never used
    fill(IDC_PART4_PATH, file("p4.bin"));
    program.click(IDOK);
    expectOutcome(kComplete, "Kestrum");
    EXPECT_EQ(readFile(file("p1.bin")), (Bytes{0x10, 0x12, 0x14, 0x16}));
    EXPECT_EQ(readFile(file("p2.bin")), (Bytes{0x11, 0x13, 0x15, 0x00}));

    fill(IDC_IMAGE_PATH, file("joined.bin"));
    program.click(IDC_MERGE);
    expectOutcome(kComplete, "Kestrum");
    EXPECT_EQ(readFile(file("joined.bin")),
              (Bytes{0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x00}));
    EXPECT_EQ(filesInDirectory(),
              (std::vector<std::string>{"image.bin", "joined.bin", "p1.bin", "p2.bin"}));
    EXPECT_TRUE(program.running());
}

TEST_F(CommandsThroughDialog, SplitAndMergeFourPartsOnceChecked)
{
    writeFile(file("image.bin"), {0x20, 0x21, 0x22, 0x23, 0x24, 0x25});
    ASSERT_TRUE(program.toggleCheckBox(IDC_FOUR_PARTS));
    fill(IDC_IMAGE_PATH, file("image.bin"));
    fill(IDC_PART1_PATH, file("p1.bin"));
    fill(IDC_PART2_PATH, file("p2.bin"));
    fill(IDC_PART3_PATH, file("p3.bin"));
    fill(IDC_PART4_PATH, file("p4.bin"));
    program.click(IDOK);
    expectOutcome(kComplete, "Kestrum");
    EXPECT_EQ(readFile(file("p1.bin")), (Bytes{0x20, 0x24}));
    EXPECT_EQ(readFile(file("p2.bin")), (Bytes{0x21, 0x25}));
    EXPECT_EQ(readFile(file("p3.bin")), (Bytes{0x22, 0x00}));
    EXPECT_EQ(readFile(file("p4.bin")), (Bytes{0x23, 0x00}));

    fill(IDC_IMAGE_PATH, file("joined.bin"));
    program.click(IDC_MERGE);
    expectOutcome(kComplete, "Kestrum");
    EXPECT_EQ(readFile(file("joined.bin")),
              (Bytes{0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x00, 0x00}));

    // Unchecked again, a split of the joined image writes two parts and no more.
    ASSERT_TRUE(program.toggleCheckBox(IDC_FOUR_PARTS));
    fs::remove(file("p3.bin"));
    fs::remove(file("p4.bin"));
    program.click(IDOK);
    expectOutcome(kComplete, "Kestrum");
    EXPECT_EQ(readFile(file("p1.bin")), (Bytes{0x20, 0x22, 0x24, 0x00}));
    EXPECT_EQ(readFile(file("p2.bin")), (Bytes{0x21, 0x23, 0x25, 0x00}));
    EXPECT_FALSE(fs::exists(file("p3.bin")));
    EXPECT_FALSE(fs::exists(file("p4.bin")));
}

// Enter goes to the default button, "1 -> M", whichever field has the focus.
TEST_F(CommandsThroughDialog, EnterInAPathFieldRunsTheSplit)
{
    writeFile(file("image.bin"), {0x30, 0x31});
    fill(IDC_IMAGE_PATH, file("image.bin"));
    fill(IDC_PART1_PATH, file("p1.bin"));
    fill(IDC_PART2_PATH, file("p2.bin"));
    for (int field : {IDC_IMAGE_PATH, IDC_PART2_PATH}) {
        SCOPED_TRACE("Enter in field " + std::to_string(field));
        fs::remove(file("p1.bin"));
        fs::remove(file("p2.bin"));
        ASSERT_TRUE(program.focus(field));
        program.pressKey(VK_RETURN);
        expectOutcome(kComplete, "Kestrum");
        EXPECT_EQ(readFile(file("p1.bin")), Bytes{0x30});
        EXPECT_EQ(readFile(file("p2.bin")), Bytes{0x31});
    }
}

// Each "..." button browses for its own row, in either mode: the Open dialog starts at the
// field's text, a cancelled browse changes nothing, and the name chosen there, of a file
// that exists or of one that does not yet, goes into that row's field and no other.
// Wine's click reaches a disabled button too, so the rows of parts 3 and 4 are browsed in
// two-part mode as well.
TEST_F(CommandsThroughDialog, BrowseSetsOnlyItsOwnRowInBothModes)
{
    const std::pair<int, int> rows[] = {
        {IDC_BROWSE_IMAGE, IDC_IMAGE_PATH}, {IDC_BROWSE_PART1, IDC_PART1_PATH},
        {IDC_BROWSE_PART2, IDC_PART2_PATH}, {IDC_BROWSE_PART3, IDC_PART3_PATH},
        {IDC_BROWSE_PART4, IDC_PART4_PATH}};
    // In a folder of their own, so that a bare name chosen lands there only when the
    // Open dialog started at the field's text, not in the program's current folder.
    fs::path folder = directory / "rows";
    fs::create_directories(folder);
    std::map<int, std::string> fields;
    for (auto [button, field] : rows) {
        fields[field] = (folder / ("start" + std::to_string(field) + ".bin")).string();
        fill(field, fields[field]);
    }

    for (bool fourParts : {false, true}) {
        if (fourParts) {
            ASSERT_TRUE(program.toggleCheckBox(IDC_FOUR_PARTS));
        }
        for (auto [button, field] : rows) {
            SCOPED_TRACE("button " + std::to_string(button) + (fourParts ? ", four parts" : ""));
            std::string startName = fs::path(fields[field]).filename().string();
            std::string chosen = std::to_string(field) + (fourParts ? "new.bin" : "old.bin");
            if (!fourParts)
                writeFile(folder / chosen, {0x01});

            program.click(button);
            ASSERT_EQ(program.waitForOpenDialog(), startName);
            ASSERT_TRUE(program.answerOpenDialog("cancelled.bin", IDCANCEL));
            program.click(button);
            ASSERT_EQ(program.waitForOpenDialog(), startName) << "the cancel changed the field";
            ASSERT_TRUE(program.answerOpenDialog(chosen, IDOK)) << "the name was not taken";

            fields[field] = (folder / chosen).string();
            std::map<int, std::string> shown;
            for (auto [otherButton, otherField] : rows)
                shown[otherField] = program.text(otherField);
            ASSERT_EQ(shown, fields);
        }
    }
}

TEST_F(CommandsThroughDialog, ErrorsNameTheFileOfTheFailingStep)
{
    fill(IDC_IMAGE_PATH, file("missing.bin"));
    fill(IDC_PART1_PATH, file("p1.bin"));
    fill(IDC_PART2_PATH, file("no such directory\\p2.bin"));
    program.click(IDOK);
    expectOutcome(kReadError, file("missing.bin"));
    EXPECT_FALSE(fs::exists(file("p1.bin")));

    // Part 1 is written before part 2 fails, and stays.
    writeFile(file("image.bin"), {0x40, 0x41, 0x42, 0x43});
    fill(IDC_IMAGE_PATH, file("image.bin"));
    program.click(IDOK);
    expectOutcome(kWriteError, file("no such directory\\p2.bin"));
    EXPECT_EQ(readFile(file("p1.bin")), (Bytes{0x40, 0x42}));

    fill(IDC_IMAGE_PATH, file("joined.bin"));
    fill(IDC_PART2_PATH, file("missing.bin"));
    program.click(IDC_MERGE);
    expectOutcome(kReadError, file("missing.bin"));
    EXPECT_FALSE(fs::exists(file("joined.bin")));

    // An empty field gives an empty caption.
    fill(IDC_PART2_PATH, file("p1.bin"));
    fill(IDC_IMAGE_PATH, "");
    program.click(IDC_MERGE);
    expectOutcome(kWriteError, "");
}

// A path one character longer than the path buffer holds must not be cut to another name
// and used: the step fails instead, and the caption shows what the buffer holds.
TEST_F(CommandsThroughDialog, OverlongPathFailsItsStep)
{
    fs::path deep = directory / std::string(150, 'd');
    fs::create_directories(deep);
    size_t room = kPathLimit - deep.string().size() - 1;
    ASSERT_GT(room, 8u);
    std::string cutImage = (deep / std::string(room, 'i')).string();
    std::string cutPart = (deep / std::string(room, 'p')).string();
    ASSERT_EQ(cutImage.size(), kPathLimit);

    writeFile(cutImage, {0x50, 0x51});
    fill(IDC_IMAGE_PATH, cutImage + "x");
    fill(IDC_PART1_PATH, file("p1.bin"));
    fill(IDC_PART2_PATH, file("p2.bin"));
    program.click(IDOK);
    expectOutcome(kReadError, cutImage);
    EXPECT_FALSE(fs::exists(file("p1.bin")));

    fill(IDC_IMAGE_PATH, cutImage);
    fill(IDC_PART1_PATH, cutPart + "x");
    program.click(IDOK);
    expectOutcome(kWriteError, cutPart);
    EXPECT_FALSE(fs::exists(cutPart));
    EXPECT_FALSE(fs::exists(file("p2.bin")));
}

}  // namespace
