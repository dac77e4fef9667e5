#include "platform/user_folders.h"

#include <cstdlib>
#include <sstream>
#include <string>

#include "common/mem.h"
#include "platform/whole_file_read.h"

namespace {

struct UserDirName {
  const char* key;       // between "XDG_" and "_DIR"
  const char* fallback;  // under the home folder
};

constexpr UserDirName kNames[] = {
    {"DESKTOP", "Desktop"},   {"DOCUMENTS", "Documents"}, {"DOWNLOAD", "Downloads"},  {"MUSIC", "Music"},
    {"PICTURES", "Pictures"}, {"PUBLICSHARE", "Public"},  {"TEMPLATES", "Templates"}, {"VIDEOS", "Videos"},
};

const UserDirName& NameOf(XdgUserDir which) { return kNames[static_cast<int>(which)]; }

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return std::string();
  const size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

// A value as the shell reads it: inside double quotes, a backslash takes the
// next character literally.
std::string Unquote(const std::string& value) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return value;
  std::string out;
  for (size_t i = 1; i + 1 < value.size(); ++i) {
    if (value[i] == '\\' && i + 2 < value.size()) ++i;
    out += value[i];
  }
  return out;
}

// `home` followed by a relative path, without doubling the separator when
// the home folder is "/".
CWString UnderHome(const CWString& home, const CWString& relative) {
  return home.EndsWith(u"/") ? home + relative : home + u"/" + relative;
}

CWString BaseFolder(const char* variable, const CWString& home, const char16_t* fallback) {
  const char* v = std::getenv(variable);
  // The XDG rule: a relative path in the variable is invalid and ignored.
  if (v && *v == '/') return CWString::FromSystemPath(v);
  return UnderHome(home, fallback);
}

}  // namespace

CWString UserDirFromConfigText(std::string_view text, XdgUserDir which, const CWString& home) {
  const std::string wanted = std::string("XDG_") + NameOf(which).key + "_DIR";
  std::istringstream lines{std::string(text)};
  std::string line;
  CWString found;
  // The shell lets a later assignment win; so do we.
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos || Trim(line.substr(0, eq)) != wanted) continue;
    const std::string value = Unquote(Trim(line.substr(eq + 1)));
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
      std::string rest = value.substr(5);
      while (!rest.empty() && rest.back() == '/') rest.pop_back();
      while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
      found = rest.empty() ? home : UnderHome(home, CWString::FromSystemPath(rest));
    } else if (!value.empty() && value[0] == '/') {
      std::string path = value;
      while (path.size() > 1 && path.back() == '/') path.pop_back();
      found = CWString::FromSystemPath(path);
    }
  }
  return found;
}

CWString XdgUserDirPath(XdgUserDir which, const CWString& home) {
  CQzuMem bytes;
  if (ReadWholeFile(XdgConfigHome(home) + u"/user-dirs.dirs", bytes)) {
    const CWString set = UserDirFromConfigText(
        std::string_view(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize()), which, home);
    if (!set.IsEmpty()) return set;
  }
  return UnderHome(home, CWString::FromUtf8(NameOf(which).fallback));
}

CWString XdgConfigHome(const CWString& home) { return BaseFolder("XDG_CONFIG_HOME", home, u".config"); }

CWString XdgDataHome(const CWString& home) { return BaseFolder("XDG_DATA_HOME", home, u".local/share"); }
