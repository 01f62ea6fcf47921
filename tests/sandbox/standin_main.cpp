// standin_layout [--reset]: writes the stand-in boot layout of the sandbox onto drive C:.
// With --reset, first removes what the program may have left at the root of C:.
#include <cstdio>
#include <cstring>

#include "standin_layout.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--reset") == 0) xpboot::sandbox::RemoveBootFiles();
  if (!xpboot::sandbox::CreateStandInBootLayout("C:")) {
    std::fprintf(stderr, "standin_layout: could not write the stand-in boot layout on C:\n");
    return 1;
  }
  return 0;
}
