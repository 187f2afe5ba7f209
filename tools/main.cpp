// numbrelle-run: runs question files without the window. See Runner.h.
#include "tools/Runner.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return numbrelle::runner::runMain(arguments, std::cout, std::cerr);
}
