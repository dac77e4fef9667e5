// The regular expression object and the expression it holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "services/regexp_instance.h"
#include "services/regexp_object.h"
#include "test_support.h"

using qzu_test::StreamHex;
using rg_Tavelkin_MingLingJi::rg_TavelkinZhengZeBiaoDaShiLei;

namespace {

std::vector<std::u16string> Values(const std::vector<CQzuRegExpMatch>& matches) {
  std::vector<std::u16string> out;
  for (const CQzuRegExpMatch& m : matches) out.push_back(m.value.Str());
  return out;
}

// Makes CreateComObject fail for "VBScript.RegExp" while it lives.
struct NoRegExpClass {
  NoRegExpClass() { RegisterComClass(u"VBScript.RegExp", []() { return CQzuRef<CQzuComInstance>(); }); }
  ~NoRegExpClass() { RegisterComClass(u"VBScript.RegExp", nullptr); }
};

TEST(RegExpObject, Defaults) {
  rg_TavelkinZhengZeBiaoDaShiLei re;
  EXPECT_TRUE(re.expressionObject.IsEmpty());
  EXPECT_TRUE(re.secondObject.IsEmpty());
  EXPECT_EQ(re.created, 0);
  EXPECT_STREQ(re.GetClassInfo().name, "rg_Tavelkin_MingLingJi::rg_TavelkinZhengZeBiaoDaShiLei");
  EXPECT_TRUE(re.IsKindOf(CQzuObject::StaticClassInfo()));
  EXPECT_EQ(StreamHex(re), "00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST(RegExpObject, CreateSetsTheThreeSwitchesAndThePattern) {
  for (const char16_t* pattern : {u"", u"中文\\w+"}) {
    rg_TavelkinZhengZeBiaoDaShiLei re;
    EXPECT_EQ(re.CreateRegExp(pattern), 1);
    EXPECT_EQ(re.created, 1);
    CQzuRegExpInstance* e = re.expressionObject.As<CQzuRegExpInstance>();
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->IgnoreCase());
    EXPECT_TRUE(e->Multiline());
    EXPECT_TRUE(e->Global());
    EXPECT_EQ(e->Pattern(), CWString(pattern));
    EXPECT_EQ(e->IsValid(), 1);
    EXPECT_TRUE(re.secondObject.IsEmpty());
  }
}

TEST(RegExpObject, HeldExpressionMatchesAsTheSwitchesSay) {
  struct Case {
    const char16_t* pattern;
    const char16_t* subject;
    std::vector<std::u16string> matches;
  } cases[] = {
      // ignore case, also beyond ASCII
      {u"abc", u"xABCx", {u"ABC"}},
      {u"straße", u"STRASSE Straße STRAẞE", {u"Straße", u"STRAẞE"}},
      {u"ÄÖ", u"äö", {u"äö"}},
      // global: every match, left to right
      {u"中文[a-z]+", u"中文Abc 中文xYZ\r\n中文q", {u"中文Abc", u"中文xYZ", u"中文q"}},
      // multi-line: ^ and $ at each line of CR LF, LF and CR text
      {u"^世界\\w*$", u"你好\r\n世界Hello\r\n世界", {u"世界Hello", u"世界"}},
      {u"^.", u"甲\n乙\r丙", {u"甲", u"乙", u"丙"}},
      {u"[一-龥]+", u"你好\r\nworld\r\n世界", {u"你好", u"世界"}},
      // "." stays inside a line
      {u"好.世", u"你好\r\n世界", {}},
      // characters outside the BMP are one character
      {u"^.$", u"😀", {u"😀"}},
      // empty matches advance one character at a time, never inside a pair
      {u"", u"中😀", {u"", u"", u""}},
  };
  for (const Case& c : cases) {
    rg_TavelkinZhengZeBiaoDaShiLei re;
    ASSERT_EQ(re.CreateRegExp(c.pattern), 1);
    CQzuRegExpInstance* e = re.expressionObject.As<CQzuRegExpInstance>();
    const std::vector<CQzuRegExpMatch> found = e->Execute(c.subject);
    EXPECT_EQ(Values(found), c.matches) << CWString(c.pattern).ToUtf8() << " / " << CWString(c.subject).ToUtf8();
    EXPECT_EQ(e->Test(c.subject), c.matches.empty() ? 0 : 1) << CWString(c.pattern).ToUtf8();
  }
}

TEST(RegExpObject, MatchPositionsAreCodeUnits) {
  rg_TavelkinZhengZeBiaoDaShiLei re;
  ASSERT_EQ(re.CreateRegExp(u"B+"), 1);
  const std::vector<CQzuRegExpMatch> found =
      re.expressionObject.As<CQzuRegExpInstance>()->Execute(u"😀中bB\r\nb");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].index, 3);
  EXPECT_EQ(found[0].length, 2);
  EXPECT_EQ(found[1].index, 7);
  EXPECT_EQ(found[1].length, 1);
}

