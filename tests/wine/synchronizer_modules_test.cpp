// Both synchronizer DLLs as the host meets them on one machine: registered side by side with
// regsvr32, each created by its own ProgID, each with its own type library, each gone again
// after /u without taking the other with it; their exports' unloading rule and about box.
// One table of the identities the host and the setup components know the plug-ins by,
// written out here rather than taken from the .idl, so that a changed GUID or text fails.

#include <gtest/gtest.h>

#include <objbase.h>

#include <span>

#include "comserver/about_resources.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "tests/com/com_test_support.h"
#include "tests/com/window_watcher.h"

namespace comserver::test {
namespace {

using platform::win32::ComPtr;
using platform::win32::HResultHex;
using platform::win32::UniqueBstr;

struct Module {
  const char* dll;
  const char* resourceLibrary;
  const char* progId;
  const char* classId;
  const char* libraryId;
  const char* interfaceId;
  const char* libraryName;
  const char* interfaceName;
  const char* libraryHelp;
  const char* interfaceHelp;
  const char* classHelp;
  int aboutText;
  int aboutBitmap;
};

const Module kModules[] = {
    {"pimsync.dll", "pimsync.DLR", kProgId, kClassId, kLibraryId, kInterfaceId, "PIMSYNC",
     "IGroupwiseSynchronizer", kLibraryHelp, kInterfaceHelp, kClassHelp, 2, 102},
    {"mailsync.dll", "mailsync.DLR", "MAILSYNC.ISYNCHAPPU",
     "{2834ADF4-7632-4E5B-A15D-3B485AA30281}", "{897E5BC6-2A8B-4B16-A15F-67A02A492428}",
     "{8F042C46-35D9-4713-82BD-DD3BA1851FE2}", "MAILSYNC", "IGroupWiseEmailSynchronizer",
     "Corvenda ZI5R GroupWise 5.x Email Synchronizer",
     "Dispatch interface for Corvenda ZI5R GroupWise 5.x Email Synchronizer",
     "Corvenda ZI5R GroupWise 5.x Email Synchronizer ISyncAppU Object", 261, 144},
};

std::string ClassKey(const Module& m) {
  return std::string("CLSID\\") + m.classId;
}

// What registration must leave for the class, besides the type library's own keys.
void ExpectClassEntries(const Module& m) {
  const std::string classKey = ClassKey(m);
  const std::string dll = RuntimeFile(m.dll);
  const struct {
    std::string key;
    const char* name;
    std::string want;
  } values[] = {
      {classKey, "", m.classHelp},
      {classKey + "\\InprocServer32", "", dll},
      {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {classKey + "\\ProgID", "", m.progId},
      {m.progId, "", m.classHelp},
      {std::string(m.progId) + "\\Clsid", "", m.classId},
      {classKey + "\\TypeLib", "", m.libraryId},
      {classKey + "\\Version", "", "1.0"},
      {std::string("TypeLib\\") + m.libraryId + "\\1.0", "", m.libraryHelp},
      {std::string("Interface\\") + m.interfaceId, "", m.interfaceName},
  };
  for (const auto& v : values) {
    SCOPED_TRACE(v.key + " [" + v.name + "]");
    const std::optional<std::string> got = ReadClassesValue(v.key, v.name);
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(SamePath(*got, v.want)) << "got " << *got << ", want " << v.want;
  }
}

// The object's own type information: its dual interface, the class and library around it.
void ExpectTypeLibrary(const Module& m, IDispatch& object) {
  ComPtr<ITypeInfo> dispatch;
  ComPtr<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(object.GetTypeInfo(0, LOCALE_USER_DEFAULT, dispatch.Put()), S_OK);
  ASSERT_EQ(dispatch->GetContainingTypeLib(library.Put(), &index), S_OK);

  const TYPEATTR attr = AttributesOf(*dispatch.Get());
  EXPECT_TRUE(IsEqualIID(attr.guid, GuidOf(m.interfaceId)));
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
  const WORD dual = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  EXPECT_EQ(attr.wTypeFlags & dual, dual) << std::hex << attr.wTypeFlags;

  TLIBATTR* libraryAttr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&libraryAttr), S_OK);
  EXPECT_TRUE(IsEqualGUID(libraryAttr->guid, GuidOf(m.libraryId)));
  EXPECT_EQ(libraryAttr->lcid, 0x0409u);
  EXPECT_EQ(libraryAttr->wMajorVerNum * 100 + libraryAttr->wMinorVerNum, 100) << "version 1.0";
  library->ReleaseTLibAttr(libraryAttr);

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(GuidOf(m.classId), coclass.Put()), S_OK);
  EXPECT_TRUE(AttributesOf(*coclass.Get()).wTypeFlags & TYPEFLAG_FCANCREATE);

