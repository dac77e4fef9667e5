#pragma once
// Small helpers shared by the test programs.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/mem.h"

class CQzuObject;

namespace qzu_test {

// A folder under the system temporary folder, removed with everything in it
// when the object goes out of scope.
class TempDir {
 public:
  TempDir();
  // The same under `base` instead of the system temporary folder.
  explicit TempDir(const std::filesystem::path& base);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Bytes from a hexadecimal text; blanks between the digits are ignored.
std::vector<uint8_t> Hex(const std::string& hex);
// Upper-case hexadecimal of bytes, one blank between bytes.
std::string ToHex(const uint8_t* data, size_t size);
inline std::string ToHex(const std::vector<uint8_t>& v) { return ToHex(v.data(), v.size()); }
inline std::string ToHex(const CQzuMem& m) { return ToHex(m.GetData(), m.GetSize()); }
// The bytes an object writes to a stream, in hexadecimal as above.
std::string StreamHex(const CQzuObject& object);

// A buffer holding the bytes of a string, a buffer from hexadecimal text, and
// a buffer's bytes as a vector (which GoogleTest prints when they differ).
inline CQzuMem Mem(std::string_view bytes) { return CQzuMem(bytes.data(), bytes.size()); }
inline CQzuMem MemFromHex(const std::string& hex) {
  const std::vector<uint8_t> bytes = Hex(hex);
  return CQzuMem(bytes.data(), bytes.size());
}
inline std::vector<uint8_t> BytesOf(const CQzuMem& m) {
  return std::vector<uint8_t>(m.GetData(), m.GetData() + m.GetSize());
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);
// The same with the bytes in a string.
void WriteFileText(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFileText(const std::filesystem::path& path);

// Polls `condition` without pumping events until it holds or `ms` pass;
// returns the condition. For waits on other threads, never a bare sleep.
bool WaitFor(const std::function<bool()>& condition, int ms = 5000);

// Makes a named pipe at `fifo` and runs `read`, which is meant to read it, on
// another thread; true when `read` came back within ten seconds. A reader that
// still waits for a writer then is let go, so that a failing test ends.
bool ReturnsWithoutAWriter(const std::filesystem::path& fifo, const std::function<void()>& read);

// Whether a shared library whose path contains `name` is loaded in this
// process.
bool LibraryLoaded(const std::string& name);

}  // namespace qzu_test
