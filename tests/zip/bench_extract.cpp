// bench_extract ARCHIVE TARGET: runs ExtractArchive once, for the benchmark script.
#include <cstdio>

#include "host/extract.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_extract ARCHIVE TARGET\n");
    return 2;
  }
  int result = xpboot::ExtractArchive(argv[1], argv[2]);
  std::printf("ExtractArchive: %d\n", result);
  return result == 1 ? 0 : 1;
}
