#include "tools/gwsync/progress_printer.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace gwsync {
namespace {

// Carriage return, then "erase to the end of the line".
constexpr std::string_view kClearLine = "\r\x1b[K";

// Cut to at most `width` bytes without parting a UTF-8 sequence.
std::string_view Cut(std::string_view text, std::size_t width) {
  if (text.size() <= width) return text;
  std::size_t end = width;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
    --end;
  return text.substr(0, end);
}

int32_t ArgAsInt(const sim::RecordingProgress::Call& call, std::size_t index) {
  if (index >= call.args.size()) return 0;
  try {
    return static_cast<int32_t>(std::stol(call.args[index]));
  } catch (const std::exception&) {
    return 0;  // a bar position that is no number is shown as none
  }
}

// A text argument on one line: the plug-ins pass multi-line texts (an inserted record's
// description, the DCOM notice of the log), which would break both the plain lines and the
// line that is redrawn in place. Each run of control characters becomes one blank.
std::string Arg(const sim::RecordingProgress::Call& call, std::size_t index) {
  if (index >= call.args.size()) return {};
  std::string line;
  bool blank = false;
  for (char c : call.args[index]) {
    if (static_cast<unsigned char>(c) < 0x20) {
      blank = true;
      continue;
    }
    if (blank && !line.empty()) line += ' ';
    blank = false;
    line += c;
  }
  return line;
}

}  // namespace

void ProgressPrinter::Show(const sim::RecordingProgress::Call& call) {
  const std::string& member = call.member;
  if (member == "Log") {
    // Log(message, title, level)
    Note("log: [" + Arg(call, 1) + "] " + Arg(call, 0));
    return;
  }
  if (member == "SetSynchText") {
    synchText_ = Arg(call, 0);
    if (!live_ && !synchText_.empty()) out_ << synchText_ << '\n';
  } else if (member == "SetAppText") {
    appText_ = Arg(call, 0);
    if (!live_ && !appText_.empty()) out_ << "  " << appText_ << '\n';
  } else if (member == "SetRange") {
    low_ = ArgAsInt(call, 0);
    high_ = ArgAsInt(call, 1);
    value_ = low_;
  } else if (member == "SetValue") {
    value_ = ArgAsInt(call, 0);
  } else {
    return;  // Aborted and GetParentWnd change nothing that is shown
  }
  if (live_) Draw();
}

void ProgressPrinter::Note(std::string_view line) {
  EndLiveLine();
  out_ << line << '\n';
  if (live_) Draw();
  out_.flush();
}

void ProgressPrinter::EndLiveLine() {
  if (!drawn_) return;
  out_ << kClearLine;
  out_.flush();
  drawn_ = false;
}

void ProgressPrinter::Draw() {
  std::string line = synchText_;
  if (!appText_.empty()) line += (line.empty() ? "" : " - ") + appText_;
  if (high_ > low_) {
    line += " [" + std::to_string(value_ - low_) + "/" + std::to_string(high_ - low_) + "]";
  }
  out_ << kClearLine << Cut(line, kLiveWidth);
  out_.flush();
  drawn_ = !line.empty();
}

bool StandardErrorIsTerminal() {
#if defined(_WIN32)
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace gwsync
