// Removing duplicate lines: every mode and option against tables of cases,
// plain containers and a straightforward reading of the rules.
#include "textlib/line_dedupe.h"

#include <gtest/gtest.h>

#include "textlib/dedupe_key_table.h"

#include <map>
#include <random>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

struct DedupeCase {
  const char* name;
  std::u16string input;
  std::u16string separator;
  int32_t mode;
  std::u16string fieldSeparator;
  int32_t fieldNumber;
  int32_t trim;
  int32_t skipEmpty;
  std::u16string want;
  int32_t wantCount;
};

void RunCases(const std::vector<DedupeCase>& cases) {
  for (const DedupeCase& c : cases) {
    CWString text(c.input);
    CWString separator(c.separator);
    rg_Ombrine_base::rg_ZhengShuLei counter(100);
    DedupeLines(text, separator, c.mode, CWString(c.fieldSeparator), c.fieldNumber, c.trim, c.skipEmpty, counter);
    EXPECT_EQ(text.Str(), c.want) << c.name;
    EXPECT_EQ(counter.value, 100 + c.wantCount) << c.name;  // grows, never reset
  }
}

TEST(DedupeLines, ModesByWholeLine) {
  const std::u16string aba = u"a\r\nb\r\na";
  const std::u16string many = u"x\r\ny\r\nx\r\nz\r\ny\r\nx\r\nw";
  RunCases({
      {"mode 0 first of each", aba, u"", kDedupeKeepFirst, u"", 0, 0, 0, u"a\r\nb", 2},
      {"mode 1 only once", aba, u"", kDedupeKeepUnique, u"", 0, 0, 0, u"b", 1},
      {"mode 2 second occurrence", aba, u"", kDedupeKeepSecond, u"", 0, 0, 0, u"a", 1},
      {"mode 3 ordered first", aba, u"", 3, u"", 0, 0, 0, u"a\r\nb", 2},
      {"mode -1 ordered first", aba, u"", -1, u"", 0, 0, 0, u"a\r\nb", 2},
      {"mode 0 many", many, u"", kDedupeKeepFirst, u"", 0, 0, 0, u"x\r\ny\r\nz\r\nw", 4},
      {"mode 1 many in input order", many, u"", kDedupeKeepUnique, u"", 0, 0, 0, u"z\r\nw", 2},
      // Each repeated key once, at the place of its second record.
      {"mode 2 many at second record", many, u"", kDedupeKeepSecond, u"", 0, 0, 0, u"x\r\ny", 2},
      {"mode 2 order of second records", u"p\nq\nq\np\np", u"", kDedupeKeepSecond, u"", 0, 0, 0, u"q\r\np", 2},
      {"no repeats mode 2", u"a\nb", u"", kDedupeKeepSecond, u"", 0, 0, 0, u"", 0},
      {"empty input", u"", u"", kDedupeKeepFirst, u"", 0, 1, 1, u"", 0},
      {"empty input mode 1", u"", u"", kDedupeKeepUnique, u"", 0, 0, 0, u"", 0},
      {"case sensitive", u"A\na\nA", u"", kDedupeKeepFirst, u"", 0, 0, 0, u"A\r\na", 2},
      {"zero unit is data", std::u16string(u"a\0b\na\0c\na\0b", 11), u"", kDedupeKeepFirst, u"", 0, 0, 0,
       std::u16string(u"a\0b\r\na\0c", 8), 2},
  });
}

