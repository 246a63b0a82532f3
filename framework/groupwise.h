#pragma once

// GroupWise's automation objects as the plug-ins use them: thin typed views over late-bound
// objects, so each member name and its conversions are written once. Every member may raise
// platform::AutomationError; callers trace it and fail the record or operation.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation.h"

namespace framework::groupwise {

inline constexpr std::string_view kSessionProgId = "NovellGroupWareSession";
inline constexpr std::string_view kCommanderProgId = "GroupWiseCommander";

// A formatted text (Subject, BodyText): the plug-ins read and write its PlainText.
std::u16string GetPlainText(const platform::Object& owner, std::string_view member);
void SetPlainText(const platform::Object& owner, std::string_view member, std::u16string_view text);

class Session {
 public:
  explicit Session(platform::Object object) : object_(std::move(object)) {}
  // Logs in with GroupWise's own choice of user, asking only when it must (prompt mode 1).
  // The null object when no account was returned.
  platform::Object LoginDefault() const;
  // Logs in with the user and start-up parameters from the settings.
  platform::Object Login(std::u16string_view user, std::u16string_view parameters) const;
  std::u16string FullName() const;
  int32_t MajorVersion() const;
  int32_t MinorVersion() const;
  const platform::Object& Get() const { return object_; }

 private:
  platform::Object object_;
};

class Commander {
 public:
  explicit Commander(platform::Object object) : object_(std::move(object)) {}
  // Runs a token; the answer when GroupWise reports success (return value 1).
  std::optional<std::u16string> Execute(std::u16string_view token) const;

 private:
  platform::Object object_;
};

class Account {
 public:
  explicit Account(platform::Object object) : object_(std::move(object)) {}
  platform::Object Calendar() const;
  std::u16string OwnerDisplayName() const;
  platform::Object CreateQuery() const;
  // The null object when GroupWise does not know the id.
  platform::Object GetMessage(std::u16string_view messageId) const;
  platform::Object AddressBooks() const;
  const platform::Object& Get() const { return object_; }

 private:
  platform::Object object_;
};

// A collection with Count and Item(1 .. Count).
int32_t Count(const platform::Object& collection);
platform::Object ItemAt(const platform::Object& collection, int32_t index);

class Query {
 public:
  explicit Query(platform::Object object) : object_(std::move(object)) {}
  void SetExpression(std::u16string_view expression) const;
  std::u16string Expression() const;
  void SearchLocally() const;
  void Start() const;
  bool Completed() const;
  void Stop() const;
  platform::Object QueryMessages() const;

 private:
  platform::Object object_;
};

}  // namespace framework::groupwise
