// mkboot1.exe as a user runs it: what it writes goes back through the program's own
// extraction byte for byte, and what it refuses it refuses before writing anything.
#include <gtest/gtest.h>

#include "host/extract.h"
#include "host/handles.h"
#include "test_support.h"

namespace xpboot {
namespace {

using test::ScratchDir;
using test::TreeSnapshot;

struct RunResult {
  DWORD exitCode = 0;
  std::string output;  // standard output and error together
};

// Runs a command line with its output captured through a pipe.
RunResult RunCaptured(const std::string& commandLine) {
  RunResult run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {99, "no pipe"};
  UniqueKernelHandle reader(readEnd), writer(writeEnd);
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = writeEnd;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION info{};
  std::string line = commandLine;
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info)) {
    return {98, "not started"};
  }
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  writer.reset();  // the child holds the only write end now: reading ends with it
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
  ::WaitForSingleObject(process.get(), INFINITE);
  ::GetExitCodeProcess(process.get(), &run.exitCode);
  return run;
}

std::string Mkboot1() { return "\"" + test::TestProgramFolder() + "\\mkboot1.exe\""; }

FILETIME WriteTimeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

// Whole seconds since 1601: the archive keeps times to the second.
ULONGLONG Seconds(const FILETIME& time) {
  return ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000000ULL;
}

void SetWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD second) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = 7;
  t.wMinute = 8;
  t.wSecond = second;  // odd seconds: DOS times alone could not keep them
  FILETIME time;
  ::SystemTimeToFileTime(&t, &time);
  HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ::SetFileTime(file, nullptr, nullptr, &time);
  ::CloseHandle(file);
}

// A folder as a user would gather it from Windows XP media, with some awkward members.
void MakeBootFolder(const std::string& dir) {
  test::MakeDirectory(dir);
  test::WriteTextFile(dir + "\\bootmgr", std::string(70000, 'b'));  // several buffers long
  test::WriteTextFile(dir + "\\ntldr", "loader", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  test::WriteTextFile(dir + "\\NTDETECT.COM", "detect", FILE_ATTRIBUTE_SYSTEM);
  test::WriteTextFile(dir + "\\BOOT.INI", "[boot loader]\r\ntimeout=30\r\n");
  test::MakeDirectory(dir + "\\Boot");
  test::MakeDirectory(dir + "\\Boot\\乗");  // a GBK name whose second byte is 0x5C
  test::WriteTextFile(dir + "\\Boot\\乗\\字体.ttf", "font");
  test::MakeDirectory(dir + "\\empty");
  SetWriteTime(dir + "\\ntldr", 2008, 4, 14, 13);
  SetWriteTime(dir + "\\Boot\\乗\\字体.ttf", 2012, 2, 29, 59);
}

TEST(Mkboot1, WhatItWritesExtractsBackByteForByteWithTheTimesKept) {
  ScratchDir dir;
  std::string source = dir / "xp";
  MakeBootFolder(source);
  // A name the GBK code page cannot spell (Hangul) is left out with a warning.
  HANDLE korean = ::CreateFileW((std::wstring(source.begin(), source.end()) + L"\\\xD55C.txt").c_str(),
                                GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(korean, INVALID_HANDLE_VALUE);
  ::CloseHandle(korean);
  TreeSnapshot sourceBefore = test::SnapshotTree(source);
  FILETIME ntldrTime = WriteTimeOf(source + "\\ntldr");

  RunResult run = RunCaptured(Mkboot1() + " " + source + " " + (dir / "Boot.1"));
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find("warning"), std::string::npos) << run.output;
  EXPECT_EQ(test::DescribeDifferences(sourceBefore, test::SnapshotTree(source)), "")
      << "mkboot1 changed the folder it read";
  FILETIME ntldrTimeAfter = WriteTimeOf(source + "\\ntldr");
  EXPECT_EQ(::CompareFileTime(&ntldrTime, &ntldrTimeAfter), 0);

  ASSERT_TRUE(ProbeArchiveHeader((dir / "Boot.1").c_str()));
  std::string target = dir / "out";
  ASSERT_EQ(ExtractArchive((dir / "Boot.1").c_str(), target.c_str()), 1);

  TreeSnapshot expected;
  for (const auto& [path, value] : sourceBefore) {
    if (path.find(".txt") != std::string::npos) continue;  // the Hangul name
    // Extraction leaves every file with normal attributes.
    expected[path] = value.substr(0, 2) + "---" + value.substr(5);
  }
  EXPECT_EQ(test::DescribeDifferences(expected, test::SnapshotTree(target)), "");
  for (const char* file : {"\\ntldr", "\\Boot\\乗\\字体.ttf", "\\bootmgr"}) {
    EXPECT_EQ(Seconds(WriteTimeOf(target + file)), Seconds(WriteTimeOf(source + file))) << file;
  }
}

TEST(Mkboot1, RefusesWithoutWritingAnything) {
  struct Case {
    const char* name;
    const char* removed;  // from the folder before packing
    bool outputInside;
    DWORD exitCode;
  } cases[] = {
      {"no bootmgr", "bootmgr", false, 1},
      {"no ntldr", "ntldr", false, 1},
      {"no NTDETECT.COM", "NTDETECT.COM", false, 1},
      {"no BOOT.INI", "BOOT.INI", false, 1},
      {"archive inside the folder", nullptr, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    std::string source = dir / "xp";
    MakeBootFolder(source);
    if (c.removed != nullptr) test::ForceRemoveTree(source + "\\" + c.removed);
    TreeSnapshot before = test::SnapshotTree(dir.path());
    std::string output = c.outputInside ? source + "\\Boot.1" : dir / "Boot.1";
    RunResult run = RunCaptured(Mkboot1() + " " + source + " " + output);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    EXPECT_NE(run.output.find("error"), std::string::npos) << run.output;
    if (c.removed != nullptr) {
      EXPECT_NE(run.output.find(c.removed), std::string::npos) << run.output;
    }
    EXPECT_EQ(test::DescribeDifferences(before, test::SnapshotTree(dir.path())), "");
  }
  ScratchDir dir;
  EXPECT_EQ(RunCaptured(Mkboot1() + " " + (dir / "missing")).exitCode, 1u);
  EXPECT_EQ(RunCaptured(Mkboot1()).exitCode, 2u);
}

}  // namespace
}  // namespace xpboot