TEST(DedupeLines, RecordSeparators) {
  RunCases({
      {"comma literal", u"a,b,a,c", u",", kDedupeKeepFirst, u"", 0, 0, 0, u"a,b,c", 3},
      {"换行 means CR LF", u"a\r\na", u"换行", kDedupeKeepFirst, u"", 0, 0, 0, u"a", 1},
      {"typed \\r\\n", u"a\r\nb\r\na", u"\\r\\n", kDedupeKeepFirst, u"", 0, 0, 0, u"a\r\nb", 2},
      // CR LF detects the break: LF-only input is split at LF, output joined by CR LF.
      {"CR LF setting on LF input", u"a\nb\na", u"", kDedupeKeepFirst, u"", 0, 0, 0, u"a\r\nb", 2},
      {"CR LF setting on CR input", u"a\rb\ra", u"", kDedupeKeepFirst, u"", 0, 0, 0, u"a\r\nb", 2},
      {"real CR LF detects too", u"a\nb\na", u"\r\n", kDedupeKeepFirst, u"", 0, 0, 0, u"a\r\nb", 2},
      {"typed \\n keeps CR", u"a\r\nb\r\na\r\n", u"\\n", kDedupeKeepFirst, u"", 0, 0, 0, u"a\r\nb\r", 2},
      {"typed \\n trim removes CR", u"a\r\nb\r\na\r\n", u"\\n", kDedupeKeepFirst, u"", 0, 1, 0, u"a\nb", 2},
      {"typed \\r", u"a\rb\ra", u"\\r", kDedupeKeepFirst, u"", 0, 0, 0, u"a\rb", 2},
      {"separator not in input", u"a\nb\na", u";", kDedupeKeepFirst, u"", 0, 0, 0, u"a\nb\na", 1},
      {"multi-unit separator", u"x##y##x", u"##", kDedupeKeepFirst, u"", 0, 0, 0, u"x##y", 2},
      {"trailing separator no empty record", u"a,b,", u",", kDedupeKeepFirst, u"", 0, 0, 0, u"a,b", 2},
  });
}

TEST(DedupeLines, TypedSeparatorIsWrittenBack) {
  const std::vector<std::pair<std::u16string, std::u16string>> cases = {
      {u"", u"\r\n"}, {u"换行", u"\r\n"}, {u"\\r\\n", u"\r\n"}, {u"\\r", u"\r"},
      {u"\\n", u"\n"}, {u",", u","},      {u"\\t", u"\\t"},     {u"换行 ", u"换行 "},
  };
  for (const auto& [typed, want] : cases) {
    CWString text(u"a");
    CWString separator(typed);
    rg_Ombrine_base::rg_ZhengShuLei counter;
    DedupeLines(text, separator, kDedupeKeepFirst, CWString(), 0, 0, 0, counter);
    EXPECT_EQ(separator.Str(), want);
  }
}

TEST(DedupeLines, TrimAndSkipEmpty) {
  const std::u16string spaced = u" a\r\na\t\r\n\r\n  \r\nb\r\n\r\n";
  RunCases({
      {"trim makes duplicates", spaced, u"", kDedupeKeepFirst, u"", 0, 1, 1, u"a\r\nb", 2},
      // Without trimming " a" and "a\t" differ; empty lines collapse into one record.
      {"no trim no skip", spaced, u"", kDedupeKeepFirst, u"", 0, 0, 0, u" a\r\na\t\r\n\r\n  \r\nb", 5},
      {"skip without trim keeps blank-only", spaced, u"", kDedupeKeepFirst, u"", 0, 0, 1, u" a\r\na\t\r\n  \r\nb", 4},
      {"trim without skip keeps one empty", spaced, u"", kDedupeKeepFirst, u"", 0, 1, 0, u"a\r\n\r\nb", 3},
      {"several empty lines collapse", u"x\n\n\n\ny", u"", kDedupeKeepFirst, u"", 0, 0, 0, u"x\r\n\r\ny", 3},
      {"empty key counts in mode 1", u"x\n\ny\n\n", u"", kDedupeKeepUnique, u"", 0, 0, 0, u"x\r\ny", 2},
      {"nbsp and ideographic space stay", u"\u00A0a\na\n\u3000a\na ", u"", kDedupeKeepFirst, u"", 0, 1, 1,
       u"\u00A0a\r\na\r\n\u3000a", 3},
      {"trimmed record written, mode 2", u" k \nk", u"", kDedupeKeepSecond, u"", 0, 1, 1, u"k", 1},
      {"mode 1 second pass trims and skips", u" u \n\nv\nv", u"", kDedupeKeepUnique, u"", 0, 1, 1, u"u", 1},
  });
}

