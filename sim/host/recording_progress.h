#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/common/sim_object.h"

namespace sim {

// The host's progress object as a test or the command-line host sees it: every call is kept in
// order with its arguments, and Aborted answers true from a chosen call on.
class RecordingProgress final : public SimObject {
 public:
  struct Call {
    std::string member;             // "SetSynchText", "Log", ...
    std::vector<std::string> args;  // as UTF-8 text
    std::string ToString() const;   // SetSynchText("Reading") or Log("m", "t", 1)
  };

  explicit RecordingProgress(std::shared_ptr<SimContext> context = std::make_shared<SimContext>());

  // Aborted answers true from its Nth call (counted from 1) on; 0 never.
  int abortFromCall = 0;
  // The window handle GetParentWnd answers.
  int32_t parentWindow = 0;
  // When set, every call is also handed over here as soon as it is recorded, so that a tool
  // can show progress while the plug-in is still working. A call that the object refuses (a
  // wrong number of arguments) is neither recorded nor handed over.
  std::function<void(const Call&)> sink;
  // False for a tool that only follows the calls through the sink: a read makes several per
  // item, and a big mailbox's would be held to the end of the run for nothing.
  bool keepCalls = true;

  const std::vector<Call>& Calls() const { return calls_; }
  // The calls of one member, rendered with ToString.
  std::vector<std::string> CallsOf(std::string_view member) const;
  std::vector<std::string> AllCalls() const;
  void ClearCalls() { calls_.clear(); }

 private:
  Variant Record(std::string member, Args args, std::size_t count);

  std::vector<Call> calls_;
  int abortedCalls_ = 0;
};

}  // namespace sim
