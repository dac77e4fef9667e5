#pragma once
// CQzuStream: the stream objects save themselves into and load themselves
// from. 32-bit values are little-endian; texts and buffers are a 4-byte byte
// count and the bytes (texts in UTF-16LE with their terminating zero); arrays
// are a 4-byte item count and the items. A short read sets the error to -3, a
// failed write to -4, and once the error is set every later read or write
// returns at once without touching anything.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "common/mem.h"
#include "common/wstring.h"

constexpr int kQzuStreamShortRead = -3;
constexpr int kQzuStreamWriteFailed = -4;

class CQzuStream {
 public:
  virtual ~CQzuStream() = default;

  int GetError() const { return m_error; }
  void SetError(int error) { m_error = error; }
  bool Ok() const { return m_error == 0; }

  // Each write sets -4 when not every byte could be written; each read sets
  // -3 when fewer bytes than asked were there. Reads return Ok() afterwards.
  void WriteBytes(const void* data, size_t size);
  bool ReadBytes(void* data, size_t size);

  void WriteInt32(int32_t value);
  void WriteUInt32(uint32_t value) { WriteInt32(static_cast<int32_t>(value)); }
  void WriteInt64(int64_t value);
  bool ReadInt32(int32_t& value);
  bool ReadUInt32(uint32_t& value);
  bool ReadInt64(int64_t& value);

  void WriteText(const CWString& text);
  bool ReadText(CWString& text);
  void WriteMem(const CQzuMem& mem);
  bool ReadMem(CQzuMem& mem);

 protected:
  // The medium: how many bytes were written or read.
  virtual size_t RawWrite(const void* data, size_t size) = 0;
  virtual size_t RawRead(void* data, size_t size) = 0;

 private:
  int m_error = 0;
};

// A stream over a byte buffer in memory. Reading starts at position 0. A write
// limit, when set, makes writes beyond it fail (a full medium).
class CQzuMemStream : public CQzuStream {
 public:
  CQzuMemStream() = default;
  explicit CQzuMemStream(const CQzuMem& content) : m_buffer(content) {}
  CQzuMemStream(const void* data, size_t size) : m_buffer(data, size) {}

  const CQzuMem& Buffer() const { return m_buffer; }
  size_t Position() const { return m_position; }
  void Rewind() { m_position = 0; }
  void SetWriteLimit(size_t limit) { m_writeLimit = limit; }

 protected:
  size_t RawWrite(const void* data, size_t size) override;
  size_t RawRead(void* data, size_t size) override;

 private:
  CQzuMem m_buffer;
  size_t m_position = 0;
  size_t m_writeLimit = static_cast<size_t>(-1);
};

// A stream over an open C file; the stream does not close it.
class CQzuFileStream : public CQzuStream {
 public:
  explicit CQzuFileStream(std::FILE* file) : m_file(file) {}

 protected:
  size_t RawWrite(const void* data, size_t size) override;
  size_t RawRead(void* data, size_t size) override;

 private:
  std::FILE* m_file;
};
