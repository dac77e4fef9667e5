// The shared automation holder and making instances by program id.
#include <gtest/gtest.h>

#include "services/com_object.h"
#include "services/http_request.h"
#include "services/regexp_instance.h"
#include "test_support.h"

using qzu_test::StreamHex;

namespace {

TEST(ComObject, CreateByProgramId) {
  struct Case {
    const char16_t* id;
    int result;
  } cases[] = {
      {u"VBScript.RegExp", 1},
      {u" \t\r\nvbscript.REGEXP", 1},  // leading blanks skipped, case ignored
      {u"WinHttp.WinHttpRequest.5.1", 1},
      {u"", 0},
      {u"   ", 0},
      {u"VBScript.RegExp ", 0},  // only leading blanks are skipped
      {u"No.Such.Class", 0},
      {u"{3F4DACA4-160D-11D2-A8E9-00104B365C9F}", 0},  // no class ids on this system
  };
  for (const Case& c : cases) {
    CQzuComObject holder;
    EXPECT_EQ(CreateComObject(holder, c.id, CWString()), c.result) << CWString(c.id).ToUtf8();
    EXPECT_EQ(holder.IsEmpty(), c.result == 0) << CWString(c.id).ToUtf8();
  }
  CQzuComObject holder;
  ASSERT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  EXPECT_NE(holder.As<CQzuRegExpInstance>(), nullptr);
  EXPECT_EQ(holder.As<CQzuHttpRequestInstance>(), nullptr);
}

TEST(ComObject, FailedCreateLeavesHolderAsItWas) {
  CQzuComObject holder;
  ASSERT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  CQzuComInstance* before = holder.Get();
  EXPECT_EQ(CreateComObject(holder, u"No.Such.Class", CWString()), 0);
  EXPECT_EQ(holder.Get(), before);
  EXPECT_EQ(before->RefCount(), 1);
}

TEST(ComObject, CreateReleasesThePreviousInstance) {
  CQzuComObject holder;
  ASSERT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  CQzuRef<CQzuComInstance> old = CQzuRef<CQzuComInstance>::Share(holder.Get());
  ASSERT_EQ(old->RefCount(), 2);
  ASSERT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  EXPECT_NE(holder.Get(), old.Get());
  EXPECT_EQ(old->RefCount(), 1);
}

TEST(ComObject, CopiesShareOneInstance) {
  CQzuComObject holder;
  ASSERT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  CQzuComInstance* instance = holder.Get();
  {
    CQzuComObject copy(holder);
    EXPECT_EQ(copy.Get(), instance);
    EXPECT_EQ(instance->RefCount(), 2);
    CQzuComObject assigned;
    ASSERT_EQ(CreateComObject(assigned, u"VBScript.RegExp", CWString()), 1);
    CQzuRef<CQzuComInstance> replaced = CQzuRef<CQzuComInstance>::Share(assigned.Get());
    EXPECT_EQ(assigned.CopyFrom(holder), 1);
    EXPECT_EQ(assigned.Get(), instance);
    EXPECT_EQ(instance->RefCount(), 3);
    EXPECT_EQ(replaced->RefCount(), 1);  // the copy let go of its own
    CQzuObject* clone = holder.Clone();
    EXPECT_EQ(static_cast<CQzuComObject*>(clone)->Get(), instance);
    EXPECT_EQ(instance->RefCount(), 4);
    clone->Release();
  }
  EXPECT_EQ(instance->RefCount(), 1);
  holder.Reset();
  EXPECT_TRUE(holder.IsEmpty());
}

TEST(ComObject, EqualWhenHoldingTheSameInstance) {
  CQzuComObject a, b, empty1, empty2;
  ASSERT_EQ(CreateComObject(a, u"VBScript.RegExp", CWString()), 1);
  ASSERT_EQ(CreateComObject(b, u"VBScript.RegExp", CWString()), 1);
  CQzuComObject copy(a);
  EXPECT_TRUE(a.IsEqual(copy));
  EXPECT_FALSE(a.IsEqual(b));
  EXPECT_FALSE(a.IsEqual(empty1));
  EXPECT_TRUE(empty1.IsEqual(empty2));
  copy.SetHeaderWord(5);
  EXPECT_FALSE(a.IsEqual(copy));
}

TEST(ComObject, StreamFormIsTheErrorCode) {
  CQzuComObject holder;
  ASSERT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  holder.errorCode = -7;
  EXPECT_EQ(StreamHex(holder), "F9 FF FF FF");
  CQzuMemStream s;
  holder.SaveToStream(s);
  s.Rewind();
  CQzuComObject loaded;
  loaded.LoadFromStream(s);
  EXPECT_EQ(loaded.errorCode, -7);
  EXPECT_TRUE(loaded.IsEmpty());  // an instance never travels in a stream

  CQzuMemStream shortStream(qzu_test::Hex("01 02").data(), 2);
  loaded.LoadFromStream(shortStream);
  EXPECT_EQ(shortStream.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(loaded.errorCode, -7);
}

class CountedInstance : public CQzuComInstance {};

TEST(ComObject, RegisteredMakerOverridesAndRemovalRestoresBuiltIn) {
  int made = 0;
  RegisterComClass(u"vbscript.regexp", [&made]() {
    ++made;
    return CQzuRef<CQzuComInstance>::Adopt(new CountedInstance());
  });
  CQzuComObject holder;
  EXPECT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  EXPECT_EQ(made, 1);
  EXPECT_NE(holder.As<CountedInstance>(), nullptr);

  RegisterComClass(u"VBScript.RegExp", []() { return CQzuRef<CQzuComInstance>(); });  // a maker that fails
  EXPECT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 0);
  EXPECT_NE(holder.As<CountedInstance>(), nullptr);

  RegisterComClass(u"VBScript.RegExp", nullptr);
  EXPECT_EQ(CreateComObject(holder, u"VBScript.RegExp", CWString()), 1);
  EXPECT_NE(holder.As<CQzuRegExpInstance>(), nullptr);

  RegisterComClass(u"Word.Application", []() { return CQzuRef<CQzuComInstance>::Adopt(new CountedInstance()); });
  EXPECT_EQ(CreateComObject(holder, u"Word.Application", CWString()), 1);
  RegisterComClass(u"Word.Application", nullptr);
  EXPECT_EQ(CreateComObject(holder, u"Word.Application", CWString()), 0);
}

}  // namespace
