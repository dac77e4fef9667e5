// JSON node and document records: defaults, copies, equality, stream forms.
#include <gtest/gtest.h>

#include "common/boxed.h"
#include "services/json_records.h"
#include "test_support.h"

using qzu_test::StreamHex;
using rg_Ombrine_base::rg_ZhengShuLei;
using rg_TavelkinJSON_package::rg_TavelkinJSONJieDian;
using rg_TavelkinJSON_package::rg_TavelkinJSONLei;

namespace {

const char kFreshNode[] =
    "00 00 00 00 "                  // first integer
    "02 00 00 00 00 00 "            // first text (its terminating zero)
    "02 00 00 00 00 00 "            // second text
    "00 00 00 00 "                  // object array
    "00 00 00 00 00 00 00 00";      // second and third integers

TEST(JsonNode, DefaultsAndStreamForm) {
  rg_TavelkinJSONJieDian node;
  EXPECT_EQ(node.firstInteger, 0);
  EXPECT_TRUE(node.firstText.IsEmpty());
  EXPECT_EQ(node.objects.GetCount(), 0);
  EXPECT_STREQ(node.GetClassInfo().name, "rg_TavelkinJSON_package::rg_TavelkinJSONJieDian");
  EXPECT_EQ(StreamHex(node), kFreshNode);

  node.firstInteger = 0x01020304;
  node.firstText = u"键";
  node.secondText = u"a";
  node.objects.Add(new rg_ZhengShuLei(7));
  node.secondInteger = -1;
  node.thirdInteger = 2;
  const std::string rgName = "72 00 67 00 5F 00 4F 00 6D 00 62 00 72 00 69 00 6E 00 65 00 5F 00 62 00 61 00 73 00 "
                             "65 00 3A 00 3A 00 72 00 67 00 5F 00 5A 00 68 00 65 00 6E 00 67 00 53 00 68 00 "
                             "75 00 4C 00 65 00 69 00 00 00";
  EXPECT_EQ(StreamHex(node),
            "04 03 02 01 "
            "04 00 00 00 2E 95 00 00 "
            "04 00 00 00 61 00 00 00 "
            "01 00 00 00 40 00 00 00 " + rgName + " 07 00 00 00 "
            "FF FF FF FF 02 00 00 00");

  CQzuMemStream s;
  node.SaveToStream(s);
  s.Rewind();
  rg_TavelkinJSONJieDian loaded;
  loaded.LoadFromStream(s);
  EXPECT_EQ(s.GetError(), 0);
  EXPECT_EQ(loaded.firstInteger, 0x01020304);
  EXPECT_EQ(loaded.firstText, CWString(u"键"));
  EXPECT_EQ(loaded.secondText, CWString(u"a"));
  ASSERT_EQ(loaded.objects.GetCount(), 1);
  EXPECT_EQ(static_cast<rg_ZhengShuLei*>(loaded.objects[0])->value, 7);
  EXPECT_EQ(loaded.secondInteger, -1);
  EXPECT_EQ(loaded.thirdInteger, 2);
}

TEST(JsonNode, CopiesCloneTheObjects) {
  rg_TavelkinJSONJieDian node;
  node.firstInteger = 3;
  node.secondText = u"值";
  node.objects.Add(new rg_ZhengShuLei(1));
  node.objects.Add(new rg_ZhengShuLei(2));

  rg_TavelkinJSONJieDian copy;
  copy.objects.Add(new rg_ZhengShuLei(99));
  ASSERT_EQ(copy.CopyFrom(node), 1);
  CQzuObject* cloned = node.Clone();
  ASSERT_NE(cloned, nullptr);
  rg_TavelkinJSONJieDian constructed(node);
  const rg_TavelkinJSONJieDian* copies[] = {&copy, static_cast<const rg_TavelkinJSONJieDian*>(cloned), &constructed};
  for (const rg_TavelkinJSONJieDian* c : copies) {
    EXPECT_EQ(c->firstInteger, 3);
    EXPECT_EQ(c->secondText, CWString(u"值"));
    ASSERT_EQ(c->objects.GetCount(), 2);
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_NE(c->objects[i], node.objects[i]);  // a clone, not the same object
      EXPECT_EQ(static_cast<rg_ZhengShuLei*>(c->objects[i])->value, static_cast<int>(i) + 1);
    }
  }
  static_cast<rg_ZhengShuLei*>(copy.objects[0])->value = 50;
  EXPECT_EQ(static_cast<rg_ZhengShuLei*>(node.objects[0])->value, 1);
  cloned->Release();

  // equal only to itself, even with the same values
  EXPECT_TRUE(node.IsEqual(node));
  EXPECT_FALSE(node.IsEqual(constructed));
  rg_TavelkinJSONJieDian a, b;
  EXPECT_FALSE(a.IsEqual(b));

  node.Reset();
  EXPECT_EQ(node.firstInteger, 0);
  EXPECT_TRUE(node.secondText.IsEmpty());
  EXPECT_EQ(node.objects.GetCount(), 0);
}

std::string FreshDocument() {
  return std::string("00 00 00 00 ")  // character array
         + "02 00 00 00 00 00 "       // first text
         + kFreshNode + " "           // root node; the file object writes nothing
         + "00 00 00 00 00 00 00 00 "  // 64-bit value
         + "00 00 00 00 "             // first integer
         + "00 00 00 00 "             // first buffer
         + "00 28 00 00 "             // size value 10240
         + "00 00 00 00 "             // second integer
         + "00 00 00 00 "             // second buffer
         + "00 00 00 00 "             // third integer
         + "02 00 00 00 00 00 "       // second text
         + "00 00 00 00";             // fourth integer
}

