// Files written whole or not at all, for POSIX systems: a new file, then rename().
#include "file_replace.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// O_EXCL, so a name that exists already, or a link planted under it, is never written through.
int writeNewFile(const char* path, const unsigned char* source, std::size_t count)
{
    int file = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (file < 0)
        return -1;
    std::size_t done = 0;
    while (done < count) {
        ssize_t moved = write(file, source + done, count - done);
        if (moved <= 0)
            break;
        done += std::size_t(moved);
    }
    // The rename that follows must never put a file in place whose bytes are not on disk.
    bool flushed = done == count && fsync(file) == 0;
    close(file);
    return flushed ? 0 : 1;
}

bool replaceFile(const char* from, const char* to)
{
    return std::rename(from, to) == 0;
}

bool removeFile(const char* path)
{
    return unlink(path) == 0;
}

bool isDirectory(const char* path)
{
    struct stat entry;
    return stat(path, &entry) == 0 && S_ISDIR(entry.st_mode);
}

std::size_t folderPrefixLength(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? std::size_t(slash - path + 1) : 0;
}
