#include "platform/office_process.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/digest.h"
#include "platform/ticks.h"
#include "platform/whole_file_read.h"

namespace {

// Settings the new profile starts with. Document lock files (".~lock.name#")
// would otherwise appear beside every document the office opens, and a batch
// walking that folder would pick them up. Spell checking as you type, crash
// recovery copies and thumbnails in saved files only cost time here.
const char kProfileSettings[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
    "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\">"
    "<prop oor:name=\"UseLocking\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\">"
    "<prop oor:name=\"UseDocumentOOoLockFile\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\">"
    "<prop oor:name=\"UseDocumentSystemFileLocking\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Misc\">"
    "<prop oor:name=\"FirstRun\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Linguistic/SpellChecking\">"
    "<prop oor:name=\"IsSpellAuto\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Recovery/AutoSave\">"
    "<prop oor:name=\"Enabled\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Recovery/RecoveryInfo\">"
    "<prop oor:name=\"Enabled\" oor:op=\"fuse\"><value>false</value></prop></item>\n"
    "<item oor:path=\"/org.openoffice.Office.Common/Save/Document\">"
    "<prop oor:name=\"GenerateThumbnail\" oor:op=\"fuse\"><value>false</value></prop></item>\n";
const char kProfileSettingsEnd[] = "</oor:items>\n";

// The office's own version ("7.4") from its configuration data. A new
// profile that names it as the last version run skips the graphics tests a
// new version runs first, which take seconds.
std::string OfficeSetupVersion(const std::string& program) {
  std::string folder = program.substr(0, program.rfind('/'));
  CQzuMem xcd;
  if (!ReadWholeFile(CWString::FromUtf8(folder + "/../share/registry/main.xcd"), xcd)) return {};
  const std::string_view data(reinterpret_cast<const char*>(xcd.GetData()), xcd.GetSize());
  const std::string key = "oor:name=\"ooSetupVersion\">";
  size_t at = data.find(key);
  if (at == std::string::npos) return {};
  size_t open = data.find("<value>", at);
  size_t close = data.find("</value>", at);
  if (open == std::string::npos || close == std::string::npos || close < open || close - open > 40) return {};
  std::string version(data.substr(open + 7, close - open - 7));
  for (char c : version) {
    if (!((c >= '0' && c <= '9') || c == '.')) return {};
  }
  return version;
}

std::string TempRoot() {
  const char* tmp = std::getenv("TMPDIR");
  std::string root = (tmp && *tmp) ? tmp : "/tmp";
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root;
}

bool WriteWholeFile(const std::string& path, const char* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  ::remove(path);
  return 0;
}

void RemoveTree(const std::string& path) {
  if (!path.empty()) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// File URL of an absolute path; the profile folder is made by us and holds
// only characters that need no escaping.
std::string FileUrl(const std::string& path) { return "file://" + path; }

// The office also listens on a pipe named after its profile: the MD5 of the
// profile URL in UTF-16LE, each byte in hexadecimal without leading zero.
std::string SingleInstancePipeName(const std::string& profileUrl) {
  std::vector<uint8_t> units;
  for (unsigned char c : profileUrl) {  // the URL is ASCII
    units.push_back(c);
    units.push_back(0);
  }
  static const char hex[] = "0123456789abcdef";
  std::string name = "SingleOfficeIPC_";
  for (uint8_t b : ComputeDigest(DigestAlgorithm::kMd5, units.data(), units.size())) {
    if (b >= 16) name += hex[b >> 4];
    name += hex[b & 15];
  }
  return name;
}

}  // namespace

// The build names the office's program folder (QZU_OFFICE_PROGRAM_DIR).
const char* DefaultOfficeProgram() { return QZU_OFFICE_PROGRAM_DIR "/soffice.bin"; }

bool COfficeProcess::Start(const std::string& program) {
  Stop(0);
  if (program.empty() || access(program.c_str(), X_OK) != 0) return false;
  m_program = program;

  std::string templ = TempRoot() + "/qzu-office-XXXXXX";
  std::vector<char> buffer(templ.begin(), templ.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) return false;
  m_profile = buffer.data();
  const std::string user = m_profile + "/user";
  std::string settings = kProfileSettings;
  const std::string version = OfficeSetupVersion(program);
  if (!version.empty()) {
    settings += "<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" "
                "oor:op=\"fuse\"><value>" + version + "</value></prop></item>\n";
  }
  settings += kProfileSettingsEnd;
  if (mkdir(user.c_str(), 0700) != 0 ||
      !WriteWholeFile(user + "/registrymodifications.xcu", settings.data(), settings.size())) {
    RemoveTree(m_profile);
    m_profile.clear();
    return false;
  }

  static std::atomic<unsigned> serial{0};
  m_pipeName = "qzu_office_" + std::to_string(getpid()) + "_" + std::to_string(++serial);
  if (!Spawn()) {
    RemoveTree(m_profile);
    m_profile.clear();
    return false;
  }
  return true;
}

bool COfficeProcess::Spawn() {
  m_exitCode = -1;
  // Everything the child needs is prepared before fork: after it only
  // async-signal-safe calls may run (this process has other threads).
  std::vector<std::string> args = {
      m_program,
      "--headless",
      "--invisible",
      "--nologo",
      "--norestore",
      "--nodefault",
      "--nolockcheck",
      "--nofirststartwizard",
      "--accept=pipe,name=" + m_pipeName + ";urp;StarOffice.ComponentContext",
      "-env:UserInstallation=" + FileUrl(m_profile),
  };
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The office turns file URLs into names with the locale's character set:
  // under a plain "C" locale Chinese file names would not survive.
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    if (std::strncmp(*e, "LC_ALL=", 7) != 0) env.emplace_back(*e);
  }
  env.emplace_back("LC_ALL=C.UTF-8");
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const pid_t parent = getpid();

  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    // Die with the program that started us, even when it crashes.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    // Our own process group: a terminal's Ctrl+C goes to the program, which
    // then ends the office in order.
    setpgid(0, 0);
    int devnull = open("/dev/null", O_RDWR);
    if (devnull >= 0) {
      dup2(devnull, 0);
      dup2(devnull, 1);
      dup2(devnull, 2);
      if (devnull > 2) close(devnull);
    }
    // Nothing of ours stays open in the office: a pipe it inherited would
    // keep whoever reads our output waiting until the office ends.
    close_range(3, ~0u, 0);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  m_pid = pid;
  return true;
}

bool COfficeProcess::IsRunning() {
  if (m_pid <= 0) return false;
  int status = 0;
  pid_t r = waitpid(m_pid, &status, WNOHANG);
  if (r == 0) return true;
  if (r == m_pid) {
    m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_pid = -1;
  } else if (r < 0 && errno == ECHILD) {
    m_pid = -1;
  }
  return false;
}

void COfficeProcess::Stop(int graceMs) {
  if (m_pid > 0) {
    uint64_t until = GetTickCount64() + static_cast<uint64_t>(graceMs > 0 ? graceMs : 0);
    while (IsRunning() && GetTickCount64() < until) SleepMilliseconds(20);
    // Asked to end, the office removes its pipe and temporary files itself.
    if (m_pid > 0) {
      kill(m_pid, SIGTERM);
      until = GetTickCount64() + 3000;
      while (IsRunning() && GetTickCount64() < until) SleepMilliseconds(20);
    }
    if (m_pid > 0) {
      kill(m_pid, SIGKILL);
      int status = 0;
      waitpid(m_pid, &status, 0);
      m_pid = -1;
    }
  }
  if (!m_pipeName.empty() && !m_profile.empty()) {
    // An office that was killed leaves its pipes' socket files behind.
    const std::string prefix = "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_";
    ::unlink((prefix + m_pipeName).c_str());
    ::unlink((prefix + SingleInstancePipeName(FileUrl(m_profile))).c_str());
  }
  RemoveTree(m_profile);
  m_profile.clear();
}

std::string COfficeProcess::ConnectAddress() const {
  return "uno:pipe,name=" + m_pipeName + ";urp;StarOffice.ComponentContext";
}
