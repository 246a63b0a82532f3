#include "sim/groupwise/query_language.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <optional>
#include <vector>

namespace sim {

// The parsed expression: a tree of AND and OR nodes over single conditions.
struct QueryExpression::Node {
  enum class Kind { kAnd, kOr, kClass, kAccepted, kBoxType, kDate };
  enum class DateField { kStart, kDueEnd };
  enum class Comparison { kEqual, kNotEqual, kLess, kLessOrEqual, kGreater, kGreaterOrEqual };

  Kind kind = Kind::kAccepted;
  std::vector<Node> children;  // kAnd, kOr
  ItemClass itemClass = ItemClass::kAppointment;
  BoxType box = BoxType::kPersonal;
  DateField field = DateField::kStart;
  Comparison comparison = Comparison::kEqual;
  int64_t when = 0;  // SecondsKey of the date
};

namespace {

using Node = QueryExpression::Node;

// Nesting deeper than this is refused rather than risking the stack.
constexpr int kMaxDepth = 64;

struct Word {
  std::string_view text;
  ItemClass itemClass;
};
constexpr std::array<Word, 5> kClassWords = {{
    {"APPOINTMENT", ItemClass::kAppointment},
    {"TASK", ItemClass::kTask},
    {"NOTE", ItemClass::kNote},
    {"MAIL", ItemClass::kMail},
    {"PHONE_MESSAGE", ItemClass::kPhoneMessage},
}};

constexpr std::array<std::string_view, 7> kOtherWords = {
    "AND", "OR", "ACCEPTED", "BOX_TYPE", "START_DATE", "DUEEND_DATE", "AT"};

// Orders date-times to the second; sub-second parts of item dates do not count.
int64_t SecondsKey(const platform::CivilDateTime& c) {
  return ((((int64_t{c.year} * 13 + c.month) * 32 + c.day) * 24 + c.hour) * 60 + c.minute) * 60 +
         c.second;
}

struct Token {
  enum class Kind { kWord, kNumber, kSymbol, kEnd };
  Kind kind = Kind::kEnd;
  std::string text;
  std::size_t column = 0;
};

bool IsWordStart(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

// Splits the expression into words, numbers and symbols. Blanks only separate.
std::vector<Token> Tokenize(std::u16string_view text) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c == u' ' || c == u'\t') {
      ++i;
      continue;
    }
    Token token;
    token.column = i + 1;
    if (IsWordStart(c) || IsDigit(c)) {
      token.kind = IsDigit(c) ? Token::Kind::kNumber : Token::Kind::kWord;
      while (i < text.size() && (IsWordStart(text[i]) || IsDigit(text[i]))) {
        token.text.push_back(static_cast<char>(text[i++]));
      }
      if (token.kind == Token::Kind::kNumber &&
          token.text.find_first_not_of("0123456789") != std::string::npos) {
        throw QueryError(token.column, "malformed number " + Quoted(token.text));
      }
    } else if (std::u16string_view(u"()=/:").find(c) != std::u16string_view::npos) {
      token.kind = Token::Kind::kSymbol;
      token.text = static_cast<char>(c);
      ++i;
    } else if (c == u'<' || c == u'>') {
      token.kind = Token::Kind::kSymbol;
      token.text = static_cast<char>(c);
      ++i;
      if (i < text.size() && (text[i] == u'=' || (c == u'<' && text[i] == u'>'))) {
        token.text.push_back(static_cast<char>(text[i++]));
      }
    } else {
      char shown[16];
      std::snprintf(shown, sizeof shown, "U+%04X", static_cast<unsigned>(c));
      throw QueryError(token.column, std::string("unexpected character ") +
                                         (c < 0x7F && c > 0x20 ? Quoted(std::string(1, char(c)))
                                                               : std::string(shown)));
    }
    tokens.push_back(std::move(token));
  }
  tokens.push_back({Token::Kind::kEnd, "", text.size() + 1});
  return tokens;
}

