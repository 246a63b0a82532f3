// gwsync's host commands with the real calendar plug-in against the simulated GroupWise: what
// the options mean to the plug-in, seen in the records it delivers and the store it changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "sim/groupwise/sample_mailbox.h"
#include "sim/groupwise/store.h"
#include "sim/host/profile_file.h"
#include "tests/support/scratch_folder_test.h"
#include "tools/gwsync/console.h"
#include "tools/gwsync/host_command.h"
#include "tools/gwsync/plugin_factory.h"

namespace gwsync {
namespace {

// Where the build puts the plug-in's resource libraries.
std::string ModulePath() {
  return (std::filesystem::path(GWS_RUNTIME_DIR) / "pimsync.dll").string();
}

// The values of one property of every record in a stream: "DTSTART" gives "20010212T090000" ...
std::vector<std::string> Values(const std::string& stream, const std::string& name) {
  std::vector<std::string> values;
  const std::string key = "\r\n" + name + ":";
  for (std::size_t at = stream.find(key); at != std::string::npos; at = stream.find(key, at + 1)) {
    const std::size_t start = at + key.size();
    values.push_back(stream.substr(start, stream.find("\r\n", start) - start));
  }
  return values;
}

class CalendarRunTest : public testing_support::ScratchFolderTest {
 protected:
  CalendarRunTest() : ScratchFolderTest("gws_calendar_") {}

  int Run(std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"--today", "20010215"});
    std::istringstream in;
    out.str("");
    err.str("");
    return RunHostCommand(*ParseCommandLine(argv), {CalendarPluginFactory(), ModulePath()},
                          {in, out, err, false});
  }

  std::ostringstream out;
  std::ostringstream err;
};

// The plug-in synchronizes up to the day before CalRangeEnd: a range whose last day is an
// appointment's day must deliver it, and one that ends the day before must not.
TEST_F(CalendarRunTest, ARangeDeliversTheAppointmentsOfItsLastDayAndNoneAfter) {
  ASSERT_EQ(Run({"read", "APT"}), 0) << err.str();
  const std::vector<std::string> all = Values(out.str(), "DTSTART");
  ASSERT_FALSE(all.empty());
  // The latest appointment of the sample's week, 12 to 18 February.
  std::string last;
  for (const std::string& start : all) {
    if (start.substr(0, 8) <= "20010218" && start > last) last = start;
  }
  ASSERT_FALSE(last.empty());
  const std::string lastDay = last.substr(0, 8);

  ASSERT_EQ(Run({"--range", "20010212", lastDay, "read", "APT"}), 0) << err.str();
  const std::vector<std::string> week = Values(out.str(), "DTSTART");
  EXPECT_NE(std::find(week.begin(), week.end(), last), week.end());
  for (const std::string& start : week) {
    EXPECT_GE(start.substr(0, 8), "20010212");
    EXPECT_LE(start.substr(0, 8), lastDay);
  }
  EXPECT_LT(week.size(), all.size()) << "the default range reaches beyond the week";

  const platform::CivilDateTime before =
      platform::DecodeAutomationDate({ParseDay(lastDay).days - 1});
  char dayBefore[9];
  std::snprintf(dayBefore, sizeof dayBefore, "%04d%02d%02d", before.year, before.month, before.day);
  ASSERT_EQ(Run({"--range", "20010212", dayBefore, "read", "APT"}), 0) << err.str();
  const std::vector<std::string> shorter = Values(out.str(), "DTSTART");
  EXPECT_EQ(std::find(shorter.begin(), shorter.end(), last), shorter.end());
}

