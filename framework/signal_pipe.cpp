#include "framework/signal_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <cerrno>

namespace {

// The write end the handler writes to; -1 while no pipe is alive.
volatile sig_atomic_t g_writeFd = -1;

extern "C" void WriteSignalToPipe(int signalNumber) {
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(signalNumber);
  // A full pipe drops the byte: the write must never block a handler.
  if (g_writeFd >= 0) (void)!::write(g_writeFd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

CQzuSignalPipe::CQzuSignalPipe(std::initializer_list<int> signalNumbers, Receiver receiver)
    : m_receiver(std::move(receiver)) {
  if (g_writeFd >= 0) return;
  int fds[2];
  if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) return;
  m_readFd = fds[0];
  m_writeFd = fds[1];
  g_writeFd = m_writeFd;
  m_notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
  QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ReadPending(); });

  struct sigaction action = {};
  action.sa_handler = &WriteSignalToPipe;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls go on: the program's own reads and writes need
  // not know about the handler.
  action.sa_flags = SA_RESTART;
  for (int signalNumber : signalNumbers) {
    Previous previous{signalNumber, {}};
    if (::sigaction(signalNumber, &action, &previous.action) == 0) m_previous.push_back(previous);
  }
}

CQzuSignalPipe::~CQzuSignalPipe() {
  for (auto it = m_previous.rbegin(); it != m_previous.rend(); ++it) ::sigaction(it->signalNumber, &it->action, nullptr);
  if (m_readFd < 0) return;
  g_writeFd = -1;
  m_notifier.reset();
  ::close(m_readFd);
  ::close(m_writeFd);
}

void CQzuSignalPipe::ReadPending() {
  unsigned char bytes[64];
  for (;;) {
    const ssize_t n = ::read(m_readFd, bytes, sizeof bytes);
    if (n <= 0) return;
    for (ssize_t i = 0; i < n; ++i) m_receiver(bytes[i]);
  }
}
