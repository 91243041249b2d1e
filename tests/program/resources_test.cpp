// The resources as they are stored in KESTRUM.EXE, read back from the file: what the
// resource compiler wrote, not what the script asked for.
#include "dialog_template.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Resource {
    std::string type;
    std::string name;
    WORD language;
};

std::string resourceName(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name))
                                : std::string(name);
}

class ProgramResources : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        program = LoadLibraryExA(KESTRUM_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program, nullptr) << KESTRUM_EXE;
    }

    static void TearDownTestSuite() { FreeLibrary(program); }

    static std::vector<Resource> listResources()
    {
        std::vector<Resource> found;
        EnumResourceTypesA(program, addType, reinterpret_cast<LONG_PTR>(&found));
        return found;
    }

    // The bytes of one resource, or none when it is not stored under that language.
    static std::vector<std::uint8_t> load(LPCSTR type, int name, WORD language)
    {
        HRSRC info = FindResourceExA(program, type, MAKEINTRESOURCEA(name), language);
        if (!info)
            return {};
        auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(program, info)));
        return {bytes, bytes + SizeofResource(program, info)};
    }

    static inline HMODULE program;

private:
    static BOOL CALLBACK addType(HMODULE module, LPSTR type, LONG_PTR found)
    {
        EnumResourceNamesA(module, type, addName, found);
        return TRUE;
    }

    static BOOL CALLBACK addName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR found)
    {
        EnumResourceLanguagesA(module, type, name, addLanguage, found);
        return TRUE;
    }

    static BOOL CALLBACK addLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language,
                                     LONG_PTR found)
    {
        reinterpret_cast<std::vector<Resource>*>(found)->push_back(
            {resourceName(type), resourceName(name), language});
        return TRUE;
    }
};

// Reads a classic dialog template field by field.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<std::uint8_t>& bytes) : bytes(bytes) {}

    std::uint16_t word()
    {
        std::uint16_t value = bytes.at(at) | bytes.at(at + 1) << 8;
        at += 2;
        return value;
    }

    std::uint32_t dword()
    {
        std::uint32_t low = word();
        return low | std::uint32_t(word()) << 16;
    }

    // A string, or an ordinal written as "#n" (0xFFFF then the number).
    std::string text()
    {
        std::uint16_t first = word();
        if (first == 0xFFFF)
            return "#" + std::to_string(word());
        std::string value;
        for (std::uint16_t c = first; c != 0; c = word())
            value += char(c);
        return value;
    }

    void alignToDword() { at = (at + 3) & ~std::size_t(3); }
    std::size_t remaining() const { return bytes.size() - at; }

private:
    const std::vector<std::uint8_t>& bytes;
    std::size_t at = 0;
};

// A template stores the system's classes by ordinal.
std::string classOrdinal(const std::string& className)
{
    if (className == "Button")
        return "#128";
    if (className == "Edit")
        return "#129";
    return className == "Static" ? "#130" : className;
}

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

TEST_F(ProgramResources, HoldTheDialogIconAndVersionBlockOnly)
{
    std::vector<Resource> found = listResources();
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].type + " " + found[0].name, "#3 #1");      // the icon image
    EXPECT_EQ(found[0].language, kNeutral);
    EXPECT_EQ(found[1].type + " " + found[1].name, "#5 #1000");   // the dialog
    EXPECT_EQ(found[1].language, kEnglishUs);
    EXPECT_EQ(found[2].type + " " + found[2].name, "#14 #30");    // the icon group
    EXPECT_EQ(found[2].language, kNeutral);
    EXPECT_EQ(found[3].type + " " + found[3].name, "#16 #1");     // the version block
    EXPECT_EQ(found[3].language, kNeutral);
}

TEST_F(ProgramResources, DialogTemplateIsClassicWithEveryControlAsDrawn)
{
    std::vector<std::uint8_t> bytes = load(RT_DIALOG, IDD_MAIN, kEnglishUs);
    ASSERT_FALSE(bytes.empty());
    TemplateReader reader(bytes);
    EXPECT_EQ(reader.dword(), 0x10C80840u);   // an extended template would start FFFF0001 here
    EXPECT_EQ(reader.dword(), 0u);
    ASSERT_EQ(reader.word(), std::size(kTemplate));
    EXPECT_EQ(reader.word(), 0);
    EXPECT_EQ(reader.word(), 0);
    EXPECT_EQ(reader.word(), 280);
    EXPECT_EQ(reader.word(), 110);
    EXPECT_EQ(reader.text(), "");   // no menu
    EXPECT_EQ(reader.text(), "");   // the system's dialog class
    EXPECT_EQ(reader.text(), "KESTRUM / MERGER");
    EXPECT_EQ(reader.word(), 8);
    EXPECT_EQ(reader.text(), "MS Sans Serif");

    for (const ControlRow& expected : kTemplate) {
        SCOPED_TRACE(expected.id);
        reader.alignToDword();
        EXPECT_EQ(reader.dword(), expected.style);
        EXPECT_EQ(reader.dword(), expected.exStyle);
        EXPECT_EQ(std::int16_t(reader.word()), expected.units.left);
        EXPECT_EQ(std::int16_t(reader.word()), expected.units.top);
        EXPECT_EQ(std::int16_t(reader.word()), expected.units.right);
        EXPECT_EQ(std::int16_t(reader.word()), expected.units.bottom);
        EXPECT_EQ(reader.word(), expected.id);
        EXPECT_EQ(reader.text(), classOrdinal(expected.className));
        EXPECT_EQ(reader.text(), expected.text);
        EXPECT_EQ(reader.word(), 0);   // no creation data
    }
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST_F(ProgramResources, IconIsOne32By32SixteenColourImage)
{
    std::vector<std::uint8_t> group = load(RT_GROUP_ICON, IDI_MAIN, kNeutral);
    ASSERT_EQ(group.size(), 6u + 14u);
    TemplateReader reader(group);
    EXPECT_EQ(reader.word(), 0);
    EXPECT_EQ(reader.word(), 1);   // an icon, not a cursor
    EXPECT_EQ(reader.word(), 1);   // one image
    EXPECT_EQ(reader.word(), 32 | 32 << 8);
    EXPECT_EQ(reader.word(), 16);   // colours
    EXPECT_EQ(reader.word(), 1);    // planes
    EXPECT_EQ(reader.word(), 4);    // bits per pixel
    EXPECT_EQ(reader.dword(), 744u);
    std::uint16_t imageId = reader.word();

    std::vector<std::uint8_t> image = load(RT_ICON, imageId, kNeutral);
    ASSERT_EQ(image.size(), 744u);
    auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(header->biWidth, 32);
    EXPECT_EQ(header->biHeight, 64);   // the colours and the mask
    EXPECT_EQ(header->biBitCount, 4);
}

TEST_F(ProgramResources, VersionBlockNamesTheProgram)
{
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(KESTRUM_EXE, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(KESTRUM_EXE, 0, DWORD(block.size()), block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
    EXPECT_EQ(fixed->dwFileDateMS | fixed->dwFileDateLS, 0u);

    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0409);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 0);

    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "KESTRUM"},
        {"FileVersion", "0.1.0"},
        {"ProductVersion", "0.1"},
        {"OriginalFilename", "KESTRUM.EXE"},
    };
    for (auto [key, expected] : strings) {
        std::string query = std::string("\\StringFileInfo\\040904E4\\") + key;
        ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), &value, &length)) << key;
        EXPECT_STREQ(static_cast<const char*>(value), expected) << key;
    }
}

}  // namespace