  using Doc = std::pair<std::string, std::string>;
  EXPECT_EQ(Documentation(*library.Get(), -1), Doc(m.libraryName, m.libraryHelp));
  EXPECT_EQ(Documentation(*library.Get(), 0), Doc(m.interfaceName, m.interfaceHelp));
  EXPECT_EQ(Documentation(*library.Get(), 1), Doc("ISYNCHAPPU", m.classHelp));
}

void ExpectDispIds(IDispatch& object) {
  const wchar_t* const names[] = {L"Init",        L"Term",       L"Open",       L"Close",
                                  L"CheckSource", L"ReadSource", L"WriteSource"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    SCOPED_TRACE(std::string(names[i], names[i] + wcslen(names[i])));
    LPOLESTR name = const_cast<LPOLESTR>(names[i]);
    DISPID id = 0;
    EXPECT_EQ(object.GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, static_cast<DISPID>(i + 1));
  }
}

class SideBySideTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const Module& m : kModules)
      RunRegsvr32("/u /s", RuntimeFile(m.dll));
  }
  platform::win32::ComApartment apartment_;
};

TEST_F(SideBySideTest, EachModuleIsItsOwnClassWithItsOwnTypeLibrary) {
  for (const Module& m : kModules)
    ASSERT_EQ(RunRegsvr32("/s", RuntimeFile(m.dll)), 0u) << m.dll;
  for (const Module& m : kModules) {
    SCOPED_TRACE(m.dll);
    ExpectClassEntries(m);
    CLSID classId{};
    ASSERT_EQ(
        CLSIDFromProgID(std::wstring(m.progId, m.progId + strlen(m.progId)).c_str(), &classId),
        S_OK);
    EXPECT_TRUE(IsEqualCLSID(classId, GuidOf(m.classId)));
    ComPtr<IDispatch> object;
    const HRESULT hr =
        CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.PutVoid());
    ASSERT_EQ(hr, S_OK) << HResultHex(hr);
    ExpectTypeLibrary(m, *object.Get());
    ExpectDispIds(*object.Get());
  }
}

// Each module removes its own keys only: the other stays registered and creatable.
TEST_F(SideBySideTest, UnregisteringOneLeavesNothingOfItAndTheOtherWhole) {
  for (std::size_t gone = 0; gone < std::size(kModules); ++gone) {
    const Module& m = kModules[gone];
    const Module& other = kModules[1 - gone];
    SCOPED_TRACE(std::string(m.dll) + " unregistered beside " + other.dll);
    for (const Module& each : kModules)
      ASSERT_EQ(RunRegsvr32("/s", RuntimeFile(each.dll)), 0u) << each.dll;
    ASSERT_EQ(RunRegsvr32("/u /s", RuntimeFile(m.dll)), 0u);
    for (const std::string& key :
         {ClassKey(m), std::string(m.progId), std::string("TypeLib\\") + m.libraryId,
          std::string("Interface\\") + m.interfaceId}) {
      EXPECT_FALSE(ClassesKeyExists(key)) << key;
    }
    ExpectClassEntries(other);
    ComPtr<IDispatch> object;
    EXPECT_EQ(CoCreateInstance(GuidOf(other.classId), nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               object.PutVoid()),
              S_OK);
  }
}

