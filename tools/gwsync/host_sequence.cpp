#include "tools/gwsync/host_sequence.h"

#include <exception>

#include "framework/data_types.h"

namespace gwsync {
namespace {

std::string RequestName(const Request& request) {
  const std::string_view label = framework::TypeLabel(request.type);
  std::string name = request.write ? "WriteSource " : "ReadSource ";
  name += label.empty() ? std::to_string(request.type) : std::string(label);
  // Appended, not name += " " + ...: gcc 12 at -O3 warns (-Wrestrict) about a literal put in
  // front of a string, falsely.
  if (request.write) name.append(" ").append(std::to_string(request.op));
  return name;
}

}  // namespace

HostSequence::HostSequence(RunSetup setup) : setup_(std::move(setup)) {}

HostSequence::~HostSequence() {
  try {
    Finish();
  } catch (const std::exception&) {
    // Only a note about a failed call can raise here, and the run is over either way.
  }
}

bool HostSequence::Call(std::string_view method, const std::function<int32_t()>& call) {
  std::string outcome;
  try {
    const int32_t value = call();
    if (value == 0) return true;
    outcome = "returned Value " + std::to_string(value);
  } catch (const std::exception& failure) {
    // Through COM this would be a failing HRESULT; the run goes on as after Value 1.
    outcome = std::string("failed: ") + failure.what();
  }
  failed_ = true;
  if (setup_.note) setup_.note("gwsync: " + std::string(method) + " " + outcome);
  return false;
}

bool HostSequence::Start() {
  plugin_ = setup_.create();
  const platform::Object& progress = setup_.progress;
  const std::string synchSetup(setup_.profile.a.Bytes());
  const std::string appSetup(setup_.profile.c.Bytes());
  if (!Call("Init", [&] { return plugin_->Init(progress, synchSetup, appSetup); })) return false;
  opened_ = true;  // Close follows from here on, whatever Open answers
  ready_ = Call("Open", [&] { return plugin_->Open(progress); }) &&
           Call("CheckSource", [&] { return plugin_->CheckSource(progress); });
  return ready_;
}

std::optional<std::string> HostSequence::Send(const Request& request) {
  if (!ready_) return std::nullopt;
  std::string stream = request.record;
  const auto logEntries = [this] { return setup_.logEntries ? setup_.logEntries() : 0; };
  const std::size_t logBefore = logEntries();
  const bool done = Call(RequestName(request), [&] {
    return request.write ? plugin_->WriteSource(setup_.progress, stream, request.type, request.op)
                         : plugin_->ReadSource(setup_.progress, stream, request.type, request.op);
  });
  if (!done) return std::nullopt;
  if (!request.write) skipped_ += logEntries() - logBefore;
  return stream;
}

void HostSequence::Finish() {
  if (!plugin_) return;
  if (opened_) Call("Close", [&] { return plugin_->Close(setup_.progress); });
  Call("Term", [&] { return plugin_->Term(setup_.progress); });
  plugin_.reset();
  opened_ = ready_ = false;
}

}  // namespace gwsync
