// Conversions in a process of their own (tests/app/helpers/convert_files.cpp):
// killed at random moments in the middle of an in-place batch, or short of
// memory. Whatever happens, every file keeps its bytes somewhere.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace fs = std::filesystem;

extern char** environ;

namespace {

// The converter started with `args`; its output goes to `output` (a file),
// or nowhere.
pid_t StartConverter(const std::vector<std::string>& args, const fs::path& output = fs::path()) {
  std::vector<char*> argv;
  static const std::string program = QZU_CONVERT_FILES;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.empty() ? "/dev/null" : output.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// GBK text of about `bytes` bytes: Chinese with ASCII and line breaks.
std::string GbkText(size_t bytes, unsigned seed) {
  const std::string pieces[] = {"\xD7\xD6\xB7\xFB\xB1\xE0\xC2\xEB", "abc 123, ", "\xD6\xD0\xCE\xC4\r\n",
                                "\xC5\xFA\xC1\xBF\xB4\xA6\xC0\xED"};
  std::mt19937 rng(seed);
  std::string text;
  while (text.size() < bytes) text += pieces[rng() % 4];
  return text;
}

// A batch converting a tree in place (GBK to UTF-8) is killed at random
// moments. After every kill each path holds its original or its whole
// conversion and every original's bytes are somewhere in the tree; the run
// after the last kill leaves no temporary file behind. Every run starts from
// the originals, so each has the whole batch to do, however many ran before;
// each run's originals end in a line of their own, so that no backup of an
// earlier run holds them.
TEST(ConversionProcess, KilledMidBatchEveryFileKeepsItsBytes) {
  qzu_test::TempDir dir;
  const fs::path root = dir.path() / "tree";
  const fs::path model = dir.path() / "model";
  std::mt19937 rng(34);
  std::vector<std::string> names;
  std::map<std::string, std::string> texts;
  int generation = 0;
  const auto stamp = [&generation] { return "\r\nrun " + std::to_string(generation); };
  for (int i = 0; i < 12; ++i) {
    const std::string name = "d" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".txt";
    names.push_back(name);
    texts[name] = GbkText(2000 + rng() % 100000, static_cast<unsigned>(i));
    qzu_test::WriteFileText(root / name, texts[name] + stamp());
    qzu_test::WriteFileText(model / name, texts[name]);
  }
  const auto argsFor = [&names](const fs::path& base, size_t start) {
    std::vector<std::string> args = {"--root", base.string()};
    for (size_t i = 0; i < names.size(); ++i) args.push_back((base / names[(start + i) % names.size()]).string());
    return args;
  };

  // A whole run on a copy gives the conversions and how long a run takes.
  const auto timedRun = [&](const fs::path& base) {
    const auto begin = std::chrono::steady_clock::now();
    const int status = WaitFor(StartConverter(argsFor(base, 0)));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begin);
  };
  auto runTime = timedRun(model);
  ASSERT_FALSE(HasFailure());
  std::map<std::string, std::string> convertedTexts;
  for (const std::string& name : names) convertedTexts[name] = qzu_test::ReadFileText(model / name);
  ASSERT_NE(convertedTexts[names[0]], texts[names[0]]);
  // This run's bytes of a path: an ASCII line after the text converts to itself.
  const auto original = [&](const std::string& name) { return texts[name] + stamp(); };
  const auto converted = [&](const std::string& name) { return convertedTexts[name] + stamp(); };
  // The next run's originals go in place, as new files so that no other name
  // of a file is written into; the backups and whatever the killed runs left
  // stay.
  const auto restore = [&] {
    ++generation;
    for (const std::string& name : names) {
      fs::remove(root / name);
      qzu_test::WriteFileText(root / name, original(name));
    }
  };
  const auto filesIn = [](const fs::path& folder) {
    std::set<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it)
      if (it->is_regular_file()) files.insert(it->path());
    return files;
  };

  int kills = 0;
  for (int run = 0; kills < 24 && run < 200; ++run) {
    const std::set<fs::path> before = filesIn(root);
    const pid_t pid = StartConverter(argsFor(root, static_cast<size_t>(run)));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(runTime * (rng() % 900) / 1000);
    ::kill(pid, SIGKILL);
    const int status = WaitFor(pid);
    if (WIFSIGNALED(status)) {
      ++kills;
    } else {
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "run " << run;
    }

    // Only the originals of paths that hold their conversion need looking
    // for, in files of their size that this run made: the backups of the
    // runs before hold other bytes, and reading them all would dominate the
    // test.
    std::multimap<uintmax_t, std::string> bySize;
    std::set<std::string> found;
    for (const std::string& name : names) {
      ASSERT_TRUE(fs::exists(root / name)) << name << " is missing after kill " << kills;
      const std::string now = qzu_test::ReadFileText(root / name);
      ASSERT_TRUE(now == original(name) || now == converted(name))
          << name << " holds neither its original nor its conversion after kill " << kills;
      if (now == original(name))
        found.insert(name);
      else
        bySize.emplace(original(name).size(), name);
    }
    for (auto it = fs::recursive_directory_iterator(root); !bySize.empty() && it != fs::recursive_directory_iterator();
         ++it) {
      if (!it->is_regular_file() || before.count(it->path())) continue;
      const auto [from, to] = bySize.equal_range(it->file_size());
      if (from == to) continue;
      const std::string bytes = qzu_test::ReadFileText(it->path());
      for (auto m = from; m != to; ++m)
        if (bytes == original(m->second)) found.insert(m->second);
    }
    for (const std::string& name : names)
      ASSERT_TRUE(found.count(name)) << "the original of " << name << " is lost after kill " << kills;

    restore();
    // A run that ended before its kill: the machine is quicker than when the
    // runs were timed, so they are timed again.
    if (!WIFSIGNALED(status)) {
      runTime = timedRun(root);
      ASSERT_FALSE(HasFailure());
      restore();
    }
  }
  EXPECT_GE(kills, 20);

