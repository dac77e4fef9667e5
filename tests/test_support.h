#pragma once
// Small helpers shared by the test programs.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);
// The same with the bytes in a string.
void WriteFileText(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFileText(const std::filesystem::path& path);

// Makes a named pipe at `fifo` and runs `read`, which is meant to read it, on
// another thread; true when `read` came back within ten seconds. A reader that
// still waits for a writer then is let go, so that a failing test ends.
bool ReturnsWithoutAWriter(const std::filesystem::path& fifo, const std::function<void()>& read);

}  // namespace qzu_test
