#pragma once
// CLazyLibrary: a shared library that is opened the first time one of its
// functions is asked for, not when the program starts. Libraries the program
// needs only for some commands (OpenCC, for the Chinese script tables) are
// opened this way, so that their loading and relocation stay off the start.
// Any thread may ask; the library is opened once and never closed, so the
// functions found stay valid until the process ends.
#include <mutex>
#include <string>

class CLazyLibrary {
 public:
  // `fileName` is the library's soname ("libopencc.so.1.1"), looked for on the
  // system's library path as the loader would.
  explicit CLazyLibrary(const char* fileName) : m_fileName(fileName) {}
  CLazyLibrary(const CLazyLibrary&) = delete;
  CLazyLibrary& operator=(const CLazyLibrary&) = delete;

  // The library's handle, opened on the first call; null when it cannot be
  // opened (then every later call says so at once, without trying again).
  void* Handle();
  // The address of the symbol `name`; null when the library or the symbol is
  // missing.
  void* Symbol(const char* name);
  // Sets `function` to the function `name` (null when missing); true when found.
  template <class Function>
  bool Find(const char* name, Function*& function) {
    function = reinterpret_cast<Function*>(Symbol(name));
    return function != nullptr;
  }
  // The loader's message when the library cannot be opened (trying to open
  // it first); empty when it is open.
  const std::string& OpenError();

 private:
  const char* m_fileName;
  std::once_flag m_once;
  void* m_handle = nullptr;
  std::string m_error;
};
