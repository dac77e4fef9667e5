// Dynamic calls into the C library loaded by name, and the quiet failure of a
// missing library or function.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>

#include "services/dynamic_call.h"

using rg_TavelkinMingLingJi_API::rg_class_DongTaiDiaoYongDLL;

namespace {

constexpr char16_t kLibc[] = u"libc.so.6";

TEST(DynamicCallTest, CallsIntoTheCLibraryWithTheGivenArguments) {
  rg_class_DongTaiDiaoYongDLL call;
  call.LoadDll(kLibc);
  ASSERT_NE(call.GetModule(), nullptr);

  call.GetDllProc(u"strlen", 1);
  ASSERT_NE(call.GetProcedure(), nullptr);
  EXPECT_EQ(call.CallDllProc(reinterpret_cast<intptr_t>("hello, 世界")), static_cast<intptr_t>(std::strlen("hello, 世界")));

  call.GetDllProc(u"getpid", 0);
  EXPECT_EQ(static_cast<int32_t>(call.CallDllProc(111, 222)), static_cast<int32_t>(::getpid()));

  // Three arguments reach the callee in order: memset(buffer, 'z', 3).
  char buffer[6] = "abcde";
  call.GetDllProc(u"memset", 3);
  EXPECT_EQ(call.CallDllProc(reinterpret_cast<intptr_t>(buffer), 'z', 3, 99, 99), reinterpret_cast<intptr_t>(buffer));
  EXPECT_STREQ(buffer, "zzzde");

  // A count outside 0 to 5 calls nothing.
  call.GetDllProc(u"memset", 6);
  EXPECT_EQ(call.CallDllProc(reinterpret_cast<intptr_t>(buffer), 'q', 5), 0);
  EXPECT_STREQ(buffer, "zzzde");

  call.FreeDll();
  EXPECT_EQ(call.GetModule(), nullptr);
  EXPECT_EQ(call.CallDllProc(), 0);
}

TEST(DynamicCallTest, MissingLibraryOrFunctionGivesZeroWithoutACall) {
  rg_class_DongTaiDiaoYongDLL missingLibrary;
  missingLibrary.LoadDll(u"libno-such-library-here.so");
  EXPECT_EQ(missingLibrary.GetModule(), nullptr);
  EXPECT_EQ(missingLibrary.GetDllName(), CWString(u"libno-such-library-here.so"));
  // Not looked up in the rest of the process either.
  missingLibrary.GetDllProc(u"strlen", 1);
  EXPECT_EQ(missingLibrary.GetProcedure(), nullptr);
  EXPECT_EQ(missingLibrary.CallDllProc(reinterpret_cast<intptr_t>("abc")), 0);

  rg_class_DongTaiDiaoYongDLL missingFunction;
  missingFunction.LoadDll(kLibc);
  missingFunction.GetDllProc(u"no_such_function_in_libc", 0);
  EXPECT_EQ(missingFunction.GetProcedure(), nullptr);
  EXPECT_EQ(missingFunction.CallDllProc(), 0);
  missingFunction.FreeDll();

  rg_class_DongTaiDiaoYongDLL fresh;
  EXPECT_EQ(fresh.CallDllProc(1, 2, 3, 4, 5), 0);
}

TEST(DynamicCallTest, SecondLoadKeepsTheFirstLibrary) {
  rg_class_DongTaiDiaoYongDLL call;
  call.LoadDll(kLibc);
  void* module = call.GetModule();
  ASSERT_NE(module, nullptr);
  call.LoadDll(u"libm.so.6");
  EXPECT_EQ(call.GetModule(), module);
  EXPECT_EQ(call.GetDllName(), CWString(kLibc));

  rg_class_DongTaiDiaoYongDLL copy(call);
  EXPECT_TRUE(copy.IsEqual(call));
  EXPECT_EQ(copy.GetModule(), module);
  call.FreeDll();
}

TEST(DynamicCallTest, StreamFormCarriesNamesButNoHandles) {
  rg_class_DongTaiDiaoYongDLL call;
  call.LoadDll(kLibc);
  call.GetDllProc(u"strlen", 1);
  call.spareText = u"备用";
  CQzuMemStream stream;
  call.SaveToStream(stream);
  stream.Rewind();
  rg_class_DongTaiDiaoYongDLL loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_EQ(loaded.GetDllName(), CWString(kLibc));
  EXPECT_EQ(loaded.spareText, CWString(u"备用"));
  EXPECT_EQ(loaded.GetArgumentCount(), 1);
  EXPECT_EQ(loaded.GetProcedure(), nullptr);
  EXPECT_EQ(loaded.CallDllProc(reinterpret_cast<intptr_t>("x")), 0);
  call.FreeDll();
}

}  // namespace
