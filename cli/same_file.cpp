// Whether two paths name one file: "p.bin" and "./p.bin", a link and its target, or two
// spellings of a file not written yet.
#include "same_file.h"

#include "file_replace.h"

#include <filesystem>

namespace fs = std::filesystem;

static fs::path folderOf(const fs::path& path)
{
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// Only a file that exists has an identity to compare. One that does not yet is the same
// name in the same folder, and the folders exist. A name the library cannot convert is
// compared as given.
bool sameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    try {
        fs::path pathA(a), pathB(b);
        std::error_code ignored;
        if (pathA.lexically_normal() == pathB.lexically_normal() ||
            fs::equivalent(pathA, pathB, ignored))
            return true;
        return fs::equivalent(folderOf(pathA), folderOf(pathB), ignored) &&
               sameFileName(pathA.filename().string().c_str(), pathB.filename().string().c_str());
    } catch (const std::exception&) {
        return false;
    }
}
