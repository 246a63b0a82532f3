// The query and the messages it found.

#include <memory>
#include <vector>

#include "sim/common/json.h"
#include "sim/groupwise/objects.h"
#include "sim/groupwise/query_language.h"

namespace sim::groupwise {
namespace {

using platform::Object;

// What Start found, by MessageID, shared by every QueryMessages object of that Start: a
// controller may well ask the query for its QueryMessages once per item, and copying the ids
// each time would make its loop quadratic. An item deleted since fails when it is asked for.
using Found = std::shared_ptr<const std::vector<std::u16string>>;

class QueryMessages final : public SimObject {
 public:
  QueryMessages(const Shared& shared, Found found)
      : SimObject("QueryMessages", shared.context), found_(std::move(found)) {
    AddProperty("Count", [this](Args) { return Variant(static_cast<int32_t>(found_->size())); });
    AddMethod("Item", [this, shared](Args args) {
      ExpectArgCount(args, 1, 1, "QueryMessages.Item");
      const int32_t index = Arg(args, 0, "QueryMessages.Item").ToInt32();
      if (index < 1 || static_cast<std::size_t>(index) > found_->size()) {
        RaiseBadArgument("QueryMessages.Item", "index out of range");
      }
      const CalendarItem* item =
          shared.mailbox->FindItem((*found_)[static_cast<std::size_t>(index - 1)]);
      if (!item) Raise("QueryMessages.Item", "The message no longer exists");
      return Variant(MakeItem(shared, *item));
    });
  }

 private:
  Found found_;
};

// Idle until Start; then running until Completed has answered false queryPolls times; then
// complete. The searching itself happens at Start, over the whole mailbox, in calendar order.
// Reading Completed before Start, or the results before Completed said true, is a plug-in
// fault and raises, so that a plug-in that does not wait for its search fails here.
//
// The mailbox simulated is the copy on the user's machine. A query not told SearchLocally
// would go to the post office instead, which the simulator has no connection to, so Start
// fails as a search that cannot reach its mailbox does: a plug-in that forgets the member fails
// here rather than working only where the post office answers.
class Query final : public SimObject {
 public:
  explicit Query(const Shared& shared) : SimObject("Query", shared.context), shared_(shared) {
    AddProperty(
        "Expression", [this](Args) { return Variant(expression_); },
        [this](const Variant& value) { expression_ = value.ToText(); });
    AddProperty(
        "SearchLocally", [this](Args) { return Variant(searchLocally_); },
        [this](const Variant& value) { searchLocally_ = value.ToBool(); });
    AddMethod("Start", [this](Args args) {
      ExpectArgCount(args, 0, 0, "Query.Start");
      Start();
      return Variant();
    });
    AddProperty("Completed", [this](Args) { return Variant(Completed()); });
    AddMethod("Stop", [this](Args args) {
      ExpectArgCount(args, 0, 0, "Query.Stop");
      if (state_ != State::kIdle) {
        state_ = State::kStopped;
        found_ = std::make_shared<const std::vector<std::u16string>>();
      }
      return Variant();
    });
    AddProperty("QueryMessages", [this](Args) {
      if (state_ == State::kIdle || state_ == State::kRunning) {
        Raise("Query.QueryMessages", "The query has not completed");
      }
      return Variant(MakeObject<QueryMessages>(shared_, found_));
    });
  }

 private:
  enum class State { kIdle, kRunning, kComplete, kStopped };

  void Start() {
    if (expression_.empty()) Raise("Query.Start", "The query has no expression");
    if (!searchLocally_) {
      Raise("Query.Start",
            "The post office cannot be reached; only a local search (SearchLocally) can run");
    }
    std::optional<QueryExpression> parsed;
    try {
      parsed = QueryExpression::Parse(expression_);
    } catch (const QueryError& error) {
      Raise("Query.Start", "The query expression is not understood at column " +
                               std::to_string(error.Column()) + ": " + error.Detail() + " in \"" +
                               json::Utf16ToUtf8(expression_) + "\"");
    }
    auto found = std::make_shared<std::vector<std::u16string>>();
    for (const CalendarItem& item : shared_.mailbox->calendar) {
      if (parsed->Matches(item)) found->push_back(item.messageId);
    }
    found_ = std::move(found);
    pollsLeft_ = shared_.mailbox->queryPolls;
    state_ = State::kRunning;
  }

  bool Completed() {
    switch (state_) {
      case State::kIdle:
        Raise("Query.Completed", "The query has not been started");
      case State::kRunning:
        if (pollsLeft_ > 0) {
          --pollsLeft_;
          return false;
        }
        state_ = State::kComplete;
        return true;
      case State::kComplete:
      case State::kStopped:
        return true;
    }
    return true;
  }

  Shared shared_;
  std::u16string expression_;
  bool searchLocally_ = false;
  State state_ = State::kIdle;
  int pollsLeft_ = 0;
  Found found_ = std::make_shared<const std::vector<std::u16string>>();
};

}  // namespace

Object MakeQuery(const Shared& shared) {
  return MakeObject<Query>(shared);
}

}  // namespace sim::groupwise
