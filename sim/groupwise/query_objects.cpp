// The query and the messages it found.

#include <cstdint>
#include <memory>
#include <vector>

#include "sim/common/json.h"
#include "sim/groupwise/objects.h"
#include "sim/groupwise/query_language.h"

namespace sim::groupwise {
namespace {

using platform::Object;

// What Start found, shared by every QueryMessages object of that Start: a controller may well
// ask the query for its QueryMessages once per item, and copying the results each time would
// make its loop quadratic. An item is kept as found, so that fetching it costs no lookup in a
// table as large as the mailbox, and by its MessageID for when the calendar has lost an item
// since: then it is looked up, and one deleted fails when it is asked for.
struct Hit {
  std::u16string id;
  CalendarItem* item = nullptr;
};
struct Results {
  uint64_t generation = 0;  // the calendar's, when the items were found
  std::vector<Hit> hits;
};
using Found = std::shared_ptr<const Results>;

class QueryMessages final : public SimObject {
 public:
  QueryMessages(const Shared& shared, Found found)
      : SimObject("QueryMessages", shared.context), found_(std::move(found)) {
    AddProperty("Count",
                [this](Args) { return Variant(static_cast<int32_t>(found_->hits.size())); });
    AddMethod("Item", [this, shared](Args args) {
      ExpectArgCount(args, 1, 1, "QueryMessages.Item");
      const int32_t index = Arg(args, 0, "QueryMessages.Item").ToInt32();
      if (index < 1 || static_cast<std::size_t>(index) > found_->hits.size()) {
        RaiseBadArgument("QueryMessages.Item", "index out of range");
      }
      const Hit& hit = found_->hits[static_cast<std::size_t>(index - 1)];
      CalendarItem* item = shared.mailbox->calendar.Generation() == found_->generation
                               ? hit.item
                               : shared.mailbox->FindItem(hit.id);
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
        found_ = std::make_shared<const Results>();
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
    auto found = std::make_shared<Results>();
    found->generation = shared_.mailbox->calendar.Generation();
    for (CalendarItem& item : shared_.mailbox->calendar) {
      if (parsed->Matches(item)) found->hits.push_back({item.messageId, &item});
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
  Found found_ = std::make_shared<const Results>();
};

}  // namespace

Object MakeQuery(const Shared& shared) {
  return MakeObject<Query>(shared);
}

}  // namespace sim::groupwise
