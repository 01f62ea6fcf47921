// Stands in for the program registered for web pages: appends one line to the file named by
// its first argument, "show=<wShowWindow>|<its whole command line>", and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  std::string line = "show=" + std::to_string(startup.wShowWindow) + "|" + ::GetCommandLineA() + "\n";
  FILE* out = std::fopen(argv[1], "ab");
  if (out == nullptr) return 1;
  std::fwrite(line.data(), 1, line.size(), out);
  std::fclose(out);
  return 0;
}
