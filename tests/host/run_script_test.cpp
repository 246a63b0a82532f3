// Scripts of `gwsync run`: what a line means, and a whole run of several requests.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/host/fake_plugin.h"
#include "tests/support/scratch_folder_test.h"
#include "tools/gwsync/host_command.h"
#include "tools/gwsync/run_script.h"

namespace gwsync {
namespace {

std::string Describe(const ScriptStep& step) {
  std::string text = std::to_string(step.line) + (step.request.write ? " write " : " read ") +
                     std::to_string(step.request.type) + " " + std::to_string(step.request.op);
  if (!step.input.empty()) text += " < " + step.input;
  if (!step.output.empty()) text += " > " + step.output;
  return text;
}

TEST(ParseScript, ReadsRequestsSkippingCommentsAndBlankLines) {
  const std::filesystem::path folder = std::filesystem::path("base");
  const std::string script =
      "# a day's run\r\n"
      "\r\n"
      "read APT\r\n"
      "  write con insert new.vcf > \"out dir/added.vcf\"   # keep the UID\n"
      "write 7 9 \"#odd name\"\n"
      "read 5 > " +
      (std::filesystem::temp_directory_path() / "abs.txt").string();
  std::vector<std::string> got;
  for (const ScriptStep& step : ParseScript(script, folder))
    got.push_back(Describe(step));
  const std::vector<std::string> wanted = {
      "3 read 0 0",
      "4 write 4 1 < " + (folder / "new.vcf").string() + " > " +
          (folder / "out dir/added.vcf").string(),
      "5 write 7 9 < " + (folder / "#odd name").string(),
      "6 read 5 0 > " + (std::filesystem::temp_directory_path() / "abs.txt").string(),
  };
  EXPECT_EQ(got, wanted);
}

// Answers are taken before the run starts, whatever requests follow them.
TEST(ParseScript, TakesTheFolderNameAnswersApartFromTheRequests) {
  const Script script = ParseRunScript(
      "# mail with a folder of our own\n"
      "answer folder-name \"\"   # refused: the next answer follows\n"
      "answer\tfolder-name \"Handheld mail\"\n"
      "answer folder-name \"#1 mail\"\n"
      "read EMAIL\n",
      ".");
  EXPECT_EQ(script.folderNames, (std::vector<std::string>{"", "Handheld mail", "#1 mail"}));
  ASSERT_EQ(script.steps.size(), 1u);
  EXPECT_EQ(Describe(script.steps[0]), "5 read 6 0");
  EXPECT_EQ(ParseScript("answer folder-name x\nread APT\n", ".").size(), 1u);
}

TEST(ParseScript, NamesTheLineThatCannotBeUnderstood) {
  const struct {
    std::string script;
    std::string message;
  } rows[] = {
      {"read APT\nfetch APT\n", "2: unknown command 'fetch'"},
      {"# x\n\nread\n", "3: expected: read TYPE"},
      {"read APT CON\n", "1: expected: read TYPE"},
      {"write APT insert\n", "1: expected: write TYPE OP FILE"},
      {"write APT add f.vcs\n", "1: unknown OP 'add'"},
      {"read APPT\n", "1: unknown TYPE 'APPT'"},
      {"read APT > \"out\n", "1: a quote is not closed"},
      {"> out.txt\n", "1: '>' needs a command"},
      {"answer password x\n", "1: unknown dialog 'password' (folder-name)"},
      {"answer folder-name\n", "1: expected: answer folder-name NAME"},
      {"answer\n", "1: expected: answer folder-name NAME"},
      {"answer folder-name a b\n", "1: expected: answer folder-name NAME"},
      {"answer folder-name a > out\n", "1: expected: answer folder-name NAME"},
      {"read EMAIL\nanswer folder-name x\n", "2: answer lines come before the first request"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.script);
    try {
      ParseScript(row.script, ".");
      ADD_FAILURE() << "no exception";
    } catch (const ScriptError& error) {
      EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
    }
  }
}

class RunScriptTest : public testing_support::ScratchFolderTest {
 protected:
  RunScriptTest() : ScratchFolderTest("gws_script_") {}

  int Run() {
    const std::optional<Options> options =
        ParseCommandLine({"--today", "20010215", "run", (folder / "day.gws").string()});
    std::istringstream in;
    return RunHostCommand(*options,
                          {testing_fake::FakePluginFactory(script), (folder / "p.dll").string()},
                          {in, out, err, false});
  }

