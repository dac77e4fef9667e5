// Stream forms, byte for byte, and the error paths that stop a load or save.
#include <gtest/gtest.h>

#include "common/arrays.h"
#include "common/boxed.h"
#include "common/object.h"
#include "common/stream.h"
#include "test_support.h"

using qzu_test::Hex;
using qzu_test::ToHex;

namespace {

// A record with one member of each stream kind and a nested object, written
// in declaration order as the classes of the program do.
class SampleRecord : public CQzuObject {
  QZU_DECLARE_CLASS(SampleRecord)
 public:
  int CopyFrom(const CQzuObject& source) override {
    QZU_COPY_FROM_PREAMBLE(SampleRecord, source)
    number = src.number;
    text = src.text;
    buffer = src.buffer;
    list = src.list;
    nested.CopyFrom(src.nested);
    return 1;
  }
  void SaveToStream(CQzuStream& s) const override {
    s.WriteInt32(number);
    s.WriteText(text);
    s.WriteMem(buffer);
    list.SaveToStream(s);
    nested.SaveToStream(s);
  }
  void LoadFromStream(CQzuStream& s) override {
    s.ReadInt32(number);
    s.ReadText(text);
    s.ReadMem(buffer);
    list.LoadFromStream(s);
    nested.LoadFromStream(s);
  }

  int32_t number = 0;
  CWString text;
  CQzuMem buffer;
  rg_Ombrine_base::rg_ZhengShuShuZuLei list;
  rg_Ombrine_base::rg_ZhengShuLei nested;
};

QZU_IMPLEMENT_CLASS(SampleRecord, CQzuObject, "rg_test::rg_SampleRecord")

std::string Bytes(const CQzuMemStream& s) { return ToHex(s.Buffer().GetData(), s.Buffer().GetSize()); }

SampleRecord MakeSample() {
  SampleRecord r;
  r.number = -2;
  r.text = CWString(u"中a");
  r.buffer.Assign("\x01\x02\x03", 3);
  r.list = {7, 0x01020304};
  r.nested.value = 0x11223344;
  return r;
}

const char* kSampleHex =
    "FE FF FF FF"                      // number -2
    "06 00 00 00 2D 4E 61 00 00 00"    // text: byte count, UTF-16LE, terminating zero
    "03 00 00 00 01 02 03"             // buffer: byte count, bytes
    "02 00 00 00 07 00 00 00 04 03 02 01"  // array: item count, items
    "44 33 22 11";                     // nested object's own stream form

TEST(Stream, RecordSavesByteExact) {
  CQzuMemStream s;
  MakeSample().SaveToStream(s);
  EXPECT_EQ(s.GetError(), 0);
  EXPECT_EQ(Bytes(s), ToHex(Hex(kSampleHex)));
}

TEST(Stream, RecordRoundTrips) {
  const std::vector<uint8_t> bytes = Hex(kSampleHex);
  CQzuMemStream s(bytes.data(), bytes.size());
  SampleRecord r;
  r.LoadFromStream(s);
  EXPECT_EQ(s.GetError(), 0);
  EXPECT_EQ(s.Position(), bytes.size());
  const SampleRecord expected = MakeSample();
  EXPECT_EQ(r.number, expected.number);
  EXPECT_EQ(r.text, expected.text);
  EXPECT_EQ(r.buffer, expected.buffer);
  EXPECT_EQ(r.list, expected.list);
  EXPECT_EQ(r.nested.value, expected.nested.value);
}

TEST(Stream, TextKeepsZeroUnitsAndEmptyTextHasItsTerminator) {
  CQzuMemStream s;
  s.WriteText(CWString(u"a\0b", 3));
  s.WriteText(CWString());
  EXPECT_EQ(Bytes(s), ToHex(Hex("08000000 6100 0000 6200 0000  02000000 0000")));
  s.Rewind();
  CWString a, b(u"x");
  s.ReadText(a);
  s.ReadText(b);
  EXPECT_EQ(a, CWString(u"a\0b", 3));
  EXPECT_TRUE(b.IsEmpty());
}

TEST(Stream, ShortReadSetsMinus3AndLaterLoadsReturnAtOnce) {
  // The text claims 8 bytes but only 4 follow.
  const std::vector<uint8_t> bytes = Hex("05000000 08000000 61006200");
  CQzuMemStream s(bytes.data(), bytes.size());
  int32_t n = 0;
  CWString text(u"keep");
  int32_t after = 99;
  EXPECT_TRUE(s.ReadInt32(n));
  EXPECT_FALSE(s.ReadText(text));
  EXPECT_EQ(s.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(text, CWString(u"keep"));  // a failed read leaves the member alone
  EXPECT_FALSE(s.ReadInt32(after));
  EXPECT_EQ(after, 99);
}

TEST(Stream, FailedWriteSetsMinus4AndLaterSavesWriteNothing) {
  CQzuMemStream s;
  s.SetWriteLimit(6);
  s.WriteInt32(1);
  s.WriteInt32(2);  // only two of its bytes fit
  EXPECT_EQ(s.GetError(), kQzuStreamWriteFailed);
  const size_t size = s.Buffer().GetSize();
  s.SetWriteLimit(1000);
  s.WriteText(CWString(u"later"));
  EXPECT_EQ(s.Buffer().GetSize(), size);
  EXPECT_EQ(s.GetError(), kQzuStreamWriteFailed);
}

TEST(Stream, DamagedByteCountIsAShortReadNotAHugeAllocation) {
  const std::vector<uint8_t> bytes = Hex("FFFFFFFF 0102");
  CQzuMemStream s(bytes.data(), bytes.size());
  CQzuMem m;
  EXPECT_FALSE(s.ReadMem(m));
  EXPECT_EQ(s.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(m.GetSize(), 0u);
}

TEST(Stream, ObjectArrayRecreatesItsObjectsByClass) {
  CQzuObjectArray a;
  a.Add(new rg_Ombrine_base::rg_ZhengShuLei(5));
  a.Add(new rg_Ombrine_base::rg_LuoJiXingLei(true));
  CQzuMemStream s;
  a.SaveToStream(s);
  s.Rewind();
  CQzuObjectArray b;
  b.LoadFromStream(s);
  ASSERT_EQ(s.GetError(), 0);
  ASSERT_EQ(b.GetCount(), 2);
  EXPECT_TRUE(b[0]->IsEqual(*a[0]));
  EXPECT_TRUE(b[1]->IsEqual(*a[1]));
  EXPECT_NE(b[0], a[0]);
}

}  // namespace
