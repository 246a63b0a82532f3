// The store file: what a run changes survives to the next run exactly, a second save writes
// the same bytes, and a fault in a hand-written file is reported at its line and column.

#include "sim/groupwise/store.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/environment.h"
#include "sim/groupwise/sample_mailbox.h"
#include "tests/sim/groupwise_test_support.h"

namespace sim {
namespace {

using testing_support::At;
using testing_support::Object;
using testing_support::Variant;

// A path in the temp folder that nothing uses yet, removed at the end of the test.
platform::TempFile FreshPath(const std::string& name) {
  const std::string unique = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("gws_" + unique + "_" + name);
  std::filesystem::remove(path);
  return platform::TempFile(path.string());
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(GroupWiseSimStore, WhatARunChangedIsLoadedAgainAndSavedToTheSameBytes) {
  const platform::TempFile path = FreshPath("round.json");
  GroupWise groupwise;
  *groupwise.mailbox = BuildSampleMailbox(At(2000, 1, 5));
  const Object task = testing_support::CalendarMessagesOf(groupwise)
                          .Call("Add", {u"GW.MESSAGE.TASK", int16_t{3}})
                          .AsObject();
  task.GetProperty("Subject").AsObject().PutProperty("PlainText", u"Ünïcödé \U0001F4DD \"q\"\r\n");
  task.PutProperty("DueDate", At(2000, 2, 29, 23, 59, 59));
  task.PutProperty("TaskPriority", int16_t{-3});
  const std::u16string id = task.GetProperty("MessageID").AsText();
  SaveStore(path.Path(), *groupwise.mailbox);
  const std::string first = ReadFile(path.Path());

  const Mailbox loaded = LoadStore(path.Path());
  SaveStore(path.Path(), loaded);
  EXPECT_EQ(ReadFile(path.Path()), first);
  const CalendarItem* reloaded = loaded.FindItem(id);
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(reloaded->subject, u"Ünïcödé \U0001F4DD \"q\"\r\n");
  EXPECT_EQ(reloaded->dueDate, At(2000, 2, 29, 23, 59, 59));
  EXPECT_EQ(reloaded->taskPriority, -3);
  EXPECT_EQ(loaded.nextMessageNumber, groupwise.mailbox->nextMessageNumber);
  EXPECT_EQ(loaded.addressBooks.size(), 1u);
  // Text is UTF-8 in the file, also outside the BMP.
  EXPECT_NE(first.find("\xC3\x9Cn\xC3\xAF"), std::string::npos);
  EXPECT_NE(first.find("\xF0\x9F\x93\x9D"), std::string::npos);
}

TEST(GroupWiseSimStore, AMissingFileStartsEmptyAndIsCreatedOnlyWhenSaved) {
  const platform::TempFile path = FreshPath("new.json");
  StoreFile store(path.Path());
  EXPECT_FALSE(store.Existed());
  EXPECT_TRUE(store.State()->calendar.empty());
  EXPECT_TRUE(store.State()->addressBooks.empty());
  EXPECT_FALSE(store.Changed());
  EXPECT_FALSE(std::filesystem::exists(path.Path()));

  auto addNote = [](const std::shared_ptr<Mailbox>& state) {
    return testing_support::CalendarMessagesOf(GroupWise{state})
        .Call("Add", {u"GW.MESSAGE.NOTE", int16_t{3}})
        .AsObject()
        .GetProperty("MessageID");
  };
  const Variant firstId = addNote(store.State());
  EXPECT_TRUE(store.Changed());
  store.Save();
  EXPECT_FALSE(store.Changed());

  // The next run goes on from there: the item is back, and a new one gets a new id.
  StoreFile next(path.Path());
  EXPECT_TRUE(next.Existed());
  EXPECT_EQ(next.State()->calendar.size(), 1u);
  EXPECT_NE(addNote(next.State()), firstId);
  EXPECT_TRUE(next.Changed());
}

// Where the last occurrence of `marker` begins, as a person counts lines and columns.
std::pair<std::size_t, std::size_t> PlaceOf(const std::string& text, const std::string& marker) {
  const std::size_t at = text.rfind(marker);
  EXPECT_NE(at, std::string::npos) << marker;
  const std::size_t lineStart = text.rfind('\n', at);
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n'));
  return {line, lineStart == std::string::npos ? at + 1 : at - lineStart};
}

TEST(GroupWiseSimStore, AFaultIsReportedWithItsFileLineAndColumn) {
  struct Case {
    const char* name;
    std::string text;
    std::string marker;  // the fault is where this begins (its last occurrence)
    const char* detail;
  };
  const std::string head = "{\n  \"format\": \"groupwise-store\",\n  \"version\": 1,\n";
  auto calendar = [&](const std::string& item) {
    return head + "  \"account\": {\n    \"calendar\": [\n      " + item + "\n    ]\n  }\n}\n";
  };
  const std::string note = R"({"messageId": "N.1", "className": "GW.MESSAGE.NOTE")";
  const Case cases[] = {
      {"JSON syntax", "{\n  \"format\": \"groupwise-store\"\n  \"version\": 1\n}", "\"version\"",
       "expected ',' or '}'"},
      {"another file", "{\"format\": \"registry\", \"version\": 1}", "\"registry\"",
       "not a GroupWise store"},
      {"later version", "{\"format\": \"groupwise-store\", \"version\": 2}", "2}", "version 1"},
      {"unknown member", head + "  \"sesion\": {}\n}", "{}", "unknown member \"sesion\""},
      {"bad login word", head + "  \"session\": {\"login\": \"yes\"}\n}", "\"yes\"",
       "login must be"},
      {"negative polls", head + "  \"session\": {\"queryPolls\": -1}\n}", "-1", "whole number"},
      {"missing id", calendar(R"({"className": "GW.MESSAGE.NOTE"})"), "{\"className",
       "needs the member \"messageId\""},
      {"date without leading zeros", calendar(note + R"(, "startDate": "2000-1-5T00:00:00"})"),
       "\"2000", "YYYY-MM-DDThh:mm:ss"},
      {"no such day", calendar(note + R"(, "startDate": "2000-02-30T00:00:00"})"), "\"2000",
       "no such date"},
      {"a place on a note", calendar(note + R"(, "place": "Home"})"), "\"Home\"", "has no place"},
      {"unknown class", calendar(R"({"messageId": "M.1", "className": "GW.MESSAGE.MAIL"})"),
       "\"GW.MESSAGE.MAIL\"", "the calendar holds"},
      {"twice the same id", calendar(note + "},\n      " + note + "}"), "\"N.1\"",
       "second item with this message id"},
      {"not UTF-8", calendar(note + ", \"subject\": \"caf\xE9\"}"), "\"caf", "not UTF-8"},
      {"text where a flag belongs", calendar(note + R"(, "private": "yes"})"), "\"yes\"",
       "expected true or false"},
      {"a book without a name", head + "  \"account\": {\"addressBooks\": [{\"entries\": []}]}\n}",
       "{\"entries", "needs the member \"name\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto [line, column] = PlaceOf(c.text, c.marker);
    try {
      StoreFromJson(c.text, "mailbox.json");
      ADD_FAILURE() << "accepted";
    } catch (const StoreError& error) {
      EXPECT_EQ(error.File(), "mailbox.json");
      EXPECT_EQ(error.Line(), line) << error.what();
      EXPECT_EQ(error.Column(), column) << error.what();
      EXPECT_NE(error.Detail().find(c.detail), std::string::npos) << error.what();
      EXPECT_EQ(std::string(error.what()).rfind("mailbox.json, line " + std::to_string(line), 0),
                0u)
          << error.what();
    }
  }
}

TEST(GroupWiseSimStore, ALoadErrorNamesThePathOfTheFile) {
  const platform::TempFile path = FreshPath("broken.json");
  std::ofstream(path.Path(), std::ios::binary) << "{\n  \"format\": 1\n}\n";
  try {
    LoadStore(path.Path());
    ADD_FAILURE() << "accepted";
  } catch (const StoreError& error) {
    EXPECT_EQ(std::string(error.what()).rfind(path.Path() + ", line 2, column 13: ", 0), 0u)
        << error.what();
  }
}

TEST(GroupWiseSimStore, TheExampleOfItsDocumentationIsAStore) {
  const char* sourceDir = std::getenv("GWS_SOURCE_DIR");
  if (!sourceDir) GTEST_SKIP() << "GWS_SOURCE_DIR is not set";
  const std::string doc = ReadFile(std::string(sourceDir) + "/docs/groupwise-store.md");
  const std::size_t heading = doc.find("### Example");
  const std::size_t begin = doc.find("```json\n", heading);
  const std::size_t end = doc.find("```", begin + 8);
  ASSERT_NE(end, std::string::npos) << "no example in the documentation";
  const Mailbox mailbox =
      StoreFromJson(doc.substr(begin + 8, end - begin - 8), "docs/groupwise-store.md");
  ASSERT_EQ(mailbox.calendar.size(), 2u);
  EXPECT_FALSE(mailbox.calendar[0].personal);
  EXPECT_EQ(mailbox.calendar[1].failingTokens, std::vector<std::string>{"ItemGetAttribute"});
  ASSERT_EQ(mailbox.addressBooks.size(), 1u);
  // The custom field's identifier is the one the book would have given it.
  AddressBook book = mailbox.addressBooks[0];
  const int32_t documented = book.FindDefinition(u"PMTPIUID")->fieldId;
  book.definitions.pop_back();
  EXPECT_EQ(book.AddDefinition(u"PMTPIUID").fieldId, documented);
  // The mail: a file's bytes, an attached mail, a phone message's flags.
  ASSERT_EQ(mailbox.messages.size(), 2u);
  EXPECT_EQ(mailbox.folders.size(), 2u);
  const MailMessage& forward = mailbox.messages[0];
  ASSERT_EQ(forward.attachments.size(), 2u);
  EXPECT_EQ(*forward.attachments[0].data, "Q1;Q2\r\n120;135\r\n");
  EXPECT_EQ(forward.attachments[1].item.get()->sender.emailAddress, u"anna.mueller@example.com");
  EXPECT_EQ(forward.recipients[1].targetType, kCc);
  EXPECT_TRUE(mailbox.messages[1].pleaseCall);
  EXPECT_EQ(mailbox.messages[1].boxType, BoxType::kIncoming);
}

}  // namespace
}  // namespace sim
