#include "framework/base_isync.h"

#include <array>

#include "framework/data_types.h"
#include "framework/exceptions.h"
#include "framework/module_globals.h"
#include "framework/text_util.h"

namespace framework {
namespace {

using platform::ByteStream;

// Progress-text ids of the framework's string library, by operation and then by type in the
// order APT, EVE, ANN, TODO, CON, EMAIL.
constexpr std::array<std::array<int, 6>, 4> kProgressTextIds = {{
    {2, 3, 4, 5, 6, 7},        // read
    {23, 24, 25, 26, 27, 28},  // insert
    {9, 10, 11, 12, 13, 14},   // modify
    {16, 17, 18, 19, 20, 21},  // delete
}};

constexpr std::array<std::string_view, 4> kOperationNames = {"Read", "Insert", "Modify", "Delete"};

bool IsWriteOperation(int16_t op) {
  return op == operation::kInsert || op == operation::kModify || op == operation::kDelete;
}

// Puts the host stream back at 0 however the method ends. On the way to success the rewind is
// part of the work (Rewind), and a stream that refuses it fails the method; on the way out of a
// failure it is only tidying up.
class RewindOnExit {
 public:
  explicit RewindOnExit(ByteStream& stream) : stream_(stream) {}
  ~RewindOnExit() {
    if (done_) return;
    try {
      stream_.Seek(0, ByteStream::Origin::kBegin);
    } catch (const std::exception&) {
      // The method has failed already; this stream cannot add to that.
    }
  }
  RewindOnExit(const RewindOnExit&) = delete;
  RewindOnExit& operator=(const RewindOnExit&) = delete;

  void Rewind() {
    done_ = true;
    stream_.Seek(0, ByteStream::Origin::kBegin);
  }

