// The plug-in driven as the host drives it: created by ProgID, every method called through
// IDispatch::Invoke with a real IDispatch progress object (the simulated host's, exported) and
// IStreams on global memory, so that the arguments cross the real automation layer.

#include <gtest/gtest.h>

#include <objbase.h>

#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/setup_blocks.h"
#include "pimsync_idl.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/exported_dispatch.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/stream_adapter.h"
#include "platform/win32/system_message.h"
#include "platform/win32/variant_conversion.h"
#include "sim/host/recording_progress.h"
#include "tests/com/com_test_support.h"

namespace comserver::test {
namespace {

using platform::win32::ComPtr;
using platform::win32::HResultHex;
using platform::win32::UniqueVariant;

UniqueVariant Arg(const ComPtr<IDispatch>& object) {
  UniqueVariant v;
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = ComPtr<IDispatch>(object).Detach();
  return v;
}
UniqueVariant Arg(const ComPtr<IUnknown>& object) {
  UniqueVariant v;
  V_VT(&v) = VT_UNKNOWN;
  V_UNKNOWN(&v) = ComPtr<IUnknown>(object).Detach();
  return v;
}
UniqueVariant Arg(short number) {
  return platform::win32::ToVariant(platform::Variant(int16_t{number}));
}
UniqueVariant Arg(const char16_t* text) {
  return platform::win32::ToVariant(platform::Variant(text));
}

// Arguments in their natural order; UniqueVariant only moves, so no initializer list.
template <typename... Values>
std::vector<UniqueVariant> Args(const Values&... values) {
  std::vector<UniqueVariant> args;
  (args.push_back(Arg(values)), ...);
  return args;
}

ComPtr<IUnknown> StreamWith(const framework::SetupBlock* block, std::string_view text = {}) {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  platform::win32::StreamAdapter adapter(stream);
  if (block != nullptr) block->WriteTo(adapter);
  adapter.Write(text.data(), text.size());
  return stream;
}

// Everything the stream holds, whatever its position.
std::string Contents(const ComPtr<IUnknown>& stream) {
  platform::win32::StreamAdapter adapter(stream.TryQuery<IStream>());
  adapter.Seek(0, platform::ByteStream::Origin::kBegin);
  std::string bytes;
  char buffer[4096];
  while (const std::size_t read = adapter.Read(buffer, sizeof buffer))
    bytes.append(buffer, read);
  return bytes;
}

std::size_t Count(const std::string& text, std::string_view part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

struct Outcome {
  HRESULT hr = E_UNEXPECTED;
  long value = -1;  // the [out, retval] Value; -1 when none came back
  SCODE scode = 0;
  std::string description;
};

class HostRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(RunRegsvr32("/s", RuntimeFile("pimsync.dll")), 0u); }
  static void TearDownTestSuite() { RunRegsvr32("/u /s", RuntimeFile("pimsync.dll")); }

  HostRunTest() {
    blockA_.Set(framework::block_a::CalRangeStart, u"20000105T000000");
    blockA_.Set(framework::block_a::CalRangeEnd, u"20000313T000000");
  }

  ComPtr<IDispatch> CreatePlugin() {
    ComPtr<IDispatch> plugin;
    const HRESULT hr = CoCreateInstance(GuidOf(kClassId), nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IDispatch, plugin.PutVoid());
    EXPECT_EQ(hr, S_OK) << HResultHex(hr);
    return plugin;
  }

  Outcome Call(IDispatch* plugin, const wchar_t* method, std::vector<UniqueVariant> args) {
    Outcome out;
    LPOLESTR name = const_cast<LPOLESTR>(method);
    DISPID id = DISPID_UNKNOWN;
    out.hr = plugin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(out.hr)) return out;
    std::vector<UniqueVariant> reversed;  // DISPPARAMS holds the last argument first
    for (auto it = args.rbegin(); it != args.rend(); ++it)
      reversed.push_back(std::move(*it));
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    UniqueVariant result;
    platform::win32::ExcepInfo info;
    out.hr = plugin->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                            &info, nullptr);
    if (V_VT(&result) == VT_I4) out.value = V_I4(&result);
    info.FillIn();
    out.scode = info.scode;
    out.description = platform::win32::WideToAnsi(platform::win32::BstrText(info.bstrDescription));
    return out;
  }

  platform::win32::ComApartment apartment_;
  std::shared_ptr<sim::RecordingProgress> recording_ = std::make_shared<sim::RecordingProgress>();
  ComPtr<IDispatch> progress_ = platform::win32::ExportedDispatch::Create(recording_);
  // An object the host might hand over by mistake: it has no IStream.
  ComPtr<IUnknown> notAStream_ = ComPtr<IUnknown>(progress_);
  framework::SetupBlock blockA_{framework::BlockKind::kA};
  framework::SetupBlock blockC_{framework::BlockKind::kCPim};
};

