#pragma once

// The host's sequence of calls in one synchronization run, against a plug-in in this process or
// through COM (host_plugin.h): create it, Init with blocks A and C of the profile, Open,
// CheckSource, any number of ReadSource and WriteSource calls, Close and Term.
//
// A method fails when it returns Value 1 or raises (through COM, a failing HRESULT). When a
// step fails the host goes on as far as the plug-in can still be used: after a failed
// Init only Term follows; after a failed Open or CheckSource no request is sent, but Close and
// Term are still called, so the plug-in can let go of what it holds. A failed request does not
// end the run.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation.h"
#include "sim/host/profile.h"
#include "tools/gwsync/host_plugin.h"

namespace gwsync {

// One ReadSource (op is then operation::kRead) or WriteSource call.
struct Request {
  bool write = false;
  int16_t type = 0;
  int16_t op = 0;
  std::string record;  // what the host stream holds for a write
};

struct RunSetup {
  // Creates the plug-in, as the host creates it by its ProgID.
  std::function<std::unique_ptr<HostPlugin>()> create;
  platform::Object progress;
  // Blocks A (with its range filled in) and C go to Init.
  sim::Profile profile;
  // Where the host says which of its calls failed.
  std::function<void(std::string_view)> note;
  // How many entries the plug-in has added to the host's log so far; nothing: none are counted.
  std::function<std::size_t()> logEntries;
};

class HostSequence {
 public:
  explicit HostSequence(RunSetup setup);
  // Ends the run (Finish) if it was started and not yet ended.
  ~HostSequence();
  HostSequence(const HostSequence&) = delete;
  HostSequence& operator=(const HostSequence&) = delete;

  // Creates the plug-in and calls Init, Open and CheckSource. False when the plug-in cannot
  // take requests; Finish must follow all the same.
  bool Start();
  // One ReadSource or WriteSource; the host stream's content when the call returned Value 0.
  // Nothing is sent when Start failed.
  std::optional<std::string> Send(const Request& request);
  // Close and Term, as far as Start got.
  void Finish();

  // 0 when every host method returned Value 0, else 1.
  int ExitStatus() const { return failed_ ? 1 : 0; }
  // The items reads left out: a read that returns Value 0 has logged one entry for each item
  // it could not read and went on without.
  std::size_t SkippedItems() const { return skipped_; }

 private:
  // Runs one host method; false (after a note) when it failed.
  bool Call(std::string_view method, const std::function<int32_t()>& call);

  RunSetup setup_;
  std::unique_ptr<HostPlugin> plugin_;
  bool opened_ = false;
  bool ready_ = false;
  bool failed_ = false;
  std::size_t skipped_ = 0;
};

}  // namespace gwsync
