// Whole-file access for POSIX systems, standing in for the Windows calls with the same results.
#include "file_access.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A directory is found with size 0, as its directory entry reads on Windows.
FileSize queryFileSize(const char* path)
{
    struct stat entry;
    if (stat(path, &entry) != 0)
        return {false, 0};
    return {true, S_ISREG(entry.st_mode) ? std::uint64_t(entry.st_size) : 0};
}

// read() and write() may move fewer bytes than asked, so loop until done, at end of
// file, or on an error; one Windows call moves everything it can.
static std::uint32_t transfer(int file, unsigned char* bytes, std::uint32_t count, bool writing)
{
    std::uint32_t done = 0;
    while (done < count) {
        ssize_t moved = writing ? write(file, bytes + done, count - done)
                                : read(file, bytes + done, count - done);
        if (moved <= 0)
            break;
        done += std::uint32_t(moved);
    }
    return done;
}

// Windows will not open a directory as a file; POSIX would, so refuse it here.
static int openRegular(const char* path, int flags)
{
    int file = open(path, flags, 0666);
    if (file < 0)
        return -1;
    struct stat entry;
    if (fstat(file, &entry) != 0 || S_ISDIR(entry.st_mode)) {
        close(file);
        errno = EISDIR;
        return -1;
    }
    return file;
}

int readFileRange(const char* path, unsigned char* destination, std::int32_t offset,
                  std::uint32_t count)
{
    int file = openRegular(path, O_RDONLY);
    if (file < 0)
        return -1;
    if (lseek(file, offset, SEEK_SET) < 0) {
        close(file);
        return -1;
    }
    std::uint32_t read = transfer(file, destination, count, false);
    close(file);
    return read == count ? 0 : 1;
}

int writeWholeFile(const char* path, const unsigned char* source, std::uint32_t count)
{
    int file = openRegular(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (file < 0)
        return -1;
    std::uint32_t written = transfer(file, const_cast<unsigned char*>(source), count, true);
    close(file);
    return written == count ? 0 : 1;
}
