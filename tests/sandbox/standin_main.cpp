// standin_layout [ROOT]: writes the stand-in boot layout of the sandbox (default C:).
#include <cstdio>

#include "standin_layout.h"

int main(int argc, char** argv) {
  const char* root = argc > 1 ? argv[1] : "C:";
  if (!xpboot::sandbox::CreateStandInBootLayout(root)) {
    std::fprintf(stderr, "standin_layout: could not write the stand-in boot layout under %s\n", root);
    return 1;
  }
  return 0;
}
