#include "platform/lazy_library.h"

#include <dlfcn.h>

void* CLazyLibrary::Handle() {
  std::call_once(m_once, [this] {
    // RTLD_LOCAL: the library's symbols are found through this object only,
    // and cannot stand in for another library's functions of the same name.
    m_handle = dlopen(m_fileName, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
      const char* error = dlerror();
      m_error = error ? error : m_fileName;
    }
  });
  return m_handle;
}

void* CLazyLibrary::Symbol(const char* name) {
  void* handle = Handle();
  return handle ? dlsym(handle, name) : nullptr;
}

const std::string& CLazyLibrary::OpenError() {
  Handle();
  return m_error;
}
