#pragma once
// CodePageGuard: sets the system code page for a test and puts the previous
// one back when it goes out of scope, so that no test leaks its code page into
// the next one. For test programs that link platform/.
#include "platform/system_code_page.h"

namespace qzu_test {

class CodePageGuard {
 public:
  explicit CodePageGuard(int codePage) : m_saved(GetSystemCodePage()) { SetSystemCodePage(codePage); }
  ~CodePageGuard() { SetSystemCodePage(m_saved); }
  CodePageGuard(const CodePageGuard&) = delete;
  CodePageGuard& operator=(const CodePageGuard&) = delete;

 private:
  int m_saved;
};

}  // namespace qzu_test
