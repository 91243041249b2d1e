// The command-line program as a function of its arguments, without the program's own name.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The exit status: 0 done, 1 a file could not be read or written or was refused, 2 usage,
// 3 identify found no clear answer.
int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