// A module loaded as COM loads it and asked through its exports.
class LoadedModule {
 public:
  explicit LoadedModule(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
    EXPECT_TRUE(module_) << path << ": " << GetLastError();
  }
  template <typename Function>
  Function Export(const char* name) {
    // FARPROC says nothing of the real signature.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_.Get(), name)));
  }

 private:
  platform::win32::UniqueModule module_;
};

TEST(SynchronizerModuleTest, CannotUnloadWhileAnObjectLives) {
  platform::win32::ComApartment apartment;
  for (const Module& m : kModules) {
    SCOPED_TRACE(m.dll);
    LoadedModule module(RuntimeFile(m.dll));
    const auto canUnload = module.Export<HRESULT(WINAPI*)()>("DllCanUnloadNow");
    const auto getClassObject =
        module.Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    ASSERT_TRUE(canUnload && getClassObject);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(GuidOf(m.classId), IID_IClassFactory, factory.PutVoid()), S_OK);
    EXPECT_EQ(canUnload(), S_OK);
    ComPtr<IDispatch> object;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, object.PutVoid()), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    object.Reset();
    EXPECT_EQ(canUnload(), S_OK);
  }
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts)
    joined += "[" + text + "]";
  return joined;
}

// The about text as the module's .DLR library holds it.
std::string LibraryString(const char* library, int id) {
  platform::win32::UniqueModule loaded(
      LoadLibraryExA(RuntimeFile(library).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  char text[2048];
  const int length = loaded ? LoadStringA(loaded.Get(), id, text, sizeof text) : 0;
  return std::string(text, length > 0 ? length : 0);
}

void CallAboutBox(const std::string& dll) {
  LoadedModule module(dll);
  const auto aboutBox = module.Export<void(WINAPI*)()>("AboutBox");
  ASSERT_NE(aboutBox, nullptr);
  aboutBox();
}

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char display[256];
    ASSERT_GT(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u)
        << "the about box needs a display: run the tests under xvfb-run -a";
  }
};

// Beside its .DLR library the module shows its own text; a copy without one shows the
// library's absence and then, for want of the picture, the about box's failure, no dialog.
TEST_F(AboutBoxTest, ShowsTheModulesOwnTextOrWithoutItsLibraryTheFailure) {
  for (const Module& m : kModules) {
    SCOPED_TRACE(m.dll);
    const std::string info = LibraryString(m.resourceLibrary, m.aboutText);
    ASSERT_FALSE(info.empty());
    std::string shownInfo;
    WindowWatcher watcher([&](HWND window) {
      if (WindowText(window) == "About...")
        shownInfo = WindowText(GetDlgItem(window, IDC_ABOUT_INFO));
    });
    CallAboutBox(RuntimeFile(m.dll));
    std::vector<WindowWatcher::Seen> seen = watcher.Stop();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "About...") << Joined(seen[0].texts);
    EXPECT_EQ(shownInfo, info);

    TempFolder folder;
    folder.CopyFromRuntime(m.dll, m.dll);
    WindowWatcher alone;
    CallAboutBox(folder.Path() + "\\" + m.dll);
    seen = alone.Stop();
    const std::string library = folder.Path() + "\\" + m.resourceLibrary;
    const struct {
      const char* caption;
      std::string text;
    } want[] = {
        {"FWRES Exception in LoadDLR", "DLR library module [" + library + "] does not exist."},
        {"Frameworks AboutBox Exception",
         "Bitmap resource " + std::to_string(m.aboutBitmap) + " not found in [" + library + "]."},
    };
    ASSERT_EQ(seen.size(), std::size(want));
    for (std::size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].caption, want[i].caption);
      EXPECT_TRUE(SamePath(Joined(seen[i].texts), "[" + want[i].text + "]"))
          << Joined(seen[i].texts) << ", want " << want[i].text;
    }
  }
}

}  // namespace
}  // namespace comserver::test