// A record inserted by one line is found by the next read and deleted by a later line through
// the UID GroupWise gave it; a new store file keeps what the run left.
TEST_F(CalendarRunTest, AScriptInsertsReadsAndDeletesThroughTheStoreFile) {
  Write("lunch.vcs",
        "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\nDTSTART:20010220T120000\r\n"
        "DTEND:20010220T130000\r\nDESCRIPTION:Lunch\r\nCLASS:PUBLIC\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n");
  Write("day.gws",
        "write APT insert lunch.vcs > added.vcs\n"
        "read APT > after-insert.vcs\n");
  ASSERT_EQ(Run({"--store", Path("mailbox.json"), "run", Path("day.gws")}), 0) << err.str();
  const std::vector<std::string> uid = Values(Read("added.vcs"), "UID");
  ASSERT_EQ(uid.size(), 1u) << Read("added.vcs");
  EXPECT_EQ(Values(Read("after-insert.vcs"), "UID"), uid) << "the new store held nothing else";
  EXPECT_EQ(sim::LoadStore(Path("mailbox.json")).calendar.size(), 1u);

  Write("later.gws", "write APT delete added.vcs > deleted.vcs\nread APT\n");
  ASSERT_EQ(Run({"--store", Path("mailbox.json"), "run", Path("later.gws")}), 0) << err.str();
  EXPECT_TRUE(Values(out.str(), "UID").empty()) << out.str();
  EXPECT_EQ(sim::LoadStore(Path("mailbox.json")).calendar.size(), 0u);
}
// Only a run that changed the mailbox writes the store: a read leaves the file untouched (not
// even rewritten with the same bytes), a write saves what it did.
TEST_F(CalendarRunTest, OnlyARunThatChangesTheMailboxWritesTheStore) {
  Write("lunch.vcs",
        "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\nDTSTART:20010220T120000\r\n"
        "DTEND:20010220T130000\r\nDESCRIPTION:Lunch\r\nCLASS:PUBLIC\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n");
  const struct {
    const char* name;
    std::vector<std::string> command;
    bool written;
  } rows[] = {
      {"a read", {"read", "APT"}, false},
      {"an insert", {"write", "APT", "insert", Path("lunch.vcs")}, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    sim::WriteSampleStore(Path("mailbox.json"), ParseDay("20010215"));
    std::filesystem::last_write_time(
        Path("mailbox.json"),
        std::filesystem::last_write_time(Path("mailbox.json")) - std::chrono::hours(48));
    const auto longAgo = std::filesystem::last_write_time(Path("mailbox.json"));
    const std::size_t items = sim::LoadStore(Path("mailbox.json")).calendar.size();

    std::vector<std::string> argv = {"--store", Path("mailbox.json")};
    argv.insert(argv.end(), row.command.begin(), row.command.end());
    ASSERT_EQ(Run(argv), 0) << err.str();
    EXPECT_NE(out.str().find("BEGIN:VEVENT"), std::string::npos) << "the run did its work";
    EXPECT_EQ(std::filesystem::last_write_time(Path("mailbox.json")) != longAgo, row.written);
    EXPECT_EQ(sim::LoadStore(Path("mailbox.json")).calendar.size(), items + row.written);
  }
}

// Whatever stops a script, the requests before it were done in GroupWise, and the store keeps
// them: the insert of the first line survives every way the second line can fail.
TEST_F(CalendarRunTest, WhateverStopsAScriptTheStoreKeepsTheRequestsBeforeIt) {
  Write("lunch.vcs",
        "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\nDTSTART:20010220T120000\r\n"
        "DTEND:20010220T130000\r\nDESCRIPTION:Lunch\r\nCLASS:PUBLIC\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n");
  // A record file too large to read, made sparse so that it costs no disk.
  { std::ofstream(Path("huge.vcs"), std::ios::binary) << ""; }
  std::filesystem::resize_file(Path("huge.vcs"), kRecordLimit + 1);
  const struct {
    const char* name;
    std::string secondLine;
    int status;
    std::string message;
  } rows[] = {
      {"a record file too large", "write APT insert huge.vcs", 2, "huge.vcs: is larger than"},
      {"a result file that cannot be written", "read APT > no/such/folder/out.vcs", 2,
       "out.vcs: cannot be saved"},
      {"a record file that vanished", "write APT modify vanished.vcs", 2,
       "vanished.vcs: does not exist"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::filesystem::remove(Path("mailbox.json"));
    Write("day.gws", "write APT insert lunch.vcs > added.vcs\n" + row.secondLine + "\n");
    EXPECT_EQ(Run({"--store", Path("mailbox.json"), "run", Path("day.gws")}), row.status);
    EXPECT_NE(err.str().find(row.message), std::string::npos) << err.str();
    EXPECT_EQ(sim::LoadStore(Path("mailbox.json")).calendar.size(), 1u);
    EXPECT_EQ(Values(Read("added.vcs"), "UID").size(), 1u) << "the insert's result was kept";
  }
}

TEST_F(CalendarRunTest, TheProfilesLoginReachesGroupWise) {
  sim::Mailbox mailbox;
  mailbox.userId = u"jdoe";
  sim::SaveStore(Path("mailbox.json"), mailbox);
  for (const auto& [user, status] : {std::pair{u"jdoe", 0}, std::pair{u"someone", 1}}) {
    sim::Profile profile = sim::NewCalendarProfile("");
    profile.c.Set(framework::block_c_pim::ManualLogin, 1);
    profile.c.Set(framework::block_c_pim::LoginUser, user);
    sim::SaveProfileFile(Path("profile.json"), profile);
    EXPECT_EQ(
        Run({"--store", Path("mailbox.json"), "--profile", Path("profile.json"), "read", "APT"}),
        status)
        << err.str();
  }
  EXPECT_NE(err.str().find("Open returned Value 1"), std::string::npos) << err.str();
}

TEST_F(CalendarRunTest, AbortAfterStopsTheReadAndTraceSavesThePluginsTrace) {
  EXPECT_EQ(Run({"--abort-after", "1", "--trace", Path("trace.txt"), "read", "APT"}), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("ReadSource APT returned Value 1"), std::string::npos) << err.str();
  EXPECT_NE(Read("trace.txt").find("TISYNCHAPPU.Init S_OK"), std::string::npos);
}

}  // namespace
}  // namespace gwsync
