// The trace: binary data kept out of trace lines, the trace file's name and content.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/text_util.h"
#include "framework/trace.h"
#include "platform/exception.h"

namespace framework {
namespace {

TEST(CleanTraceText, ReplacesBinaryDataOnly) {
  struct Case {
    const char* name;
    std::string text;
    std::string wanted;
  };
  const Case cases[] = {
      {"one_value", "A;VALUE=BINARY:x;*00000003*abc", "A;VALUE=BINARY:x;*00000003*<BINARY STREAM>"},
      {"rest_of_line_kept", "A;VALUE=BINARY:x;*00000003*abc\r\nEND:X",
       "A;VALUE=BINARY:x;*00000003*<BINARY STREAM>\r\nEND:X"},
      {"data_holding_the_marker_is_hidden_too", "A;VALUE=BINARY:x;*0000000F*;VALUE=BINARY:y|B:1",
       "A;VALUE=BINARY:x;*0000000F*<BINARY STREAM>|B:1"},
      {"two_values", "A;VALUE=BINARY:p;*00000001*1\r\nB;VALUE=BINARY:q;*00000002*22\r\n",
       "A;VALUE=BINARY:p;*00000001*<BINARY STREAM>\r\nB;VALUE=BINARY:q;*00000002*<BINARY "
       "STREAM>\r\n"},
      {"length_past_end_takes_the_rest", "A;VALUE=BINARY:x;*000000FF*abc",
       "A;VALUE=BINARY:x;*000000FF*<BINARY STREAM>"},
      // Long enough that, read as a length, "00000003" would hide the bytes after it.
      {"no_asterisk_left_alone", "A;VALUE=BINARY:x;y00000003*abc",
       "A;VALUE=BINARY:x;y00000003*abc"},
      // No bytes to hide: the placeholder still marks the spot and nothing is lost.
      {"zero_length", "A;VALUE=BINARY:x;*00000000*abc",
       "A;VALUE=BINARY:x;*00000000*<BINARY STREAM>abc"},
      {"negative_length", "A;VALUE=BINARY:x;*FFFFFFFF*abc",
       "A;VALUE=BINARY:x;*FFFFFFFF*<BINARY STREAM>abc"},
      {"no_colon_stops", "A;VALUE=BINARY", "A;VALUE=BINARY"},
      {"no_separator_stops", "A;VALUE=BINARY:abc", "A;VALUE=BINARY:abc"},
      {"marker_needs_its_semicolon", "VALUE=BINARY:x;*00000001*a", "VALUE=BINARY:x;*00000001*a"},
      {"plain_text", "WriteSource: Insert APT [\r\nUID:1\r\n]",
       "WriteSource: Insert APT [\r\nUID:1\r\n]"},
      {"unreadable_length", "A;VALUE=BINARY:x;*00ZZ0003*abc",
       "!! ERROR CLEANING TEXT - CANNOT TRACE !! '00ZZ0003' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeForDisplay(CleanTraceText(c.text)), EscapeForDisplay(c.wanted)) << c.name;
  }
}

TEST(TraceFilePath, ReplacesDotsInTheFileNameOnly) {
  struct Case {
    std::string module;
    std::string wanted;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Sync\\pimsync.dll", "C:\\Program Files\\Sync\\pimsync_dll.txt"},
      // The folder's own dots stay: the trace belongs in the module's folder.
      {"C:\\App 2.0\\pimsync.dll", "C:\\App 2.0\\pimsync_dll.txt"},
      {"/opt/app.d/mail.sync.dll", "/opt/app.d/mail_sync_dll.txt"},
      {"pimsync.dll", "pimsync_dll.txt"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TraceFilePath(c.module), c.wanted);
}

TEST(TraceLog, CollectsOnlyWhileEnabledAndCreated) {
  TraceLog log;
  log.SetEnabled(true);
  log.Add("before create");
  EXPECT_EQ(log.Lines(), nullptr);
  log.Create();
  log.Add("A;VALUE=BINARY:x;*00000001*z");
  log.Add("");
  ASSERT_NE(log.Lines(), nullptr);
  EXPECT_EQ(*log.Lines(),
            (std::vector<std::string>{"A;VALUE=BINARY:x;*00000001*<BINARY STREAM>", ""}));
  log.SetEnabled(false);  // switching off drops what was collected
  EXPECT_TRUE(log.Lines()->empty());
  log.Add("while off");
  EXPECT_TRUE(log.Lines()->empty());
}

TEST(SaveTraceFile, WritesOneLinePerEntryWithCrLf) {
  const auto path = std::filesystem::temp_directory_path() / "gws_trace_save_test.txt";
  SaveTraceFile(path.string(), {"first", "", "with\r\nbreak"});
  std::ifstream file(path, std::ios::binary);
  const std::string content{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  file.close();
  std::filesystem::remove(path);
  EXPECT_EQ(EscapeForDisplay(content), EscapeForDisplay("first\r\n\r\nwith\r\nbreak\r\n"));
}

TEST(SaveTraceFile, RaisesWhenTheFileCannotBeWritten) {
  const auto folder = std::filesystem::temp_directory_path() / "gws_no_such_folder" / "x.txt";
  EXPECT_THROW(SaveTraceFile(folder.string(), {"line"}), ::platform::Exception);
}

}  // namespace
}  // namespace framework
