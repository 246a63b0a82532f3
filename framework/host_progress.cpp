#include "framework/host_progress.h"

namespace framework {

void HostProgress::SetSynchText(std::string_view text) const {
  object_.Call("SetSynchText", {ansi_.ToWide(text)});
}

void HostProgress::SetAppText(std::string_view text) const {
  object_.Call("SetAppText", {ansi_.ToWide(text)});
}

void HostProgress::SetRange(int32_t low, int32_t high) const {
  object_.Call("SetRange", {low, high});
}

void HostProgress::SetValue(int32_t position) const {
  object_.Call("SetValue", {position});
}

void HostProgress::Log(std::string_view message, std::string_view title, int16_t level) const {
  platform::Variant levelSlot(level);
  object_.Call(
      "Log", {ansi_.ToWide(message), ansi_.ToWide(title), platform::Variant::Reference(levelSlot)});
}

platform::WindowHandle HostProgress::GetParentWnd() const {
  return static_cast<platform::WindowHandle>(
      static_cast<uint32_t>(object_.Call("GetParentWnd").ToInt32()));
}

bool HostProgress::Aborted() const {
  return object_.Call("Aborted").ToBool();
}

}  // namespace framework
