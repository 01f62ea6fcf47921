// Corrupted archives: flipped bytes, cut lengths, changed sizes, offsets and counts. Whatever
// the damage, the extraction must give 1, 0 or -1, come back, and write nowhere but its target.
//
// XPBOOT_ZIP_MUTATIONS=N in the environment sets the number of archives (default below, about
// a minute under Wine). Archive number i is always made the same way, so a failure names the
// number that reproduces it.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/extract.h"
#include "host/handles.h"
#include "test_support.h"
#include "zip_fixtures.h"

namespace xpboot {
namespace {

using test::Fixture;
using test::ListNames;
using test::ListTree;
using test::ReadTextFile;
using test::ScratchDir;

constexpr int kDefaultMutations = 8000;
// An extraction of one of these small archives that takes longer than this has hung.
constexpr int kHangSeconds = 60;

int MutationCount() {
  const char* text = std::getenv("XPBOOT_ZIP_MUTATIONS");
  int count = text != nullptr ? std::atoi(text) : 0;
  return count > 0 ? count : kDefaultMutations;
}

// splitmix64: a small generator whose whole state is the mutant's number.
class Generator {
 public:
  explicit Generator(std::uint64_t number) : state_(number * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

// Where the headers of an archive start, found by their signatures.
struct Layout {
  std::vector<std::size_t> localHeaders, centralRecords, endRecords;
};

Layout FindHeaders(const std::string& bytes) {
  Layout layout;
  for (std::size_t at = 0; at + 4 <= bytes.size(); ++at) {
    if (bytes[at] != 'P' || bytes[at + 1] != 'K') continue;
    if (bytes[at + 2] == 3 && bytes[at + 3] == 4) layout.localHeaders.push_back(at);
    if (bytes[at + 2] == 1 && bytes[at + 3] == 2) layout.centralRecords.push_back(at);
    if (bytes[at + 2] == 5 && bytes[at + 3] == 6) layout.endRecords.push_back(at);
  }
  return layout;
}

struct Field {
  std::size_t offset, width;
};
// Versions, flags, methods, CRCs, sizes, name and extra lengths, attributes and offsets.
constexpr Field kLocalFields[] = {{4, 2}, {6, 2}, {8, 2}, {14, 4}, {18, 4}, {22, 4}, {26, 2}, {28, 2}};
constexpr Field kCentralFields[] = {{8, 2},  {10, 2}, {16, 4}, {20, 4}, {24, 4}, {28, 2},
                                    {30, 2}, {32, 2}, {38, 4}, {42, 4}};
constexpr Field kEndFields[] = {{8, 2}, {10, 2}, {12, 4}, {16, 4}, {20, 2}};

struct Mutant {
  std::string bytes;
  std::string description;
};

void Mutate(const Layout& layout, Generator& random, Mutant& mutant) {
  std::string& bytes = mutant.bytes;
  char note[96];
  switch (random.Below(5)) {
    case 0: {  // flip a few bytes anywhere
      std::size_t count = 1 + random.Below(8);
      for (std::size_t i = 0; i < count && !bytes.empty(); ++i) {
        bytes[random.Below(bytes.size())] ^= static_cast<char>(1 + random.Below(255));
      }
      std::snprintf(note, sizeof note, "flipped %zu bytes; ", count);
      break;
    }
    case 1: {  // cut the file short
      std::size_t length = random.Below(bytes.size());
      bytes.resize(length);
      std::snprintf(note, sizeof note, "cut to %zu bytes; ", length);
      break;
    }
    case 2: {  // cut a piece out of the middle or put one in, moving everything after it
      std::size_t at = random.Below(bytes.size());
      std::size_t length = 1 + random.Below(64);
      if (random.Below(2) == 0) {
        bytes.erase(at, length);
      } else {
        bytes.insert(at, length, static_cast<char>(random.Below(256)));
      }
      std::snprintf(note, sizeof note, "moved by %zu bytes at %zu; ", length, at);
      break;
    }
    default: {  // give a header field a value at the edge of its range
      const std::vector<std::size_t>* headers[] = {&layout.localHeaders, &layout.centralRecords, &layout.endRecords};
      std::size_t kind = random.Below(3);
      if (headers[kind]->empty()) break;
      std::size_t header = (*headers[kind])[random.Below(headers[kind]->size())];
      Field field = kind == 0   ? kLocalFields[random.Below(std::size(kLocalFields))]
                    : kind == 1 ? kCentralFields[random.Below(std::size(kCentralFields))]
                                : kEndFields[random.Below(std::size(kEndFields))];
      const std::uint64_t edges[] = {0, 1, 2, 8, 12, 0x7F, 0xFF, 0xFFFF, 0x7FFFFFFF, 0x80000000,
                                     0xFFFFFFFF, bytes.size(), bytes.size() - 1, random.Next()};
      std::uint64_t value = edges[random.Below(std::size(edges))];
      if (random.Below(4) == 0) {  // or move the present value a little
        std::uint64_t present = 0;
        for (std::size_t i = 0; i < field.width && header + field.offset + i < bytes.size(); ++i) {
          present |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[header + field.offset + i])) << (8 * i);
        }
        value = present + random.Below(33) - 16;
      }
      for (std::size_t i = 0; i < field.width && header + field.offset + i < bytes.size(); ++i) {
        bytes[header + field.offset + i] = static_cast<char>(value >> (8 * i));
      }
      std::snprintf(note, sizeof note, "field %zu+%zu set to 0x%llx; ", header, field.offset,
                    static_cast<unsigned long long>(value));
      break;
    }
  }
  mutant.description += note;
}

Mutant MakeMutant(const std::vector<std::string>& originals, const std::vector<Layout>& layouts,
                  const std::vector<std::string>& names, int number) {
  Generator random(static_cast<std::uint64_t>(number));
  std::size_t base = random.Below(originals.size());
  Mutant mutant{originals[base], names[base] + ": "};
  std::size_t rounds = 1 + random.Below(3);
  for (std::size_t i = 0; i < rounds; ++i) Mutate(layouts[base], random, mutant);
  return mutant;
}

// Ends the test program when one archive takes too long: a hang shows as the number of the
// archive that caused it, not as a test that timed out without a word.
class Watchdog {
 public:
  explicit Watchdog(const std::string& archive) : archive_(archive) {
    thread_.reset(::CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr));
  }
  ~Watchdog() { Stop(); }
  void Stop() {
    if (!thread_) return;
    finished_ = true;
    ::WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }

