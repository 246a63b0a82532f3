// gwsync's host commands with the real mail plug-in against the simulated GroupWise: the plug-in
// chosen by the data type, the mail range as mailsync reads it, the folder it is told to make.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "tests/support/scratch_folder_test.h"
#include "tools/gwsync/console.h"
#include "tools/gwsync/host_command.h"
#include "tools/gwsync/plugin_factory.h"

namespace gwsync {
namespace {

std::string Beside(std::string_view module) {
  return (std::filesystem::path(GWS_RUNTIME_DIR) / module).string();
}

// The days of every record's DATE in a stream: "20010215" ...
std::vector<std::string> Days(const std::string& stream) {
  std::vector<std::string> days;
  const std::string key = "\r\nDATE:";
  for (std::size_t at = stream.find(key); at != std::string::npos; at = stream.find(key, at + 1))
    days.push_back(stream.substr(at + key.size(), 8));
  return days;
}

class MailRunTest : public testing_support::ScratchFolderTest {
 protected:
  MailRunTest() : ScratchFolderTest("gws_mail_") {}

  int Run(std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"--today", "20010215"});
    std::istringstream in;
    out.str("");
    err.str("");
    return RunHostCommand(*ParseCommandLine(argv),
                          {{CalendarPluginFactory(), Beside("pimsync.dll")},
                           {MailPluginFactory(), Beside("mailsync.dll")}},
                          {in, out, err, false});
  }

  std::ostringstream out;
  std::ostringstream err;
};

// The new e-mail profile's three days back reach today's last second; --range gives the days.
TEST_F(MailRunTest, ReadEmailDeliversTheMailOfTheMailRange) {
  const struct {
    std::vector<std::string> options;
    std::string first, last;
  } rows[] = {
      {{}, "20010212", "20010215"},
      {{"--range", "20010213", "20010214"}, "20010213", "20010214"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.first);
    std::vector<std::string> argv = row.options;
    argv.insert(argv.end(), {"read", "EMAIL"});
    ASSERT_EQ(Run(argv), 0) << err.str();
    EXPECT_EQ(out.str().rfind("BEGIN:VMAIL\r\n", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("END:VMAIL"), std::string::npos);
    const std::vector<std::string> days = Days(out.str());
    ASSERT_FALSE(days.empty());
    for (const std::string& day : days) {
      EXPECT_GE(day, row.first);
      EXPECT_LE(day, row.last);
    }
    EXPECT_NE(std::find(days.begin(), days.end(), row.last), days.end()) << "the last day is whole";
  }
}

// The CLI tests show the dialog's answers; here the plug-in's trace shows what it made of one.
TEST_F(MailRunTest, TheNamedFolderIsTheOneMade) {
  ASSERT_EQ(Run({"--folder-name", "Handheld mail", "--trace", Path("trace.txt"), "read", "EMAIL"}),
            0)
      << err.str();
  EXPECT_NE(Read("trace.txt").find("Handheld mail folder located/created.  ID:"), std::string::npos)
      << Read("trace.txt");
}

}  // namespace
}  // namespace gwsync
