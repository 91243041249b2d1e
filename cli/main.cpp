// kestrum-cli: splits ROM images into interleaved parts and merges them, from the command line.
#include "run_cli.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return runCli(arguments, std::cout, std::cerr);
}
