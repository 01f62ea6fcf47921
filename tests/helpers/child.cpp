// A program for the tests to start: it reports how it was started, or waits, or exits with a code.
//   child report FILE      writes "flags=<dwFlags> show=<wShowWindow>" of its STARTUPINFO
//   child sleep MS FILE    sleeps, then writes "done"
//   child folder FILE      enters the program's folder as xpboot does, writes the current directory
//   child exit CODE        ends with that exit code
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/startup.h"

namespace {
void WriteResult(const char* path, const std::string& text) {
  if (FILE* f = std::fopen(path, "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "report") == 0) {
    STARTUPINFOA info{};
    info.cb = sizeof info;
    ::GetStartupInfoA(&info);
    WriteResult(argv[2], "flags=" + std::to_string(info.dwFlags) +
                             " show=" + std::to_string(info.wShowWindow));
    return 0;
  }
  if (argc >= 4 && std::strcmp(argv[1], "sleep") == 0) {
    ::Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    WriteResult(argv[3], "done");
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "folder") == 0) {
    xpboot::EnterProgramFolder();
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof current, current);
    WriteResult(argv[2], current);
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
  std::fprintf(stderr, "usage: child report|sleep|folder|exit ...\n");
  return 2;
}
