#pragma once
// The system's table of mounted file systems (the format of /proc/self/mounts:
// source, mount point, type, options, two numbers per line; space, tab,
// newline and backslash inside a field written as a backslash and three
// octal digits). Lines end at LF and fields are separated by blanks and tabs
// only: any other byte (CR, VT, FF, NUL...) belongs to its field. Any thread.
#include <string>
#include <string_view>
#include <vector>

struct MountEntry {
  std::string source;  // the device or share, unescaped
  std::string point;   // the mount point, unescaped
  std::string type;
};

// The lines of a table that have at least three fields, in table order.
std::vector<MountEntry> ParseMountTable(std::string_view table);

// The live table of this process; empty when it cannot be read.
std::string ReadMountTable();