TEST(RegExpObject, SwitchesOffBehaveAsPlainMatching) {
  CQzuRef<CQzuComInstance> keep = MakeRegExpInstance();
  CQzuRegExpInstance* e = static_cast<CQzuRegExpInstance*>(keep.Get());
  e->SetPattern(u"^ab$");
  EXPECT_EQ(e->Test(u"x\nab"), 0);   // not multi-line
  e->SetMultiline(true);
  EXPECT_EQ(e->Test(u"x\nab"), 1);
  EXPECT_EQ(e->Test(u"x\nAB"), 0);   // case counts
  e->SetIgnoreCase(true);
  EXPECT_EQ(e->Test(u"x\nAB"), 1);
  EXPECT_EQ(e->Execute(u"ab\nAB").size(), 1u);  // not global: the first only
  e->SetGlobal(true);
  EXPECT_EQ(e->Execute(u"ab\nAB").size(), 2u);
}

TEST(RegExpObject, BadPatternAndBadSubjectGiveClearResults) {
  rg_TavelkinZhengZeBiaoDaShiLei re;
  ASSERT_EQ(re.CreateRegExp(u"(中"), 1);  // made; the pattern is only compiled on use
  CQzuRegExpInstance* e = re.expressionObject.As<CQzuRegExpInstance>();
  EXPECT_EQ(e->IsValid(), 0);
  EXPECT_EQ(e->Test(u"(中"), 0);
  EXPECT_TRUE(e->Execute(u"(中").empty());

  e->SetPattern(u"b");
  EXPECT_EQ(e->IsValid(), 1);
  const char16_t loneSurrogate[] = {u'a', 0xD800, u'b', 0xDC00, u'B', 0};
  EXPECT_EQ(Values(e->Execute(loneSurrogate)), (std::vector<std::u16string>{u"b", u"B"}));
  const char16_t withNul[] = {u'a', 0, u'b'};
  EXPECT_EQ(e->Test(CWString(withNul, 3)), 1);  // a zero unit is data, not the end
}

TEST(RegExpObject, GlobalMatchesOnRandomTextStayInOrderAndInBounds) {
  // Empty and non-empty matches over text with line breaks, CJK, pairs and
  // lone surrogates: the walk must end, and matches never overlap or split a
  // surrogate pair.
  const char16_t alphabet[] = {u'a', u'A', u'\r', u'\n', u'中', u'文', 0xD83D, 0xDE00, 0xDC00, 0, u' '};
  const char16_t* patterns[] = {u"", u"a*", u"^", u"$", u"(?=a)", u"\\b", u"文?", u"^.*$", u"[^a]"};
  std::srand(12345);
  for (const char16_t* pattern : patterns) {
    rg_TavelkinZhengZeBiaoDaShiLei re;
    ASSERT_EQ(re.CreateRegExp(pattern), 1);
    CQzuRegExpInstance* e = re.expressionObject.As<CQzuRegExpInstance>();
    for (int round = 0; round < 200; ++round) {
      std::u16string subject;
      const int length = std::rand() % 12;
      for (int i = 0; i < length; ++i) subject += alphabet[std::rand() % (sizeof(alphabet) / sizeof(alphabet[0]))];
      const std::vector<CQzuRegExpMatch> found = e->Execute(subject);
      ASSERT_LE(found.size(), subject.size() + 1);
      int end = 0;
      const CQzuRegExpMatch* previous = nullptr;
      for (const CQzuRegExpMatch& m : found) {
        ASSERT_GE(m.index, end);
        ASSERT_LE(m.index + m.length, static_cast<int>(subject.size()));
        if (previous && previous->length == 0 && m.length == 0) {
          ASSERT_GT(m.index, previous->index);
        }
        if (m.index > 0 && m.index < static_cast<int>(subject.size())) {
          ASSERT_FALSE(subject[m.index - 1] >= 0xD800 && subject[m.index - 1] <= 0xDBFF && subject[m.index] >= 0xDC00 &&
                       subject[m.index] <= 0xDFFF);
        }
        end = m.index + m.length;
        previous = &m;
      }
    }
  }
}