  std::shared_ptr<testing_fake::Script> script = std::make_shared<testing_fake::Script>();
  std::ostringstream out;
  std::ostringstream err;
};

// One Init and one Close for all requests; a later line can read what an earlier one wrote.
TEST_F(RunScriptTest, SendsEveryLineWithinOneRun) {
  Write("new.vcs", "BEGIN:VEVENT\r\nEND:VEVENT\r\n");
  Write("day.gws",
        "read APT\n"
        "write APT insert new.vcs > added.vcs\n"
        "write APT modify added.vcs\n");
  EXPECT_EQ(Run(), 0) << err.str();
  EXPECT_EQ(script->calls,
            (std::vector<std::string>{"Init", "Open", "CheckSource", "ReadSource 0 0",
                                      "WriteSource 0 1", "WriteSource 0 2", "Close", "Term"}));
  EXPECT_EQ(Read("added.vcs"), "BEGIN:VEVENT\r\nEND:VEVENT\r\nUID:new\r\n");
  EXPECT_EQ(script->records.at(1), Read("added.vcs"));
  EXPECT_EQ(out.str(), script->readStream + Read("added.vcs") + script->writeBackSuffix);
}

// A failed request leaves no result file behind for a later line to take for its own.
TEST_F(RunScriptTest, AFailedRequestFailsTheRunButNotTheLinesAfterIt) {
  Write("new.vcs", "BEGIN:VEVENT\r\nEND:VEVENT\r\n");
  Write("added.vcs", "left from an earlier run");
  Write("day.gws", "write APT insert new.vcs > added.vcs\nread APT\n");
  script->values["WriteSource"] = 1;
  EXPECT_EQ(Run(), 1);
  EXPECT_FALSE(std::filesystem::exists(folder / "added.vcs"));
  EXPECT_EQ(script->calls.at(4), "ReadSource 0 0");
  EXPECT_EQ(out.str(), script->readStream);
}

TEST_F(RunScriptTest, AMissingRecordFileStopsTheScriptButStillEndsTheRun) {
  Write("day.gws", "read APT\nwrite APT insert nowhere.vcs\nread TODO\n");
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(script->calls, (std::vector<std::string>{"Init", "Open", "CheckSource",
                                                     "ReadSource 0 0", "Close", "Term"}));
  EXPECT_NE(err.str().find("day.gws:2: " + (folder / "nowhere.vcs").string() + ": does not exist"),
            std::string::npos)
      << err.str();
}

// A folder can never become a record or take a result, whatever earlier lines do: the script is
// refused before the plug-in is created, naming the line, and nothing is sent.
TEST_F(RunScriptTest, AFolderForARecordOrAResultIsRefusedBeforeTheRun) {
  std::filesystem::create_directories(folder / "dir");
  Write("new.vcs", "BEGIN:VEVENT\r\nEND:VEVENT\r\n");
  for (const char* line : {"write APT insert dir", "write APT insert new.vcs > dir"}) {
    SCOPED_TRACE(line);
    script = std::make_shared<testing_fake::Script>();
    Write("day.gws", std::string("read APT\n") + line + "\n");
    EXPECT_EQ(Run(), 2);
    EXPECT_TRUE(script->calls.empty());
    EXPECT_NE(err.str().find("day.gws:2: " + (folder / "dir").string() + ": is a folder"),
              std::string::npos)
        << err.str();
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder / "dir"));
}

// Results that nobody receives: the script stops at the first one, as it does when a result
// file cannot be written, and the run still ends with Close and Term.
TEST_F(RunScriptTest, StandardOutputThatFailsStopsTheScript) {
  struct : std::streambuf {
    int_type overflow(int_type) override { return traits_type::eof(); }
  } refusing;
  std::ostream broken(&refusing);
  Write("day.gws", "read APT\nread TODO\n");
  const std::optional<Options> options = ParseCommandLine({"run", (folder / "day.gws").string()});
  std::istringstream in;
  EXPECT_EQ(RunHostCommand(*options,
                           {testing_fake::FakePluginFactory(script), (folder / "p.dll").string()},
                           {in, broken, err, false}),
            1);
  EXPECT_EQ(script->calls, (std::vector<std::string>{"Init", "Open", "CheckSource",
                                                     "ReadSource 0 0", "Close", "Term"}));
  EXPECT_NE(err.str().find("day.gws:1: cannot write standard output"), std::string::npos)
      << err.str();
}

}  // namespace
}  // namespace gwsync