TEST_F(HostRunTest, InitNeedsAProgressObjectAndTwoStreams) {
  struct {
    const char* row;
    std::vector<UniqueVariant> args;
    long want;
  } cases[] = {
      {"everything there", Args(progress_, StreamWith(&blockA_), StreamWith(&blockC_)), 0},
      {"no progress object", Args(ComPtr<IDispatch>(), StreamWith(&blockA_), StreamWith(&blockC_)),
       1},
      {"SynchSetup without IStream", Args(progress_, notAStream_, StreamWith(&blockC_)), 1},
      {"AppSetup without IStream", Args(progress_, StreamWith(&blockA_), notAStream_), 1},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.row);
    ComPtr<IDispatch> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    const Outcome out = Call(plugin.Get(), L"Init", std::move(c.args));
    EXPECT_EQ(out.hr, S_OK) << HResultHex(out.hr) << " " << out.description;
    EXPECT_EQ(out.value, c.want);
  }
}

// Everything a run does besides GroupWise, which FullRunTest adds: each answer crosses the
// automation layer as S_OK with the plug-in's own Value.
TEST_F(HostRunTest, ARunAnswersEveryMethodThroughTheAutomationLayer) {
  ComPtr<IDispatch> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  const ComPtr<IUnknown> stream = StreamWith(nullptr);
  const short apt = 0, read = 0, insert = 1;
  struct {
    const char* step;
    const wchar_t* method;
    std::vector<UniqueVariant> args;
    long want;
  } run[] = {
      {"Init", L"Init", Args(progress_, StreamWith(&blockA_), StreamWith(&blockC_)), 0},
      {"CheckSource", L"CheckSource", Args(progress_), 0},
      {"ReadSource with a write operation", L"ReadSource",
       Args(progress_, stream, apt, insert, u""), 1},
      {"WriteSource with the read operation", L"WriteSource",
       Args(progress_, stream, apt, read, u""), 1},
      {"ReadSource into an object without IStream", L"ReadSource",
       Args(progress_, notAStream_, apt, read, u""), 1},
      {"WriteSource from an object without IStream", L"WriteSource",
       Args(progress_, notAStream_, apt, insert, u""), 1},
      {"Close", L"Close", Args(progress_), 0},
      {"Term", L"Term", Args(progress_), 0},
  };
  for (auto& s : run) {
    SCOPED_TRACE(s.step);
    const Outcome out = Call(plugin.Get(), s.method, std::move(s.args));
    EXPECT_EQ(out.hr, S_OK) << HResultHex(out.hr) << " " << out.description;
    EXPECT_EQ(out.value, s.want);
  }
  // The progress object reached the plug-in through IDispatch: CheckSource, Close and Term's
  // own Close each said what they were doing.
  EXPECT_EQ(recording_->CallsOf("SetAppText"),
            (std::vector<std::string>{"SetAppText(\"Checking GroupWise\")",
                                      "SetAppText(\"Disconnecting from GroupWise\")",
                                      "SetAppText(\"Disconnecting from GroupWise\")"}));
}

TEST_F(HostRunTest, ARaiseInCloseFailsTheCallWithItsMessage) {
  ComPtr<IDispatch> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  ASSERT_EQ(Call(plugin.Get(), L"Init", Args(progress_, StreamWith(&blockA_), StreamWith(&blockC_)))
                .value,
            0);
  recording_->Context().faults.RaiseAlways("Progress.SetAppText", "The progress window is gone");

  const Outcome invoked = Call(plugin.Get(), L"Close", Args(progress_));
  EXPECT_EQ(invoked.hr, DISP_E_EXCEPTION) << HResultHex(invoked.hr);
  EXPECT_EQ(invoked.scode, E_FAIL) << HResultHex(invoked.scode);
  EXPECT_EQ(invoked.description, "Close: The progress window is gone");

  // The same through the vtable, where the message waits as the thread's error info.
  ComPtr<IGroupwiseSynchronizer> direct = plugin.TryQuery<IGroupwiseSynchronizer>();
  ASSERT_TRUE(direct);
  LONG value = -1;
  EXPECT_EQ(direct->Close(progress_.Get(), &value), E_FAIL);
  EXPECT_EQ(value, 1);
  ComPtr<IErrorInfo> error;
  platform::win32::UniqueBstr description;
  ASSERT_EQ(GetErrorInfo(0, error.Put()), S_OK);
  ASSERT_EQ(error->GetDescription(description.Put()), S_OK);
  EXPECT_EQ(platform::win32::WideToAnsi(platform::win32::BstrText(description.Get())),
            "Close: The progress window is gone");
}

