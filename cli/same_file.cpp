// Whether two paths name one file: "p.bin" and "./p.bin", or a link and its target.
#include "same_file.h"

#include <filesystem>

// A name the library cannot convert is compared as given.
bool sameFile(const std::string& a, const std::string& b)
{
    namespace fs = std::filesystem;
    if (a == b)
        return true;
    try {
        std::error_code ignored;
        return fs::path(a).lexically_normal() == fs::path(b).lexically_normal() ||
               fs::equivalent(a, b, ignored);
    } catch (const std::exception&) {
        return false;
    }
}
