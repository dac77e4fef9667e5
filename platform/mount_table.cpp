#include "platform/mount_table.h"

#include <algorithm>

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

// The kernel escapes only blank, tab, newline and backslash in a field, so any
// other byte (CR, VT and FF included) is part of the name: fields are split at
// blanks and tabs alone, never at every kind of white space.
bool IsFieldSeparator(char c) { return c == ' ' || c == '\t'; }

// The first `count` fields of one line, still escaped; fewer when the line is short.
std::vector<std::string_view> SplitFields(std::string_view line, size_t count) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (fields.size() < count) {
    while (i < line.size() && IsFieldSeparator(line[i])) ++i;
    if (i == line.size()) break;
    const size_t start = i;
    while (i < line.size() && !IsFieldSeparator(line[i])) ++i;
    fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

}  // namespace

std::vector<MountEntry> ParseMountTable(std::string_view table) {
  std::vector<MountEntry> entries;
  while (!table.empty()) {
    const size_t end = table.find('\n');
    const std::string_view line = table.substr(0, end);
    table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    const std::vector<std::string_view> fields = SplitFields(line, 3);
    if (fields.size() < 3) continue;
    entries.push_back(MountEntry{Unescape(std::string(fields[0])), Unescape(std::string(fields[1])),
                                 std::string(fields[2])});
  }
  return entries;
}

std::string ReadMountTable() {
  CQzuMem bytes;
  if (!ReadWholeFile(u"/proc/self/mounts", bytes)) return std::string();
  return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
}
