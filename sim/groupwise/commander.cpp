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

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

// Reads Verb(argument; argument; ...), blanks allowed around every part. For example
//
//   ItemSetAttribute("SIM.DOM.PO.100.7.1"; Private!; Yes!)
//
// gives the verb ItemSetAttribute and the arguments SIM.DOM.PO.100.7.1 (quoted), Private!
// and Yes!. Quoted arguments are taken as they are; bare ones lose their surrounding blanks.
std::optional<ParsedToken> ParseToken(std::u16string_view text) {
  ParsedToken token;
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && IsBlank(text[i]))
      ++i;
  };
  skipBlanks();
  while (i < text.size() && text[i] != u'(' && !IsBlank(text[i]))
    token.verb.push_back(text[i++]);
  skipBlanks();
  if (token.verb.empty() || i >= text.size() || text[i] != u'(') return std::nullopt;
  ++i;
  for (;;) {
    skipBlanks();
    TokenArgument argument;
    if (i < text.size() && text[i] == u'"') {
      const std::size_t close = text.find(u'"', i + 1);
      if (close == std::u16string_view::npos) return std::nullopt;
      argument.text = text.substr(i + 1, close - i - 1);
      argument.quoted = true;
      i = close + 1;
      skipBlanks();
      if (i < text.size() && text[i] != u';' && text[i] != u')') return std::nullopt;
    } else {
      while (i < text.size() && text[i] != u';' && text[i] != u')')
        argument.text.push_back(text[i++]);
      while (!argument.text.empty() && IsBlank(argument.text.back()))
        argument.text.pop_back();
    }
    if (i >= text.size()) return std::nullopt;
    if (!argument.text.empty() || argument.quoted || text[i] == u';') {
      token.arguments.push_back(std::move(argument));
    }
    if (text[i++] == u')') break;
  }
  skipBlanks();
  if (i != text.size()) return std::nullopt;
  return token;
}

bool Is(const TokenArgument& argument, std::u16string_view word) {
  return !argument.quoted && SameTextIgnoringCase(argument.text, word);
}

bool TokenFailsFor(const CalendarItem& item, std::u16string_view verb) {
  for (const std::string& failing : item.failingTokens) {
    if (SameTextIgnoringCase(std::u16string(failing.begin(), failing.end()), verb)) return true;
  }
  return false;
}

// Runs a token; the answer for the result slot when it succeeds.
std::optional<std::u16string> Run(Mailbox& mailbox, std::u16string_view text) {
  const std::optional<ParsedToken> token = ParseToken(text);
  if (!token || token->arguments.empty() || !token->arguments[0].quoted) return std::nullopt;
  const std::vector<TokenArgument>& args = token->arguments;
  const bool get = SameTextIgnoringCase(token->verb, u"ItemGetAttribute");
  const bool set = SameTextIgnoringCase(token->verb, u"ItemSetAttribute");
  if (get ? args.size() != 2 : !set || args.size() != 3) return std::nullopt;
  if (!Is(args[1], u"Private!")) return std::nullopt;
  CalendarItem* item = mailbox.FindItem(args[0].text);
  if (!item || TokenFailsFor(*item, token->verb)) return std::nullopt;
  if (get) return std::u16string(item->isPrivate ? u"TRUE" : u"FALSE");
  if (Is(args[2], u"Yes!")) {
    item->isPrivate = true;
  } else if (Is(args[2], u"No!")) {
    item->isPrivate = false;
  } else {
    return std::nullopt;
  }
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
