#include "platform/office_engine.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/office_process.h"
#include "platform/office_uno.h"

namespace {

std::string& ProgramSetting() {
  static std::string program;
  return program;
}

std::string ProgramToStart() {
  return ProgramSetting().empty() ? std::string(DefaultOfficeProgram()) : ProgramSetting();
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

// The office process as the UNO module sees it.
class ProcessControl final : public IOfficeProcessControl {
 public:
  explicit ProcessControl(COfficeProcess& process) : m_process(process) {}
  bool IsRunning() override { return m_process.IsRunning(); }
  int ExitCode() const override { return m_process.ExitCode(); }
  bool Respawn() override { return m_process.Respawn(); }
  std::string ConnectAddress() const override { return m_process.ConnectAddress(); }

 private:
  COfficeProcess& m_process;
};

struct OfficeEngine {
  std::recursive_mutex lock;
  COfficeProcess process;
  ProcessControl control{process};
  // The UNO module's functions once it was opened; null before the first
  // start, and for good when it cannot be opened.
  const OfficeUnoFunctions* uno = nullptr;
  bool moduleTried = false;
  bool exitHookInstalled = false;
};

// Never destroyed: the exit hook ends the office, and the UNO references
// must not be released by a static destructor after the UNO runtime's own
// statics are gone.
OfficeEngine& Engine() {
  static OfficeEngine* engine = new OfficeEngine;
  return *engine;
}

// The UNO module, looked for beside the program first, then where the build
// put it (QZU_OFFICE_UNO_MODULE). Without it there is no office, as in a
// build without the UNO development files.
const OfficeUnoFunctions* OpenUnoModule(OfficeEngine& e) {
#ifdef QZU_OFFICE_UNO_MODULE
  if (e.moduleTried) return e.uno;
  e.moduleTried = true;
  const std::string build = QZU_OFFICE_UNO_MODULE;
  const std::string name = build.substr(build.rfind('/') + 1);
  std::string beside;
  char exe[4096];
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (length > 0) {
    beside.assign(exe, static_cast<size_t>(length));
    beside = beside.substr(0, beside.rfind('/') + 1) + name;
  }
  for (const std::string& path : {beside, build}) {
    if (path.empty() || access(path.c_str(), R_OK) != 0) continue;
    // Kept until exit: the office's objects live in it.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto* entry = module ? reinterpret_cast<OfficeUnoEntry*>(dlsym(module, QZU_OFFICE_UNO_ENTRY)) : nullptr;
    if (entry) {
      e.uno = entry(e.control);
      break;
    }
  }
  return e.uno;
#else
  (void)e;
  return nullptr;
#endif
}

bool Alive(OfficeEngine& e) { return e.uno && e.uno->alive(); }

void ForgetOffice(OfficeEngine& e) {
  if (e.uno) e.uno->forget();
}

bool Connect(OfficeEngine& e) {
  const std::string program = ProgramToStart();
  if (access(program.c_str(), X_OK) != 0) return false;
  if (!e.uno || !e.uno->bootstrap(program)) return false;
  if (!e.process.Start(program)) return false;
  if (!e.exitHookInstalled) {
    // At exit only the process is ended: the UNO runtime may already be
    // tearing itself down, so no call goes over the bridge then.
    e.exitHookInstalled = true;
    std::atexit([] {
      OfficeEngine& engine = Engine();
      std::lock_guard<std::recursive_mutex> guard(engine.lock);
      engine.process.Stop(0);
    });
  }
  if (!e.uno->connect()) {
    e.process.Stop(0);
    ForgetOffice(e);
    return false;
  }
  return true;
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__) && defined(QZU_OFFICE_UNO_MODULE)
// The UNO runtime keeps type descriptions and names of remote calls until
// its own teardown, which runs after the leak check; they are its, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libuno_cppu.so\nleak:libuno_sal.so\n"; }
#endif

void SetOfficeProgram(const std::string& program) { ProgramSetting() = program; }

bool OfficeEngineStart() {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  if (!OpenUnoModule(e)) return false;
  if (Alive(e)) return true;
  // The office is gone (or was never there): its documents went with it.
  ForgetOffice(e);
  e.process.Stop(0);
  return Connect(e);
}

bool OfficeEngineIsRunning() {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return Alive(e);
}

int OfficeEngineProcessId() {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return e.process.IsRunning() ? static_cast<int>(e.process.Pid()) : -1;
}

void OfficeEngineShutdown() {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  if (e.uno) e.uno->closeAllAndTerminate();
  // The office ends first: its side of the pipe closes, and the bridge's
  // reader thread, waiting in its read, sees the end and takes the bridge
  // down itself. Dropping the references before that would close the pipe
  // from this thread under the reader's feet.
  e.process.Stop(5000);
  ForgetOffice(e);
}

int OfficeOpenDocument(const CWString& path, uint64_t& id) {
  id = 0;
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  if (!e.uno || !e.uno->connected()) return kOfficeNotRunning;
  // A zero unit would end the name early for the system, and another file
  // would be opened than the one asked for.
  if (path.IsEmpty() || path.View().find(u'\0') != std::u16string_view::npos) return kOfficeCallFailed;
  const std::string full = AbsolutePath(path.ToSystemPath());
  struct stat st {};
  if (stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return kOfficeCallFailed;
  return e.uno->openDocument(full, static_cast<int64_t>(st.st_size), id);
}

int OfficeGetDocumentText(uint64_t id, CWString& text) {
  text.Empty();
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  if (!e.uno) return kOfficeNoDocument;
  std::u16string wordText;
  const int result = e.uno->getText(id, wordText);
  if (result == kOfficeOk) text = CWString(std::move(wordText));
  return result;
}

int OfficeSetDocumentText(uint64_t id, const CWString& text) {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return e.uno ? e.uno->setText(id, text.View()) : kOfficeNoDocument;
}

int OfficeParagraphCount(uint64_t id, int& count) {
  count = 0;
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return e.uno ? e.uno->paragraphCount(id, count) : kOfficeNoDocument;
}

int OfficeSaveDocument(uint64_t id) {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return e.uno ? e.uno->save(id) : kOfficeNoDocument;
}

int OfficeCloseDocument(uint64_t id) {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return e.uno ? e.uno->close(id) : kOfficeNoDocument;
}

bool OfficeDocumentIsOpen(uint64_t id) {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return e.uno && e.uno->isOpen(id);
}

int OfficeOpenDocumentCount() {
  OfficeEngine& e = Engine();
  std::lock_guard<std::recursive_mutex> guard(e.lock);
  return e.uno ? e.uno->openCount() : 0;
}
