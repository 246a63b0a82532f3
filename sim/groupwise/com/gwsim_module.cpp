// gwsim.dll's entry points: the class objects COM asks for, and the functions its host calls to
// choose and save the mailbox (gwsim_exports.h). Registration is in registration.cpp.

#include <new>
#include <type_traits>

#include "platform/win32/com_ptr.h"
#include "platform/win32/variant_conversion.h"
#include "sim/groupwise/com/class_ids.h"
#include "sim/groupwise/com/gwsim_exports.h"
#include "sim/groupwise/com/module_state.h"

namespace sim::gwsim {
namespace {

using platform::win32::ComPtr;

// The one place where a C++ exception stops before it crosses into COM.
template <typename Body>
HRESULT ComBarrier(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const platform::AutomationError& failure) {
    return FAILED(failure.HResult()) ? failure.HResult() : E_FAIL;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

// Makes the objects of one class, all over the module's one GroupWise. The two instances live
// as long as the module, so their reference count means nothing.
class ClassFactory final : public IClassFactory {
 public:
  using Create = platform::Object (GroupWise::*)() const;
  explicit ClassFactory(Create create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return ComBarrier([&] {
      // The simulator's own objects, exposed as they are: what the portable build's plug-in
      // meets in process, pimsync.dll meets here through IDispatch.
      const ComPtr<IDispatch> dispatch =
          platform::win32::DispatchFromObject((State().groupwise.*create_)());
      return dispatch->QueryInterface(iid, object);
    });
  }
  // Nothing to do: the module never unloads (DllCanUnloadNow).
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  Create create_;
};

ClassFactory sessionFactory(&GroupWise::CreateSession);
ClassFactory commanderFactory(&GroupWise::CreateCommander);

platform::AutomationDate DayFromNumber(int32_t yyyymmdd) {
  const int year = yyyymmdd / 10000, month = yyyymmdd / 100 % 100, day = yyyymmdd % 100;
  if (year < 1000 || year > 9999 || !platform::IsValidCivilDate(year, month, day))
    throw platform::Exception("not a day written YYYYMMDD: " + std::to_string(yyyymmdd));
  return platform::EncodeAutomationDate({year, month, day, 0, 0, 0, 0});
}

}  // namespace
}  // namespace sim::gwsim

extern "C" {

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  using namespace sim::gwsim;
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (classId == kSessionClass.id) return sessionFactory.QueryInterface(iid, object);
  if (classId == kCommanderClass.id) return commanderFactory.QueryInterface(iid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

// Never: the mailbox lives in the module, and unloading it between the plug-in's last object
// and the host's GwsimSaveIfChanged would lose what the run changed.
STDAPI DllCanUnloadNow() {
  return S_FALSE;
}

int GwsimUseStore(const char* path, char* message, unsigned size) {
  return sim::com::ExportBarrier(message, size, [&] {
    if (path == nullptr || *path == '\0') throw platform::Exception("no store file named");
    sim::gwsim::UseStore(path);
  });
}

int GwsimUseSample(int32_t yyyymmdd, char* message, unsigned size) {
  return sim::com::ExportBarrier(
      message, size, [&] { sim::gwsim::UseSample(sim::gwsim::DayFromNumber(yyyymmdd)); });
}

int GwsimSetClock(int32_t yyyymmdd, char* message, unsigned size) {
  return sim::com::ExportBarrier(message, size, [&] {
    sim::gwsim::SetClock(yyyymmdd == 0 ? std::nullopt
                                       : std::optional(sim::gwsim::DayFromNumber(yyyymmdd)));
  });
}

int GwsimSaveIfChanged(char* message, unsigned size) {
  return sim::com::ExportBarrier(message, size, [] { sim::gwsim::SaveIfChanged(); });
}

}  // extern "C"

static_assert(std::is_same_v<decltype(GwsimUseStore), GwsimUseStoreFunction>);
static_assert(std::is_same_v<decltype(GwsimUseSample), GwsimUseSampleFunction>);
static_assert(std::is_same_v<decltype(GwsimSaveIfChanged), GwsimSaveIfChangedFunction>);
static_assert(std::is_same_v<decltype(GwsimSetClock), GwsimSetClockFunction>);