TEST(DedupeLines, KeyColumn) {
  RunCases({
      {"second field", u"x,1\ny,1\nz,2", u"", kDedupeKeepFirst, u",", 2, 0, 0, u"x,1\r\nz,2", 2},
      {"record without comma has empty key", u"a\nb\nc,1", u"", kDedupeKeepFirst, u",", 2, 0, 0, u"a\r\nc,1", 2},
      {"field 0 gives empty key", u"a,1\nb,2", u"", kDedupeKeepFirst, u",", 0, 0, 0, u"a,1", 1},
      {"field beyond count gives empty key", u"a,1\nb,2", u"", kDedupeKeepFirst, u",", 3, 0, 0, u"a,1", 1},
      {"negative field", u"a,1\nb,2", u"", kDedupeKeepFirst, u",", -2, 0, 0, u"a,1", 1},
      {"first field", u"k,1\nk,2\nm,1", u"", kDedupeKeepFirst, u",", 1, 0, 0, u"k,1\r\nm,1", 2},
      {"empty fields are kept", u",,v\nq,,v\nq,w,v", u"", kDedupeKeepFirst, u",", 3, 0, 0, u",,v", 1},
      {"empty middle field", u"a,,1\nb,,2\nc,x,3", u"", kDedupeKeepFirst, u",", 2, 0, 0, u"a,,1\r\nc,x,3", 2},
      // "a," has one field: its second is the empty key, like "b".
      {"trailing separator opens no field", u"a,\nb\nc,d", u"", kDedupeKeepFirst, u",", 2, 0, 0, u"a,\r\nc,d", 2},
      {"field not trimmed", u"a, 1\nb,1", u"", kDedupeKeepFirst, u",", 2, 0, 0, u"a, 1\r\nb,1", 2},
      {"multi-unit field separator", u"a::1\nb::1\nc::2", u"", kDedupeKeepFirst, u"::", 2, 0, 0, u"a::1\r\nc::2", 2},
      {"mode 1 by column", u"a,1\nb,2\nc,1", u"", kDedupeKeepUnique, u",", 2, 0, 0, u"b,2", 1},
      {"mode 2 by column writes the record", u"a,1\nb,2\nc,1\nd,1", u"", kDedupeKeepSecond, u",", 2, 0, 0, u"c,1", 1},
      {"column with trim and custom records", u" a-1 ; b-1;c-2 ;", u";", kDedupeKeepFirst, u"-", 2, 1, 1, u"a-1;c-2",
       2},
  });
}

// A larger run checked against the plain containers, so that the table grows
// several times and equal hashes cannot hide a wrong comparison.
TEST(DedupeLines, LargeInputMatchesPlainContainers) {
  std::u16string input;
  std::vector<std::u16string> lines;
  uint32_t x = 7;
  for (int i = 0; i < 60000; ++i) {
    x = x * 1664525u + 1013904223u;
    std::u16string line = u"行";
    line += static_cast<char16_t>(u'a' + (x >> 28));
    line += u'-';
    for (char c : std::to_string((x >> 8) % 9000)) line += static_cast<char16_t>(c);
    lines.push_back(line);
    input += line + u"\n";
    if (i % 7 == 0) input += u" \t\n";  // blank records: trimmed, then skipped
  }
  std::map<std::u16string, int> occurrences;
  for (const auto& l : lines) ++occurrences[l];

  std::u16string want0, want1, want2;
  std::unordered_set<std::u16string> seen;
  std::map<std::u16string, int> sofar;
  const auto append = [](std::u16string& to, const std::u16string& line) {
    if (!to.empty()) to += u"\r\n";
    to += line;
  };
  for (const auto& l : lines) {
    if (seen.insert(l).second) append(want0, l);
    if (occurrences[l] == 1) append(want1, l);
    if (++sofar[l] == 2) append(want2, l);
  }
  ASSERT_FALSE(want1.empty());
  ASSERT_FALSE(want2.empty());
  const std::u16string* wants[] = {&want0, &want1, &want2};
  for (int32_t mode : {kDedupeKeepFirst, kDedupeKeepUnique, kDedupeKeepSecond}) {
    CWString text(input);
    CWString separator;
    rg_Ombrine_base::rg_ZhengShuLei counter;
    DedupeLines(text, separator, mode, CWString(), 0, 1, 1, counter);
    EXPECT_TRUE(text.Str() == *wants[mode]) << "mode " << mode;
  }
}

