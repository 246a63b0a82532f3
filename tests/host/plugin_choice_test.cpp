// Which plug-in a run hosts, and the answers its folder-name dialog gets.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/data_types.h"
#include "tools/gwsync/plugin_choice.h"

namespace gwsync {
namespace {

using framework::data_type::kApt;
using framework::data_type::kCon;
using framework::data_type::kEmail;
using framework::data_type::kTodo;

ScriptStep Step(int line, int16_t type) {
  ScriptStep step;
  step.line = line;
  step.request.type = type;
  return step;
}

TEST(PluginChoice, EmailIsMailsyncsAndEveryOtherCodePimsyncs) {
  const struct {
    int16_t type;
    PluginKind plugin;
  } rows[] = {
      {kApt, PluginKind::kPimsync},    {1, PluginKind::kPimsync},    {2, PluginKind::kPimsync},
      {kTodo, PluginKind::kPimsync},   {kCon, PluginKind::kPimsync}, {5, PluginKind::kPimsync},
      {kEmail, PluginKind::kMailsync}, {7, PluginKind::kPimsync},    {-1, PluginKind::kPimsync}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    EXPECT_EQ(PluginOfType(row.type), row.plugin);
  }
  EXPECT_EQ(InfoOf(PluginKind::kMailsync).profile, sim::ProfileKind::kEmail);
  EXPECT_EQ(InfoOf(PluginKind::kPimsync).profile, sim::ProfileKind::kCalendar);
  EXPECT_EQ(InfoOf(PluginKind::kMailsync).moduleFile, "mailsync.dll");
}

TEST(PluginChoice, RequestsThatNeedBothPluginsAreRefusedNamingTheLines) {
  const struct {
    std::vector<ScriptStep> steps;
    std::string message;
  } rows[] = {
      {{Step(1, kApt), Step(4, kEmail)}, "4: EMAIL is mailsync's, but line 1 (APT) is pimsync's"},
      {{Step(2, kEmail), Step(3, kEmail), Step(5, 5)}, "5: 5 is pimsync's, but line 2 (EMAIL)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    try {
      ChoosePlugin(std::nullopt, row.steps);
      ADD_FAILURE() << "no exception";
    } catch (const ScriptError& error) {
      EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find("--plugin"), std::string::npos) << error.what();
    }
  }
}

// Played against a plug-in that, like mailsync, refuses only the empty name.
TEST(PluginChoice, FolderNameAnswersComeFromTheOptionThenTheScript) {
  const struct {
    const char* name;
    std::optional<std::string> option;
    std::vector<std::string> script;
    std::optional<std::string> outcome;
  } rows[] = {
      {"none: Enter on the proposed name", std::nullopt, {}, "Z380"},
      {"the option", "Handheld", {}, "Handheld"},
      {"an empty option, refused, and nothing after it", "", {}, std::nullopt},
      {"the option before the script", "First", {"Second"}, "First"},
      {"the script after a refused option", "", {"Second"}, "Second"},
      {"the script alone", std::nullopt, {"", "Archive"}, "Archive"},
      {"blanks are a name", std::nullopt, {"  "}, "  "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    platform::FolderNameAnswers answers = FolderNameAnswersOf(row.option, row.script);
    EXPECT_EQ(answers.Play("Z380", [](const std::string& name) { return !name.empty(); }),
              row.outcome);
  }
}

}  // namespace
}  // namespace gwsync
