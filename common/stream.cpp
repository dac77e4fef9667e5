#include "common/stream.h"

#include <cstring>
#include <vector>

#include "common/little_endian.h"

void CQzuStream::WriteBytes(const void* data, size_t size) {
  if (m_error != 0 || size == 0) return;
  if (RawWrite(data, size) != size) m_error = kQzuStreamWriteFailed;
}

bool CQzuStream::ReadBytes(void* data, size_t size) {
  if (m_error != 0) return false;
  if (size == 0) return true;
  if (RawRead(data, size) != size) m_error = kQzuStreamShortRead;
  return m_error == 0;
}

void CQzuStream::WriteInt32(int32_t value) {
  uint8_t bytes[4];
  StoreLittleEndian32(bytes, static_cast<uint32_t>(value));
  WriteBytes(bytes, 4);
}

void CQzuStream::WriteInt64(int64_t value) {
  WriteInt32(static_cast<int32_t>(static_cast<uint64_t>(value) & 0xFFFFFFFFu));
  WriteInt32(static_cast<int32_t>(static_cast<uint64_t>(value) >> 32));
}

bool CQzuStream::ReadUInt32(uint32_t& value) {
  uint8_t b[4];
  if (!ReadBytes(b, 4)) return false;
  value = LoadLittleEndian32(b);
  return true;
}

bool CQzuStream::ReadInt32(int32_t& value) {
  uint32_t v;
  if (!ReadUInt32(v)) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool CQzuStream::ReadInt64(int64_t& value) {
  uint32_t lo, hi;
  if (!ReadUInt32(lo) || !ReadUInt32(hi)) return false;
  value = static_cast<int64_t>((static_cast<uint64_t>(hi) << 32) | lo);
  return true;
}

void CQzuStream::WriteText(const CWString& text) {
  if (m_error != 0) return;
  const size_t units = text.GetLength() + 1;  // with the terminating zero
  std::vector<uint8_t> bytes(units * 2);
  const char16_t* p = text.GetBuffer();
  for (size_t i = 0; i < units; ++i) {
    bytes[2 * i] = static_cast<uint8_t>(p[i]);
    bytes[2 * i + 1] = static_cast<uint8_t>(p[i] >> 8);
  }
  WriteUInt32(static_cast<uint32_t>(bytes.size()));
  WriteBytes(bytes.data(), bytes.size());
}

bool CQzuStream::ReadText(CWString& text) {
  uint32_t count;
  if (!ReadUInt32(count)) return false;
  std::vector<uint8_t> bytes;
  // Read in pieces so that a damaged count cannot ask for gigabytes at once.
  constexpr size_t kPiece = 1 << 20;
  size_t left = count;
  while (left > 0) {
    const size_t piece = left < kPiece ? left : kPiece;
    const size_t at = bytes.size();
    bytes.resize(at + piece);
    if (!ReadBytes(bytes.data() + at, piece)) return false;
    left -= piece;
  }
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  if (!units.empty() && units.back() == u'\0') units.pop_back();
  text = CWString(std::move(units));
  return true;
}

void CQzuStream::WriteMem(const CQzuMem& mem) {
  WriteUInt32(static_cast<uint32_t>(mem.GetSize()));
  WriteBytes(mem.GetData(), mem.GetSize());
}

bool CQzuStream::ReadMem(CQzuMem& mem) {
  uint32_t count;
  if (!ReadUInt32(count)) return false;
  CQzuMem read(mem.GetGrowStep());
  constexpr size_t kPiece = 1 << 20;
  size_t left = count;
  while (left > 0) {
    const size_t piece = left < kPiece ? left : kPiece;
    const size_t at = read.GetSize();
    if (!read.SetSize(at + piece)) {
      SetError(kQzuStreamShortRead);
      return false;
    }
    if (!ReadBytes(read.GetData() + at, piece)) return false;
    left -= piece;
  }
  mem = std::move(read);
  return true;
}

size_t CQzuMemStream::RawWrite(const void* data, size_t size) {
  size_t room = m_writeLimit > m_position ? m_writeLimit - m_position : 0;
  const size_t n = size < room ? size : room;
  if (m_position + n > m_buffer.GetSize() && !m_buffer.SetSize(m_position + n)) return 0;
  std::memcpy(m_buffer.GetData() + m_position, data, n);
  m_position += n;
  return n;
}

size_t CQzuMemStream::RawRead(void* data, size_t size) {
  const size_t left = m_buffer.GetSize() > m_position ? m_buffer.GetSize() - m_position : 0;
  const size_t n = size < left ? size : left;
  if (n) std::memcpy(data, m_buffer.GetData() + m_position, n);
  m_position += n;
  return n;
}

size_t CQzuFileStream::RawWrite(const void* data, size_t size) {
  return m_file ? std::fwrite(data, 1, size, m_file) : 0;
}

size_t CQzuFileStream::RawRead(void* data, size_t size) {
  return m_file ? std::fread(data, 1, size, m_file) : 0;
}
