#pragma once
// CQzuSignalPipe: POSIX signals turned into calls on the UI thread. The
// handler it installs only writes the signal's number to a pipe, the one
// thing a signal handler can safely do; a socket notifier on the UI thread
// reads the pipe and calls the receiver from the event loop, like any queued
// call, so the receiver may touch widgets.
//
// While a pipe lives the signals it watches no longer end the process; its
// destructor puts back the handling there was before. One pipe at a time per
// process: the handler knows one pipe. Create and destroy on the UI thread,
// after the Qt application object exists; the receiver must not destroy the
// pipe that calls it. A signal that arrives while the pipe is full (thousands
// unread) is lost.
#include <csignal>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QSocketNotifier;

class CQzuSignalPipe {
 public:
  using Receiver = std::function<void(int signalNumber)>;

  // Watches `signalNumbers`; nothing is watched when another pipe is alive or
  // the pipe cannot be made (IsWatching says so).
  CQzuSignalPipe(std::initializer_list<int> signalNumbers, Receiver receiver);
  ~CQzuSignalPipe();
  CQzuSignalPipe(const CQzuSignalPipe&) = delete;
  CQzuSignalPipe& operator=(const CQzuSignalPipe&) = delete;

  bool IsWatching() const { return m_readFd >= 0; }

 private:
  void ReadPending();

  Receiver m_receiver;
  int m_readFd = -1;
  int m_writeFd = -1;
  std::unique_ptr<QSocketNotifier> m_notifier;
  struct Previous {
    int signalNumber;
    struct sigaction action;
  };
  std::vector<Previous> m_previous;
};
