#include "sim/common/sim_object.h"

#include <algorithm>
#include <cstdio>

#include "sim/common/json.h"

namespace sim {

void FaultPlan::RaiseAlways(std::string member, std::string message) {
  faults_[std::move(member)].push_back({0, std::move(message)});
}

void FaultPlan::RaiseOnCall(std::string member, int call, std::string message) {
  faults_[std::move(member)].push_back({call, std::move(message)});
}

void FaultPlan::Check(const std::string& member) {
  const int call = ++calls_[member];
  auto planned = faults_.find(member);
  if (planned == faults_.end()) return;
  for (const Fault& fault : planned->second) {
    if (fault.call == 0 || fault.call == call) {
      throw platform::AutomationError(member, platform::hresult::kException, fault.message);
    }
  }
}

int FaultPlan::Calls(const std::string& member) const {
  auto found = calls_.find(member);
  return found == calls_.end() ? 0 : found->second;
}

int CallLog::Count(std::string_view member) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), member));
}

std::string RenderArgument(const Variant& value) {
  using Kind = Variant::Kind;
  switch (value.GetKind()) {
    case Kind::kEmpty:
      return "empty";
    case Kind::kNull:
      return "null";
    case Kind::kBool:
      return value.AsBool() ? "true" : "false";
    case Kind::kInt16:
    case Kind::kInt32:
      return std::to_string(value.ToInt32());
    case Kind::kDouble:
      return json::Utf16ToUtf8(value.ToText());
    case Kind::kDate: {
      const platform::CivilDateTime c = platform::DecodeAutomationDate(value.AsDate());
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day,
                    c.hour, c.minute, c.second);
      return buffer;
    }
    case Kind::kText: {
      // Appended, not "\"" + text + "\"": gcc 12 at -O3 warns (-Wrestrict) about a literal put
      // in front of a string, falsely.
      std::string quoted(1, '"');
      quoted.append(json::Utf16ToUtf8(value.AsText())).push_back('"');
      return quoted;
    }
    case Kind::kObject:
      return value.AsObject() ? "<object>" : "<null object>";
    case Kind::kUnknown:
      return "<unknown>";
    case Kind::kTextArray:
      return "<text array>";
    case Kind::kByRef:
      return std::string(1, '&').append(RenderArgument(value.Target()));
  }
  return "?";
}

void SimObject::AddProperty(std::string name, Getter getter, Setter setter) {
  members_.push_back({std::move(name), std::move(getter), std::move(setter), nullptr});
}

void SimObject::AddMethod(std::string name, Method method) {
  members_.push_back({std::move(name), nullptr, nullptr, std::move(method)});
}

SimObject::Member* SimObject::Find(std::string_view name) {
  for (Member& member : members_) {
    if (platform::SameMemberName(member.name, name)) return &member;
  }
  return nullptr;
}

void SimObject::Log(const std::string& qualified, Invoke kind, Args args) const {
  context_->log.calls.push_back(qualified);
  std::string rendered = qualified;
  if (kind == Invoke::kPropertyPut) rendered += "=";
  if (kind != Invoke::kPropertyGet || !args.empty()) {
    rendered += "(";
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (i > 0) rendered += ", ";
      rendered += RenderArgument(args[i]);
    }
    rendered += ")";
  }
  context_->log.withArguments.push_back(std::move(rendered));
}

Variant SimObject::InvokeMember(std::string_view name, Invoke kind, Args args) {
  Member* member = Find(name);
  if (!member) {
    throw platform::AutomationError(std::string(name), platform::hresult::kUnknownName,
                                    "Unknown name.");
  }
  const std::string qualified = className_ + "." + member->name;
  if (context_->log.enabled) Log(qualified, kind, args);
  context_->faults.Check(qualified);
  switch (kind) {
    case Invoke::kPropertyPut:
      if (!member->setter || args.empty()) {
        throw platform::AutomationError(qualified, platform::hresult::kMemberNotFound,
                                        "Member not found.");
      }
      member->setter(args.back());
      return Variant();
    case Invoke::kPropertyGet:
    case Invoke::kMethod:
      if (member->method) return member->method(args);
      if (member->getter) return member->getter(args);
      throw platform::AutomationError(qualified, platform::hresult::kMemberNotFound,
                                      "Member not found.");
  }
  return Variant();
}

void SimObject::RaiseBadArgument(std::string_view member, std::string_view why) {
  throw platform::AutomationError(std::string(member), platform::hresult::kTypeMismatch,
                                  "Type mismatch: " + std::string(why));
}

void SimObject::ExpectArgCount(Args args, std::size_t min, std::size_t max,
                               std::string_view member) {
  if (args.size() < min || args.size() > max) {
    throw platform::AutomationError(std::string(member), platform::hresult::kBadParamCount,
                                    "Invalid number of parameters.");
  }
}

const Variant& SimObject::Arg(Args args, std::size_t index, std::string_view member) {
  if (index >= args.size()) {
    throw platform::AutomationError(std::string(member), platform::hresult::kBadParamCount,
                                    "Invalid number of parameters.");
  }
  return args[index].Deref();
}

}  // namespace sim
