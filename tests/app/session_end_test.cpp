// The program ended by a signal, as a log-off, a shutdown, systemd or a
// terminal ends it: the window closes as a click on its close button closes
// it, so the changed options and input text reach the settings file and its
// side file and the process exits 0; in the middle of a batch the batch first
// stops after its current file, leaving every result it wrote whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "batch_window_fixture.h"
#include "test_support.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The child started on `args`, its output and errors going to `log`.
pid_t StartChild(const std::vector<std::string>& args, const fs::path& log) {
  static const std::string program = QZU_SESSION_END_CHILD;
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The child's wait status, or -1 when it had not ended after `seconds` (it
// is then killed).
int WaitForExit(pid_t pid, int seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (std::chrono::steady_clock::now() < until) {
    if (::waitpid(pid, &status, WNOHANG) == pid) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return -1;
}

// The settings file's text (UTF-16LE after its mark) as UTF-8.
std::string SettingsText(const fs::path& folder) {
  const std::vector<uint8_t> bytes = qzu_test::ReadFile(folder / "软件配置.ini");
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  return CWString(text).ToUtf8();
}

// The input text's side file, decoded.
std::string InputSideFile(const fs::path& folder) {
  const std::vector<uint8_t> bytes = qzu_test::ReadFile(folder / "ini" / "[主界面]Tavelkin火花编辑框待转换内容");
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  return CWString(text).ToUtf8();
}

// The files under `folder`, at any depth.
std::vector<fs::path> FilesUnder(const fs::path& folder) {
  std::error_code ec;
  std::vector<fs::path> files;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (it->is_regular_file()) files.push_back(it->path());
  return files;
}

TEST(SessionEnd, ASignalClosesTheWindowWithItsChangedOptionsAndText) {
  for (int signalNumber : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signalNumber);
    qzu_test::TempDir folder;
    const fs::path log = folder.path() / "child.log";
    const pid_t pid = StartChild({folder.str()}, log);
    ASSERT_GT(pid, 0);
    const bool ready = qzu_test::WaitFor([&] { return fs::exists(folder.path() / "ready"); }, 60000);
    if (!ready) WaitForExit(pid, 0);
    ASSERT_TRUE(ready) << qzu_test::ReadFileText(log);
    // Nothing is written while the program runs.
    EXPECT_FALSE(fs::exists(folder.path() / "软件配置.ini"));

    ::kill(pid, signalNumber);
    const int status = WaitForExit(pid, 60);
    ASSERT_TRUE(WIFEXITED(status)) << status << "\n" << qzu_test::ReadFileText(log);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string settings = SettingsText(folder.path());
    EXPECT_NE(settings.find("Tavelkin按钮大写.选中=真"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Tavelkin按钮无.选中=假"), std::string::npos) << settings;
    EXPECT_EQ(InputSideFile(folder.path()), "会话结束前写下的文字");
  }
}

TEST(SessionEnd, ASignalDuringABatchStopsItAfterItsCurrentFileThenCloses) {
  qzu_test::TempDir folder;
  const fs::path program = folder.path() / "program";
  const fs::path root = folder.path() / "资料";
  // A chosen folder's results go into a tree beside it.
  const fs::path results = folder.path() / "转换结果";
  fs::create_directories(program);
  constexpr int kFiles = 300;
  std::set<std::string> names;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "文件" + std::to_string(i) + ".txt";
    qzu_test::MakeGbkFile(root / name);
    names.insert(name);
  }
  const fs::path log = folder.path() / "child.log";
  const pid_t pid = StartChild({program.string(), root.string()}, log);
  ASSERT_GT(pid, 0);
  const bool running = qzu_test::WaitFor(
      [&] { return fs::exists(program / "ready") && FilesUnder(results).size() >= 3; }, 60000);
  if (!running) WaitForExit(pid, 0);
  ASSERT_TRUE(running) << qzu_test::ReadFileText(log);

  ::kill(pid, SIGTERM);
  const int status = WaitForExit(pid, 60);
  ASSERT_TRUE(WIFEXITED(status)) << status << "\n" << qzu_test::ReadFileText(log);
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // Stopped early; every result written is whole, and nothing else is there.
  size_t converted = 0;
  for (const fs::path& result : FilesUnder(results)) {
    EXPECT_EQ(result.parent_path(), results / "资料") << result;
    EXPECT_EQ(names.count(result.filename().string()), 1u) << result;
    EXPECT_EQ(qzu_test::ReadFileText(result), qzu_test::Utf8Result()) << result;
    ++converted;
  }
  EXPECT_GE(converted, 3u);
  EXPECT_LT(converted, static_cast<size_t>(kFiles));
  // A close that stops a batch shows no summary.
  EXPECT_EQ(qzu_test::ReadFileText(log).find("box "), std::string::npos) << qzu_test::ReadFileText(log);

  const std::string settings = SettingsText(program);
  EXPECT_NE(settings.find("Tavelkin按钮折行.选中=真"), std::string::npos) << settings;
  EXPECT_EQ(InputSideFile(program), "批量中写下的文字");
}

}  // namespace
