#pragma once

// The plug-in as the host calls it: its seven methods, the host's streams given as their bytes.
// Two kinds stand behind it, chosen with the site (host_site.h): a plug-in object of this
// process (in_process_plugin.h, the portable build) and the registered COM server, called
// through IDispatch with real IStreams (com_plugin.h, the Windows build).
//
// Each method answers the host's Value (0 success, 1 failure) or raises when the call itself
// failed (through COM: a failing HRESULT).

#include <cstdint>
#include <string>

#include "platform/automation.h"

namespace gwsync {

class HostPlugin {
 public:
  virtual ~HostPlugin() = default;

  // The two setup blocks are the contents of the streams SynchSetup and AppSetup.
  virtual int32_t Init(const platform::Object& progress, const std::string& synchSetup,
                       const std::string& appSetup) = 0;
  virtual int32_t Open(const platform::Object& progress) = 0;
  virtual int32_t CheckSource(const platform::Object& progress) = 0;
  // `stream` holds the host stream's content before the call and receives it after the call.
  virtual int32_t ReadSource(const platform::Object& progress, std::string& stream, int16_t type,
                             int16_t op) = 0;
  virtual int32_t WriteSource(const platform::Object& progress, std::string& stream, int16_t type,
                              int16_t op) = 0;
  virtual int32_t Close(const platform::Object& progress) = 0;
  virtual int32_t Term(const platform::Object& progress) = 0;
};

}  // namespace gwsync
