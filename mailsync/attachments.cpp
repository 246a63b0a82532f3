#include "mailsync/attachments.h"

#include "framework/groupwise.h"
#include "framework/text_codec.h"
#include "framework/text_util.h"
#include "framework/versit_property.h"
#include "mailsync/mail_text.h"
#include "platform/file_io.h"

namespace mailsync {
namespace {

using framework::FormatText;
using platform::Object;

constexpr std::string_view kRule = "==============================\r\n";
constexpr int32_t kMessageAttachment = 2;

struct ClassTest {
  std::u16string_view className;
  MessageKind kind;
  std::string_view label;
};
// Tested in this order, a later match winning: a class name may contain several.
constexpr ClassTest kClassTests[] = {
    {u"GW.MESSAGE.APPOINTMENT", MessageKind::kAppointment, "Appt"},
    {u"GW.MESSAGE.DOCUMENTREFERENCE", MessageKind::kDocumentReference, "Doc ref"},
    {u"GW.MESSAGE.MAIL", MessageKind::kMail, "Mail"},
    {u"GW.MESSAGE.NOTE", MessageKind::kNote, "Note"},
    {u"GW.MESSAGE.PHONE", MessageKind::kPhone, "Phone msg"},
    {u"GW.MESSAGE.TASK", MessageKind::kTask, "Task"},
};

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

std::string TBinaryAttachment::ParametersText(const platform::CodePage& ansi,
                                              int32_t position) const {
  // The parameters are 8-bit text in the ANSI code page; the name's every character travels
  // in the value's UTF-8. (Reading the ANSI name as UTF-8 on its way, as once done, turned
  // "Übersicht.txt" into "?ersicht.txt".)
  std::string text = FormatText("NAME=%s;VALUE=BINARY;CHARSET=UTF-8", {ansi.ToAnsi(fileName)});
  if (position >= 2) text += ";" + std::to_string(position);
  return text;
}

std::string TBinaryAttachment::ValueText() const {
  const std::string name = framework::Utf16ToUtf8(fileName);
  std::string value;
  value.reserve(name.size() + framework::kBinaryLengthDigits + 3 + contents.size());
  value.append(name).append(";*").append(framework::FormatBinaryLength(contents.size()));
  value.append("*").append(contents);
  return value;
}

void TBinaryAttachment::AppendTo(framework::TEntry& entry, const platform::CodePage& ansi,
                                 int32_t position) const {
  entry.Properties.Add("ATTACH", ParametersText(ansi, position), ValueText());
}

namespace {

framework::BinaryValue ReadAttachmentValue(std::string_view value) {
  const std::optional<framework::BinaryValue> read = framework::ReadBinaryValue(value);
  if (!read || read->data.empty()) {
    throw platform::Exception("The attachment's value holds no data the device announced");
  }
  return *read;
}

}  // namespace

void TBinaryAttachmentDecode::Check(std::string_view value) {
  ReadAttachmentValue(value);
}

TBinaryAttachmentDecode::TBinaryAttachmentDecode(platform::Environment& env, std::string_view value)
    : folder_(platform::TempFolder::Create(env, "CRV")) {
  const framework::BinaryValue read = ReadAttachmentValue(value);
  name_ = std::string(read.prefix);
  // A name of the plug-in's own: the device's may hold anything. GroupWise is given the
  // device's name beside the file.
  path_ = folder_.FileIn("CRV.tmp");
  platform::ReplaceFile(path_, read.data);
}

void RemoveAttachment(const Object& attachments, std::string_view name,
                      const platform::CodePage& ansi,
                      const std::function<void(const std::string&)>& trace) {
  if (name.empty()) return;
  try {
    const int32_t count = framework::groupwise::Count(attachments);
    for (int32_t i = 1; i <= count; ++i) {
      const Object attachment = framework::groupwise::ItemAt(attachments, i);
      if (attachment.GetProperty("ObjType").ToInt32() != 1) continue;
      if (framework::SameTextIgnoringCase(ansi.ToAnsi(attachment.GetProperty("Filename").ToText()),
                                          name)) {
        attachment.Call("Delete");
        return;
      }
    }
  } catch (const std::exception& failure) {
    trace(FormatText("TISYNCHAPPU.RemoveAttachment: %s", {failure.what()}));
  }
}

MessageKind MessageKindOf(std::u16string_view className) {
  MessageKind kind = MessageKind::kMail;
  for (const ClassTest& test : kClassTests) {
    if (className.find(test.className) != std::u16string_view::npos) kind = test.kind;
  }
  return kind;
}

std::string_view KindLabelOf(std::u16string_view className) {
  std::string_view label;
  for (const ClassTest& test : kClassTests) {
    if (className.find(test.className) != std::u16string_view::npos) label = test.label;
  }
  return label;
}

TAttachmentProcessor::TAttachmentProcessor(platform::Platform& platform, const Object& item)
    : platform_(platform) {
  const std::u16string className = item.GetProperty("ClassName").ToText();
  std::string subject =
      SanitizeSubject(Narrow(framework::groupwise::GetPlainText(item, "Subject"))).substr(0, 20);
  if (subject.empty()) subject = "No subject";
  fileName_ = FormatText("%s - %s.txt", {KindLabelOf(className), subject});
  text_ = Render(item);
  try {
    const Object attachments = item.GetProperty("Attachments").ToObject();
    const int32_t count = framework::groupwise::Count(attachments);
    for (int32_t i = 1; i <= count; ++i) {
      const Object attachment = framework::groupwise::ItemAt(attachments, i);
      if (attachment.GetProperty("ObjType").ToInt32() == kMessageAttachment) {
        text_ += Render(attachment.GetProperty("Message").ToObject());
      }
    }
  } catch (const platform::Exception&) {
    text_ += "Unreadable message in GroupWise";
  }
}

std::string TAttachmentProcessor::Narrow(std::u16string_view text) const {
  return platform_.Ansi().ToAnsi(text);
}

std::string TAttachmentProcessor::Render(const Object& item) {
  try {
    return RenderItem(item);
  } catch (const platform::AutomationError&) {
    return "A problem with this GroupWise message prevented its contents from being extracted.";
  } catch (const std::exception& failure) {
    return FormatText("Unable to extract GroupWise message contents: reason [%s]",
                      {failure.what()});
  }
}

std::string TAttachmentProcessor::RenderItem(const Object& item) {
  std::string body;
  try {
    body = Trimmed(Narrow(framework::groupwise::GetPlainText(item, "BodyText")));
    if (body.empty()) noBodyText_ = true;
  } catch (const platform::Exception&) {
    noBodyText_ = true;
  }
  if (body.empty()) body = "<No body text available>";
  const MessageKind kind = MessageKindOf(item.GetProperty("ClassName").ToText());
  if (kind == MessageKind::kAppointment) return {};
  if (kind == MessageKind::kDocumentReference) {
    return FormatText(
               "Document Library: %s\r\nSubject: %s\r\n",
               {Trimmed(Narrow(
                    item.GetProperty("DocumentLibrary").ToObject().GetProperty("Name").ToText())),
                Trimmed(Narrow(
                    item.GetProperty("Document").ToObject().GetProperty("Subject").ToText()))}) +
           std::string(kRule) + "\r\n";
  }
  std::string from;
  try {
    from = Narrow(item.GetProperty("Sender").ToObject().GetProperty("EmailAddress").ToText());
  } catch (const platform::Exception&) {
    // The From text still names the sender.
  }
  if (from.empty()) from = ExtractEmailAddress(Narrow(item.GetProperty("FromText").ToText()));
  const std::string subject = Trimmed(Narrow(framework::groupwise::GetPlainText(item, "Subject")));
  const auto date = [&](std::string_view member) {
    return platform_.Env().FormatShortDate(item.GetProperty(member).ToDate());
  };
  std::string text = FormatText("From: %s\r\n", {from});
  switch (kind) {
    case MessageKind::kNote:
      text += FormatText("Start date: %s\r\n", {date("StartDate")});
      text += FormatText("Subject: %s\r\n\r\n%s\r\n\r\n", {subject, body});
      break;
    case MessageKind::kTask:
      text +=
          FormatText("Start date: %s\r\nDue date: %s\r\n", {date("StartDate"), date("DueDate")});
      text += FormatText("Subject: %s\r\n\r\n%s\r\n\r\n", {subject, body});
      break;
    case MessageKind::kPhone: {
      text += FormatText("Caller: %s\r\nCompany: %s\r\nPhone: %s\r\n",
                         {Narrow(item.GetProperty("CallerName").ToText()),
                          Narrow(item.GetProperty("CallerCompany").ToText()),
                          Narrow(item.GetProperty("PhoneNumber").ToText())});
      constexpr std::pair<std::string_view, std::string_view> kFlags[] = {
          {"Telephoned", "[X] Telephoned\r\n"},
          {"WillCall", "[x] Will call again\r\n"},
          {"WantsToSee", "[x] Wants to see you\r\n"},
          {"Urgent", "[x] Urgent\r\n"},
          {"PleaseCall", "[x] Please call\r\n"},
          {"ReturnedCall", "[x] Returned your call\r\n"},
          {"CameToSee", "[x] Came to see you\r\n"},
      };
      for (const auto& [member, line] : kFlags) {
        if (item.GetProperty(member).ToBool()) text += line;
      }
      text += body + "\r\n";
      break;
    }
    default:
      text += FormatText("Subject: %s\r\n\r\n%s\r\n\r\n", {subject, body});
      break;
  }
  return text + RenderAttachmentList(item) + std::string(kRule);
}

std::string TAttachmentProcessor::RenderAttachmentList(const Object& item) {
  const Object attachments = item.GetProperty("Attachments").ToObject();
  const int32_t count = framework::groupwise::Count(attachments);
  if (count <= 0) return {};
  std::string text = "Attachments:\r\n";
  for (int32_t i = 1; i <= count; ++i) {
    const Object attachment = framework::groupwise::ItemAt(attachments, i);
    const auto named = [&](std::string_view kind, std::string_view member) {
      return FormatText("%s: %s\r\n", {kind, Narrow(attachment.GetProperty(member).ToText())});
    };
    switch (attachment.GetProperty("ObjType").ToInt32()) {
      case 0:
        text += "Unknown:\r\n";
        break;
      case 1:
        text += named("File", "FileName");
        break;
      case 2:
        text += "Message: (See below)\r\n";
        break;
      case 3:
        text += named("Movie", "DisplayName");
        break;
      case 4:
        text += named("OLE Embedded", "DisplayName");
        break;
      case 5:
        text += named("OLE Linked", "DisplayName");
        break;
      case 6:
        text += named("Sound", "DisplayName");
        break;
      default:
        break;
    }
  }
  return text;
}

}  // namespace mailsync
