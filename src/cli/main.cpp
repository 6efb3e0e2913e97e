#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) { return orrimar::cli::runCli(argc, argv, std::cout, std::cerr); }
