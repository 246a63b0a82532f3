// The account's folder tree: the folders, their subfolders and their messages, every folder of
// the account, and the folders that hold a message.

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "sim/groupwise/mail_refs.h"
#include "sim/groupwise/query_language.h"

namespace sim::groupwise {
namespace {

using platform::Object;

// Every folder of the tree, depth first, each before its subfolders: how AllFolders counts
// them. The tree is small (a person's folders), so it is walked for each call.
std::vector<const MailFolder*> AllInOrder(const Mailbox& mailbox) {
  std::vector<const MailFolder*> order;
  std::vector<const std::vector<std::u16string>*> levels{&mailbox.topFolders};
  std::vector<std::size_t> next{0};
  while (!levels.empty()) {
    if (next.back() == levels.back()->size()) {
      levels.pop_back();
      next.pop_back();
      continue;
    }
    const MailFolder* folder = mailbox.FindFolder((*levels.back())[next.back()++]);
    if (!folder) continue;
    order.push_back(folder);
    levels.push_back(&folder->subfolders);
    next.push_back(0);
  }
  return order;
}

// Add(name) or Add(name, Null): a plain folder. What else the second argument can say is not
// modelled.
MailFolder& AddFolder(const Shared& shared, Args args, const MailFolder* parent,
                      const std::string& member) {
  SimObject::ExpectArgCount(args, 1, 2, member);
  const std::u16string name = SimObject::Arg(args, 0, member).ToText();
  if (args.size() == 2 && !SimObject::Arg(args, 1, member).IsEmptyOrNull()) {
    SimObject::RaiseBadArgument(member, "only Null is modelled as the second argument");
  }
  try {
    return shared.mailbox->AddFolder(name, parent);
  } catch (const platform::Exception& error) {
    Raise(member, std::string(error.what()) + ": " + Quoted(name));
  }
}

// What Find found, shared by the list's objects; kept as ItemRef keeps an item, by the
// message found and by its id for when the mailbox has lost a message since.
struct Hit {
  std::u16string id;
  MailMessage* message = nullptr;
};
struct Results {
  uint64_t generation = 0;  // the messages', when they were found
  std::vector<Hit> hits;
};

class MessageList final : public SimObject {
 public:
  MessageList(const Shared& shared, std::shared_ptr<const Results> found)
      : SimObject("MessageList", shared.context) {
    AddProperty("Count", [found](Args) { return Variant(CountOf(found->hits.size())); });
    AddMethod("Item", [shared, found](Args args) {
      ExpectArgCount(args, 1, 1, "MessageList.Item");
      const Hit& hit = found->hits[PositionOf(Arg(args, 0, "MessageList.Item"), found->hits.size(),
                                              "MessageList.Item")];
      MailMessage* message = shared.mailbox->messages.Generation() == found->generation
                                 ? hit.message
                                 : shared.mailbox->FindMessage(hit.id);
      if (!message) Raise("MessageList.Item", "The message no longer exists");
      return Variant(MakeMessage(shared, *message));
    });
  }
};

// A folder's own messages: those it holds, not those of its subfolders.
class FolderMessages final : public SimObject {
 public:
  FolderMessages(const Shared& shared, std::u16string folderId)
      : SimObject("Messages", shared.context), shared_(shared), folderId_(std::move(folderId)) {
    AddProperty("Count",
                [this](Args) { return Variant(CountOf(Contents("Messages.Count").size())); });
    AddMethod("Item", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Messages.Item");
      return Item(Arg(args, 0, "Messages.Item"));
    });
    AddMethod("Find", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Messages.Find");
      return Find(Arg(args, 0, "Messages.Find").ToText());
    });
    AddMethod("Add", [this](Args args) { return AddDraft(args); });
    AddMethod("Move", [this](Args args) { return Move(args); });
  }

 private:
  bool Holds(const MailMessage& message) const {
    return std::find(message.folders.begin(), message.folders.end(), folderId_) !=
           message.folders.end();
  }
  const std::vector<MailMessage*>& Contents(std::string_view member) const {
    FolderById(*shared_.mailbox, folderId_, member);
    return shared_.mailbox->FolderContents(folderId_);
  }

  Variant Item(const Variant& key) const {
    const std::vector<MailMessage*>& contents = Contents("Messages.Item");
    if (key.GetKind() == Variant::Kind::kText) {
      MailMessage* message = shared_.mailbox->FindMessage(key.AsText());
      if (!message || !Holds(*message)) Raise("Messages.Item", kNotHere);
      return Variant(MakeMessage(shared_, *message));
    }
    return Variant(
        MakeMessage(shared_, *contents[PositionOf(key, contents.size(), "Messages.Item")]));
  }

