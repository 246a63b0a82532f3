#pragma once

// Attachments on their way to the device: a file's bytes as a binary ATTACH property, and an
// attached GroupWise item (a forwarded mail, a phone message, an appointment, a task, a note,
// a document reference) rendered as a text file of its own. On their way back: an ATTACH
// property's bytes as the file GroupWise copies into a mail.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "framework/entry.h"
#include "platform/automation.h"
#include "platform/platform.h"
#include "platform/temp_folder.h"

namespace mailsync {

// One attachment as the device receives it: its file name and its bytes.
struct TBinaryAttachment {
  std::u16string fileName;  // the name only, no folder
  std::string contents;

  // "NAME=report.doc;VALUE=BINARY;CHARSET=UTF-8", and ";2" for the second attachment of the
  // mail on (positions count every attachment, from 1).
  std::string ParametersText(const platform::CodePage& ansi, int32_t position) const;
  // "report.doc;*0000000B*hello world": the name in UTF-8, the length, the bytes.
  std::string ValueText() const;
  void AppendTo(framework::TEntry& entry, const platform::CodePage& ansi, int32_t position) const;
};

// An ATTACH property from the device as a file GroupWise can take: its bytes written into a
// folder of the plug-in's own, which goes with the object, however the write ends.
class TBinaryAttachmentDecode {
 public:
  // Raises when the value announces no bytes: its length field read as zero or could not be
  // read (the record's parser gives both the same form), so nothing is known to add.
  static void Check(std::string_view value);
  // Writes the value's bytes; raises as Check does, or when the file cannot be written.
  TBinaryAttachmentDecode(platform::Environment& env, std::string_view value);

  // The file name the device gave, as it wrote it (UTF-8).
  const std::string& AttachmentName() const { return name_; }
  const std::string& TemporaryFile() const { return path_; }

 private:
  platform::TempFolder folder_;
  std::string name_;
  std::string path_;
};

// Deletes the first file attachment of the collection whose file name is `name` (8-bit, as the
// NAME parameter carries it), compared without regard to case; nothing when none is. Failures
// are traced through `trace` only.
void RemoveAttachment(const platform::Object& attachments, std::string_view name,
                      const platform::CodePage& ansi,
                      const std::function<void(const std::string&)>& trace);

// The kinds of attached item, as their class names tell them.
enum class MessageKind : uint8_t {
  kAppointment = 0,
  kDocumentReference = 1,
  kMail = 2,
  kNote = 3,
  kPhone = 4,
  kTask = 5,
};
MessageKind MessageKindOf(std::u16string_view className);
// "Appt", "Doc ref", "Mail", "Note", "Phone msg", "Task"; empty for another class.
std::string_view KindLabelOf(std::u16string_view className);

// Renders attached items as text; one object per attachment, as it may note an item without
// a body for the user.
class TAttachmentProcessor {
 public:
  TAttachmentProcessor(platform::Platform& platform, const platform::Object& item);

  // "Mail - Re Budget_ 2001.txt": the kind and the cleaned subject.
  const std::string& FileName() const { return fileName_; }
  // The item rendered, then each item attached to it (one level deep).
  const std::string& Text() const { return text_; }
  // An item rendered had no body text, or its body could not be read.
  bool NoBodyText() const { return noBodyText_; }

 private:
  std::string Render(const platform::Object& item);
  std::string RenderItem(const platform::Object& item);
  std::string RenderAttachmentList(const platform::Object& item);
  std::string Narrow(std::u16string_view text) const;

  platform::Platform& platform_;
  std::string fileName_;
  std::string text_;
  bool noBodyText_ = false;
};

}  // namespace mailsync
