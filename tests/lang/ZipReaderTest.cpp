#include "lang/ZipReader.h"

#include <gtest/gtest.h>

#include <random>

#include "LangFixture.h"
#include "lang/LangPARAM.h"

using namespace langtest;
using namespace qzip;
using testsupport::GetU32;
using testsupport::kEndDirOffset;
using testsupport::kEndDirSize;
using testsupport::kEndEntriesOnDisk;
using testsupport::kEndEntriesTotal;
using testsupport::kEndRecordSize;
using testsupport::MakeZip;
using testsupport::PutU16;
using testsupport::PutU32;
using testsupport::ZipItem;

namespace {

// Reads the directory and every entry; true when all of it read, false on the first ZipError.
// Any other exception escapes and fails the test.
bool ReadsCompletely(const std::string& bytes) {
  MemorySource src(bytes);
  try {
    for (const auto& e : ReadDirectory(src)) ReadEntry(src, e);
    return true;
  } catch (const ZipError&) {
    return false;
  }
}

std::string Small() {
  return MakeZip({{"desc.txt", "[Files]\r\n[Stuff]\r\n[Trans]\r\n"}, {"en/m.txt", std::string(500, 'x') + "end"}});
}

}  // namespace

TEST(ZipReader, ReadsNamesAndInflatesEntries) {
  const std::string big(200000, 'q');
  const std::string bytes = MakeZip({{"a.txt", "hello"}, {"dir/b.bin", big}, {"ü.txt", ""}});
  MemorySource src(bytes);
  const auto entries = ReadDirectory(src);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].name, "dir/b.bin");
  EXPECT_FALSE(entries[1].utf8Name);
  EXPECT_TRUE(entries[2].utf8Name);
  EXPECT_EQ(ReadEntry(src, entries[0]), "hello");
  EXPECT_EQ(ReadEntry(src, entries[1]), big);
  EXPECT_EQ(ReadEntry(src, entries[2]), "");
}

TEST(ZipReader, RefusesEntriesThatDoNotInflateToTheirRecord) {
  ZipItem stored{"a.txt", "hello"};
  stored.stored = true;
  ZipItem badCrc{"a.txt", "hello"};
  badCrc.crcXor = 0x80000000;
  ZipItem longer{"a.txt", "hello"};
  longer.declaredSize = 6;
  ZipItem shorter{"a.txt", "hello"};
  shorter.declaredSize = 4;
  ZipItem huge{"a.txt", "hello"};
  huge.declaredSize = 0xFFFFFFF0;  // never allocated: far beyond what the packed bytes can give
  ZipItem bomb{"a.txt", "hello"};
  bomb.declaredSize = 1u << 20;
  for (const auto& item : {stored, badCrc, longer, shorter, huge, bomb}) {
    const std::string bytes = MakeZip({item});
    MemorySource src(bytes);
    const auto entries = ReadDirectory(src);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_THROW(ReadEntry(src, entries[0]), ZipError);
  }
}

TEST(ZipReader, EveryTruncationFailsCleanly) {
  const std::string bytes = Small();
  ASSERT_TRUE(ReadsCompletely(bytes));
  for (std::size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(ReadsCompletely(bytes.substr(0, n))) << n;
}

TEST(ZipReader, HostileDirectoriesFailCleanly) {
  const std::string good = Small();
  const std::size_t end = good.size() - kEndRecordSize;
  const std::size_t dirOffset = GetU32(good, end + kEndDirOffset);
  struct Case { const char* what; std::string bytes; };
  std::vector<Case> cases;
  auto patched = [&](const char* what, auto&& patch) {
    std::string b = good;
    patch(b);
    cases.push_back({what, b});
  };
  patched("directory beyond the end", [&](std::string& b) { PutU32(b, end + kEndDirOffset, 0xFFFFFF00); });
  patched("directory size beyond the end", [&](std::string& b) { PutU32(b, end + kEndDirSize, 0x7FFFFFFF); });
  patched("65535 entries", [&](std::string& b) {
    PutU16(b, end + kEndEntriesOnDisk, 0xFFFF);
    PutU16(b, end + kEndEntriesTotal, 0xFFFF);
  });
  patched("more entries than the directory holds", [&](std::string& b) {
    PutU16(b, end + kEndEntriesOnDisk, 3);
    PutU16(b, end + kEndEntriesTotal, 3);
  });
  patched("name longer than the directory", [&](std::string& b) { PutU16(b, dirOffset + 28, 0xFFFF); });
  patched("local header inside the directory", [&](std::string& b) { PutU32(b, dirOffset + 42, static_cast<std::uint32_t>(dirOffset)); });
  patched("local header offset of ZIP64", [&](std::string& b) { PutU32(b, dirOffset + 42, 0xFFFFFFFF); });
  patched("local name length beyond the end", [&](std::string& b) { PutU16(b, 26, 0xFFFF); });
  patched("comment length not matching", [&](std::string& b) { PutU16(b, end + 20, 5); });
  for (const char* name : {"../x.txt", "en/../../x.txt", "..\\x.txt", "..", "/etc/x", "\\x", "C:x.txt"})
    cases.push_back({name, MakeZip({{"desc.txt", "d"}, {name, "x"}})});
  cases.push_back({"NUL in a name", MakeZip({{std::string("a\0b", 3), "x"}})});

  for (const auto& c : cases) EXPECT_FALSE(ReadsCompletely(c.bytes)) << c.what;
  EXPECT_TRUE(ReadsCompletely(MakeZip({{"a..b/c..", "x"}}))) << "dots inside a name are harmless";
}

TEST(ZipReader, RandomDamageNeverEscapesAsAnythingButZipError) {
  const std::string good = Small();
  std::mt19937 rng(20261211);
  int failures = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string b = good;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < flips; ++i) b[rng() % b.size()] = static_cast<char>(rng());
    if (!ReadsCompletely(b)) ++failures;
  }
  EXPECT_GT(failures, 0);
}

TEST_F(LangTest, HostileArchiveGivesEnglishAndOneNotice) {
  const std::string good = MakeZip(StandardPackage());
  const std::size_t end = good.size() - kEndRecordSize;
  std::string outside = good;
  PutU32(outside, end + kEndDirOffset, 0x7FFFFFF0);
  std::string many = good;
  PutU16(many, end + kEndEntriesOnDisk, 0xFFFF);
  PutU16(many, end + kEndEntriesTotal, 0xFFFF);
  auto items = StandardPackage();
  items.push_back({"de/../../../evil.txt", "x"});
  for (const std::string& bytes : {good.substr(0, good.size() / 2), outside, many, MakeZip(items)}) {
    ShownErrors().clear();
    LangPARAM lang(WriteBytes(bytes));
    EXPECT_FALSE(lang.PackageLoaded);
    EXPECT_EQ(lang.MessageText(5), L"Confirmation");
    EXPECT_EQ(ShownErrors().size(), 1u);
  }
  // A damaged desc.txt is a failed read of one entry: refused without a notice.
  items = StandardPackage();
  items[0].declaredSize = 0xFFFFFFF0;
  ShownErrors().clear();
  LangPARAM lang(WritePackage(items));
  EXPECT_FALSE(lang.PackageLoaded);
  EXPECT_TRUE(ShownErrors().empty());
}
