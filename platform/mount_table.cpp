#include "platform/mount_table.h"

#include <algorithm>
#include <sstream>

#include "common/mem.h"
#include "platform/whole_file_read.h"

namespace {

std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() &&
        std::all_of(field.begin() + static_cast<long>(i) + 1, field.begin() + static_cast<long>(i) + 4,
                    [](char c) { return c >= '0' && c <= '7'; })) {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

}  // namespace

std::vector<MountEntry> ParseMountTable(std::string_view table) {
  std::vector<MountEntry> entries;
  std::istringstream lines{std::string(table)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    MountEntry e;
    if (!(fields >> e.source >> e.point >> e.type)) continue;
    e.source = Unescape(e.source);
    e.point = Unescape(e.point);
    entries.push_back(std::move(e));
  }
  return entries;
}

std::string ReadMountTable() {
  CQzuMem bytes;
  if (!ReadWholeFile(u"/proc/self/mounts", bytes)) return std::string();
  return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
}
