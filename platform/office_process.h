#pragma once
// For platform/ only: callers outside it drive the office through platform/office_engine.h.
// The office process behind the Word automation: one headless LibreOffice
// that this program starts for itself, with a profile folder of its own (two
// offices on one profile fail silently) and a UNO pipe that only it knows.
// The process is tied to ours: it is killed when this process dies, and
// Stop() (also run at exit by the engine) ends it and removes its profile.
#include <string>
#include <sys/types.h>

class COfficeProcess {
 public:
  COfficeProcess() = default;
  ~COfficeProcess() { Stop(0); }
  COfficeProcess(const COfficeProcess&) = delete;
  COfficeProcess& operator=(const COfficeProcess&) = delete;

  // Starts the office program (soffice.bin) listening on a new pipe, with a
  // new profile folder under the temporary folder. False when the program is
  // missing or cannot be started.
  bool Start(const std::string& program);
  // Starts the program again on the same profile and pipe: the office asks
  // for this (exit code 81) after it has set up a new profile.
  bool Respawn() { return !m_profile.empty() && m_pid <= 0 && Spawn(); }
  // True while the started process has not exited. Reaps it when it has.
  bool IsRunning();
  // Exit status of the process once it has ended (-1 before, or when killed).
  int ExitCode() const { return m_exitCode; }
  // Waits up to `graceMs` for the process to end by itself, then kills it;
  // removes the profile folder. Nothing happens when nothing was started.
  void Stop(int graceMs);

  // The UNO address that reaches the office's component context.
  std::string ConnectAddress() const;
  pid_t Pid() const { return m_pid; }
  const std::string& ProfileFolder() const { return m_profile; }

 private:
  bool Spawn();

  std::string m_program;
  std::string m_profile;
  std::string m_pipeName;
  pid_t m_pid = -1;
  int m_exitCode = -1;
};

// Where the office program is looked for unless the engine is told otherwise.
const char* DefaultOfficeProgram();
