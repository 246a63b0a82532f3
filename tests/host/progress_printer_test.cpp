// What the host shows on standard error: plain lines for a file, one redrawn line for a
// terminal.

#include <gtest/gtest.h>

#include <sstream>

#include "tools/gwsync/progress_printer.h"

namespace gwsync {
namespace {

using Call = sim::RecordingProgress::Call;
constexpr std::string_view kClear = "\r\x1b[K";

std::string Shown(bool live, const std::vector<Call>& calls) {
  std::ostringstream out;
  {
    ProgressPrinter printer(out, live);
    for (const Call& call : calls)
      printer.Show(call);
  }
  return out.str();
}

TEST(ProgressPrinter, WritesEachTextAsALineWhenNotOnATerminal) {
  const std::string shown = Shown(false, {{"SetSynchText", {"Reading"}},
                                          {"SetRange", {"0", "2"}},
                                          {"SetValue", {"1"}},
                                          {"SetAppText", {"Lunch"}},
                                          {"Aborted", {}},
                                          {"SetAppText", {""}},
                                          {"Log", {"Skipped", "Title", "1"}},
                                          {"SetSynchText", {""}}});
  EXPECT_EQ(shown, "Reading\n  Lunch\nlog: [Title] Skipped\n");
}

// A record's description or a log notice may span lines; each event must stay one line.
TEST(ProgressPrinter, PutsMultiLineTextsOnOneLine) {
  EXPECT_EQ(Shown(false, {{"SetAppText", {"Agenda:\r\n1. Budget\r\n\t2. Plans\r\n"}},
                          {"Log", {"Update\r\nneeded", "\r\nNOTICE\r\n", "1"}}}),
            "  Agenda: 1. Budget 2. Plans\nlog: [NOTICE] Update needed\n");
}

TEST(ProgressPrinter, RedrawsOneLineOnATerminalAndClearsItAtTheEnd) {
  const std::string c(kClear);
  const struct {
    const char* name;
    std::vector<Call> calls;
    std::string shown;
  } rows[] = {
      {"texts",
       {{"SetSynchText", {"Reading"}}, {"SetAppText", {"Lunch"}}},
       c + "Reading" + c + "Reading - Lunch" + c},
      {"bar",
       {{"SetSynchText", {"R"}}, {"SetRange", {"10", "14"}}, {"SetValue", {"13"}}},
       c + "R" + c + "R [0/4]" + c + "R [3/4]" + c},
      {"log above the line",
       {{"SetSynchText", {"R"}}, {"Log", {"Skipped", "T", "1"}}},
       c + "R" + c + "log: [T] Skipped\n" + c + "R" + c},
      {"cleared texts leave nothing to clear at the end",
       {{"SetAppText", {"x"}}, {"SetAppText", {""}}},
       c + "x" + c},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Shown(true, row.calls), row.shown);
  }
}

// A line that wrapped could not be redrawn in place; a cut never parts a UTF-8 character.
TEST(ProgressPrinter, CutsTheLiveLineToTheWidthOfATerminal) {
  const std::string text = std::string(ProgressPrinter::kLiveWidth - 1, 'x') + "\xc3\xa9tude";
  const std::string shown = Shown(true, {{"SetSynchText", {text}}});
  const std::string drawn = shown.substr(kClear.size(), shown.size() - 2 * kClear.size());
  EXPECT_EQ(drawn, std::string(ProgressPrinter::kLiveWidth - 1, 'x'));
}

TEST(ProgressPrinter, KeepsAMessageBoxOffTheProgressLine) {
  std::ostringstream out;
  ProgressPrinter printer(out, true);
  PrinterUserInterface ui(printer);
  printer.Show({"SetSynchText", {"R"}});
  EXPECT_EQ(ui.MessageBox(0, "Could not log in", "Login Failure", 0x1), 1);
  EXPECT_EQ(out.str(),
            std::string(kClear) + "R" + std::string(kClear) + "[Login Failure] Could not log in\n");
}

}  // namespace
}  // namespace gwsync