TEST(JsonDocument, DefaultsAndStreamForm) {
  rg_TavelkinJSONLei doc;
  EXPECT_EQ(doc.sizeValue, 10240);
  EXPECT_EQ(doc.firstBuffer.GetGrowStep(), 64u);
  EXPECT_EQ(doc.secondBuffer.GetGrowStep(), 64u);
  EXPECT_FALSE(doc.fileObject.IsOpen());
  EXPECT_EQ(doc.value64, 0);
  EXPECT_STREQ(doc.GetClassInfo().name, "rg_TavelkinJSON_package::rg_TavelkinJSONLei");
  EXPECT_EQ(StreamHex(doc), FreshDocument());

  doc.characters.Add('x');
  doc.firstText = u"t";
  doc.rootNode.firstInteger = 5;
  doc.value64 = 0x0102030405060708LL;
  doc.firstInteger = 6;
  doc.firstBuffer.Assign("\xAB\xCD", 2);
  doc.sizeValue = 7;
  doc.secondInteger = 8;
  doc.secondBuffer.AppendByte(0xEF);
  doc.thirdInteger = 9;
  doc.secondText = u"末";
  doc.fourthInteger = -2;
  EXPECT_EQ(StreamHex(doc),
            "01 00 00 00 78 "
            "04 00 00 00 74 00 00 00 "
            "05 00 00 00 02 00 00 00 00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "08 07 06 05 04 03 02 01 "
            "06 00 00 00 "
            "02 00 00 00 AB CD "
            "07 00 00 00 "
            "08 00 00 00 "
            "01 00 00 00 EF "
            "09 00 00 00 "
            "04 00 00 00 2B 67 00 00 "
            "FE FF FF FF");

  CQzuMemStream s;
  doc.SaveToStream(s);
  s.Rewind();
  rg_TavelkinJSONLei loaded;
  loaded.LoadFromStream(s);
  EXPECT_EQ(s.GetError(), 0);
  EXPECT_EQ(StreamHex(loaded), StreamHex(doc));
  EXPECT_EQ(loaded.secondText, CWString(u"末"));
  EXPECT_EQ(loaded.value64, 0x0102030405060708LL);
}

TEST(JsonDocument, SizeValueSurvivesCopyCloneStreamAndReset) {
  rg_TavelkinJSONLei doc;
  rg_TavelkinJSONLei copy;
  copy.sizeValue = 1;
  ASSERT_EQ(copy.CopyFrom(doc), 1);
  EXPECT_EQ(copy.sizeValue, 10240);

  CQzuObject* clone = doc.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(static_cast<rg_TavelkinJSONLei*>(clone)->sizeValue, 10240);
  clone->Release();

  CQzuMemStream s;
  doc.SaveToStream(s);
  s.Rewind();
  rg_TavelkinJSONLei loaded;
  loaded.sizeValue = 3;
  loaded.LoadFromStream(s);
  EXPECT_EQ(loaded.sizeValue, 10240);

  loaded.sizeValue = 3;
  loaded.firstBuffer.Assign("abc", 3);
  loaded.rootNode.objects.Add(new rg_ZhengShuLei(1));
  loaded.Reset();
  EXPECT_EQ(loaded.sizeValue, 10240);
  EXPECT_TRUE(loaded.firstBuffer.IsEmpty());
  EXPECT_EQ(loaded.rootNode.objects.GetCount(), 0);
}

TEST(JsonDocument, CopiesShareTheFileObject) {
  rg_TavelkinJSONLei doc;
  doc.rootNode.objects.Add(new rg_ZhengShuLei(4));
  doc.firstBuffer.Assign("xy", 2);
  rg_Ombrine_base::CQzuFileHandle* handle = doc.fileObject.Handle();
  {
    rg_TavelkinJSONLei copy;
    CQzuRef<rg_Ombrine_base::CQzuFileHandle> own =
        CQzuRef<rg_Ombrine_base::CQzuFileHandle>::Share(copy.fileObject.Handle());
    rg_TavelkinJSON_package::CopyJsonDocumentFields(copy, doc);
    EXPECT_EQ(copy.fileObject.Handle(), handle);
    EXPECT_EQ(handle->RefCount(), 2);
    EXPECT_EQ(own->RefCount(), 1);  // the copy let go of its own holder
    EXPECT_NE(copy.rootNode.objects[0], doc.rootNode.objects[0]);
    EXPECT_TRUE(copy.firstBuffer == doc.firstBuffer);
    rg_TavelkinJSONLei constructed(doc);
    EXPECT_EQ(constructed.fileObject.Handle(), handle);
    EXPECT_EQ(handle->RefCount(), 3);
    EXPECT_FALSE(doc.IsEqual(copy));
    EXPECT_TRUE(doc.IsEqual(doc));
  }
  EXPECT_EQ(handle->RefCount(), 1);
  rg_TavelkinJSONJieDian node;
  EXPECT_EQ(doc.CopyFrom(node), 0);
}

TEST(JsonDocument, ShortReadStopsAndKeepsTheError) {
  rg_TavelkinJSONLei doc;
  doc.firstText = u"abc";
  doc.value64 = 9;
  doc.fourthInteger = 4;
  CQzuMemStream s;
  doc.SaveToStream(s);
  // Cut inside the 64-bit value: what came before is loaded, the rest keeps its defaults.
  const size_t cut = 4 + 12 + 30 + 3;
  CQzuMemStream partial(s.Buffer().GetData(), cut);
  rg_TavelkinJSONLei loaded;
  loaded.LoadFromStream(partial);
  EXPECT_EQ(partial.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(loaded.firstText, CWString(u"abc"));
  EXPECT_EQ(loaded.value64, 0);
  EXPECT_EQ(loaded.sizeValue, 10240);
  EXPECT_EQ(loaded.fourthInteger, 0);
}

}  // namespace
