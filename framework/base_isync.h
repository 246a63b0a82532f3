#pragma once

// The host-facing half of both synchronizer plug-ins. The host calls seven methods; this class
// keeps the host's progress object and the trace, turns the host's record stream into entries
// and back, and hands each request to one of 24 typed hooks by data type and operation. A
// plug-in overrides the lifecycle methods it needs and the hooks of the types it serves; a hook
// left alone refuses its request.
//
// Every host method returns the host's Value: 0 for success, 1 for failure.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "framework/entry.h"
#include "framework/entry_list.h"
#include "framework/host_progress.h"
#include "framework/trace.h"
#include "platform/automation.h"
#include "platform/byte_stream.h"
#include "platform/platform.h"

namespace framework {

class TBaseIsync {
 public:
  explicit TBaseIsync(platform::Platform& platform) : platform_(platform) {}
  virtual ~TBaseIsync() = default;
  TBaseIsync(const TBaseIsync&) = delete;
  TBaseIsync& operator=(const TBaseIsync&) = delete;

  // A null stream stands for a host object without IStream and fails the method.
  virtual int32_t Init(const platform::Object& progress, platform::ByteStream* synchSetup,
                       platform::ByteStream* appSetup);
  // Calls Close when given a progress object, saves and opens the trace file, releases the
  // progress object.
  virtual int32_t Term(const platform::Object& progress);
  virtual int32_t Open(const platform::Object& progress);
  virtual int32_t Close(const platform::Object& progress);
  virtual int32_t CheckSource(const platform::Object& progress);
  // Reads every record of one type from GroupWise into the host stream as one record stream.
  virtual int32_t ReadSource(const platform::Object& progress, platform::ByteStream* stream,
                             int16_t type, int16_t op, std::u16string_view sTime);
  // Stores one record the device inserted, changed or deleted, and writes the record back as
  // GroupWise left it (a new record learns its UID this way).
  virtual int32_t WriteSource(const platform::Object& progress, platform::ByteStream* stream,
                              int16_t type, int16_t op, std::u16string_view sTime);

  bool TraceEnabled() const { return trace_.Enabled(); }
  // Where Term saves the trace; empty (the default) means beside the module, named after it.
  // Tools that play the host choose a file of their own.
  void SetTraceFilePath(std::string path) { traceFilePath_ = std::move(path); }
  const std::vector<std::string>* TraceLines() const { return trace_.Lines(); }

 protected:
  // Read hooks: add one entry per GroupWise item to the list. False (or a raise) fails the
  // read; a record that fails on its own is logged and skipped instead.
  virtual bool GetPIMAppointments(TEntryList& list);
  virtual bool GetPIMAnniversaries(TEntryList& list);
  virtual bool GetPIMTasks(TEntryList& list);
  virtual bool GetPIMEvents(TEntryList& list);
  virtual bool GetPIMContacts(TEntryList& list);
  virtual bool GetPIMEmails(TEntryList& list);
  // Write hooks: store the entry in GroupWise and leave in it what the host must learn back.
  // False (or a raise) fails the write; the hook traces its own reasons.
  virtual bool DeletePIMAppointment(TEntry& entry);
  virtual bool DeletePIMAnniversary(TEntry& entry);
  virtual bool DeletePIMTask(TEntry& entry);
  virtual bool DeletePIMEvent(TEntry& entry);
  virtual bool DeletePIMContact(TEntry& entry);
  virtual bool DeletePIMEmail(TEntry& entry);
  virtual bool ModifyPIMAppointment(TEntry& entry);
  virtual bool ModifyPIMAnniversary(TEntry& entry);
  virtual bool ModifyPIMTask(TEntry& entry);
  virtual bool ModifyPIMEvent(TEntry& entry);
  virtual bool ModifyPIMContact(TEntry& entry);
  virtual bool ModifyPIMEmail(TEntry& entry);
  virtual bool AddPIMAppointment(TEntry& entry);
  virtual bool AddPIMAnniversary(TEntry& entry);
  virtual bool AddPIMTask(TEntry& entry);
  virtual bool AddPIMEvent(TEntry& entry);
  virtual bool AddPIMContact(TEntry& entry);
  virtual bool AddPIMEmail(TEntry& entry);

  // Appends a line to the trace when tracing is on; never fails.
  void Trace(std::string_view text) noexcept;
  void SetTracing(bool enabled);
  // Beep, message box, trace line and host log entry for a failure the user must see.
  void ReportError(std::string_view title, std::string_view message);
  // Replaces the host stream's content with the entry's text and returns that text. A failure
  // is traced and raised, so the write it belongs to fails.
  std::string WriteBack(const TEntry& entry, platform::ByteStream& stream);

  // The progress object stored by Init; raises when there is none.
  HostProgress Progress() const;
  bool HasProgress() const { return static_cast<bool>(progress_); }
  platform::Platform& Services() const { return platform_; }

  platform::AutomationDate RangeStart{};
  platform::AutomationDate RangeEnd{};

 private:
  bool CallReadHook(int16_t type, TEntryList& list);
  bool CallWriteHook(int16_t op, int16_t type, TEntry& entry);
  std::string ProgressText(int16_t op, int16_t type) const;
  std::string StreamTraceText(const platform::MemoryStream& scratch) const;
  int32_t WriteRecord(platform::ByteStream& stream, int16_t type, int16_t op);
  void ClearInsertProgress();

  platform::Platform& platform_;
  platform::Object progress_;
  TraceLog trace_;
  std::string traceFilePath_;
};

}  // namespace framework
