#pragma once
// The regular expression instance behind "VBScript.RegExp": a pattern with the
// three switches ignore case, multi-line and global, matched by PCRE2 over
// UTF-16 text. The expression is compiled on first use after a change.
#include <vector>

#include "services/com_object.h"

struct pcre2_real_code_16;
struct pcre2_real_compile_context_16;

struct CQzuRegExpMatch {
  int index = 0;   // first code unit of the match in the subject
  int length = 0;  // code units
  CWString value;
};

class CQzuRegExpInstance : public CQzuComInstance {
 public:
  CQzuRegExpInstance() = default;

  void SetIgnoreCase(bool on);
  void SetMultiline(bool on);
  void SetGlobal(bool on);
  void SetPattern(const CWString& pattern);
  bool IgnoreCase() const { return m_ignoreCase; }
  bool Multiline() const { return m_multiline; }
  bool Global() const { return m_global; }
  const CWString& Pattern() const { return m_pattern; }

  // 1 when the pattern compiles; 0 otherwise (nothing then matches).
  int IsValid();
  // 1 when the pattern matches somewhere in `subject`, else 0.
  int Test(const CWString& subject);
  // The matches from left to right: all of them when global is on, else at
  // most the first. A pattern that does not compile gives none.
  std::vector<CQzuRegExpMatch> Execute(const CWString& subject);

 protected:
  ~CQzuRegExpInstance() override;

 private:
  void Invalidate();
  bool Compile();

  bool m_ignoreCase = false;
  bool m_multiline = false;
  bool m_global = false;
  CWString m_pattern;
  pcre2_real_code_16* m_code = nullptr;
  bool m_compiled = false;  // m_code reflects the current settings (null: does not compile)
};

// The maker registered under "VBScript.RegExp".
CQzuRef<CQzuComInstance> MakeRegExpInstance();
