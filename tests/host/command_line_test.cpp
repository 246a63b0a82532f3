// gwsync's command line: codes by name and number, options, commands and what is refused.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/gwsync/command_line.h"

namespace gwsync {
namespace {

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const UsageError& error) {
    return error.what();
  }
  return "(accepted)";
}

TEST(CommandLine, TakesTypesByNameInAnyCaseOrByAnyShortNumber) {
  const struct {
    const char* text;
    int16_t code;
  } rows[] = {{"APT", 0},  {"apt", 0}, {"EVE", 1},       {"ANN", 2},
              {"TODO", 3}, {"Con", 4}, {"EMAIL", 6},     {"5", 5},
              {"7", 7},    {"-1", -1}, {"32767", 32767}, {"-32768", -32768}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseTypeCode(row.text), row.code);
  }
  for (const char* bad : {"APPT", "", "32768", "0x1", "1.5", " 1", "CONTACT"}) {
    SCOPED_TRACE(bad);
    EXPECT_NE(ErrorOf([bad] { ParseTypeCode(bad); }).find("unknown TYPE"), std::string::npos);
  }
}

TEST(CommandLine, TakesOperationsByNameOrNumber) {
  const struct {
    const char* text;
    int16_t code;
  } rows[] = {{"insert", 1}, {"MODIFY", 2}, {"delete", 3}, {"0", 0}, {"4", 4}, {"-7", -7}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseOperationCode(row.text), row.code);
  }
  for (const char* bad : {"read", "ins", "add", "99999"}) {
    SCOPED_TRACE(bad);
    EXPECT_NE(ErrorOf([bad] { ParseOperationCode(bad); }).find("unknown OP"), std::string::npos);
  }
}

TEST(CommandLine, TakesDaysAsEightDigitsOfARealDay) {
  EXPECT_EQ(ParseDay("20000229").days,
            platform::EncodeAutomationDate({2000, 2, 29, 0, 0, 0, 0}).days);
  for (const char* bad :
       {"20010229", "2001022", "200102281", "2001-02-28", "09991231", "20011301", "2001020x"}) {
    SCOPED_TRACE(bad);
    EXPECT_NE(ErrorOf([bad] { ParseDay(bad); }).find("YYYYMMDD"), std::string::npos);
  }
}

TEST(CommandLine, ReadsEveryOptionBeforeTheCommand) {
  const std::optional<Options> options = ParseCommandLine(
      {"--store", "s.json",   "--profile", "p.json", "--range",       "20010201", "20010228",
       "--today", "20010215", "--trace",   "t.txt",  "--abort-after", "3",        "--registry",
       "r.json",  "--os",     "98",        "write",  "CON",           "modify",   "rec.vcf"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->storeFile, "s.json");
  EXPECT_EQ(options->profileFile, "p.json");
  EXPECT_EQ(options->traceFile, "t.txt");
  EXPECT_EQ(options->registryFile, "r.json");
  EXPECT_EQ(options->abortAfter, 3);
  ASSERT_TRUE(options->os);
  EXPECT_EQ(options->os->minor, 10);
  EXPECT_EQ(options->rangeFirst->days, ParseDay("20010201").days);
  EXPECT_EQ(options->rangeLast->days, ParseDay("20010228").days);
  EXPECT_EQ(options->today->days, ParseDay("20010215").days);
  const auto* write = std::get_if<WriteCommand>(&options->command);
  ASSERT_TRUE(write);
  EXPECT_EQ(write->type, 4);
  EXPECT_EQ(write->op, 2);
  EXPECT_EQ(write->file, "rec.vcf");
}

// The host's setup dialogs are named first, so setup takes its options after it too.
TEST(CommandLine, SetupTakesItsOptionsBeforeAndAfterIt) {
  for (const std::vector<std::string>& argv : std::vector<std::vector<std::string>>{
           {"setup", "email", "invisible", "--profile", "p.json", "--registry", "r.json"},
           {"--registry", "r.json", "setup", "email", "invisible", "--profile", "p.json"}}) {
    SCOPED_TRACE(testing::PrintToString(argv));
    const Options options = ParseCommandLine(argv).value();
    EXPECT_EQ(options.profileFile, "p.json");
    EXPECT_EQ(options.registryFile, "r.json");
    const SetupCommand setup = std::get<SetupCommand>(options.command);
    EXPECT_EQ(setup.targets, (std::vector<SetupTarget>{{SetupComponent::kEmail, ""}}));
    EXPECT_EQ(setup.action, SetupAction::kInvisible);
  }
}

TEST(CommandLine, ReadsTheComponentsOfSetupAndTheFilesOfTheWizard) {
  using enum SetupComponent;
  const struct {
    std::vector<std::string> argv;
    std::vector<SetupTarget> targets;
    SetupAction action;
  } rows[] = {
      {{"setup", "Calendar", "show"}, {{kCalendar, ""}}, SetupAction::kShow},
      {{"setup", "contacts", "wizard"}, {{kContacts, ""}}, SetupAction::kWizard},
      {{"setup", "wizard", "email=m.json"}, {{kEmail, "m.json"}}, SetupAction::kWizard},
      {{"setup", "wizard", "calendar=c:\\p\\c=1.json", "CONTACTS=k.json", "--today", "20010215"},
       {{kCalendar, "c:\\p\\c=1.json"}, {kContacts, "k.json"}},
       SetupAction::kWizard},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.argv));
    const SetupCommand setup = std::get<SetupCommand>(ParseCommandLine(row.argv)->command);
    EXPECT_EQ(setup.targets, row.targets);
    EXPECT_EQ(setup.action, row.action);
  }
}

