#pragma once

// Inside the mail objects: how an object finds its message, recipient or attachment again on
// every call, and the small helpers the folder objects and the message objects share.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/common/json.h"
#include "sim/groupwise/objects.h"

namespace sim::groupwise {

inline int32_t CountOf(std::size_t size) {
  return static_cast<int32_t>(size);
}

inline std::size_t PositionOf(const Variant& index, std::size_t count, std::string_view member) {
  const int32_t position = index.ToInt32();
  if (position < 1 || static_cast<std::size_t>(position) > count) {
    SimObject::RaiseBadArgument(member, "index out of range");
  }
  return static_cast<std::size_t>(position - 1);
}

inline std::string Quoted(std::u16string_view text) {
  std::string quoted(1, '"');
  quoted.append(json::Utf16ToUtf8(text)).push_back('"');
  return quoted;
}

// The part of that key, looked for first where it was last found: it stays there unless a
// part before it was deleted, so a controller's loop over a message's parts stays linear.
template <typename Part>
Part* FindPart(std::vector<Part>& parts, uint64_t key, std::size_t& hint) {
  if (hint < parts.size() && parts[hint].key == key) return &parts[hint];
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].key == key) {
      hint = i;
      return &parts[i];
    }
  }
  return nullptr;
}

// A message of the mailbox, or an item attached to one through any number of attachments. It
// is found again on every call, so that an object whose message was deleted fails as GroupWise's
// do; the message found is kept until the mailbox loses a message, as ItemRef keeps its item.
class MessageRef {
 public:
  MessageRef(std::shared_ptr<Mailbox> mailbox, MailMessage& message)
      : mailbox_(std::move(mailbox)),
        id_(message.messageId),
        found_(&message),
        foundGeneration_(mailbox_->messages.Generation()) {}

  // The item that `attachment`, found at `position` of this one's attachments, holds.
  MessageRef Attached(const Attachment& attachment, std::size_t position) const {
    MessageRef attached = *this;
    attached.path_.push_back({attachment.key, position});
    return attached;
  }

  // A message of the mailbox, not an attached item: only those lie in folders, have a read
  // state and can be changed.
  bool IsFiled() const { return path_.empty(); }
  Mailbox& Box() const { return *mailbox_; }

  // The message of the mailbox this one is, or holds this attached item.
  MailMessage& Filed(std::string_view member) const {
    const uint64_t generation = mailbox_->messages.Generation();
    if (!found_ || foundGeneration_ != generation) {
      found_ = mailbox_->FindMessage(id_);
      foundGeneration_ = generation;
    }
    if (!found_) Raise(member, "The message no longer exists");
    return *found_;
  }

  MailMessage& Get(std::string_view member) const {
    MailMessage* message = &Filed(member);
    for (const Step& step : path_) {
      const Attachment* attachment = FindPart(message->attachments, step.key, step.hint);
      if (!attachment || !attachment->item) Raise(member, "The attachment no longer exists");
      message = attachment->item.get();
    }
    return *message;
  }

  // The message of the mailbox, to be changed; an attached item raises, since none can be.
  MailMessage& Changeable(std::string_view member) const {
    if (!IsFiled()) Raise(member, "An attached item cannot be changed");
    return Filed(member);
  }

  // What GroupWise does when the user opens the message: an unread one is read from then on.
  // Opening an attached item opens the message that holds it.
  void MarkRead(std::string_view member) const { mailbox_->SetRead(Filed(member), true); }

 private:
  struct Step {
    uint64_t key;
    mutable std::size_t hint;
  };

  std::shared_ptr<Mailbox> mailbox_;
  std::u16string id_;
  std::vector<Step> path_;
  mutable MailMessage* found_;
  mutable uint64_t foundGeneration_;
};

// A recipient or an attachment of a message, by its key.
template <typename Part, std::vector<Part> MailMessage::*kParts>
struct PartRef {
  MessageRef message;
  uint64_t key = 0;
  mutable std::size_t hint = 0;

  // The part `add` appends to the message, which must be one of the mailbox: what an Add of
  // Recipients or Attachments makes. Counts a change.
  template <typename Add>
  static PartRef Added(const MessageRef& message, std::string_view member, Add&& add) {
    std::vector<Part>& all = message.Changeable(member).*kParts;
    all.push_back(add());
    message.Box().NoteChange();
    return {message, all.back().key, all.size() - 1};
  }

  Part& Get(std::string_view member) const {
    Part* part = FindPart(message.Get(member).*kParts, key, hint);
    if (!part) Raise(member, "The message no longer has this part");
    return *part;
  }

  // Removes the part from its message, which must be one of the mailbox; the objects of the
  // other parts stay theirs. Counts a change.
  void Erase(std::string_view member) const {
    std::vector<Part>& all = message.Changeable(member).*kParts;
    const Part& found = Get(member);
    all.erase(all.begin() + (&found - all.data()));
    message.Box().NoteChange();
  }
};
using RecipientRef = PartRef<Recipient, &MailMessage::recipients>;
using AttachmentRef = PartRef<Attachment, &MailMessage::attachments>;

// The folder of that id; raises for one the mailbox does not have.
const MailFolder& FolderById(const Mailbox& mailbox, const std::u16string& id,
                             std::string_view member);
// The folders that hold a message (EnclosingFolders).
platform::Object MakeEnclosingFolders(const Shared& shared, MessageRef message);

}  // namespace sim::groupwise
