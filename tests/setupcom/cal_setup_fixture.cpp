#include "tests/setupcom/cal_setup_fixture.h"

#include "framework/setup_blocks.h"
#include "platform/win32/system_message.h"
#include "sim/host/profile_file.h"
#include "tests/com/com_test_support.h"

namespace setup::com::cal_test {

using platform::win32::ComPtr;

void CalSetupTest::SetUpTestSuite() {
  // Other programs unregister it when they end; hostsim.dll stays registered (the fixture).
  ASSERT_EQ(comserver::test::RunRegsvr32("/s", comserver::test::RuntimeFile("calsetup.dll")), 0u);
}

void CalSetupTest::SetUp() {
  folder_ =
      std::filesystem::temp_directory_path() /
      (std::string("calsetup_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  host_.UseProfileKind("calendar");
  host_.SetEngineFaults(0);
  host_.TakeEngineCalls();
}

void CalSetupTest::TearDown() {
  host_.SetEngineFaults(0);
  std::filesystem::remove_all(folder_);
}

ComPtr<IEECDIALOG> CalSetupTest::CreateComponent() {
  CLSID classId{};
  EXPECT_EQ(CLSIDFromProgID(L"calsetup.CalSetup.1", &classId), S_OK);
  ComPtr<IEECDIALOG> component;
  const HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IEECDIALOG),
                                      component.PutVoid());
  EXPECT_EQ(hr, S_OK) << platform::win32::HResultHex(hr);
  return component;
}

ComPtr<IEECDIALOG> CalSetupTest::ComponentFor(const char* name) {
  ComPtr<IEECDIALOG> component = CreateComponent();
  if (!component) return component;
  platform::win32::UniqueBstr path = platform::win32::UniqueBstr::FromText(Path(name));
  EXPECT_EQ(component->put_ControlFile(path.Get()), S_OK);
  return component;
}

sim::Profile CalSetupTest::Load(const char* name) const {
  return sim::LoadProfileFile(File(name).string());
}

void CalSetupTest::Save(const char* name, const sim::Profile& profile) const {
  sim::SaveProfileFile(File(name).string(), profile);
}

sim::Profile CalSetupTest::StoredProfile() {
  sim::Profile profile = sim::NewCalendarProfile("");
  profile.c.Set(framework::block_c_pim::ManualLogin, 1);
  profile.c.Set(framework::block_c_pim::LoginUser, u"keep");
  profile.c.Set(framework::block_c_pim::LoginParams, u"/keep");
  return profile;
}

platform::win32::UniqueSafeArray WizardLogin(const wchar_t* user, const wchar_t* params) {
  SAFEARRAYBOUND bound{2, 0};
  platform::win32::UniqueSafeArray array(SafeArrayCreate(VT_BSTR, 1, &bound));
  LONG index = 0;
  for (const wchar_t* text : {user, params}) {
    platform::win32::UniqueBstr element(SysAllocString(text));
    SafeArrayPutElement(array.Get(), &index, element.Get());
    ++index;
  }
  return array;
}

}  // namespace setup::com::cal_test
