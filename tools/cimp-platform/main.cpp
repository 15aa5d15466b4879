// cimp-platform: the simulated platform from the command line (command_line.h).
#include <iostream>
#include <string>
#include <vector>

#include "tools/cimp-platform/command_line.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return cimpcli::runCommandLine(args, std::cout, std::cerr);
}
