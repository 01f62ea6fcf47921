// startup_bench PROGRAM YARDSTICK [RUNS]: how long each program takes from its start to a
// visible window of its own, over several alternating runs; prints the medians, their ratio,
// the programs' file sizes and their peak memory.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/handles.h"

namespace {

using xpboot::UniqueKernelHandle;

bool HasVisibleWindow(DWORD pid) {
  struct Search {
    DWORD pid;
    bool found;
  } search{pid, false};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->pid && ::IsWindowVisible(hwnd)) {
          s->found = true;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Sample {
  double milliseconds = -1;
  SIZE_T peakWorkingSet = 0;
};

Sample Measure(const std::string& exe) {
  Sample sample;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = "\"" + exe + "\"";
  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  if (!::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return sample;
  }
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  for (int i = 0; i < 20000; ++i) {
    if (HasVisibleWindow(info.dwProcessId)) {
      ::QueryPerformanceCounter(&now);
      sample.milliseconds =
          1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
      break;
    }
    ::Sleep(1);
  }
  ::Sleep(700);  // past the program's first half second, for its peak memory
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (::GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
    sample.peakWorkingSet = counters.PeakWorkingSetSize;
  }
  ::TerminateProcess(process.get(), 0);
  ::WaitForSingleObject(process.get(), 5000);
  return sample;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench PROGRAM YARDSTICK [RUNS]\n");
    return 2;
  }
  std::string program = argv[1], yardstick = argv[2];
  int runs = argc > 3 ? std::atoi(argv[3]) : 11;
  std::vector<double> programTimes, yardstickTimes;
  SIZE_T programPeak = 0, yardstickPeak = 0;
  Measure(program);  // one unmeasured start of each, so both find the system warmed up alike
  Measure(yardstick);
  for (int i = 0; i < runs; ++i) {
    Sample a = Measure(program);
    Sample b = Measure(yardstick);
    if (a.milliseconds < 0 || b.milliseconds < 0) {
      std::fprintf(stderr, "a program did not show a window\n");
      return 1;
    }
    programTimes.push_back(a.milliseconds);
    yardstickTimes.push_back(b.milliseconds);
    programPeak = std::max(programPeak, a.peakWorkingSet);
    yardstickPeak = std::max(yardstickPeak, b.peakWorkingSet);
  }
  double p = Median(programTimes), y = Median(yardstickTimes);
  std::printf("runs: %d each, alternating\n", runs);
  std::printf("start to visible window, median: xpboot %.1f ms, minimal window %.1f ms\n", p, y);
  std::printf("ratio: %.2f (goal: at most 1.20)\n", p / y);
  std::printf("file size: xpboot %lld bytes, minimal window %lld bytes\n", FileSize(program), FileSize(yardstick));
  std::printf("peak working set: xpboot %.1f MiB, minimal window %.1f MiB\n",
              static_cast<double>(programPeak) / 1048576.0, static_cast<double>(yardstickPeak) / 1048576.0);
  return 0;
}