// Recursive descent over the tokens. For example
//
//   (TASK) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL)
//       AND (DUEEND_DATE >= 2000/2/1 AT 00:00:00)
//
// is an AND of four terms; the third is an OR of two box comparisons. AND binds tighter than
// OR, as in GroupWise's own expressions, though the plug-ins always bracket.
class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  Node Whole() {
    Node root = Disjunction(0);
    if (Peek().kind != Token::Kind::kEnd) {
      Fail(Peek(), "expected AND, OR or the end of the expression, found " + Describe(Peek()));
    }
    return root;
  }

 private:
  [[noreturn]] static void Fail(const Token& at, const std::string& detail) {
    throw QueryError(at.column, detail);
  }
  static std::string Describe(const Token& token) {
    return token.kind == Token::Kind::kEnd ? "the end of the expression" : Quoted(token.text);
  }

  const Token& Peek() const { return tokens_[pos_]; }
  const Token& Next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
  bool IsWord(const Token& token, std::string_view word) const {
    return token.kind == Token::Kind::kWord && token.text == word;
  }
  bool AcceptWord(std::string_view word) {
    if (!IsWord(Peek(), word)) return false;
    ++pos_;
    return true;
  }
  void ExpectSymbol(std::string_view symbol, const std::string& what) {
    const Token& token = Next();
    if (token.kind != Token::Kind::kSymbol || token.text != symbol) {
      Fail(token, "expected " + what + ", found " + Describe(token));
    }
  }

  Node Joined(Node::Kind kind, std::string_view word, int depth) {
    Node first = kind == Node::Kind::kOr ? Conjunction(depth) : Term(depth);
    if (!IsWord(Peek(), word)) return first;
    Node joined;
    joined.kind = kind;
    joined.children.push_back(std::move(first));
    while (AcceptWord(word)) {
      joined.children.push_back(kind == Node::Kind::kOr ? Conjunction(depth) : Term(depth));
    }
    return joined;
  }
  Node Disjunction(int depth) { return Joined(Node::Kind::kOr, "OR", depth); }
  Node Conjunction(int depth) { return Joined(Node::Kind::kAnd, "AND", depth); }

  Node Term(int depth) {
    const Token& token = Next();
    if (token.kind == Token::Kind::kSymbol && token.text == "(") {
      if (depth >= kMaxDepth) Fail(token, "parentheses nested too deeply");
      Node inner = Disjunction(depth + 1);
      ExpectSymbol(")", "')'");
      return inner;
    }
    if (token.kind != Token::Kind::kWord) {
      Fail(token, "expected a condition, found " + Describe(token));
    }
    CheckKnownWord(token);
    Node node;
    for (const Word& word : kClassWords) {
      if (token.text == word.text) {
        node.kind = Node::Kind::kClass;
        node.itemClass = word.itemClass;
        return node;
      }
    }
    if (token.text == "ACCEPTED") {
      node.kind = Node::Kind::kAccepted;
      return node;
    }
    if (token.text == "BOX_TYPE") return BoxComparison();
    if (token.text == "START_DATE" || token.text == "DUEEND_DATE") {
      node.kind = Node::Kind::kDate;
      node.field = token.text == "START_DATE" ? Node::DateField::kStart : Node::DateField::kDueEnd;
      node.comparison = DateComparison();
      node.when = Date();
      return node;
    }
    Fail(token, "expected a condition, found " + Describe(token));
  }

  // Upper case is what the plug-ins write; a word in other case is a plug-in fault.
  static void CheckKnownWord(const Token& token) {
    auto known = [&](std::string_view word) {
      if (token.text == word) return true;
      const bool otherCase = std::equal(
          word.begin(), word.end(), token.text.begin(), token.text.end(), [](char want, char got) {
            return std::toupper(static_cast<unsigned char>(got)) == want;
          });
      if (otherCase) Fail(token, "query words are upper case: " + Quoted(token.text));
      return false;
    };
    for (const Word& word : kClassWords) {
      if (known(word.text)) return;
    }
    for (std::string_view word : kOtherWords) {
      if (known(word)) return;
    }
    Fail(token, "unknown word " + Quoted(token.text));
  }

  Node BoxComparison() {
    Node node;
    node.kind = Node::Kind::kBoxType;
    const Token& op = Next();
    if (op.kind != Token::Kind::kSymbol || (op.text != "=" && op.text != "<>")) {
      Fail(op, "expected '=' or '<>' after BOX_TYPE, found " + Describe(op));
    }
    node.comparison = op.text == "=" ? Node::Comparison::kEqual : Node::Comparison::kNotEqual;
    const Token& name = Next();
    const std::optional<BoxType> box =
        name.kind == Token::Kind::kWord ? BoxTypeFromName(name.text) : std::nullopt;
    if (!box) {
      Fail(name,
           "expected a box type (INCOMING, OUTGOING, PERSONAL, DRAFT), found " + Describe(name));
    }
    node.box = *box;
    return node;
  }

  Node::Comparison DateComparison() {
    const Token& op = Next();
    static constexpr std::array<std::pair<std::string_view, Node::Comparison>, 6> kOps = {{
        {"=", Node::Comparison::kEqual},
        {"<>", Node::Comparison::kNotEqual},
        {"<", Node::Comparison::kLess},
        {"<=", Node::Comparison::kLessOrEqual},
        {">", Node::Comparison::kGreater},
        {">=", Node::Comparison::kGreaterOrEqual},
    }};
    if (op.kind == Token::Kind::kSymbol) {
      for (const auto& [text, comparison] : kOps) {
        if (op.text == text) return comparison;
      }
    }
    Fail(op, "expected a comparison (=, <>, <, <=, >, >=), found " + Describe(op));
  }

  // A number of the date: plain decimal, without leading zeros (2000/1/5).
  int DatePart(const std::string& what) {
    const Token& token = Next();
    if (token.kind != Token::Kind::kNumber) {
      Fail(token, "expected the " + what + " of a date (year/month/day), found " + Describe(token));
    }
    if (token.text.size() > 1 && token.text[0] == '0') {
      Fail(token, "the " + what + " " + Quoted(token.text) + " has a leading zero");
    }
    if (token.text.size() > 4) {
      Fail(token, "the " + what + " " + Quoted(token.text) + " is too long");
    }
    return std::stoi(token.text);
  }

  // Two digits each: hh:mm:ss.
  int TimePart(const std::string& what) {
    const Token& token = Next();
    if (token.kind != Token::Kind::kNumber || token.text.size() != 2) {
      Fail(token, "expected the " + what + " as two digits (hh:mm:ss), found " + Describe(token));
    }
    return std::stoi(token.text);
  }

  int64_t Date() {
    const Token& first = Peek();
    platform::CivilDateTime when;
    when.year = DatePart("year");
    ExpectSymbol("/", "'/' after the year");
    when.month = DatePart("month");
    ExpectSymbol("/", "'/' after the month");
    when.day = DatePart("day");
    if (!AcceptWord("AT")) {
      Fail(Peek(), "expected AT and a time after the date, found " + Describe(Peek()));
    }
    when.hour = TimePart("hour");
    ExpectSymbol(":", "':' after the hour");
    when.minute = TimePart("minute");
    ExpectSymbol(":", "':' after the minute");
    when.second = TimePart("second");
    if (!platform::IsValidCivilDate(when.year, when.month, when.day) ||
        !platform::IsValidCivilTime(when.hour, when.minute, when.second)) {
      Fail(first, "no such date or time");
    }
    return SecondsKey(when);
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
};