 private:
  ByteStream& stream_;
  bool done_ = false;
};

ByteStream& RequireStream(ByteStream* stream) {
  if (!stream) throw platform::Exception("The host's stream does not support IStream");
  return *stream;
}

}  // namespace

int32_t TBaseIsync::Init(const platform::Object& progress, ByteStream*, ByteStream*) {
  trace_.SetEnabled(false);
  if (!progress) return 1;
  progress_ = progress;
  trace_.Create();
  return 0;
}

int32_t TBaseIsync::Open(const platform::Object&) {
  return 0;
}
int32_t TBaseIsync::Close(const platform::Object&) {
  return 0;
}
int32_t TBaseIsync::CheckSource(const platform::Object&) {
  return 0;
}

int32_t TBaseIsync::Term(const platform::Object& progress) {
  try {
    if (progress) {
      try {
        Close(progress);
      } catch (const std::exception&) {
        // Term ends the run whatever Close thought of it.
      }
    }
    progress_ = platform::Object();
    if (trace_.Exists()) {
      if (trace_.Enabled()) {
        const std::string path =
            traceFilePath_.empty() ? TraceFilePath(platform_.Env().ModulePath()) : traceFilePath_;
        SaveTraceFile(path, *trace_.Lines());
        const std::size_t folderEnd = path.find_last_of("\\/");
        try {
          platform_.Env().ShellOpen(
              path, folderEnd == std::string::npos ? std::string() : path.substr(0, folderEnd));
        } catch (const std::exception&) {
          // The file is saved; not being able to show it is no reason to fail.
        }
      }
      trace_.Free();
    }
    return 0;
  } catch (const std::exception& failure) {
    platform_.Ui().MessageBox(0, failure.what(), "TBaseIsync.Term", platform::mb::kSetForeground);
    return 1;
  }
}

int32_t TBaseIsync::ReadSource(const platform::Object&, ByteStream* stream, int16_t type,
                               int16_t op, std::u16string_view) {
  try {
    ByteStream& host = RequireStream(stream);
    RewindOnExit rewind(host);
    TEntryList list(type);
    host.Seek(0, ByteStream::Origin::kBegin);
    if (op != operation::kRead || !IsAcceptedType(type)) return 1;

    const std::string label(TypeLabel(type));
    Trace("ReadSource: " + label);
    Progress().SetSynchText(ProgressText(op, type));
    // Without a trace the records go to the host while the read runs, so the host's stream is
    // the only copy of a large read; the trace shows the whole stream, so it is built whole.
    const bool streaming = !TraceEnabled();
    if (streaming) list.StreamInto(host);
    bool read = false;
    try {
      read = CallReadHook(type, list);
      if (read && streaming) list.FinishStream();
    } catch (const std::exception&) {
      read = false;
    }
    if (!read) {
      // Part of the records may have gone already; the host must not find them.
      if (list.Streamed()) host.SetSize(0);
      return 1;
    }
    if (!streaming) {
      const platform::MemoryStream scratch = std::move(list.BuildStream());
      Trace(FormatText("\r\n%s Stream [\r\n%s\r\n]", {label, StreamTraceText(scratch)}));
      if (type == data_type::kCon) {
        Trace(FormatText("\r\nCON Stream record count : %d\r\n]", {std::to_string(list.Count())}));
      }
      // Truncated first: a shorter stream than the host's last one must not keep its tail.
      host.SetSize(0);
      host.Seek(0, ByteStream::Origin::kBegin);
      platform::WriteText(host, scratch.Bytes());
    }
    rewind.Rewind();
    return 0;
  } catch (const std::exception&) {
    return 1;
  }
}

int32_t TBaseIsync::WriteSource(const platform::Object&, ByteStream* stream, int16_t type,
                                int16_t op, std::u16string_view) {
  if (!IsAcceptedType(type) || !IsWriteOperation(op)) return 1;
  try {
    return WriteRecord(RequireStream(stream), type, op);
  } catch (const std::exception&) {
    return 1;
  }
}

int32_t TBaseIsync::WriteRecord(ByteStream& host, int16_t type, int16_t op) {
  RewindOnExit rewind(host);
  TEntry entry;
  host.Seek(0, ByteStream::Origin::kBegin);
  const std::string received = platform::ReadToEnd(host);
  host.Seek(0, ByteStream::Origin::kBegin);
  entry.SetVersit(received, platform_.Ui());
  entry.SetType(type);
  if (entry.Properties.Count() == 0) {
    throw EVersitDecodeFailure("Failed to decode Versit stream in [TBaseIsync.WriteSource]");
  }

  const std::string label(TypeLabel(type));
  const std::string_view opName = kOperationNames[static_cast<std::size_t>(op)];
  const std::string request = "WriteSource: " + std::string(opName) + " " + label + " [\r\n%s\r\n]";
  const bool insert = op == operation::kInsert;
  // The mail plug-in has always shown its insert progress before tracing the request.
  const bool progressFirst = insert && type == data_type::kEmail;
  if (!progressFirst) Trace(FormatText(request, {received}));
  Progress().SetSynchText(ProgressText(op, type));
  if (insert) {
    if (auto description = entry.FindValue("DESCRIPTION")) Progress().SetAppText(*description);
  }
  if (progressFirst) Trace(FormatText(request, {received}));

  // The record goes back to the host and into the trace before the insert's progress lines are
  // cleared, whatever the hook made of it.
  bool stored = false;
  try {
    stored = CallWriteHook(op, type, entry);
    if (stored) {
      const std::string written = WriteBack(entry, host);
      Trace(FormatText(std::string(opName) + " " + label + " OK [\r\n%s\r\n]", {written}));
    }
  } catch (...) {
    if (insert) ClearInsertProgress();
    throw;
  }
  if (insert) ClearInsertProgress();
  if (!stored) return 1;
  rewind.Rewind();
  return 0;
}

void TBaseIsync::ClearInsertProgress() {
  Progress().SetSynchText("");
  Progress().SetAppText("");
}

std::string TBaseIsync::WriteBack(const TEntry& entry, ByteStream& stream) {
  try {
    std::string text = entry.GetVersit();
    stream.SetSize(0);
    stream.Seek(0, ByteStream::Origin::kBegin);
    platform::WriteText(stream, text);
    stream.Seek(0, ByteStream::Origin::kBegin);
    return text;
  } catch (const std::exception& failure) {
    // The host would otherwise take a half-written record for the stored one.
    Trace(FormatText("Exception %s in TBaseIsync.WriteBack", {failure.what()}));
    throw;
  }
}

void TBaseIsync::Trace(std::string_view text) noexcept {
  try {
    trace_.Add(text);
  } catch (const std::exception&) {
    // A trace line is never worth failing the work it describes.
  }
}

void TBaseIsync::SetTracing(bool enabled) {
  trace_.SetEnabled(enabled);
}

void TBaseIsync::ReportError(std::string_view title, std::string_view message) {
  platform_.Ui().Beep(platform::mb::kIconExclamation);
  platform_.Ui().MessageBox(0, std::string(message), std::string(title),
                            platform::mb::kSetForeground);
  if (trace_.Enabled()) Trace(FormatText("%s: %s", {title, message}));
  if (progress_) Progress().Log(message, title, 1);
}

HostProgress TBaseIsync::Progress() const {
  return HostProgress(progress_, platform_.Ansi());
}

std::string TBaseIsync::ProgressText(int16_t op, int16_t type) const {
  const int id =
      kProgressTextIds[static_cast<std::size_t>(op)][static_cast<std::size_t>(*TypeSlot(type))];
  return FormatText(LoadFrameworkString(id), {PIMName});
}

std::string TBaseIsync::StreamTraceText(const platform::MemoryStream& scratch) const {
  return trace_.Enabled() ? scratch.Bytes() : std::string();
}

bool TBaseIsync::CallReadHook(int16_t type, TEntryList& list) {
  switch (type) {
    case data_type::kApt:
      return GetPIMAppointments(list);
    case data_type::kEve:
      return GetPIMEvents(list);
    case data_type::kAnn:
      return GetPIMAnniversaries(list);
    case data_type::kTodo:
      return GetPIMTasks(list);
    case data_type::kCon:
      return GetPIMContacts(list);
    case data_type::kEmail:
      return GetPIMEmails(list);
    default:
      return false;
  }
}

bool TBaseIsync::CallWriteHook(int16_t op, int16_t type, TEntry& entry) {
  using Hook = bool (TBaseIsync::*)(TEntry&);
  // Rows by operation (insert, modify, delete), columns by type slot.
  static constexpr std::array<std::array<Hook, 6>, 3> kHooks = {{
      {&TBaseIsync::AddPIMAppointment, &TBaseIsync::AddPIMEvent, &TBaseIsync::AddPIMAnniversary,
       &TBaseIsync::AddPIMTask, &TBaseIsync::AddPIMContact, &TBaseIsync::AddPIMEmail},
      {&TBaseIsync::ModifyPIMAppointment, &TBaseIsync::ModifyPIMEvent,
       &TBaseIsync::ModifyPIMAnniversary, &TBaseIsync::ModifyPIMTask, &TBaseIsync::ModifyPIMContact,
       &TBaseIsync::ModifyPIMEmail},
      {&TBaseIsync::DeletePIMAppointment, &TBaseIsync::DeletePIMEvent,
       &TBaseIsync::DeletePIMAnniversary, &TBaseIsync::DeletePIMTask, &TBaseIsync::DeletePIMContact,
       &TBaseIsync::DeletePIMEmail},
  }};
  const Hook hook = kHooks[static_cast<std::size_t>(op - operation::kInsert)]
                          [static_cast<std::size_t>(*TypeSlot(type))];
  return (this->*hook)(entry);
}

// Every hook refuses until a plug-in overrides it.
bool TBaseIsync::GetPIMAppointments(TEntryList&) {
  return false;
}
bool TBaseIsync::GetPIMAnniversaries(TEntryList&) {
  return false;
}
bool TBaseIsync::GetPIMTasks(TEntryList&) {
  return false;
}
bool TBaseIsync::GetPIMEvents(TEntryList&) {
  return false;
}
bool TBaseIsync::GetPIMContacts(TEntryList&) {
  return false;
}
bool TBaseIsync::GetPIMEmails(TEntryList&) {
  return false;
}
bool TBaseIsync::DeletePIMAppointment(TEntry&) {
  return false;
}
bool TBaseIsync::DeletePIMAnniversary(TEntry&) {
  return false;
}
bool TBaseIsync::DeletePIMTask(TEntry&) {
  return false;
}
bool TBaseIsync::DeletePIMEvent(TEntry&) {
  return false;
}
bool TBaseIsync::DeletePIMContact(TEntry&) {
  return false;
}
bool TBaseIsync::DeletePIMEmail(TEntry&) {
  return false;
}
bool TBaseIsync::ModifyPIMAppointment(TEntry&) {
  return false;
}
bool TBaseIsync::ModifyPIMAnniversary(TEntry&) {
  return false;
}
bool TBaseIsync::ModifyPIMTask(TEntry&) {
  return false;
}
bool TBaseIsync::ModifyPIMEvent(TEntry&) {
  return false;
}
bool TBaseIsync::ModifyPIMContact(TEntry&) {
  return false;
}
bool TBaseIsync::ModifyPIMEmail(TEntry&) {
  return false;
}
bool TBaseIsync::AddPIMAppointment(TEntry&) {
  return false;
}
bool TBaseIsync::AddPIMAnniversary(TEntry&) {
  return false;
}
bool TBaseIsync::AddPIMTask(TEntry&) {
  return false;
}
bool TBaseIsync::AddPIMEvent(TEntry&) {
  return false;
}
bool TBaseIsync::AddPIMContact(TEntry&) {
  return false;
}
bool TBaseIsync::AddPIMEmail(TEntry&) {
  return false;
}

}  // namespace framework
