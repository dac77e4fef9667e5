// The URL redirect object: one request made at construction, shared by copies.
#include <gtest/gtest.h>

#include "services/http_request.h"
#include "services/url_redirect.h"
#include "test_support.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinWangZhiChongDingXiangLei;

namespace {

struct CountedRequest : CQzuComInstance {
  static inline int made = 0;
  static inline int live = 0;
  CountedRequest() { ++made; ++live; }

 protected:
  ~CountedRequest() override { --live; }
};

// Counts the request instances made while it lives.
class UrlRedirect : public ::testing::Test {
 protected:
  void SetUp() override {
    CountedRequest::made = 0;
    CountedRequest::live = 0;
    RegisterComClass(u"WinHttp.WinHttpRequest.5.1",
                     []() { return CQzuRef<CQzuComInstance>::Adopt(new CountedRequest()); });
  }
  void TearDown() override { RegisterComClass(u"WinHttp.WinHttpRequest.5.1", nullptr); }
};

TEST(UrlRedirectBuiltIn, ConstructionHoldsARequest) {
  rg_TavelkinWangZhiChongDingXiangLei redirect;
  EXPECT_NE(redirect.requestObject.As<CQzuHttpRequestInstance>(), nullptr);
  EXPECT_STREQ(redirect.GetClassInfo().name, "rg_Tavelkin_MingLingJi::rg_TavelkinWangZhiChongDingXiangLei");
}

TEST_F(UrlRedirect, ConstructResetAndCloneEachMakeOneRequest) {
  rg_TavelkinWangZhiChongDingXiangLei redirect;
  EXPECT_EQ(CountedRequest::made, 1);
  CQzuComInstance* first = redirect.requestObject.Get();
  ASSERT_NE(first, nullptr);

  CQzuObject* clone = redirect.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(CountedRequest::made, 2);
  EXPECT_EQ(CountedRequest::live, 1);  // the clone's own request was let go
  EXPECT_EQ(static_cast<rg_TavelkinWangZhiChongDingXiangLei*>(clone)->requestObject.Get(), first);
  EXPECT_EQ(first->RefCount(), 2);
  clone->Release();
  EXPECT_EQ(first->RefCount(), 1);

  redirect.Reset();
  EXPECT_EQ(CountedRequest::made, 3);
  EXPECT_EQ(CountedRequest::live, 1);  // the old one is gone, the new one held
  EXPECT_NE(redirect.requestObject.Get(), nullptr);
}

TEST_F(UrlRedirect, CopiesShareWithoutMaking) {
  rg_TavelkinWangZhiChongDingXiangLei redirect;
  CQzuComInstance* request = redirect.requestObject.Get();
  {
    rg_TavelkinWangZhiChongDingXiangLei copy(redirect);
    EXPECT_EQ(CountedRequest::made, 1);
    EXPECT_EQ(copy.requestObject.Get(), request);
    EXPECT_EQ(request->RefCount(), 2);
    rg_TavelkinWangZhiChongDingXiangLei other;  // makes its own, then gives it up
    EXPECT_EQ(other.CopyFrom(redirect), 1);
    EXPECT_EQ(CountedRequest::live, 1);
    EXPECT_EQ(request->RefCount(), 3);
    EXPECT_TRUE(redirect.IsEqual(redirect));
    EXPECT_FALSE(redirect.IsEqual(copy));
  }
  EXPECT_EQ(request->RefCount(), 1);
}

TEST_F(UrlRedirect, FailedMakeLeavesTheHolderEmpty) {
  RegisterComClass(u"WinHttp.WinHttpRequest.5.1", []() { return CQzuRef<CQzuComInstance>(); });
  rg_TavelkinWangZhiChongDingXiangLei redirect;
  EXPECT_TRUE(redirect.requestObject.IsEmpty());
}

TEST_F(UrlRedirect, StreamFormIsTheRequestHolders) {
  rg_TavelkinWangZhiChongDingXiangLei redirect;
  CQzuMemStream s;
  redirect.SaveToStream(s);
  EXPECT_EQ(qzu_test::ToHex(s.Buffer().GetData(), s.Buffer().GetSize()), "00 00 00 00");
  s.Rewind();
  rg_TavelkinWangZhiChongDingXiangLei loaded;
  CQzuComInstance* own = loaded.requestObject.Get();
  loaded.LoadFromStream(s);
  EXPECT_EQ(s.GetError(), 0);
  EXPECT_EQ(loaded.requestObject.Get(), own);
}

}  // namespace
