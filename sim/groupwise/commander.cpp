// The commander: GroupWise's token language, as far as the plug-ins speak it.

#include <optional>
#include <vector>

#include "sim/groupwise/objects.h"

namespace sim::groupwise {
namespace {

using platform::Object;

struct TokenArgument {
  std::u16string text;
  bool quoted = false;
};

struct ParsedToken {
  std::u16string verb;
  std::vector<TokenArgument> arguments;
};

bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Reads a token as GroupWise's token language writes one: a verb, then its arguments in
// parentheses, separated by semicolons. An argument is a text in quotes or a constant, a word
// ending in "!". Blanks may stand around the arguments and nowhere else. For example
//
//   ItemSetAttribute("SIM.DOM.PO.100.7.1"; Private!; Yes!)
//
// gives the verb ItemSetAttribute and the arguments SIM.DOM.PO.100.7.1 (quoted), Private! and
// Yes!. An empty argument, a quote that does not close, a constant without its "!" or anything
// after the closing parenthesis make it no token; a blank before the parenthesis belongs to the
// verb, which then names none.
std::optional<ParsedToken> ParseToken(std::u16string_view text) {
  enum class State { kVerb, kBeforeArgument, kQuoted, kConstant, kAfterArgument, kClosed };
  ParsedToken token;
  TokenArgument argument;
  State state = State::kVerb;
  for (const char16_t c : text) {
    switch (state) {
      case State::kVerb:
        if (c == u'(') {
          state = State::kBeforeArgument;
        } else {
          token.verb.push_back(c);
        }
        break;
      case State::kBeforeArgument:
        if (c == u' ') break;
        argument = {};
        if (c == u'"') {
          argument.quoted = true;
          state = State::kQuoted;
        } else if (IsLetter(c)) {
          argument.text.push_back(c);
          state = State::kConstant;
        } else {
          return std::nullopt;
        }
        break;
      case State::kQuoted:
        if (c == u'"') {
          token.arguments.push_back(std::move(argument));
          state = State::kAfterArgument;
        } else {
          argument.text.push_back(c);
        }
        break;
      case State::kConstant:
        argument.text.push_back(c);
        if (c == u'!') {
          token.arguments.push_back(std::move(argument));
          state = State::kAfterArgument;
        }
        break;
      case State::kAfterArgument:
        if (c == u';') {
          state = State::kBeforeArgument;
        } else if (c == u')') {
          state = State::kClosed;
        } else if (c != u' ') {
          return std::nullopt;
        }
        break;
      case State::kClosed:
        return std::nullopt;
    }
  }
  if (state != State::kClosed) return std::nullopt;
  return token;
}

// Verbs and constants are matched as GroupWise spells them.
bool Is(const TokenArgument& argument, std::u16string_view constant) {
  return !argument.quoted && argument.text == constant;
}

bool TokenFailsFor(const CalendarItem& item, std::u16string_view verb) {
  for (const std::string& failing : item.failingTokens) {
    if (SameTextIgnoringCase(std::u16string(failing.begin(), failing.end()), verb)) return true;
  }
  return false;
}

// Runs ItemGetAttribute("<id>"; Private!) or ItemSetAttribute("<id>"; Private!; Yes! or No!);
// the answer for the result slot when it succeeds.
std::optional<std::u16string> Run(Mailbox& mailbox, std::u16string_view text) {
  const std::optional<ParsedToken> token = ParseToken(text);
  if (!token) return std::nullopt;
  const std::vector<TokenArgument>& args = token->arguments;
  const bool get = token->verb == u"ItemGetAttribute" && args.size() == 2;
  const bool set = token->verb == u"ItemSetAttribute" && args.size() == 3;
  if (!get && !set) return std::nullopt;
  if (!args[0].quoted || !Is(args[1], u"Private!")) return std::nullopt;
  if (set && !Is(args[2], u"Yes!") && !Is(args[2], u"No!")) return std::nullopt;
  CalendarItem* item = mailbox.FindItem(args[0].text);
  if (!item || TokenFailsFor(*item, token->verb)) return std::nullopt;
  if (get) return std::u16string(item->isPrivate ? u"TRUE" : u"FALSE");
  mailbox.Update(item->isPrivate, Is(args[2], u"Yes!"));
  return std::u16string();
}

// Execute(token, result by reference) answers 1 and writes the result when the token
// succeeds, and answers 0 and leaves the result alone when it fails.
class Commander final : public SimObject {
 public:
  explicit Commander(const Shared& shared) : SimObject("Commander", shared.context) {
    AddMethod("Execute", [mailbox = shared.mailbox](Args args) {
      ExpectArgCount(args, 2, 2, "Commander.Execute");
      const std::u16string token = Arg(args, 0, "Commander.Execute").ToText();
      if (args[1].GetKind() != Variant::Kind::kByRef) {
        RaiseBadArgument("Commander.Execute", "the result must be passed by reference");
      }
      const std::optional<std::u16string> answer = Run(*mailbox, token);
      if (!answer) return Variant(int32_t{0});
      args[1].Target() = Variant(*answer);
      return Variant(int32_t{1});
    });
  }
};

}  // namespace

Object MakeCommander(const Shared& shared) {
  return MakeObject<Commander>(shared);
}

}  // namespace sim::groupwise
