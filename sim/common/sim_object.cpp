#include "sim/common/sim_object.h"

#include <algorithm>

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

Variant SimObject::InvokeMember(std::string_view name, Invoke kind, Args args) {
  Member* member = Find(name);
  if (!member) {
    throw platform::AutomationError(std::string(name), platform::hresult::kUnknownName,
                                    "Unknown name.");
  }
  const std::string qualified = className_ + "." + member->name;
  context_->log.calls.push_back(qualified);
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

const Variant& SimObject::Arg(Args args, std::size_t index, std::string_view member) {
  if (index >= args.size()) {
    throw platform::AutomationError(std::string(member), platform::hresult::kBadParamCount,
                                    "Invalid number of parameters.");
  }
  return args[index].Deref();
}

}  // namespace sim
