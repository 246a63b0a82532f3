#pragma once

// What the host shows while a run goes on, on standard error: the plug-in's progress texts,
// the entries of the host's log, message boxes and gwsync's own notes.
//
// On a terminal the two progress lines and the bar share one line that is redrawn in place,
// and everything else is printed above it; otherwise each progress text is a line of its own
// and the bar is not shown, so that a log file of the run stays readable.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/portable/console_user_interface.h"
#include "platform/user_interface.h"
#include "sim/host/recording_progress.h"

namespace gwsync {

class ProgressPrinter {
 public:
  ProgressPrinter(std::ostream& out, bool live) : out_(out), live_(live) {}
  ~ProgressPrinter() { EndLiveLine(); }
  ProgressPrinter(const ProgressPrinter&) = delete;
  ProgressPrinter& operator=(const ProgressPrinter&) = delete;

  // One call of the plug-in on the progress object.
  void Show(const sim::RecordingProgress::Call& call);
  // A line of the host's own; the progress line, if any, is drawn again below it.
  void Note(std::string_view line);
  // Clears the progress line so that others can write whole lines; the next Show draws it
  // again.
  void EndLiveLine();

  std::ostream& Stream() { return out_; }

  // The longest progress line drawn on a terminal, so that it never wraps on an 80-column one
  // (a wrapped line cannot be redrawn in place).
  static constexpr std::size_t kLiveWidth = 79;

 private:
  void Draw();

  std::ostream& out_;
  bool live_;
  bool drawn_ = false;
  std::string synchText_;
  std::string appText_;
  int32_t low_ = 0;
  int32_t high_ = 0;
  int32_t value_ = 0;
};

// Message boxes as ConsoleUserInterface shows them (caption and text, answered with the default
// button), kept from landing in the middle of the progress line.
class PrinterUserInterface final : public platform::UserInterface {
 public:
  explicit PrinterUserInterface(ProgressPrinter& printer)
      : printer_(printer), console_(printer.Stream()) {}
  int MessageBox(platform::WindowHandle owner, const std::string& text, const std::string& caption,
                 uint32_t style) override {
    printer_.EndLiveLine();
    return console_.MessageBox(owner, text, caption, style);
  }
  void Beep(uint32_t type) override { console_.Beep(type); }
  void PumpMessages() override { console_.PumpMessages(); }
  std::optional<std::string> AskFolderName(platform::WindowHandle owner,
                                           const platform::FolderNameDialogTexts& texts,
                                           const std::string& proposed,
                                           const platform::AcceptFolderName& accept) override {
    printer_.EndLiveLine();
    return console_.AskFolderName(owner, texts, proposed, accept);
  }
  // The answers the folder-name dialog gets (gwsync's option or script).
  platform::FolderNameAnswers& FolderNames() { return console_.folderNames; }

 private:
  ProgressPrinter& printer_;
  platform::ConsoleUserInterface console_;
};

// Whether standard error is a terminal a progress line can be redrawn on.
bool StandardErrorIsTerminal();

}  // namespace gwsync
