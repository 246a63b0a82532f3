#include "tools/gwsync/com_server.h"

#include <array>
#include <vector>

#include "platform/exception.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"
#include "sim/groupwise/simulated_groupwise.h"

namespace gwsync {
namespace {

constexpr char kHostEngineProgId[] = "EPOCU.Symbian.SYNCH.ISYNCHU";

using platform::win32::DescribeHResult;

std::string PathOf(HMODULE module) {
  std::array<char, MAX_PATH + 1> path{};
  const DWORD length = GetModuleFileNameA(module, path.data(), MAX_PATH);
  return std::string(path.data(), length);
}

// The exports are declared in gwsim_exports.h and hostsim_exports.h, which both sides compile.
template <typename Function>
Function* Export(HMODULE module, const char* name, std::string_view progId,
                 std::string_view simulator) {
  auto* function =
      reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (function == nullptr) {
    throw platform::Exception(std::string(progId) + " is served by " + PathOf(module) +
                              ", which is not " + std::string(simulator) + ": it has no " + name);
  }
  return function;
}

template <typename Function>
Function* Export(HMODULE module, const char* name) {
  return Export<Function>(module, name, sim::kSessionProgId, "the simulated GroupWise (gwsim.dll)");
}

template <typename Function>
Function* HostExport(HMODULE module, const char* name) {
  return Export<Function>(module, name, kHostEngineProgId, "the simulated host (hostsim.dll)");
}

// Each export answers 0, or 1 with its reason in the buffer.
void Check(int status, const std::array<char, 1024>& message) {
  if (status != 0) throw platform::Exception(message.data());
}

}  // namespace

platform::win32::UniqueModule LoadServerModule(std::string_view progId) {
  const std::u16string wide = platform::win32::AnsiToWide(progId);
  CLSID classId;
  HRESULT hr = CLSIDFromProgID(platform::win32::AsWide(wide.c_str()), &classId);
  if (FAILED(hr)) {
    throw platform::Exception(
        std::string(progId) +
        " is not registered (regsvr32 registers its DLL): " + DescribeHResult(hr));
  }
  platform::win32::ComPtr<IClassFactory> factory;
  hr = CoGetClassObject(classId, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                        factory.PutVoid());
  if (FAILED(hr)) {
    throw platform::Exception("the in-process server of " + std::string(progId) +
                              " cannot be loaded: " + DescribeHResult(hr));
  }
  // An in-process class object's interface table lies in the module that serves it.
  const auto* table = *reinterpret_cast<void* const*>(factory.Get());
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(table),
                          &module)) {
    throw platform::Exception("cannot tell which module serves " + std::string(progId));
  }
  return platform::win32::UniqueModule(module);
}

GroupWiseModule::GroupWiseModule() : module_(LoadServerModule(sim::kSessionProgId)) {
  useStore_ = Export<GwsimUseStoreFunction>(module_.Get(), sim::gwsim::kUseStoreExport);
  useSample_ = Export<GwsimUseSampleFunction>(module_.Get(), sim::gwsim::kUseSampleExport);
  saveIfChanged_ =
      Export<GwsimSaveIfChangedFunction>(module_.Get(), sim::gwsim::kSaveIfChangedExport);
  setClock_ = Export<GwsimSetClockFunction>(module_.Get(), sim::gwsim::kSetClockExport);
}

void GroupWiseModule::UseStore(const std::string& path) {
  std::array<char, 1024> message{};
  Check(useStore_(path.c_str(), message.data(), message.size()), message);
}

namespace {

int32_t DayNumber(platform::AutomationDate day) {
  const platform::CivilDateTime civil = platform::DecodeAutomationDate(day);
  return civil.year * 10000 + civil.month * 100 + civil.day;
}

}  // namespace

void GroupWiseModule::UseSample(platform::AutomationDate today) {
  std::array<char, 1024> message{};
  Check(useSample_(DayNumber(today), message.data(), message.size()), message);
}

void GroupWiseModule::SetClock(platform::AutomationDate day) {
  std::array<char, 1024> message{};
  Check(setClock_(DayNumber(day), message.data(), message.size()), message);
}

void GroupWiseModule::SaveIfChanged() {
  std::array<char, 1024> message{};
  Check(saveIfChanged_(message.data(), message.size()), message);
}

HostModule::HostModule() : module_(LoadServerModule(kHostEngineProgId)) {
  using namespace sim::hostsim;
  setEngineFaults_ =
      HostExport<HostsimSetEngineFaultsFunction>(module_.Get(), kSetEngineFaultsExport);
  useProfileKind_ = HostExport<HostsimUseProfileKindFunction>(module_.Get(), kUseProfileKindExport);
  setFolderPicker_ =
      HostExport<HostsimSetFolderPickerFunction>(module_.Get(), kSetFolderPickerExport);
  takeEngineCalls_ = HostExport<HostsimTakeCallsFunction>(module_.Get(), kTakeEngineCallsExport);
  takePickerCalls_ = HostExport<HostsimTakeCallsFunction>(module_.Get(), kTakePickerCallsExport);
}

void HostModule::SetEngineFaults(uint32_t faults, int32_t shortStreams) {
  std::array<char, 1024> message{};
  Check(setEngineFaults_(faults, shortStreams, message.data(), message.size()), message);
}

void HostModule::UseProfileKind(const std::string& kind) {
  std::array<char, 1024> message{};
  Check(useProfileKind_(kind.c_str(), message.data(), message.size()), message);
}

void HostModule::SetFolderPicker(uint32_t faults, int32_t choice) {
  std::array<char, 1024> message{};
  Check(setFolderPicker_(faults, choice, message.data(), message.size()), message);
}

namespace {

std::string TakeCalls(HostsimTakeCallsFunction* take) {
  std::vector<char> calls(64 * 1024);
  if (take(calls.data(), static_cast<unsigned>(calls.size())) != 0)
    throw platform::Exception(calls.data());
  return calls.data();
}

}  // namespace

std::string HostModule::TakeEngineCalls() {
  return TakeCalls(takeEngineCalls_);
}

std::string HostModule::TakePickerCalls() {
  return TakeCalls(takePickerCalls_);
}

}  // namespace gwsync