  // The search runs at once over the folder's messages, in their order.
  Variant Find(const std::u16string& expression) const {
    std::optional<QueryExpression> parsed;
    try {
      parsed = QueryExpression::Parse(expression);
    } catch (const QueryError& error) {
      Raise("Messages.Find", "The query expression is not understood at column " +
                                 std::to_string(error.Column()) + ": " + error.Detail() + " in " +
                                 Quoted(expression));
    }
    auto found = std::make_shared<Results>();
    found->generation = shared_.mailbox->messages.Generation();
    for (MailMessage* message : Contents("Messages.Find")) {
      if (parsed->Matches(*message)) found->hits.push_back({message->messageId, message});
    }
    return Variant(MakeObject<MessageList>(shared_, std::move(found)));
  }

  // Add(Null, 4, Null): a new draft mail in this folder, the one way the e-mail plug-in makes
  // mail. The class may also be named; what else the three arguments can say is not modelled.
  Variant AddDraft(Args args) const {
    constexpr std::string_view kMember = "Messages.Add";
    ExpectArgCount(args, 2, 3, kMember);
    const Variant& className = Arg(args, 0, kMember);
    if (!className.IsEmptyOrNull() && ItemClassFromName(className.ToText()) != ItemClass::kMail) {
      RaiseBadArgument(kMember, "only mail (Null or GW.MESSAGE.MAIL) is modelled as the class");
    }
    if (Arg(args, 1, kMember).ToInt32() != BoxTypeNumber(BoxType::kDraft)) {
      RaiseBadArgument(kMember, "only 4, a draft, is modelled as the second argument");
    }
    if (args.size() == 3 && !Arg(args, 2, kMember).IsEmptyOrNull()) {
      RaiseBadArgument(kMember, "only Null is modelled as the third argument");
    }
    FolderById(*shared_.mailbox, folderId_, kMember);
    Mailbox& mailbox = *shared_.mailbox;
    MailMessage draft;
    draft.itemClass = ItemClass::kMail;
    draft.boxType = BoxType::kDraft;
    draft.folders = {folderId_};
    // The user's own: never unread. Its sender is the owner's once it is sent.
    draft.read = true;
    draft.creationDate = Now(shared_);
    return Variant(MakeMessage(shared_, mailbox.AddNewMessage(std::move(draft))));
  }

  // Move(id, destination): the message of that id leaves this folder for the destination's,
  // which is another folder's Messages of the same mailbox.
  Variant Move(Args args) const {
    constexpr std::string_view kMember = "Messages.Move";
    ExpectArgCount(args, 2, 2, kMember);
    const std::u16string id = Arg(args, 0, kMember).ToText();
    const Variant& target = Arg(args, 1, kMember);
    const auto* destination = target.GetKind() == Variant::Kind::kObject
                                  ? dynamic_cast<const FolderMessages*>(target.AsObject().Get())
                                  : nullptr;
    if (!destination || destination->shared_.mailbox != shared_.mailbox) {
      RaiseBadArgument(kMember, "the destination is the Messages of a folder of this account");
    }
    Mailbox& mailbox = *shared_.mailbox;
    FolderById(mailbox, folderId_, kMember);
    FolderById(mailbox, destination->folderId_, kMember);
    MailMessage* message = mailbox.FindMessage(id);
    if (!message || !Holds(*message)) Raise(kMember, kNotHere);
    mailbox.MoveMessage(*message, folderId_, destination->folderId_);
    return Variant(MakeMessage(shared_, *message));
  }

  static constexpr std::string_view kNotHere = "No message in this folder has that id";

  Shared shared_;
  std::u16string folderId_;
};

// The subfolders of one folder.
class Folders final : public SimObject {
 public:
  Folders(const Shared& shared, std::u16string parentId)
      : SimObject("Folders", shared.context), shared_(shared), parentId_(std::move(parentId)) {
    AddProperty("Count", [this](Args) {
      return Variant(CountOf(Parent("Folders.Count").subfolders.size()));
    });
    // By FolderID, or by position; an id that is not one of the subfolders raises.
    AddMethod("Item", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Folders.Item");
      const Variant& key = Arg(args, 0, "Folders.Item");
      const std::vector<std::u16string>& ids = Parent("Folders.Item").subfolders;
      if (key.GetKind() == Variant::Kind::kText) {
        for (const std::u16string& id : ids) {
          if (id == key.AsText()) return Folder(id);
        }
        Raise("Folders.Item", "No subfolder has the id " + Quoted(key.AsText()));
      }
      return Folder(ids[PositionOf(key, ids.size(), "Folders.Item")]);
    });
    AddMethod("ItemByName", [this](Args args) {
      ExpectArgCount(args, 1, 1, "Folders.ItemByName");
      const std::u16string name = Arg(args, 0, "Folders.ItemByName").ToText();
      const MailFolder* folder =
          shared_.mailbox->FindSubfolder(&Parent("Folders.ItemByName"), name);
      if (!folder) Raise("Folders.ItemByName", "No subfolder is named " + Quoted(name));
      return Variant(MakeFolder(shared_, *folder));
    });
    AddMethod("Add", [this](Args args) {
      return Variant(
          MakeFolder(shared_, AddFolder(shared_, args, &Parent("Folders.Add"), "Folders.Add")));
    });
  }

 private:
  const MailFolder& Parent(std::string_view member) const {
    return FolderById(*shared_.mailbox, parentId_, member);
  }
  Variant Folder(const std::u16string& id) const {
    return Variant(MakeFolder(shared_, FolderById(*shared_.mailbox, id, "Folders.Item")));
  }

  Shared shared_;
  std::u16string parentId_;
};

