// Drives the commands through a stand-in for the dialog's five path fields, from a scratch directory.
#pragma once

#include "commands.h"
#include "work_area.h"

#include "scratch_dir.h"

#include <algorithm>
#include <array>
#include <string>

// The five path fields, in identifier order from IDC_IMAGE_PATH.
inline std::array<std::string, 5> fields;

// Cuts like an edit control read into a 260-character buffer.
inline bool fetchField(int field)
{
    const std::string& text = fields.at(std::size_t(field - IDC_IMAGE_PATH));
    std::size_t kept = std::min(text.size(), std::size_t(kPathBufferSize - 1));
    text.copy(pathBuffer(), kept);
    pathBuffer()[kept] = '\0';
    return kept == text.size();
}

enum Field { kImage, kPart1, kPart2, kPart3, kPart4 };

class CommandTest : public ScratchDir {
protected:
    void SetUp() override
    {
        ScratchDir::SetUp();
        fields = {"rom.bin", "p1.bin", "p2.bin", "p3.bin", "p4.bin"};
        setFourPartFlag(0);
    }

    void TearDown() override
    {
        setFourPartFlag(0);
        ScratchDir::TearDown();
    }
};

inline testing::AssertionResult isComplete(Outcome outcome)
{
    if (outcome == Outcome::Complete && std::string(outcomeText(outcome)) == "Operation complete!" &&
        std::string(outcomeCaption(outcome)) == "Kestrum" && outcomeBoxStyle(outcome) == 0x00)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "got \"" << outcomeText(outcome) << "\" captioned \"" << outcomeCaption(outcome) << "\"";
}

inline testing::AssertionResult isError(Outcome outcome, Outcome kind, const char* text,
                                        const std::string& caption)
{
    if (outcome == kind && std::string(outcomeText(outcome)) == text &&
        outcomeCaption(outcome) == caption && outcomeBoxStyle(outcome) == 0x10)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "got \"" << outcomeText(outcome) << "\" captioned \"" << outcomeCaption(outcome)
           << "\" style " << outcomeBoxStyle(outcome) << ", want \"" << text << "\" captioned \""
           << caption << "\"";
}

inline testing::AssertionResult isReadError(Outcome outcome, const std::string& caption)
{
    return isError(outcome, Outcome::ReadError, "Error reading file!", caption);
}

inline testing::AssertionResult isWriteError(Outcome outcome, const std::string& caption)
{
    return isError(outcome, Outcome::WriteError, "Error writing file!", caption);
}
