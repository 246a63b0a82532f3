#include "framework/groupwise.h"

namespace framework::groupwise {

using platform::Object;
using platform::Variant;

std::u16string GetPlainText(const Object& owner, std::string_view member) {
  return owner.GetProperty(member).ToObject().GetProperty("PlainText").ToText();
}

void SetPlainText(const Object& owner, std::string_view member, std::u16string_view text) {
  owner.GetProperty(member).ToObject().PutProperty("PlainText", Variant(text));
}

Object Session::LoginDefault() const {
  // User id, command line and password left to GroupWise; prompt only when needed.
  return object_.Call("Login", {Variant(u""), Variant(u""), Variant(u""), Variant(int16_t{1})})
      .ToObject();
}

Object Session::Login(std::u16string_view user, std::u16string_view parameters) const {
  return object_.Call("Login", {Variant(user), Variant(parameters)}).ToObject();
}

std::u16string Session::FullName() const {
  return object_.GetProperty("FullName").ToText();
}
int32_t Session::MajorVersion() const {
  return object_.GetProperty("MajorVersion").ToInt32();
}
int32_t Session::MinorVersion() const {
  return object_.GetProperty("MinorVersion").ToInt32();
}

std::optional<std::u16string> Commander::Execute(std::u16string_view token) const {
  Variant answer{std::u16string()};
  const Variant result = object_.Call("Execute", {Variant(token), Variant::Reference(answer)});
  if (result.ToInt32() != 1) return std::nullopt;
  return answer.ToText();
}

Object Account::Calendar() const {
  return object_.GetProperty("Calendar").ToObject();
}

std::u16string Account::OwnerDisplayName() const {
  return object_.GetProperty("Owner").ToObject().GetProperty("DisplayName").ToText();
}

Object Account::CreateQuery() const {
  return object_.Call("CreateQuery").ToObject();
}

Object Account::GetMessage(std::u16string_view messageId) const {
  return object_.Call("GetMessage", {Variant(messageId)}).ToObject();
}

Object Account::AddressBooks() const {
  return object_.GetProperty("AddressBooks").ToObject();
}

int32_t Count(const Object& collection) {
  return collection.GetProperty("Count").ToInt32();
}

Object ItemAt(const Object& collection, int32_t index) {
  return collection.Call("Item", {Variant(index)}).ToObject();
}

void Query::SetExpression(std::u16string_view expression) const {
  object_.PutProperty("Expression", Variant(expression));
}
std::u16string Query::Expression() const {
  return object_.GetProperty("Expression").ToText();
}
void Query::SearchLocally() const {
  object_.PutProperty("SearchLocally", Variant(true));
}
void Query::Start() const {
  object_.Call("Start");
}
bool Query::Completed() const {
  return object_.GetProperty("Completed").ToBool();
}
void Query::Stop() const {
  object_.Call("Stop");
}
Object Query::QueryMessages() const {
  return object_.GetProperty("QueryMessages").ToObject();
}

}  // namespace framework::groupwise