TEST(RegExpObject, CopiesShareTheExpression) {
  rg_TavelkinZhengZeBiaoDaShiLei re;
  ASSERT_EQ(re.CreateRegExp(u"a"), 1);
  CQzuComInstance* instance = re.expressionObject.Get();
  {
    rg_TavelkinZhengZeBiaoDaShiLei copy;
    EXPECT_EQ(copy.CopyFrom(re), 1);
    EXPECT_EQ(copy.expressionObject.Get(), instance);
    EXPECT_EQ(copy.created, 1);
    EXPECT_EQ(instance->RefCount(), 2);
    CQzuObject* clone = re.Clone();
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(static_cast<rg_TavelkinZhengZeBiaoDaShiLei*>(clone)->expressionObject.Get(), instance);
    EXPECT_EQ(instance->RefCount(), 3);
    clone->Release();
    rg_TavelkinZhengZeBiaoDaShiLei constructed(re);
    EXPECT_EQ(instance->RefCount(), 3);
    // equal only to itself
    EXPECT_TRUE(re.IsEqual(re));
    EXPECT_FALSE(re.IsEqual(copy));
  }
  EXPECT_EQ(instance->RefCount(), 1);
  CQzuComObject other;
  EXPECT_EQ(re.CopyFrom(other), 0);  // another class is refused
}

TEST(RegExpObject, RecreateReplacesAndResetEmpties) {
  rg_TavelkinZhengZeBiaoDaShiLei re;
  ASSERT_EQ(re.CreateRegExp(u"a"), 1);
  CQzuRef<CQzuComInstance> first = CQzuRef<CQzuComInstance>::Share(re.expressionObject.Get());
  ASSERT_EQ(re.CreateRegExp(u"b"), 1);
  EXPECT_NE(re.expressionObject.Get(), first.Get());
  EXPECT_EQ(first->RefCount(), 1);
  EXPECT_EQ(static_cast<CQzuRegExpInstance*>(first.Get())->Pattern(), CWString(u"a"));

  CQzuRef<CQzuComInstance> second = CQzuRef<CQzuComInstance>::Share(re.expressionObject.Get());
  re.Reset();
  EXPECT_TRUE(re.expressionObject.IsEmpty());
  EXPECT_TRUE(re.secondObject.IsEmpty());
  EXPECT_EQ(re.created, 0);
  EXPECT_EQ(second->RefCount(), 1);
}

TEST(RegExpObject, WithoutTheClassCreateFails) {
  NoRegExpClass missing;
  rg_TavelkinZhengZeBiaoDaShiLei fresh;
  fresh.created = 1;
  EXPECT_EQ(fresh.CreateRegExp(u"a"), 0);
  EXPECT_EQ(fresh.created, 0);
  EXPECT_TRUE(fresh.expressionObject.IsEmpty());
  EXPECT_NE(fresh.expressionObject.errorCode, 0);  // the settings found nothing to set
}

TEST(RegExpObject, FailedCreateSetsTheEarlierExpression) {
  rg_TavelkinZhengZeBiaoDaShiLei re;
  ASSERT_EQ(re.CreateRegExp(u"old"), 1);
  CQzuRegExpInstance* earlier = re.expressionObject.As<CQzuRegExpInstance>();
  NoRegExpClass missing;
  EXPECT_EQ(re.CreateRegExp(u"new"), 0);
  EXPECT_EQ(re.created, 0);
  EXPECT_EQ(re.expressionObject.As<CQzuRegExpInstance>(), earlier);
  EXPECT_EQ(earlier->Pattern(), CWString(u"new"));
  EXPECT_EQ(earlier->Test(u"NEW"), 1);
}

TEST(RegExpObject, StreamForm) {
  rg_TavelkinZhengZeBiaoDaShiLei re;
  ASSERT_EQ(re.CreateRegExp(u"a"), 1);
  re.secondObject.errorCode = 2;
  EXPECT_EQ(StreamHex(re), "00 00 00 00 02 00 00 00 01 00 00 00");

  CQzuMemStream s;
  re.SaveToStream(s);
  s.Rewind();
  rg_TavelkinZhengZeBiaoDaShiLei loaded;
  loaded.LoadFromStream(s);
  EXPECT_EQ(s.GetError(), 0);
  EXPECT_EQ(loaded.created, 1);
  EXPECT_EQ(loaded.secondObject.errorCode, 2);
  EXPECT_TRUE(loaded.expressionObject.IsEmpty());

  CQzuMemStream cut(s.Buffer().GetData(), 10);
  rg_TavelkinZhengZeBiaoDaShiLei partial;
  partial.LoadFromStream(cut);
  EXPECT_EQ(cut.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(partial.created, 0);
}

}  // namespace