TEST(CommandLine, ReadsThePluginAndTheFolderName) {
  const struct {
    std::vector<std::string> argv;
    std::optional<PluginKind> plugin;
    std::optional<std::string> folderName;
  } rows[] = {
      {{"read", "EMAIL"}, std::nullopt, std::nullopt},
      {{"--plugin", "mailsync", "read", "APT"}, PluginKind::kMailsync, std::nullopt},
      {{"--plugin", "PimSync", "session"}, PluginKind::kPimsync, std::nullopt},
      {{"--folder-name", "Handheld mail", "read", "EMAIL"}, std::nullopt, "Handheld mail"},
      {{"--folder-name", "", "read", "EMAIL"}, std::nullopt, ""},
      {{"--folder-name", "--plugin", "read", "EMAIL"}, std::nullopt, "--plugin"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.argv));
    const Options options = ParseCommandLine(row.argv).value();
    EXPECT_EQ(options.plugin, row.plugin);
    EXPECT_EQ(options.folderName, row.folderName);
  }
}

TEST(CommandLine, ReadsEachCommandWithItsArguments) {
  const auto command = [](std::vector<std::string> argv) {
    return ParseCommandLine(argv).value().command;
  };
  EXPECT_EQ(std::get<ReadCommand>(command({"read", "TODO"})).type, 3);
  EXPECT_EQ(std::get<WriteCommand>(command({"write", "7", "9"})).op, 9);
  EXPECT_EQ(std::get<WriteCommand>(command({"write", "APT", "insert"})).file, "");
  EXPECT_EQ(std::get<RunCommand>(command({"run", "day.gws"})).script, "day.gws");
  EXPECT_EQ(std::get<ParseCommand>(command({"parse", "x.txt"})).file, "x.txt");
  EXPECT_EQ(std::get<ParseCommand>(command({"parse"})).file, "");
  EXPECT_TRUE(std::holds_alternative<SessionCommand>(command({"session"})));
  EXPECT_EQ(std::get<SetupCommand>(command({"setup", "EMAIL", "wizard"})).action,
            SetupAction::kWizard);
  EXPECT_FALSE(ParseCommandLine({"--help", "read", "APT"}));
  EXPECT_FALSE(ParseCommandLine({"-h"}));
}

TEST(CommandLine, RefusesWhatItCannotRunAndSaysWhy) {
  const struct {
    std::vector<std::string> argv;
    std::string message;
  } rows[] = {
      {{}, "no command"},
      {{""}, "no command"},
      {{"sync"}, "unknown command 'sync'"},
      {{"read"}, "read needs a TYPE"},
      {{"read", "APT", "CON"}, "too many arguments for read: CON"},
      {{"write", "APT"}, "write needs an OP"},
      {{"write", "APT", "insert", "a", "b"}, "too many arguments for write: b"},
      {{"write", "APT", "add", "f"}, "unknown OP 'add'"},
      {{"run"}, "run needs a SCRIPT"},
      {{"session", "now"}, "too many arguments for session"},
      {{"parse", "a", "b"}, "too many arguments for parse"},
      {{"--range", "20010201", "read", "APT"}, "is not a day"},
      {{"--range", "20010201"}, "--range needs two days"},
      {{"--range", "20010228", "20010201", "read", "APT"}, "--range ends before it starts"},
      {{"--abort-after", "0", "read", "APT"}, "--abort-after needs a count"},
      {{"--abort-after", "x", "read", "APT"}, "--abort-after needs a count"},
      {{"--today", "yesterday", "read", "APT"}, "'yesterday' is not a day"},
      {{"--store"}, "--store needs a value"},
      {{"--os", "3.11", "session"}, "unknown operating system '3.11'"},
      {{"--verbose", "read", "APT"}, "unknown option --verbose"},
      {{"--plugin", "emailsync", "read", "EMAIL"},
       "unknown plug-in 'emailsync' (pimsync or mailsync)"},
      {{"--plugin"}, "--plugin needs a value"},
      {{"--folder-name"}, "--folder-name needs a value"},
      {{"setup"}, "setup needs a COMPONENT"},
      {{"setup", "email"}, "setup needs an ACTION"},
      {{"setup", "tasks", "show"}, "unknown setup COMPONENT 'tasks'"},
      {{"setup", "wizard"}, "setup needs COMPONENT=FILE"},
      {{"setup", "wizard", "email"}, "setup wizard takes COMPONENT=FILE, not 'email'"},
      {{"setup", "wizard", "email="}, "setup wizard takes COMPONENT=FILE, not 'email='"},
      {{"setup", "wizard", "notes=n.json"}, "unknown setup COMPONENT 'notes'"},
      {{"setup", "wizard", "email=a", "Email=b"}, "setup wizard names Email twice"},
      {{"setup", "email", "open"}, "unknown setup ACTION 'open'"},
      {{"setup", "email", "show", "now"}, "too many arguments for setup: now"},
      {{"setup", "email", "show", "--profile"}, "--profile needs a value"},
      {{"read", "EMAIL", "--profile", "p.json"}, "too many arguments for read: --profile"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.argv));
    EXPECT_NE(ErrorOf([&] { ParseCommandLine(row.argv); }).find(row.message), std::string::npos)
        << ErrorOf([&] { ParseCommandLine(row.argv); });
  }
}

}  // namespace
}  // namespace gwsync
