#pragma once

// GroupWise's query expressions, as far as the plug-ins write them: class words, ACCEPTED,
// BOX_TYPE comparisons and date comparisons joined by AND, OR and parentheses. An expression
// outside that subset is refused with the column where reading stopped, so a plug-in that
// builds a wrong expression fails visibly instead of finding nothing.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/exception.h"
#include "sim/groupwise/mailbox.h"

namespace sim {

class QueryError : public platform::Exception {
 public:
  QueryError(std::size_t column, const std::string& detail)
      : Exception("column " + std::to_string(column) + ": " + detail),
        column_(column),
        detail_(detail) {}
  // Counted in UTF-16 code units from 1.
  std::size_t Column() const { return column_; }
  const std::string& Detail() const { return detail_; }

 private:
  std::size_t column_;
  std::string detail_;
};

class QueryExpression {
 public:
  // Raises QueryError.
  static QueryExpression Parse(std::u16string_view text);

  bool Matches(const CalendarItem& item) const;
  bool Matches(const MailMessage& message) const;

  struct Node;

 private:
  explicit QueryExpression(std::shared_ptr<const Node> root) : root_(std::move(root)) {}
  std::shared_ptr<const Node> root_;
};

// The date a DUEEND_DATE comparison looks at: a task's due date, an appointment's end date,
// and the start date of items that have no end (notes are kept by day).
platform::AutomationDate DueEndDateOf(const CalendarItem& item);

}  // namespace sim