// Against the simulated GroupWise's COM server, gwsim.dll, which pimsync.dll finds by its
// ProgIDs as it would find GroupWise. The test chooses the simulator's mailbox through the
// module COM loads. gwsim.dll stays registered afterwards: other tests of the prefix register
// it once and rely on it staying, and registering again changes nothing.
class FullRunTest : public HostRunTest {
 protected:
  static void SetUpTestSuite() {
    HostRunTest::SetUpTestSuite();
    ASSERT_EQ(RunRegsvr32("/s", RuntimeFile("gwsim.dll")), 0u);
  }

  FullRunTest() {
    blockA_.Set(framework::block_a::CalRangeStart, u"20010201T000000");
    blockA_.Set(framework::block_a::CalRangeEnd, u"20010301T000000");
  }

  // Calls one of gwsim.dll's mailbox exports; its message when it fails.
  template <typename Function, typename... Arguments>
  std::string Gwsim(const char* name, Arguments... arguments) {
    auto* function =
        reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(gwsim_.Get(), name)));
    if (function == nullptr) return std::string("gwsim.dll lacks ") + name;
    char message[512] = "";
    return function(arguments..., message, sizeof message) == 0 ? "" : message;
  }

  platform::win32::UniqueModule gwsim_{LoadLibraryA(RuntimeFile("gwsim.dll").c_str())};
};

TEST_F(FullRunTest, AFailedLoginFailsOpenInThePluginsOwnWay) {
  CLSID groupWise{};
  ASSERT_EQ(CLSIDFromProgID(L"NovellGroupWareSession", &groupWise), S_OK)
      << "GroupWise must be there, so that only the login can fail";
  TempFolder folder;
  const std::string store = folder.Path() + "\\login_fails.json";
  std::ofstream(store) << R"({"format": "groupwise-store", "version": 1,)"
                       << R"( "session": {"login": "raise"}})";
  ASSERT_EQ(Gwsim<int(const char*, char*, unsigned)>("GwsimUseStore", store.c_str()), "");
  ComPtr<IDispatch> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  ASSERT_EQ(Call(plugin.Get(), L"Init", Args(progress_, StreamWith(&blockA_), StreamWith(&blockC_)))
                .value,
            0);
  const Outcome open = Call(plugin.Get(), L"Open", Args(progress_));
  EXPECT_EQ(open.hr, S_OK) << HResultHex(open.hr) << " " << open.description;
  EXPECT_EQ(open.value, 1);
  DeleteFileA(store.c_str());
}

TEST_F(FullRunTest, ReadsStoresAndReadsAgainThroughCom) {
  ASSERT_EQ(Gwsim<int(int32_t, char*, unsigned)>("GwsimUseSample", int32_t{20010214}), "");
  ComPtr<IDispatch> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  const short apt = 0, read = 0, insert = 1;
  const ComPtr<IUnknown> firstRead = StreamWith(nullptr);
  const ComPtr<IUnknown> record = StreamWith(nullptr,
                                             "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\n"
                                             "DESCRIPTION:Planning meeting\r\n"
                                             "DTSTART:20010215T100000\r\nDTEND:20010215T110000\r\n"
                                             "END:VEVENT\r\nEND:VCALENDAR\r\n");
  const ComPtr<IUnknown> secondRead = StreamWith(nullptr);
  struct {
    const char* step;
    const wchar_t* method;
    std::vector<UniqueVariant> args;
  } run[] = {
      {"Init", L"Init", Args(progress_, StreamWith(&blockA_), StreamWith(&blockC_))},
      {"Open", L"Open", Args(progress_)},
      {"CheckSource", L"CheckSource", Args(progress_)},
      {"ReadSource", L"ReadSource", Args(progress_, firstRead, apt, read, u"")},
      {"WriteSource", L"WriteSource", Args(progress_, record, apt, insert, u"")},
      {"ReadSource again", L"ReadSource", Args(progress_, secondRead, apt, read, u"")},
      {"Close", L"Close", Args(progress_)},
      {"Term", L"Term", Args(progress_)},
  };
  for (auto& s : run) {
    SCOPED_TRACE(s.step);
    const Outcome out = Call(plugin.Get(), s.method, std::move(s.args));
    EXPECT_EQ(out.hr, S_OK) << HResultHex(out.hr) << " " << out.description;
    EXPECT_EQ(out.value, 0);
  }
  // The records crossed the host's IStreams both ways: the sample's appointments came out, the
  // new one went in and came back with the identity GroupWise gave it, and the next read has it.
  const std::string before = Contents(firstRead);
  const std::string written = Contents(record);
  const std::string after = Contents(secondRead);
  EXPECT_GT(Count(before, "BEGIN:VEVENT"), 0u) << before;
  EXPECT_NE(written.find("UID:SIM."), std::string::npos) << written;
  EXPECT_EQ(Count(after, "BEGIN:VEVENT"), Count(before, "BEGIN:VEVENT") + 1) << after;
  EXPECT_NE(after.find("Planning meeting"), std::string::npos) << after;
}

}  // namespace
}  // namespace comserver::test
