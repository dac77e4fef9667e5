// The shared test helpers of test_support.h and the printer of text_printer.h.
#include "test_support.h"

#include <fcntl.h>
#include <link.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ostream>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "common/object.h"
#include "common/stream.h"
#include "common/utf.h"
#include "common/wstring.h"
#include "text_printer.h"

namespace qzu_test {

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path()) {}

TempDir::TempDir(const std::filesystem::path& base) {
  std::string pattern = (base / "qzu_test_XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::vector<uint8_t> Hex(const std::string& hex) {
  std::vector<uint8_t> out;
  int high = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

std::string ToHex(const uint8_t* data, size_t size) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s;
  for (size_t i = 0; i < size; ++i) {
    if (i) s += ' ';
    s += digits[data[i] >> 4];
    s += digits[data[i] & 15];
  }
  return s;
}

std::string StreamHex(const CQzuObject& object) {
  CQzuMemStream stream;
  object.SaveToStream(stream);
  return ToHex(stream.Buffer());
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteFileText(const std::filesystem::path& path, const std::string& bytes) {
  WriteFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

std::string ReadFileText(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

bool ReturnsWithoutAWriter(const std::filesystem::path& fifo, const std::function<void()>& read) {
  if (::mkfifo(fifo.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
  auto reading = std::async(std::launch::async, read);
  if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return true;
  // Opening the writing end lets a waiting open go on; it then reads the end
  // of the pipe at once. Opened without waiting, it fails while no reader has
  // the pipe open yet: try again until the reader is done.
  while (reading.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
    const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  return false;
}

bool LibraryLoaded(const std::string& name) {
  struct Search {
    const std::string* name;
    bool found;
  } search{&name, false};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_name && std::string(info->dlpi_name).find(*s->name) != std::string::npos) s->found = true;
        return 0;
      },
      &search);
  return search.found;
}

}  // namespace qzu_test

void PrintTo(const CWString& text, std::ostream* os) {
  const std::u16string_view units = text.View();
  std::string out = "\"";
  const auto escape = [&out](const char* format, unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
  };
  size_t plain = 0;  // start of the run of units written as they are
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    const bool pair = (c & 0xFC00) == 0xD800 && i + 1 < units.size() && (units[i + 1] & 0xFC00) == 0xDC00;
    if (pair) {
      ++i;
      continue;
    }
    const bool halfPair = (c & 0xF800) == 0xD800;
    if (!halfPair && c >= 0x20 && c != 0x7F && c != u'"' && c != u'\\') continue;
    qzu::AppendUtf16ToUtf8(units.substr(plain, i - plain), out);
    plain = i + 1;
    switch (c) {
      case u'"': out += "\\\""; break;
      case u'\\': out += "\\\\"; break;
      case u'\r': out += "\\r"; break;
      case u'\n': out += "\\n"; break;
      case u'\t': out += "\\t"; break;
      default: escape(halfPair ? "\\u%04X" : "\\x%02X", c);
    }
  }
  qzu::AppendUtf16ToUtf8(units.substr(plain), out);
  *os << out << '"';
}
