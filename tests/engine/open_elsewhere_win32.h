// A file held open by another program, as the tests of Windows' sharing modes need it.
#pragma once

#include <windows.h>

// Holds a file open sharing both reading and writing, as a program that means no lock
// would, so only our own sharing flags can make our open fail.
class OpenElsewhere {
public:
    OpenElsewhere(const char* path, DWORD access)
        : file_(CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~OpenElsewhere() { CloseHandle(file_); }
    OpenElsewhere(const OpenElsewhere&) = delete;
    OpenElsewhere& operator=(const OpenElsewhere&) = delete;
    bool held() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
};
