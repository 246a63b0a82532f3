#include "sim/host/recording_progress.h"

#include "framework/text_codec.h"

namespace sim {
namespace {

std::string Render(const Variant& value) {
  const Variant& v = value.Deref();
  if (v.GetKind() == Variant::Kind::kText) return framework::Utf16ToUtf8(v.AsText());
  if (v.IsEmpty()) return "";
  return framework::Utf16ToUtf8(v.ToText());
}

}  // namespace

std::string RecordingProgress::Call::ToString() const {
  std::string out = member + "(";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) out += ", ";
    out += '"' + args[i] + '"';
  }
  return out + ")";
}

RecordingProgress::RecordingProgress(std::shared_ptr<SimContext> context)
    : SimObject("Progress", std::move(context)) {
  AddMethod("SetSynchText", [this](Args args) { return Record("SetSynchText", args, 1); });
  AddMethod("SetAppText", [this](Args args) { return Record("SetAppText", args, 1); });
  AddMethod("SetRange", [this](Args args) { return Record("SetRange", args, 2); });
  AddMethod("SetValue", [this](Args args) { return Record("SetValue", args, 1); });
  AddMethod("Log", [this](Args args) {
    // The level travels as a 16-bit integer by reference; anything else is the caller's fault.
    if (args.size() == 3 && (args[2].GetKind() != Variant::Kind::kByRef ||
                             args[2].Deref().GetKind() != Variant::Kind::kInt16)) {
      RaiseBadArgument("Progress.Log", "the level must be a 16-bit integer by reference");
    }
    return Record("Log", args, 3);
  });
  AddMethod("GetParentWnd", [this](Args args) {
    Record("GetParentWnd", args, 0);
    return Variant(parentWindow);
  });
  AddMethod("Aborted", [this](Args args) {
    Record("Aborted", args, 0);
    ++abortedCalls_;
    return Variant(abortFromCall > 0 && abortedCalls_ >= abortFromCall);
  });
}

Variant RecordingProgress::Record(std::string member, Args args, std::size_t count) {
  // A real host rejects a call with the wrong number of arguments; so does this one.
  if (args.size() != count) {
    throw platform::AutomationError(member, platform::hresult::kBadParamCount,
                                    "Invalid number of parameters.");
  }
  Call call{std::move(member), {}};
  for (const Variant& arg : args)
    call.args.push_back(Render(arg));
  if (!keepCalls) {
    if (sink) sink(call);
    return Variant();
  }
  calls_.push_back(std::move(call));
  if (sink) sink(calls_.back());
  return Variant();
}

std::vector<std::string> RecordingProgress::CallsOf(std::string_view member) const {
  std::vector<std::string> out;
  for (const Call& call : calls_) {
    if (call.member == member) out.push_back(call.ToString());
  }
  return out;
}

std::vector<std::string> RecordingProgress::AllCalls() const {
  std::vector<std::string> out;
  for (const Call& call : calls_)
    out.push_back(call.ToString());
  return out;
}

}  // namespace sim
