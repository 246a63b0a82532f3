// The setup blocks: their layout pinned field by field against hand-built bytes, the rules for
// their texts and dates, and how a block travels through a stream.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "framework/setup_blocks.h"
#include "platform/automation_date.h"
#include "platform/byte_stream.h"
#include "platform/exception.h"

namespace framework {
namespace {

using platform::AutomationDate;
using platform::EncodeAutomationDate;
using platform::MemoryStream;

constexpr BlockKind kA = BlockKind::kA;
constexpr BlockKind kBMail = BlockKind::kBMail;
constexpr BlockKind kBPim = BlockKind::kBPim;
constexpr BlockKind kCMail = BlockKind::kCMail;
constexpr BlockKind kCPim = BlockKind::kCPim;
constexpr BlockKind kAllKinds[] = {kA, kBMail, kBPim, kCMail, kCPim};

constexpr FieldType kI16 = FieldType::kI16;
constexpr FieldType kI32 = FieldType::kI32;
constexpr FieldType kU32 = FieldType::kU32;
constexpr FieldType kText = FieldType::kText;
constexpr FieldType kDate = FieldType::kDate;

// The host's layout, written out by hand: bytes of one element and the number of elements.
struct Pinned {
  BlockKind block;
  const char* name;
  FieldType type;
  std::size_t offset;
  std::size_t elementSize;
  int count;
};

const Pinned kPinned[] = {
    {kA, "Version", kU32, 0, 4, 1},
    {kA, "Title", kText, 4, 512, 1},
    {kA, "DeviceApp", kText, 552, 512, 1},
    {kA, "PCApp", kText, 1064, 512, 1},
    {kA, "TypeEnabled", kI16, 2600, 2, 8},
    {kA, "LogLevel", kI16, 2632, 2, 1},
    {kA, "LogPath", kText, 2634, 512, 1},
    {kA, "ConflictRule", kI16, 3660, 2, 1},
    {kA, "AccountChanged", kI16, 3668, 2, 1},
    {kA, "RangeChanged", kI16, 3670, 2, 1},
    {kA, "DeviceCodePage", kU32, 6032, 4, 8},
    {kA, "PCCodePage", kU32, 6096, 4, 8},
    {kA, "DeleteRule", kI16, 6544, 2, 1},
    {kA, "CalPastCount", kI16, 6680, 2, 1},
    {kA, "CalPastUnit", kI16, 6682, 2, 1},
    {kA, "CalRangeStart", kDate, 6684, 36, 1},
    {kA, "CalFutureCount", kI16, 6720, 2, 1},
    {kA, "CalFutureUnit", kI16, 6722, 2, 1},
    {kA, "CalRangeEnd", kDate, 6724, 36, 1},
    {kA, "WorkDayStart", kDate, 6810, 36, 1},
    {kA, "WorkDayEnd", kDate, 6846, 36, 1},
    {kA, "ContactFieldGroups", kU32, 6888, 4, 1},
    {kA, "MailRangeCount", kI16, 6900, 2, 1},
    {kA, "MailRangeUnit", kI16, 6902, 2, 1},
    {kA, "MailRangeStart", kDate, 6904, 36, 1},
    {kA, "MailRangeEnd", kDate, 6944, 36, 1},
    {kA, "MailFolders", kU32, 7016, 4, 1},
    {kA, "MailNoAttachments", kI16, 7020, 2, 1},
    {kA, "MemoLimit", kU32, 7032, 4, 1},
    {kA, "DeleteOldTypes", kI16, 7158, 2, 1},
    {kA, "DeleteOldCount", kI16, 7166, 2, 8},
    {kA, "DeleteOldUnit", kI16, 7198, 2, 8},
    {kBMail, "DeviceAccount", kText, 2, 128, 1},
    {kBPim, "DeviceFile", kText, 0, 512, 1},
    {kBPim, "WorkPath", kText, 512, 512, 1},
    {kCMail, "ManualLogin", kI16, 0, 2, 1},
    {kCMail, "LoginUser", kText, 2, 512, 1},
    {kCMail, "LoginParams", kText, 514, 512, 1},
    {kCMail, "InboxOverride", kI16, 1026, 2, 1},
    {kCMail, "InboxFolderName", kText, 1028, 512, 1},
    {kCMail, "InboxFolderId", kText, 1540, 512, 1},
    {kCMail, "SupportedOnly", kI16, 2052, 2, 1},
    {kCPim, "UseContactsManager", kI16, 0, 2, 1},
    {kCPim, "ManualLogin", kI16, 2, 2, 1},
    {kCPim, "LoginUser", kText, 4, 512, 1},
    {kCPim, "LoginParams", kText, 516, 512, 1},
    {kCPim, "AddressBook", kText, 1028, 512, 1},
};

std::string RowName(const Pinned& row) {
  return "block " + std::string(BlockName(row.block)) + " " + row.name;
}

uint32_t Mask(std::initializer_list<int> elements) {
  uint32_t mask = 0;
  for (int element : elements)
    mask |= uint32_t{1} << element;
  return mask;
}

// Bytes that differ from one offset to the next, so that a field read or written one byte off
// meets a value it cannot mistake for its own.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
  return bytes;
}

std::string Utf16Le(std::u16string_view units) {
  std::string bytes;
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

// "abc...zab...", `count` units long.
std::u16string Letters(std::size_t count) {
  std::u16string text;
  for (std::size_t i = 0; i < count; ++i)
    text.push_back(static_cast<char16_t>(u'a' + i % 26));
  return text;
}

// Empty when equal; else the first offset where the bytes differ, both sides shown.
std::string ByteDifference(std::string_view got, std::string_view wanted) {
  if (got.size() != wanted.size()) {
    return "size " + std::to_string(got.size()) + ", wanted " + std::to_string(wanted.size());
  }
  const auto [g, w] = std::mismatch(got.begin(), got.end(), wanted.begin());
  if (g == got.end()) return "";
  char text[80];
  std::snprintf(text, sizeof text, "byte %zu is 0x%02X, wanted 0x%02X",
                static_cast<std::size_t>(g - got.begin()), static_cast<unsigned char>(*g),
                static_cast<unsigned char>(*w));
  return text;
}

// What a pinned element holds in the hand-built buffers: a value with the sign bit set, so a
// wrong byte order or a sign lost on the way shows; a text shorter than its field.
struct Sample {
  std::string bytes;  // the whole element as the host stores it
  FieldValue value;
};

Sample SampleFor(const Pinned& row) {
  switch (row.type) {
    case FieldType::kI16:
      return {"\x23\x81", static_cast<int16_t>(-32477)};  // 0x8123
    case FieldType::kI32:
      return {"\xC4\xD3\xE2\xF1", static_cast<int32_t>(-236792892)};  // 0xF1E2D3C4
    case FieldType::kU32:
      return {"\xC4\xD3\xE2\xF1", uint32_t{0xF1E2D3C4}};
    case FieldType::kText:
      break;
    case FieldType::kDate: {
      std::string bytes = Utf16Le(u"20010301T000000");
      bytes.resize(row.elementSize, '\0');
      return {bytes, std::u16string(u"20010301T000000")};
    }
  }
  std::string bytes = Utf16Le(u"Hi \x20AC");
  bytes.resize(row.elementSize, '\0');
  return {bytes, std::u16string(u"Hi \x20AC")};
}

TEST(SetupBlockLayout, EveryBlockHasTheSizeTheHostStores) {
  const std::pair<BlockKind, std::size_t> sizes[] = {
      {kA, 7816}, {kBMail, 136}, {kBPim, 17164}, {kCMail, 2054}, {kCPim, 1542}};
  for (const auto& [kind, size] : sizes) {
    EXPECT_EQ(BlockSize(kind), size) << BlockName(kind);
    EXPECT_EQ(SetupBlock(kind).Bytes(), std::string(size, '\0')) << BlockName(kind);
  }
}

TEST(SetupBlockLayout, EveryNamedFieldSitsWhereTheHostKeepsIt) {
  for (const Pinned& row : kPinned) {
    const FieldInfo* field = FindField(row.block, row.name);
    ASSERT_NE(field, nullptr) << RowName(row);
    EXPECT_EQ(field->block, row.block) << RowName(row);
    EXPECT_EQ(field->type, row.type) << RowName(row);
    EXPECT_EQ(field->offset, row.offset) << RowName(row);
    EXPECT_EQ(field->ElementSize(), row.elementSize) << RowName(row);
    EXPECT_EQ(field->count, row.count) << RowName(row);
  }
  for (BlockKind kind : kAllKinds) {
    const auto pinned = std::count_if(std::begin(kPinned), std::end(kPinned),
                                      [&](const Pinned& row) { return row.block == kind; });
    EXPECT_EQ(NamedFields(kind).size(), static_cast<std::size_t>(pinned))
        << "block " << BlockName(kind) << " names a field this test does not pin";
  }
  EXPECT_EQ(FindField(kA, "calpastcount"), nullptr) << "names are compared exactly";
  EXPECT_EQ(FindField(kCPim, "InboxOverride"), nullptr) << "e-mail's block C field";
}

// Both directions against bytes built by hand: a value stored little-endian at the pinned
// offset reads as that value, and writing the value yields exactly those bytes. The first and
// the last element of an array are both checked, which pins its stride.
TEST(SetupBlockLayout, NamedFieldsReadAndWriteTheHandBuiltBytes) {
  for (const Pinned& row : kPinned) {
    const FieldInfo* field = FindField(row.block, row.name);
    ASSERT_NE(field, nullptr) << RowName(row);
    const Sample sample = SampleFor(row);
    for (int index : {0, row.count - 1}) {
      std::string bytes = Pattern(BlockSize(row.block));
      bytes.replace(row.offset + index * row.elementSize, row.elementSize, sample.bytes);

      EXPECT_EQ(SetupBlock(row.block, bytes).Get(*field, index), sample.value)
          << RowName(row) << "[" << index << "]";

      SetupBlock written(row.block, Pattern(BlockSize(row.block)));
      written.Set(*field, sample.value, index);
      EXPECT_EQ(ByteDifference(written.Bytes(), bytes), "") << RowName(row) << "[" << index << "]";
    }
  }
}

TEST(SetupBlockLayout, ConstantFieldsAreDescribedWhereTheHostKeepsThem) {
  struct Row {
    BlockKind block;
    std::size_t offset;
    FieldType type;
    std::size_t elementSize;
    int count;
    uint32_t elements;
  };
  const uint32_t allButFive = Mask({0, 1, 2, 3, 4, 6, 7});
  const Row rows[] = {
      {kA, 3658, kI16, 2, 1, 1},
      {kA, 3662, kI16, 2, 1, 1},
      {kA, 3664, kI16, 2, 1, 1},
      {kA, 3666, kI16, 2, 1, 1},
      {kA, 3674, kI16, 2, 1, 1},
      {kA, 3676, kI16, 2, 1, 1},
      {kA, 3692, kI16, 2, 1, 1},
      {kA, 3694, kI16, 2, 1, 1},
      {kA, 3696, kI16, 2, 1, 1},
      {kA, 3702, kI16, 2, 1, 1},
      {kA, 3704, kI16, 2, 1, 1},
      {kA, 6288, kI16, 2, 8, allButFive},
      {kA, 6320, kI16, 2, 8, allButFive},
      {kA, 6416, kI16, 2, 8, allButFive},
      {kA, 6448, kI16, 2, 8, allButFive},
      {kA, 6552, kI16, 2, 1, 1},
      {kA, 6796, kI16, 2, 7, Mask({0, 1, 2, 3, 4, 5, 6})},
      {kA, 6882, kI16, 2, 1, 1},
      {kA, 7024, kI32, 4, 1, 1},
      {kA, 7028, kI32, 4, 1, 1},
      {kA, 7806, kI16, 2, 1, 1},
      {kBPim, 1024, kText, 512, 1, 1},
      {kBPim, 2644, kText, 82, 21, Mask({0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 16, 17, 18, 19, 20})},
      {kBPim, 17034, kI16, 2, 1, 1},
      {kCPim, 1540, kI16, 2, 1, 1},
  };
  for (const Row& row : rows) {
    const std::string name =
        "block " + std::string(BlockName(row.block)) + " offset " + std::to_string(row.offset);
    const ConstantField* constant = FindConstant(row.block, row.offset);
    ASSERT_NE(constant, nullptr) << name;
    EXPECT_TRUE(constant->field.name.empty()) << name;
    EXPECT_EQ(constant->field.type, row.type) << name;
    EXPECT_EQ(constant->field.ElementSize(), row.elementSize) << name;
    EXPECT_EQ(constant->field.count, row.count) << name;
    EXPECT_EQ(constant->elements, row.elements) << name;
    EXPECT_FALSE(constant->note.empty()) << name;
  }
  for (BlockKind kind : kAllKinds) {
    const auto pinned = std::count_if(std::begin(rows), std::end(rows),
                                      [&](const Row& row) { return row.block == kind; });
    EXPECT_EQ(ConstantFields(kind).size(), static_cast<std::size_t>(pinned)) << BlockName(kind);
  }
}

// Fills every named field of a block that holds a pattern, through the table, then checks that
// no byte outside the pinned fields moved, that the block survives a stream unchanged, and that
// writing back what is read changes nothing.
TEST(SetupBlock, FieldsWrittenByNameTouchNothingElseAndComeBackByteIdentical) {
  for (BlockKind kind : kAllKinds) {
    const std::string before = Pattern(BlockSize(kind));
    SetupBlock block(kind, before);
    std::vector<bool> named(before.size(), false);
    int16_t next = 1;
    for (const Pinned& row : kPinned) {
      if (row.block != kind) continue;
      const FieldInfo& field = *FindField(kind, row.name);
      for (int index = 0; index < row.count; ++index, ++next) {
        FieldValue value = static_cast<int16_t>(-next);
        if (row.type == kI32) value = static_cast<int32_t>(next) << 20;
        if (row.type == kU32) value = static_cast<uint32_t>(0x80000000u | next);
        if (row.type == kText || row.type == kDate) value = Letters(next % 20 + 1);
        block.Set(field, value, index);
        const std::size_t start = row.offset + index * row.elementSize;
        std::fill_n(named.begin() + start, row.elementSize, true);
      }
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (!named[i]) {
        ASSERT_EQ(block.Bytes()[i], before[i]) << BlockName(kind) << " byte " << i;
      }
    }

    MemoryStream stream;
    block.WriteTo(stream);
    SetupBlock reread(kind);
    reread.ReadFrom(stream);
    EXPECT_EQ(ByteDifference(reread.Bytes(), block.Bytes()), "") << BlockName(kind);

    SetupBlock rewritten = reread;
    for (const FieldInfo& field : NamedFields(kind)) {
      for (int index = 0; index < field.count; ++index)
        rewritten.Set(field, reread.Get(field, index), index);
    }
    EXPECT_EQ(ByteDifference(rewritten.Bytes(), block.Bytes()), "") << BlockName(kind);
  }
}

TEST(SetupBlockText, StoresCutTerminatesAndZeroFillsWithinItsField) {
  struct Case {
    const char* name;
    TextField field;
    std::u16string text;
    std::u16string stored;
  };
  const std::u16string pair = u"\xD83D\xDE00";
  const Case cases[] = {
      {"255 units keep all", block_a::Title, Letters(255), Letters(255)},
      {"256 units lose the last", block_a::Title, Letters(256), Letters(255)},
      {"a far longer text", block_a::LogPath, Letters(1000), Letters(255)},
      {"empty clears the field", block_a::Title, u"", u""},
      {"blanks are stored as given", block_a::PCApp, u"  PIMSYNC ", u"  PIMSYNC "},
      {"nothing after a NUL", block_c_pim::AddressBook, std::u16string(u"ab\0cd", 5), u"ab"},
      {"a pair that fits", block_a::Title, Letters(253) + pair, Letters(253) + pair},
      {"a pair the cut would part", block_a::Title, Letters(254) + pair, Letters(254)},
      {"63 units in wchar[64]", block_b_mail::DeviceAccount, Letters(63), Letters(63)},
      {"64 units in wchar[64]", block_b_mail::DeviceAccount, Letters(64), Letters(63)},
      {"the last field of a block", block_c_mail::InboxFolderId, Letters(300), Letters(255)},
  };
  for (const Case& c : cases) {
    SetupBlock block(c.field.block, Pattern(BlockSize(c.field.block)));
    std::string wanted(block.Bytes());
    std::string field = Utf16Le(c.stored);
    field.resize(c.field.Width(), '\0');
    wanted.replace(c.field.offset, field.size(), field);

    block.Set(c.field, c.text);
    EXPECT_EQ(ByteDifference(block.Bytes(), wanted), "") << c.name;
  }
}

TEST(SetupBlockText, ReadsUpToTheFirstNulAndTrimsBlanks) {
  struct Case {
    const char* name;
    std::u16string units;  // from the field's start; the rest of the block keeps the pattern
    std::u16string wanted;
  };
  const Case cases[] = {
      {"spaces around", std::u16string(u"  Smith \0junk", 13), u"Smith"},
      {"tabs and line breaks around", std::u16string(u"\t\r\nC:\\PATH\r\n\0", 13), u"C:\\PATH"},
      {"blanks inside stay", std::u16string(u"a  b\0", 5), u"a  b"},
      {"no-break spaces stay", std::u16string(u"\xA0name\xA0\0", 7), u"\xA0name\xA0"},
      {"only blanks", std::u16string(u"   \0x", 5), u""},
      {"NUL first", std::u16string(u"\0text", 5), u""},
      {"no NUL: all 256 units, not the bytes after", Letters(256), Letters(256)},
  };
  for (const Case& c : cases) {
    std::string bytes = Pattern(BlockSize(kA));
    const std::string units = Utf16Le(c.units);
    bytes.replace(block_a::Title.offset, units.size(), units);
    EXPECT_EQ(SetupBlock(kA, bytes).Get(block_a::Title), c.wanted) << c.name;
  }
}

const AutomationDate kNow = EncodeAutomationDate({2026, 12, 8, 17, 25, 11, 0});
const AutomationDate kToday = EncodeAutomationDate({2026, 12, 8, 0, 0, 0, 0});

TEST(SetupBlockDate, ReadsTheStoredDateOrToday) {
  struct Case {
    const char* name;
    DateField field;
    std::u16string text;
    AutomationDate wanted;
  };
  const Case cases[] = {
      {"range end", block_a::CalRangeEnd, u"20010301T000000",
       EncodeAutomationDate({2001, 3, 1, 0, 0, 0, 0})},
      {"blanks around", block_a::MailRangeEnd, u" 20010301T120000 ",
       EncodeAutomationDate({2001, 3, 1, 12, 0, 0, 0})},
      {"empty", block_a::CalRangeStart, u"", kToday},
      {"not a date", block_a::MailRangeStart, u"garbage", kToday},
      {"another date form", block_a::CalRangeEnd, u"2001-03-01", kToday},
      {"no 29 February", block_a::CalRangeStart, u"20010229T000000", kToday},
      // U+0132 and U+0130 end in the bytes of "2" and "0": only whole units are digits.
      {"digits in the low bytes only", block_a::CalRangeStart,
       u"\x0132\x0130\x0130\x0131\x0130\x0133\x0130\x0131T000000", kToday},
  };
  for (const Case& c : cases) {
    std::string bytes = Pattern(BlockSize(kA));
    std::string field = Utf16Le(c.text);
    field.resize(DateField::Width(), '\0');
    bytes.replace(c.field.offset, field.size(), field);
    EXPECT_EQ(SetupBlock(kA, bytes).GetDate(c.field, kNow), c.wanted) << c.name;
  }
}

TEST(SetupBlockDate, WritesFifteenCharactersWithinTheField) {
  SetupBlock block(kA, Pattern(BlockSize(kA)));
  std::string wanted(block.Bytes());
  std::string field = Utf16Le(u"20010301T093015");
  field.resize(DateField::Width(), '\0');
  wanted.replace(block_a::CalRangeStart.offset, field.size(), field);

  block.SetDate(block_a::CalRangeStart, EncodeAutomationDate({2001, 3, 1, 9, 30, 15, 0}));
  EXPECT_EQ(ByteDifference(block.Bytes(), wanted), "");

  // A five-digit year would be read back as another date altogether.
  EXPECT_THROW(block.SetDate(block_a::CalRangeEnd, AutomationDate{2958465.0 + 366}),
               platform::Exception);
  EXPECT_EQ(ByteDifference(block.Bytes(), wanted), "") << "a refused date wrote something";
}

// Every access outside the block, or with an element or a block that is not the field's, must
// raise and leave the bytes as they were.
TEST(SetupBlock, RefusesAccessOutsideItsFields) {
  constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();
  struct Case {
    const char* name;
    std::function<void(SetupBlock&)> access;
  };
  const Case cases[] = {
      {"element -1", [](SetupBlock& b) { b.Get(block_a::TypeEnabled[-1]); }},
      {"element 8", [](SetupBlock& b) { b.Set(block_a::DeleteOldUnit[8], 1); }},
      {"element 8 by name", [](SetupBlock& b) { b.Get(*FindField(kA, "PCCodePage"), 8); }},
      {"element 1 of a single value",
       [](SetupBlock& b) { b.Set(*FindField(kA, "LogLevel"), int16_t{1}, 1); }},
      {"element 7 of seven",
       [](SetupBlock& b) { b.Set(FindConstant(kA, 6796)->field, int16_t{1}, 7); }},
      {"a value of another type",
       [](SetupBlock& b) { b.Set(*FindField(kA, "LogLevel"), uint32_t{3}); }},
      {"a text for a number",
       [](SetupBlock& b) { b.Set(*FindField(kA, "MemoLimit"), std::u16string(u"1")); }},
      {"another block's field", [](SetupBlock& b) { b.Set(block_c_mail::LoginUser, u"x"); }},
      {"i16 one byte past",
       [](SetupBlock& b) {
         b.Get(I16Field{kA, 7815});
       }},
      {"u32 one byte past",
       [](SetupBlock& b) {
         b.Set(U32Field{kA, 7813}, 1);
       }},
      {"text one unit past",
       [](SetupBlock& b) {
         b.Set(TextField{kA, 7800, 9}, u"x");
       }},
      {"text of no units",
       [](SetupBlock& b) {
         b.Set(TextField{kA, 4, 0}, u"");
       }},
      {"offset at the limit",
       [](SetupBlock& b) {
         b.Get(I16Field{kA, kHuge});
       }},
      {"offset wrapping around",
       [](SetupBlock& b) {
         b.Get(TextField{kA, kHuge - 1, 2});
       }},
      {"units wrapping around",
       [](SetupBlock& b) {
         b.Get(TextField{kA, 4, kHuge / 2 + 1});
       }},
  };
  for (const Case& c : cases) {
    SetupBlock block(kA, Pattern(BlockSize(kA)));
    EXPECT_THROW(c.access(block), platform::Exception) << c.name;
    EXPECT_EQ(ByteDifference(block.Bytes(), Pattern(BlockSize(kA))), "") << c.name;
  }
  // The last bytes and the last element are still reachable.
  SetupBlock block(kA);
  block.Set(I16Field{kA, 7814}, -2);
  block.Set(block_a::TypeEnabled[7], 1);
  EXPECT_EQ(block.Bytes().substr(7814), "\xFE\xFF");
  EXPECT_EQ(block.Bytes().substr(2614, 2), std::string("\x01\x00", 2));
}

// Hands out at most three bytes a call, as a stream may before its end, and can fail midway.
class TrickleStream final : public platform::ByteStream {
 public:
  TrickleStream(std::string bytes, bool failAfterFirstRead)
      : inner_(std::move(bytes)), fail_(failAfterFirstRead) {}
  uint64_t Seek(int64_t offset, Origin origin) override { return inner_.Seek(offset, origin); }
  std::size_t Read(void* buffer, std::size_t size) override {
    if (fail_ && reads_++ > 0) throw platform::StreamError("read failed");
    return inner_.Read(buffer, std::min<std::size_t>(size, 3));
  }
  void Write(const void* data, std::size_t size) override { inner_.Write(data, size); }
  void SetSize(uint64_t size) override { inner_.SetSize(size); }

 private:
  MemoryStream inner_;
  bool fail_;
  int reads_ = 0;
};

TEST(SetupBlockStream, ReadsTheBlockSizeFromTheStart) {
  for (BlockKind kind : kAllKinds) {
    const std::size_t size = BlockSize(kind);
    const std::string longer = Pattern(size + 5);
    struct Case {
      const char* name;
      std::string stream;
      std::string wanted;
    };
    const Case cases[] = {
        {"short stream", longer.substr(0, 100), longer.substr(0, 100) + std::string(size - 100, 0)},
        {"one byte short", longer.substr(0, size - 1), longer.substr(0, size - 1) + '\0'},
        {"empty stream", "", std::string(size, '\0')},
        {"longer stream", longer, longer.substr(0, size)},
    };
    for (const Case& c : cases) {
      // The block held other bytes before: none of them may survive the read.
      SetupBlock block(kind, std::string(size, '\x77'));
      MemoryStream stream(c.stream);
      stream.Seek(0, MemoryStream::Origin::kEnd);
      block.ReadFrom(stream);
      EXPECT_EQ(ByteDifference(block.Bytes(), c.wanted), "") << BlockName(kind) << ": " << c.name;
      EXPECT_EQ(ByteDifference(SetupBlock(kind, c.stream).Bytes(), c.wanted), "")
          << BlockName(kind) << ": " << c.name << " from raw bytes";
    }
  }
}

TEST(SetupBlockStream, ReadsAStreamThatHandsOutLittleAtATime) {
  const std::string bytes = Pattern(BlockSize(kCPim));
  TrickleStream stream(bytes, false);
  SetupBlock block(kCPim);
  block.ReadFrom(stream);
  EXPECT_EQ(ByteDifference(block.Bytes(), bytes), "");
}

TEST(SetupBlockStream, AFailedReadLeavesTheBlockAsItWas) {
  TrickleStream stream(std::string(BlockSize(kCPim), '\x01'), true);
  SetupBlock block(kCPim, Pattern(BlockSize(kCPim)));
  EXPECT_THROW(block.ReadFrom(stream), platform::StreamError);
  EXPECT_EQ(ByteDifference(block.Bytes(), Pattern(BlockSize(kCPim))), "");
}

TEST(SetupBlockStream, WritesExactlyTheBlockAtTheStart) {
  for (BlockKind kind : kAllKinds) {
    const SetupBlock block(kind, Pattern(BlockSize(kind)));

    MemoryStream empty;
    block.WriteTo(empty);
    EXPECT_EQ(ByteDifference(empty.Bytes(), block.Bytes()), "") << BlockName(kind);

    // What the stream holds after the block is the host's, and the position does not matter.
    const std::string tail(300, 'Z');
    MemoryStream used(std::string(BlockSize(kind), 'Y') + tail);
    used.Seek(123, MemoryStream::Origin::kBegin);
    block.WriteTo(used);
    EXPECT_EQ(ByteDifference(used.Bytes(), std::string(block.Bytes()) + tail), "")
        << BlockName(kind);
  }
}

}  // namespace
}  // namespace framework
