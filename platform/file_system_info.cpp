#include "platform/file_system_info.h"

#include <stdlib.h>
#include <sys/statvfs.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/mount_table.h"

namespace {

// The link names escape bytes as "\xHH" (udev's rule for spaces, slashes and
// non-printing bytes).
std::string UnescapeLabel(const std::string& name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
      out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      out += name[i];
    }
  }
  return out;
}

// The device a path names, with every link on the way resolved; empty when it
// does not exist.
std::string Resolved(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

bool FileSystemSpace(const CWString& path, uint64_t& freeBytes, uint64_t& totalBytes) {
  struct statvfs st {};
  if (path.IsEmpty() || ::statvfs(path.ToSystemPath().c_str(), &st) != 0) return false;
  freeBytes = static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
  totalBytes = static_cast<uint64_t>(st.f_blocks) * st.f_frsize;
  return true;
}

CWString FileSystemLabelFrom(const CWString& mountPoint, std::string_view mountTable,
                             const std::string& byLabelFolder) {
  const std::string point = WithoutTrailingSeparators(mountPoint.ToSystemPath());
  // The last mount at a place is the one in force.
  std::string device;
  for (const MountEntry& e : ParseMountTable(mountTable))
    if (WithoutTrailingSeparators(e.point) == point) device = e.source;
  if (device.empty() || device[0] != '/') return CWString();
  device = Resolved(device);
  if (device.empty()) return CWString();
  std::error_code ec;
  for (std::filesystem::directory_iterator it(byLabelFolder, ec), end; !ec && it != end; it.increment(ec)) {
    if (Resolved(it->path().string()) == device)
      return CWString::FromSystemPath(UnescapeLabel(it->path().filename().string()));
  }
  return CWString();
}

CWString FileSystemLabel(const CWString& mountPoint) {
  return FileSystemLabelFrom(mountPoint, ReadMountTable(), "/dev/disk/by-label");
}
