// Starts a program on the X display and reports when its first top-level
// window is mapped; can also iconify and restore a window the way a window
// manager does (WM_STATE and unmap), so that a program without a window
// manager around sees itself minimised.
//
//   window_probe start PROGRAM [ARGS...]   prints "PID WINDOW MICROSECONDS"
//                                          (exec to map) and leaves it running
//   window_probe iconify WINDOW | restore WINDOW
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long long NowMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
}

// _NET_WM_PID of a window, 0 when it has none.
long WindowPid(Display* d, Window w) {
  const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
  Atom type;
  int format;
  unsigned long items, after;
  unsigned char* data = nullptr;
  long pid = 0;
  if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data) ==
          Success &&
      data && items == 1)
    pid = *reinterpret_cast<long*>(data);
  if (data) XFree(data);
  return pid;
}

int Start(Display* d, char** argv) {
  const Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, False);
  const long long started = NowMicroseconds();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[0], argv);
    std::perror("exec");
    _exit(127);
  }
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != MapNotify || e.xmap.override_redirect) continue;
    const long long mapped = NowMicroseconds();
    if (WindowPid(d, e.xmap.window) != child) continue;
    std::printf("%d %lu %lld\n", static_cast<int>(child), e.xmap.window, mapped - started);
    std::fflush(stdout);
    return 0;
  }
}

void SetWmState(Display* d, Window w, long state) {
  const Atom wmState = XInternAtom(d, "WM_STATE", False);
  long data[2] = {state, None};
  XChangeProperty(d, w, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char*>(data), 2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_probe start PROGRAM [ARGS...] | iconify WINDOW | restore WINDOW\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "window_probe: no display\n");
    return 1;
  }
  if (std::strcmp(argv[1], "start") == 0) return Start(d, argv + 2);
  const Window w = std::strtoul(argv[2], nullptr, 0);
  if (std::strcmp(argv[1], "iconify") == 0) {
    SetWmState(d, w, IconicState);
    XUnmapWindow(d, w);
  } else {
    XMapWindow(d, w);
    SetWmState(d, w, NormalState);
  }
  XSync(d, False);
  XCloseDisplay(d);
  return 0;
}
