// The profile file: every byte of the three blocks comes back, and the fields a person looks
// for are shown by name.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "platform/exception.h"
#include "sim/common/json.h"
#include "sim/host/profile_file.h"

namespace sim {
namespace {

using namespace std::literals;
using framework::BlockKind;
using framework::SetupBlock;
namespace block_a = framework::block_a;

std::string FirstDifferentByte(const Profile& got, const Profile& wanted) {
  const std::pair<const SetupBlock*, const SetupBlock*> blocks[] = {
      {&got.a, &wanted.a}, {&got.b, &wanted.b}, {&got.c, &wanted.c}};
  for (const auto& [g, w] : blocks) {
    for (std::size_t i = 0; i < w->Size(); ++i) {
      if (g->Bytes()[i] != w->Bytes()[i]) {
        return "block " + std::string(framework::BlockName(w->Kind())) + ", byte " +
               std::to_string(i) + ": got " +
               std::to_string(static_cast<unsigned char>(g->Bytes()[i])) + ", wanted " +
               std::to_string(static_cast<unsigned char>(w->Bytes()[i]));
      }
    }
  }
  return "";
}

void SetUnits(SetupBlock& block, std::size_t offset, std::u16string_view units) {
  std::string bytes(block.Bytes());
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[offset + 2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[offset + 2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  block = SetupBlock(block.Kind(), bytes);
}

// Profiles the codec of a field would not give back as they are, and so must travel as bytes.
TEST(ProfileFile, GivesBackEveryByteOfEveryBlock) {
  const struct {
    const char* name;
    std::function<void(Profile&)> change;
  } rows[] = {
      {"calendar defaults", [](Profile&) {}},
      {"range filled in", [](Profile& p) { p.a.Set(block_a::CalRangeStart, u"20010116T000000"); }},
      {"every byte random",
       [](Profile& p) {
         std::mt19937 random(380);
         for (SetupBlock* block : {&p.a, &p.b, &p.c}) {
           std::string bytes(block->Size(), '\0');
           for (char& byte : bytes)
             byte = static_cast<char>(random());
           *block = SetupBlock(block->Kind(), bytes);
         }
       }},
      {"title with blanks around it", [](Profile& p) { SetUnits(p.a, 4, u"  Cal  "); }},
      {"bytes after the NUL of a text", [](Profile& p) { SetUnits(p.a, 552, u"AB\0junk"sv); }},
      {"text filling its field without a NUL",
       [](Profile& p) { p.b = SetupBlock(BlockKind::kBPim, std::string(17164, 'x')); }},
      {"character beyond U+FFFF",
       [](Profile& p) { p.c.Set(framework::block_c_pim::LoginUser, u"user \U0001F600"); }},
      {"lone surrogate", [](Profile& p) { SetUnits(p.c, 1028, u"book \xD800"); }},
      {"controls and quotes inside a text",
       [](Profile& p) { p.c.Set(framework::block_c_pim::LoginParams, u"/ph-\"x\"\t/@u-\\y"); }},
      {"negative and largest integers",
       [](Profile& p) {
         p.a.Set(block_a::CalPastCount, -32768);
         p.a.Set(block_a::MemoLimit, 0xFFFFFFFFu);
         p.a.Set(block_a::DeleteOldCount[5], -1);
       }},
      {"an odd byte in a constant's word", [](Profile& p) { SetUnits(p.a, 3664, u"\x0100"); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Profile profile = NewCalendarProfile("c:\\profiles\\cal.bin");
    row.change(profile);
    const std::string text = WriteProfileText(profile);
    EXPECT_EQ(FirstDifferentByte(ReadProfileText(text), profile), "");
    // Other tools must be able to read the file: no surrogate is written as UTF-8 of its own.
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      if (static_cast<unsigned char>(text[i]) == 0xED &&
          static_cast<unsigned char>(text[i + 1]) >= 0xA0) {
        ADD_FAILURE() << "an encoded surrogate at byte " << i;
        break;
      }
    }
  }
}

TEST(ProfileFile, ShowsEveryValueOfTheDefaultsByNameOrOffset) {
  const json::Value file = json::Parse(WriteProfileText(NewCalendarProfile("c:\\p\\cal.bin")));
  for (const char* block : {"A", "B", "C"}) {
    SCOPED_TRACE(block);
    EXPECT_TRUE(file.At(block).At("bytes").AsObject().empty());
  }
  const json::Value& a = file.At("A").At("fields");
  EXPECT_EQ(a.At("Title").AsString(), "Didodudo Z380 - Synchronization (Calendar)");
  EXPECT_EQ(a.At("CalFutureCount").AsInteger(), 6);
  EXPECT_EQ(a.At("@3664").AsInteger(), 20);
  EXPECT_EQ(a.At("DeviceCodePage").AsArray().at(3).AsInteger(), 65001);
  EXPECT_EQ(a.Find("DeleteRule"), nullptr) << "a zero field is left out";
  EXPECT_EQ(file.At("B").At("fields").At("@2644").AsArray().at(20).AsString(), "Email:");
}

TEST(ProfileFile, KeepsAFieldItCannotShowAsItsBytes) {
  Profile profile = NewCalendarProfile("");
  profile.a.Set(block_a::Title, u"");
  SetUnits(profile.a, 4, u" x");
  const json::Value file = json::Parse(WriteProfileText(profile));
  EXPECT_EQ(file.At("A").At("fields").Find("Title"), nullptr);
  EXPECT_EQ(file.At("A").At("bytes").At("4").AsString(), "20007800");
}

TEST(ProfileFile, ReadsAHandWrittenProfileWithZerosForWhatItLeavesOut) {
  const Profile profile = ReadProfileText(R"({
    "format": "gwsync profile 1",
    "A": {"fields": {"CalPastCount": 2, "CalRangeStart": "20010101T000000"}},
    "C": {"bytes": {"1540": "0100"}}
  })");
  Profile wanted;
  wanted.a.Set(block_a::CalPastCount, 2);
  wanted.a.Set(block_a::CalRangeStart, u"20010101T000000");
  wanted.c.Set(framework::I16Field{BlockKind::kCPim, 1540}, 1);
  EXPECT_EQ(FirstDifferentByte(profile, wanted), "");
}

TEST(ProfileFile, RefusesAFileThatDoesNotDescribeABlock) {
  const auto file = [](const std::string& blockA) {
    return R"({"format": "gwsync profile 1", "A": )" + blockA + "}";
  };
  const struct {
    const char* name;
    std::string text;
    std::string message;
  } rows[] = {
      {"not JSON", "{", "line 1"},
      {"another format", R"({"format": "profile 2"})", "not a profile file"},
      {"unknown block", R"({"format": "gwsync profile 1", "D": {}})", "unknown member 'D'"},
      {"unknown member of a block", file(R"({"field": {}})"), "block A: unknown member 'field'"},
      {"unknown field", file(R"({"fields": {"Titel": "x"}})"), "no field is known as 'Titel'"},
      {"offset of no constant", file(R"({"fields": {"@3665": 1}})"), "'@3665'"},
      {"text too long", file(R"({"fields": {"DeviceApp": ")" + std::string(256, 'x') + R"("}})"),
       "at most 255"},
      {"number too big for i16", file(R"({"fields": {"CalPastCount": 32768}})"),
       "from -32768 to 32767"},
      {"number too big for any integer", file(R"({"fields": {"LogLevel": 1e19}})"),
       "from -32768 to 32767"},
      {"text for a number", file(R"({"fields": {"CalPastCount": "1"}})"), "CalPastCount"},
      {"array of the wrong length", file(R"({"fields": {"TypeEnabled": [1, 1]}})"),
       "expected 8 elements"},
      {"field and bytes on the same byte",
       file(R"({"fields": {"Title": "x"}, "bytes": {"6": "4100"}})"), "already gave"},
      {"bytes past the end", file(R"({"bytes": {"7814": "010203"}})"), "past the end"},
      {"odd number of hex digits", file(R"({"bytes": {"0": "010"}})"), "pairs of hex digits"},
      {"not hex", file(R"({"bytes": {"0": "0g"}})"), "hex digits"},
      {"offset that is no number", file(R"({"bytes": {"x1": "01"}})"), "not an offset"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      ReadProfileText(row.text);
      ADD_FAILURE() << "no exception";
    } catch (const platform::Exception& error) {
      EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
    }
  }
}

// An e-mail profile comes back as one, every byte of its smaller blocks B and C included, and
// its fields are shown by their e-mail names.
TEST(ProfileFile, GivesBackAnEmailProfileAsOne) {
  const struct {
    const char* name;
    std::function<void(Profile&)> change;
  } rows[] = {
      {"e-mail defaults", [](Profile&) {}},
      {"login and inbox folder",
       [](Profile& p) {
         p.c.Set(framework::block_c_mail::ManualLogin, 1);
         p.c.Set(framework::block_c_mail::LoginUser, u"jdoe");
         p.c.Set(framework::block_c_mail::InboxFolderId, u"F-12");
         p.c.Set(framework::block_c_mail::SupportedOnly, 1);
       }},
      {"mail range filled in",
       [](Profile& p) { p.a.Set(block_a::MailRangeEnd, u"20010215T000000"); }},
      {"every byte of B and C random",
       [](Profile& p) {
         std::mt19937 random(6);
         for (SetupBlock* block : {&p.b, &p.c}) {
           std::string bytes(block->Size(), '\0');
           for (char& byte : bytes)
             byte = static_cast<char>(random());
           *block = SetupBlock(block->Kind(), bytes);
         }
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Profile profile = NewEmailProfile("c:\\profiles\\mail.bin", kDefaultLogLevel, u"DESK");
    row.change(profile);
    const Profile again = ReadProfileText(WriteProfileText(profile));
    EXPECT_EQ(again.Kind(), ProfileKind::kEmail);
    EXPECT_EQ(FirstDifferentByte(again, profile), "");
  }
  const json::Value file = json::Parse(WriteProfileText(NewEmailProfile("", 3, u"DESK")));
  EXPECT_EQ(file.At("kind").AsString(), "email");
  EXPECT_EQ(file.At("B").At("fields").At("DeviceAccount").AsString(), "DESK (PC mail)");
  EXPECT_EQ(file.At("A").At("fields").At("MemoLimit").AsInteger(), 10240);
  EXPECT_EQ(file.At("A").At("fields").At("@7024").AsInteger(), -1);
}

// Files written before e-mail profiles have no kind: calendar profiles, as they always were.
TEST(ProfileFile, AFileWithoutAKindHoldsACalendarProfile) {
  const struct {
    const char* text;
    ProfileKind kind;
  } rows[] = {
      {R"({"format": "gwsync profile 1"})", ProfileKind::kCalendar},
      {R"({"format": "gwsync profile 1", "kind": "calendar"})", ProfileKind::kCalendar},
      {R"({"format": "gwsync profile 1", "kind": "email"})", ProfileKind::kEmail},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const Profile profile = ReadProfileText(row.text);
    EXPECT_EQ(profile.Kind(), row.kind);
    EXPECT_TRUE(profile == Profile(row.kind));
  }
  EXPECT_EQ(json::Parse(WriteProfileText(NewCalendarProfile(""))).At("kind").AsString(),
            "calendar");
}

// A field of the other kind, or a kind there is none of, is refused with the block's kind.
TEST(ProfileFile, RefusesAKindItDoesNotKnowAndFieldsOfTheOtherKind) {
  const auto file = [](const std::string& kind, const std::string& rest) {
    return R"({"format": "gwsync profile 1", "kind": )" + kind + rest + "}";
  };
  const struct {
    const char* name;
    std::string text;
    std::string message;
  } rows[] = {
      {"unknown kind", file(R"("contacts")", ""), R"("kind" must be "calendar" or "email")"},
      {"kind that is no text", file("1", ""), R"("kind" must be)"},
      {"kind in another case", file(R"("Email")", ""), R"("kind" must be)"},
      {"calendar field in an e-mail profile",
       file(R"("email")", R"(, "C": {"fields": {"AddressBook": "Friends"}})"),
       "block C (e-mail): no field is known as 'AddressBook'"},
      {"e-mail field in a calendar profile",
       file(R"("calendar")", R"(, "B": {"fields": {"DeviceAccount": "x"}})"),
       "block B (calendar and contacts): no field is known as 'DeviceAccount'"},
      {"bytes past the end of e-mail block B",
       file(R"("email")", R"(, "B": {"bytes": {"134": "01020304"}})"), "past the end"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    try {
      ReadProfileText(row.text);
      ADD_FAILURE() << "no exception";
    } catch (const platform::Exception& error) {
      EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
    }
  }
}

TEST(ProfileFile, SavesAndLoadsAFileAndNamesItInFailures) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "gws_host_profile_file.json").string();
  Profile profile = NewCalendarProfile(path);
  profile.c.Set(framework::block_c_pim::AddressBook, u"Friends");
  SaveProfileFile(path, profile);
  EXPECT_EQ(FirstDifferentByte(LoadProfileFile(path), profile), "");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << "[]";
  try {
    LoadProfileFile(path);
    ADD_FAILURE() << "no exception";
  } catch (const platform::Exception& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
  std::filesystem::remove(path);
  EXPECT_THROW(LoadProfileFile(path), platform::Exception);
}

}  // namespace
}  // namespace sim