  std::atomic<int> current{-1};

 private:
  static DWORD WINAPI Run(void* self) {
    auto* watchdog = static_cast<Watchdog*>(self);
    int seen = -1, seconds = 0;
    while (!watchdog->finished_) {
      ::Sleep(1000);
      int now = watchdog->current;
      seconds = now == seen ? seconds + 1 : 0;
      seen = now;
      if (seconds >= kHangSeconds) {
        std::fprintf(stderr, "mutant %d hangs; it is left at %s\n", now, watchdog->archive_.c_str());
        std::fflush(stderr);
        ::ExitProcess(3);
      }
    }
    return 0;
  }

  std::string archive_;
  std::atomic<bool> finished_{false};
  UniqueKernelHandle thread_;
};

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

// Everything below `target` is allowed; anything else in the scratch folder is a write
// outside the target.
bool StaysInside(const std::vector<std::string>& tree, const std::string& target, std::string& stray) {
  const std::string prefix = target + "\\";
  for (const std::string& path : tree) {
    bool onTheWayToTarget = path == target || target.compare(0, path.size() + 1, path + "\\") == 0;
    if (path == "mutant.zip" || onTheWayToTarget || path.compare(0, prefix.size(), prefix) == 0) {
      continue;
    }
    stray = path;
    return false;
  }
  return true;
}

TEST(ExtractArchiveMutations, DamagedArchivesGiveAResultAndWriteOnlyIntoTheTarget) {
  const std::vector<std::string> names = {"four-files.zip", "tree-deflated.zip", "directories.zip",
                                          "gbk-names.zip",  "times.zip",         "attributes.zip",
                                          "replace.zip",    "tree-stored.zip"};
  std::vector<std::string> originals;
  std::vector<Layout> layouts;
  for (const std::string& name : names) {
    originals.push_back(ReadTextFile(Fixture(name)));
    ASSERT_GT(originals.back().size(), 22u) << name;
    layouts.push_back(FindHeaders(originals.back()));
  }

  const int count = MutationCount();
  ScratchDir dir;
  const std::string archive = dir / "mutant.zip";
  // Deep enough that a name climbing a level or two still lands in the scratch folder.
  const std::string relativeTarget = "out\\a\\b\\target";
  const std::string target = dir / relativeTarget;
  const std::vector<std::string> rootBefore = ListNames("C:");

  Watchdog watchdog(archive);
  ULONGLONG started = ::GetTickCount64();
  int results[3] = {};
  int failures = 0;
  for (int number = 0; number < count && failures < 10; ++number) {
    Mutant mutant = MakeMutant(originals, layouts, names, number);
    ASSERT_TRUE(WriteBytes(archive, mutant.bytes));
    watchdog.current = number;
    int result = ExtractArchive(archive.c_str(), target.c_str());
    if (result < -1 || result > 1) {
      ADD_FAILURE() << "mutant " << number << " (" << mutant.description << ") gave " << result;
      ++failures;
    } else {
      ++results[result + 1];
    }
    std::string stray;
    if (!StaysInside(ListTree(dir.path()), relativeTarget, stray)) {
      ADD_FAILURE() << "mutant " << number << " (" << mutant.description << ") wrote " << stray;
      ++failures;
    }
    test::ForceRemoveTree(dir / "out");
  }
  watchdog.Stop();

  EXPECT_EQ(ListNames("C:"), rootBefore) << "something was written at the root of drive C:";
  double seconds = static_cast<double>(::GetTickCount64() - started) / 1000.0;
  std::printf("%d damaged archives in %.1f s: %d gave 1, %d gave 0, %d gave -1\n", count, seconds, results[2],
              results[1], results[0]);
  // The damage must reach the reader's every way out, not only the header probe.
  EXPECT_GT(results[2], count / 20);
  EXPECT_GT(results[1], count / 20);
}

}  // namespace
}  // namespace xpboot
