// Files written whole or not at all, for POSIX systems: a new file, then rename().
#include "file_replace.h"

#include <cerrno>
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

// The replacement keeps the target's owner and permission bits, as an edit in place would.
// An owner this user may not give the file away to is kept only as far as the system allows,
// and then the set-user and set-group bits are not carried over to a file of another owner.
bool replaceFile(const char* from, const char* to)
{
    struct stat target;
    if (stat(to, &target) == 0 && S_ISREG(target.st_mode)) {
        bool owned = chown(from, target.st_uid, target.st_gid) == 0;
        if (chmod(from, target.st_mode & (owned ? 07777 : 0777)) != 0)
            return false;
    }
    return std::rename(from, to) == 0;
}

bool removeFile(const char* path)
{
    return unlink(path) == 0;
}

bool makeFolder(const char* path)
{
    return mkdir(path, 0777) == 0;
}

// access() asks with this user's own rights, which the mode bits alone do not tell.
FileLookup lookUpFile(const char* path)
{
    struct stat entry;
    if (stat(path, &entry) != 0)
        return {FileKind::Missing, false, 0};
    if (S_ISDIR(entry.st_mode))
        return {FileKind::Directory, false, 0};
    bool readOnly = access(path, W_OK) != 0 && (errno == EACCES || errno == EROFS);
    return {FileKind::File, readOnly, S_ISREG(entry.st_mode) ? std::uint64_t(entry.st_size) : 0};
}

std::size_t folderPrefixLength(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? std::size_t(slash - path + 1) : 0;
}

bool sameFileName(const char* a, const char* b)
{
    return std::strcmp(a, b) == 0;
}