bool Compare(int64_t value, Node::Comparison comparison, int64_t bound) {
  switch (comparison) {
    case Node::Comparison::kEqual:
      return value == bound;
    case Node::Comparison::kNotEqual:
      return value != bound;
    case Node::Comparison::kLess:
      return value < bound;
    case Node::Comparison::kLessOrEqual:
      return value <= bound;
    case Node::Comparison::kGreater:
      return value > bound;
    case Node::Comparison::kGreaterOrEqual:
      return value >= bound;
  }
  return false;
}

// What a condition can ask of an item, whichever list it lies in.
struct Facts {
  ItemClass itemClass;
  bool accepted;
  BoxType box;
  platform::AutomationDate start;
  platform::AutomationDate dueEnd;
};

bool Evaluate(const Node& node, const Facts& item) {
  switch (node.kind) {
    case Node::Kind::kAnd:
      for (const Node& child : node.children) {
        if (!Evaluate(child, item)) return false;
      }
      return true;
    case Node::Kind::kOr:
      for (const Node& child : node.children) {
        if (Evaluate(child, item)) return true;
      }
      return false;
    case Node::Kind::kClass:
      return item.itemClass == node.itemClass;
    case Node::Kind::kAccepted:
      return item.accepted;
    case Node::Kind::kBoxType:
      return (item.box == node.box) == (node.comparison == Node::Comparison::kEqual);
    case Node::Kind::kDate: {
      const platform::AutomationDate date =
          node.field == Node::DateField::kStart ? item.start : item.dueEnd;
      return Compare(SecondsKey(platform::DecodeAutomationDate(date)), node.comparison, node.when);
    }
  }
  return false;
}

}  // namespace

QueryExpression QueryExpression::Parse(std::u16string_view text) {
  Parser parser(Tokenize(text));
  return QueryExpression(std::make_shared<const Node>(parser.Whole()));
}

bool QueryExpression::Matches(const CalendarItem& item) const {
  return Evaluate(*root_, Facts{item.itemClass, item.accepted, item.boxType, item.startDate,
                                DueEndDateOf(item)});
}

// A message is never an invitation to accept, and is dated by its creation: START_DATE and
// DUEEND_DATE both look at the CreationDate.
bool QueryExpression::Matches(const MailMessage& message) const {
  return Evaluate(*root_, Facts{message.itemClass, true, message.boxType, message.creationDate,
                                message.creationDate});
}

platform::AutomationDate DueEndDateOf(const CalendarItem& item) {
  switch (item.itemClass) {
    case ItemClass::kTask:
      return item.dueDate;
    case ItemClass::kAppointment:
      return item.endDate;
    default:
      return item.startDate;
  }
}

}  // namespace sim
