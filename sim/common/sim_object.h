#pragma once

// A base for automation objects written in C++ (the simulated GroupWise and the simulated
// host). Members are registered by name and matched without regard to case, like IDispatch
// name lookup. Every call is logged, and any member can be told to raise, always or on its
// Nth call, so tests can reach the failure paths of the plug-ins.

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation.h"

namespace sim {

using platform::Variant;
using Args = std::span<const Variant>;

// Which members should fail, and how often each has been called.
class FaultPlan {
 public:
  // "Class.Member" (for example "Session.Login"); the class name is that of the SimObject.
  void RaiseAlways(std::string member, std::string message = "Simulated failure");
  // Only the Nth call (counted from 1) raises.
  void RaiseOnCall(std::string member, int call, std::string message = "Simulated failure");
  void Clear() { faults_.clear(); }

  // Counts the call and raises the planned failure, if any.
  void Check(const std::string& member);
  int Calls(const std::string& member) const;

 private:
  struct Fault {
    int call = 0;  // 0: every call
    std::string message;
  };
  std::map<std::string, std::vector<Fault>, std::less<>> faults_;
  std::map<std::string, int, std::less<>> calls_;
};

// The calls made on a group of objects, in order, as "Class.Member".
struct CallLog {
  // False for a host that never looks at the log (gwsync, gwsim.dll): a read logs several calls
  // per item, and a big mailbox's would be held to the end of the run for nothing.
  bool enabled = true;
  std::vector<std::string> calls;
  // The same calls with their arguments, for tests that care what was passed:
  // Session.Login("", "", "", 1), Appointment.Place=("Room 4"), Commander.Execute("...", &"").
  // Texts are UTF-8 in quotes, dates 2000-01-05T09:30:00, objects <object>, by-reference
  // arguments & and the value they held when the call began.
  std::vector<std::string> withArguments;
  // How often the member was called; "Class.Member" as logged.
  int Count(std::string_view member) const;
};

// How CallLog::withArguments shows one argument.
std::string RenderArgument(const platform::Variant& value);

// What a group of simulated objects shares: one log, one fault plan.
struct SimContext {
  CallLog log;
  FaultPlan faults;
};

class SimObject : public platform::Dispatch, public std::enable_shared_from_this<SimObject> {
 public:
  Variant InvokeMember(std::string_view name, Invoke kind, Args args) final;
  const std::string& ClassName() const { return className_; }
  // The log and fault plan this object shares with the others of its group.
  SimContext& Context() const { return *context_; }

  // For members, and public so that a simulator's free helper functions can use them too.
  // Raises the automation error a real object gives for a bad argument.
  [[noreturn]] static void RaiseBadArgument(std::string_view member, std::string_view why);
  static const Variant& Arg(Args args, std::size_t index, std::string_view member);
  // Raises the automation error for a wrong number of arguments unless min <= count <= max.
  static void ExpectArgCount(Args args, std::size_t min, std::size_t max, std::string_view member);

 protected:
  SimObject(std::string className, std::shared_ptr<SimContext> context)
      : className_(std::move(className)), context_(std::move(context)) {}

  using Getter = std::function<Variant(Args)>;
  using Setter = std::function<void(const Variant&)>;
  using Method = std::function<Variant(Args)>;
  // A property answers both a get and a method call, as automation controllers may use either.
  void AddProperty(std::string name, Getter getter, Setter setter = nullptr);
  void AddMethod(std::string name, Method method);

  const std::shared_ptr<SimContext>& SharedContext() const { return context_; }

 private:
  struct Member {
    std::string name;
    Getter getter;
    Setter setter;
    Method method;
  };
  Member* Find(std::string_view name);
  void Log(const std::string& qualified, Invoke kind, Args args) const;

  std::string className_;
  std::shared_ptr<SimContext> context_;
  std::vector<Member> members_;
};

template <typename T, typename... CtorArgs>
platform::Object MakeObject(CtorArgs&&... args) {
  return platform::Object(std::make_shared<T>(std::forward<CtorArgs>(args)...));
}

}  // namespace sim