// Short random texts with every option, against a straightforward reading of
// the rules; the read-ahead must not change which records are written.
TEST(DedupeLines, RandomTextsMatchAStraightforwardReading) {
  std::mt19937 random(42);
  const std::u16string alphabet = u"ab, \t\n";
  for (int round = 0; round < 3000; ++round) {
    std::u16string input;
    const int length = static_cast<int>(random() % 60);
    for (int i = 0; i < length; ++i) input += alphabet[random() % alphabet.size()];
    const int32_t mode = static_cast<int32_t>(random() % 4);
    const int32_t trim = static_cast<int32_t>(random() % 2);
    const int32_t skip = static_cast<int32_t>(random() % 2);
    const bool byField = random() % 2 == 0;
    const int32_t field = static_cast<int32_t>(random() % 4);

    std::vector<std::u16string> records;
    size_t start = 0;
    while (start < input.size()) {
      size_t end = input.find(u'\n', start);
      if (end == std::u16string::npos) end = input.size();
      records.push_back(input.substr(start, end - start));
      start = end + 1;
    }
    std::vector<std::pair<std::u16string, std::u16string>> kept;  // record, key
    for (std::u16string r : records) {
      if (trim) {
        while (!r.empty() && r.front() <= 32) r.erase(r.begin());
        while (!r.empty() && r.back() <= 32) r.pop_back();
      }
      if (skip && r.empty()) continue;
      std::u16string key = r;
      if (byField) {
        std::vector<std::u16string> fields;
        size_t p = 0;
        while (p < r.size()) {
          size_t e = r.find(u',', p);
          if (e == std::u16string::npos) e = r.size();
          fields.push_back(r.substr(p, e - p));
          p = e + 1;
        }
        key = field >= 1 && field <= static_cast<int32_t>(fields.size()) ? fields[field - 1] : u"";
      }
      kept.emplace_back(r, key);
    }
    std::map<std::u16string, int> total, sofar;
    for (const auto& k : kept) ++total[k.second];
    std::u16string want;
    int wantCount = 0;
    for (const auto& [record, key] : kept) {
      const int n = ++sofar[key];
      const bool write = mode == kDedupeKeepUnique ? total[key] == 1 : mode == kDedupeKeepSecond ? n == 2 : n == 1;
      if (!write) continue;
      if (wantCount++ > 0) want += u"\n";
      want += record;
    }

    CWString text(input);
    CWString separator(u"\\n");
    rg_Ombrine_base::rg_ZhengShuLei counter;
    DedupeLines(text, separator, mode, byField ? CWString(u",") : CWString(), field, trim, skip, counter);
    ASSERT_EQ(text.ToUtf8(), CWString(want).ToUtf8()) << "round " << round;
    ASSERT_EQ(counter.value, wantCount) << "round " << round;
  }
}

// With a hash shortened to a few bits most keys share a hash, so a lookup
// that trusted the hash and the length would confuse "ab" with "ba".
TEST(DedupeKeyTable, KeysThatShareAHashAreComparedWhole) {
  for (const unsigned bits : {0u, 3u}) {
    qzu::DedupeKeyTable keys(bits);
    std::vector<std::u16string> texts = {u"ab", u"ba", u"a", u"b", u"", u"abc", u"acb"};
    for (int i = 0; i < 3000; ++i) texts.push_back(u"key" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                                                   std::u16string(1, static_cast<char16_t>(0x4E00 + i)));
    for (const std::u16string& t : texts) {
      auto& slot = keys.Lookup(t, keys.Hash(t));
      ASSERT_EQ(slot.state, qzu::DedupeKeyTable::kFree) << bits << " new key " << texts.size();
      keys.Claim(slot, t, qzu::DedupeKeyTable::kSeenOnce);  // grows the table on the way
    }
    std::set<uint64_t> hashes;
    for (const std::u16string& t : texts) hashes.insert(keys.Hash(t));
    EXPECT_LE(hashes.size(), size_t{1} << bits);  // thousands of keys, a handful of hashes
    for (const std::u16string& t : texts) {
      const auto& slot = keys.Lookup(t, keys.Hash(t));
      ASSERT_EQ(slot.state, qzu::DedupeKeyTable::kSeenOnce) << bits;
      ASSERT_EQ(std::u16string_view(slot.data, slot.length), t) << bits;  // its own slot, no other key's
    }
    for (const std::u16string t : {u"c", u"bb", u"abd", u"key"})
      EXPECT_EQ(keys.Lookup(t, keys.Hash(t)).state, qzu::DedupeKeyTable::kFree) << bits;
  }
}

}  // namespace