  // The next run finishes the work and clears what the killed ones left.
  const int status = WaitFor(StartConverter(argsFor(root, 0)));
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
    EXPECT_NE(it->path().filename().string().rfind(".qzu-write-", 0), 0u) << it->path();
  for (const std::string& name : names) EXPECT_EQ(qzu_test::ReadFileText(root / name), converted(name)) << name;
}

// A conversion that cannot get the memory it needs is a failure that moves
// nothing, and the next file is converted.
TEST(ConversionProcess, ShortOfMemoryAFileFailsAloneAndTheBatchGoesOn) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's allocator cannot run under an address-space limit";
#endif
  struct Case {
    const char* name;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      // 32 MB of text to UTF-16 needs 64 MB more for the converted bytes.
      {"a pure conversion to UTF-16", {"--output", "3", "--memory-mb", "48"}},
      // The hexadecimal text of 32 MB of bytes is 128 MB of units.
      {"a function on the bytes", {"--hex-raw", "--memory-mb", "96"}},
  };
  for (const Case& c : cases) {
    qzu_test::TempDir dir;
    const std::string big(32u << 20, 'a');
    qzu_test::WriteFileText(dir.path() / "big.txt", big);
    qzu_test::WriteFileText(dir.path() / "small.txt", "abc");
    std::vector<std::string> args = c.args;
    args.push_back((dir.path() / "big.txt").string());
    args.push_back((dir.path() / "small.txt").string());
    const fs::path output = dir.path().parent_path() / (dir.path().filename().string() + ".out");
    const int status = WaitFor(StartConverter(args, output));
    const std::string printed = qzu_test::ReadFileText(output);
    fs::remove(output);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.name << ": the process died";
    EXPECT_EQ(printed, "0\n1\n") << c.name;
    EXPECT_TRUE(qzu_test::ReadFileText(dir.path() / "big.txt") == big) << c.name;
    EXPECT_FALSE(fs::exists(dir.path() / "原文件备份" / "big.txt")) << c.name;
    EXPECT_TRUE(fs::exists(dir.path() / "原文件备份" / "small.txt")) << c.name;
  }
}

// A function whose working copies do not fit in memory fails the file: no
// short result (such as the bare mark) passes for its conversion. 100 MB of
// text take 200 MB as UTF-16 and as much again for the text; the limits let
// those through and leave too little for the function's own copies.
TEST(ConversionProcess, AFunctionShortOfMemoryWritesNothing) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's allocator cannot run under an address-space limit";
#endif
  qzu_test::TempDir dir;
  const std::string big = [] {
    std::string s;
    s.reserve(100u << 20);
    while (s.size() < (100u << 20)) s += "The quick brown fox 123\r\n";
    s.resize(100u << 20);
    return s;
  }();
  qzu_test::WriteFileText(dir.path() / "big.txt", big);
  for (const char* function : {"url-utf8", "hex-utf8"}) {
    for (const char* memoryMb : {"300", "500"}) {
      const std::string name = std::string(function) + " within " + memoryMb + " MB";
      qzu_test::WriteFileText(dir.path() / "small.txt", "a b");
      const fs::path output = dir.path().parent_path() / (dir.path().filename().string() + ".out");
      const int status = WaitFor(StartConverter({"--function", function, "--memory-mb", memoryMb,
                                                 (dir.path() / "big.txt").string(), (dir.path() / "small.txt").string()},
                                                output));
      const std::string printed = qzu_test::ReadFileText(output);
      fs::remove(output);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name << ": the process died";
      EXPECT_EQ(printed, "0\n1\n") << name;
      EXPECT_TRUE(qzu_test::ReadFileText(dir.path() / "big.txt") == big) << name << ": the source changed";
      EXPECT_FALSE(fs::exists(dir.path() / "原文件备份" / "big.txt")) << name;
      for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().filename().string().rfind(".qzu-write-", 0), 0u) << name << ": " << entry.path();
    }
  }
}

}  // namespace
