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

// A command line the program must refuse: its exit status and its one line on stderr.
struct Refusal {
    std::vector<std::string> arguments;
    int status;
    std::string error;
};

class Cli : public ScratchDir {
protected:
    // Each refusal leaves old.bin, an output of every row, as it was, writes no p2.bin and
    // leaves no temporary file.
    static void expectRefusals(const std::vector<Refusal>& rows, const Bytes& old)
    {
        for (const Refusal& row : rows) {
            SCOPED_TRACE(row.error);
            CliRun run = runCliWith(row.arguments);
            EXPECT_EQ(run.status, row.status);
            EXPECT_EQ(run.err, "kestrum-cli: " + row.error + "\n");
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(readBytes("old.bin"), old);
            EXPECT_FALSE(exists("p2.bin"));
            EXPECT_FALSE(anyTemporaryFileIn("."));
        }
    }
};