class FolderObject final : public SimObject {
 public:
  FolderObject(const Shared& shared, std::u16string folderId)
      : SimObject("Folder", shared.context) {
    auto get = [shared, folderId](std::string_view member) -> const MailFolder& {
      return FolderById(*shared.mailbox, folderId, member);
    };
    AddProperty("FolderID", [get](Args) { return Variant(get("Folder.FolderID").folderId); });
    AddProperty("Name", [get](Args) { return Variant(get("Folder.Name").name); });
    AddProperty("Folders", [shared, folderId, get](Args) {
      get("Folder.Folders");
      return Variant(MakeObject<Folders>(shared, folderId));
    });
    AddProperty("Messages", [shared, folderId, get](Args) {
      get("Folder.Messages");
      return Variant(MakeObject<FolderMessages>(shared, folderId));
    });
  }
};

// Every folder of the account, in the order of AllInOrder.
class AllFolders final : public SimObject {
 public:
  explicit AllFolders(const Shared& shared) : SimObject("AllFolders", shared.context) {
    AddProperty("Count",
                [shared](Args) { return Variant(CountOf(AllInOrder(*shared.mailbox).size())); });
    // By FolderID, or by position; an unknown id raises.
    AddMethod("Item", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "AllFolders.Item");
      const Variant& key = Arg(args, 0, "AllFolders.Item");
      if (key.GetKind() == Variant::Kind::kText) {
        return Variant(
            MakeFolder(shared, FolderById(*shared.mailbox, key.AsText(), "AllFolders.Item")));
      }
      const std::vector<const MailFolder*> all = AllInOrder(*shared.mailbox);
      return Variant(MakeFolder(shared, *all[PositionOf(key, all.size(), "AllFolders.Item")]));
    });
    // The first folder of that name, without regard to case, in the order of Item.
    AddMethod("ItemByName", [shared](Args args) {
      ExpectArgCount(args, 1, 1, "AllFolders.ItemByName");
      const std::u16string name = Arg(args, 0, "AllFolders.ItemByName").ToText();
      for (const MailFolder* folder : AllInOrder(*shared.mailbox)) {
        if (SameTextIgnoringCase(folder->name, name)) return Variant(MakeFolder(shared, *folder));
      }
      Raise("AllFolders.ItemByName", "No folder is named " + Quoted(name));
    });
    // A new top-level folder, beside the mailbox folder.
    AddMethod("Add", [shared](Args args) {
      return Variant(MakeFolder(shared, AddFolder(shared, args, nullptr, "AllFolders.Add")));
    });
  }
};

class EnclosingFolders final : public SimObject {
 public:
  EnclosingFolders(const Shared& shared, MessageRef message)
      : SimObject("EnclosingFolders", shared.context) {
    AddProperty("Count", [message](Args) {
      return Variant(CountOf(message.Get("EnclosingFolders.Count").folders.size()));
    });
    AddMethod("Item", [shared, message](Args args) {
      ExpectArgCount(args, 1, 1, "EnclosingFolders.Item");
      const std::vector<std::u16string>& folders = message.Get("EnclosingFolders.Item").folders;
      const std::u16string& id = folders[PositionOf(Arg(args, 0, "EnclosingFolders.Item"),
                                                    folders.size(), "EnclosingFolders.Item")];
      return Variant(MakeFolder(shared, FolderById(*shared.mailbox, id, "EnclosingFolders.Item")));
    });
  }
};

}  // namespace

const MailFolder& FolderById(const Mailbox& mailbox, const std::u16string& id,
                             std::string_view member) {
  const MailFolder* folder = mailbox.FindFolder(id);
  if (!folder) Raise(member, "No folder has the id " + Quoted(id));
  return *folder;
}

Object MakeEnclosingFolders(const Shared& shared, MessageRef message) {
  return MakeObject<EnclosingFolders>(shared, std::move(message));
}

Object MakeFolder(const Shared& shared, const MailFolder& folder) {
  return MakeObject<FolderObject>(shared, folder.folderId);
}

Object MakeAllFolders(const Shared& shared) {
  return MakeObject<AllFolders>(shared);
}

}  // namespace sim::groupwise
