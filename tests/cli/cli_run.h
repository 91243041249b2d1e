// Runs the command-line program in this process, in a scratch directory, and keeps what it printed.
#pragma once

#include "run_cli.h"

#include "scratch_dir.h"

#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun runCliWith(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    int status = runCli(arguments, out, err);
    return {status, out.str(), err.str()};
}

// Leftovers of an output written whole, which no command may leave behind.
inline bool anyTemporaryFileIn(const std::string& folder)
{
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".kestrum-", 0) == 0)
            return true;
    }
    return false;
}
