// Calvix's entry point: the command line, then the run.
#include "adapter/Calvix.h"

#include <iostream>

int main(int argc, char** argv) {
  auto commandLine = parseCommandLine(argc, argv);
  if (!commandLine) {
    std::cout << kCalvixUsage << std::endl;
    return 1;
  }
  return runCalvix(*commandLine, std::cout, std::cerr, std::cin);
}
