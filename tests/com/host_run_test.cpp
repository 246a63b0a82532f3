// The plug-in driven as the host drives it: created by ProgID, every method called through
// IDispatch::Invoke with a real IDispatch progress object (the simulated host's, exported) and
// IStreams on global memory, so that the arguments cross the real automation layer.

#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/setup_blocks.h"
#include "pimsync_idl.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/exported_dispatch.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/stream_adapter.h"
#include "platform/win32/system_message.h"
#include "sim/host/recording_progress.h"
#include "tests/com/com_test_support.h"

namespace comserver::test {
namespace {

using platform::win32::ComPtr;
using platform::win32::HResultHex;
using platform::win32::UniqueVariant;

struct Outcome {
  HRESULT hr = E_UNEXPECTED;
  long value = -1;  // the [out, retval] Value; -1 when none came back
  SCODE scode = 0;
  std::string description;
};

UniqueVariant DispatchArg(const ComPtr<IDispatch>& object) {
  UniqueVariant v;
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = ComPtr<IDispatch>(object).Detach();
  return v;
}
UniqueVariant UnknownArg(const ComPtr<IUnknown>& object) {
  UniqueVariant v;
  V_VT(&v) = VT_UNKNOWN;
  V_UNKNOWN(&v) = ComPtr<IUnknown>(object).Detach();
  return v;
}
UniqueVariant ShortArg(short number) {
  UniqueVariant v;
  V_VT(&v) = VT_I2;
  V_I2(&v) = number;
  return v;
}
UniqueVariant EmptyTextArg() {
  UniqueVariant v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = platform::win32::UniqueBstr::FromText(u"").Detach();
  return v;
}

// Arguments in their natural order; UniqueVariant only moves, so no initializer list.
template <typename... Values>
std::vector<UniqueVariant> Args(Values&&... values) {
  std::vector<UniqueVariant> args;
  (args.push_back(std::move(values)), ...);
  return args;
}

ComPtr<IStream> StreamWith(const framework::SetupBlock& block) {
  ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  platform::win32::StreamAdapter adapter(stream);
  block.WriteTo(adapter);
  return stream;
}

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

  // Calls the method by name with its arguments in their natural order.
  Outcome Call(IDispatch* plugin, const wchar_t* method, std::vector<UniqueVariant> args) {
    Outcome out;
    LPOLESTR name = const_cast<LPOLESTR>(method);
    DISPID id = DISPID_UNKNOWN;
    out.hr = plugin->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(out.hr)) return out;
    std::vector<UniqueVariant> reversed;
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
  std::vector<UniqueVariant> InitArgs() {
    return Args(DispatchArg(progress_), UnknownArg(StreamWith(blockA_)),
                UnknownArg(StreamWith(blockC_)));
  }
  // ReadSource and WriteSource: progress, stream, type, operation and an empty STime.
  std::vector<UniqueVariant> StreamArgs(const ComPtr<IUnknown>& stream, short type, short op) {
    return Args(DispatchArg(progress_), UnknownArg(stream), ShortArg(type), ShortArg(op),
                EmptyTextArg());
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
  const struct {
    const char* row;
    ComPtr<IDispatch> progress;
    ComPtr<IUnknown> synchSetup;
    ComPtr<IUnknown> appSetup;
    long want;
  } cases[] = {
      {"everything there", progress_, StreamWith(blockA_), StreamWith(blockC_), 0},
      {"no progress object", nullptr, StreamWith(blockA_), StreamWith(blockC_), 1},
      {"SynchSetup without IStream", progress_, notAStream_, StreamWith(blockC_), 1},
      {"AppSetup without IStream", progress_, StreamWith(blockA_), notAStream_, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    ComPtr<IDispatch> plugin = CreatePlugin();
    ASSERT_TRUE(plugin);
    const Outcome out =
        Call(plugin.Get(), L"Init",
             Args(DispatchArg(c.progress), UnknownArg(c.synchSetup), UnknownArg(c.appSetup)));
    EXPECT_EQ(out.hr, S_OK) << HResultHex(out.hr) << " " << out.description;
    EXPECT_EQ(out.value, c.want);
  }
}

// Until a GroupWise server is registered in the prefix, a run reaches as far as it can
// without one: Open fails in the plug-in's own way, everything else answers as usual.
TEST_F(HostRunTest, ARunWithoutGroupWiseFailsOnlyWhereGroupWiseIsNeeded) {
  CLSID groupWise{};
  if (SUCCEEDED(CLSIDFromProgID(L"NovellGroupWareSession", &groupWise))) {
    GTEST_SKIP() << "a GroupWise server is registered; the full run covers this";
  }
  ComPtr<IDispatch> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  ComPtr<IStream> hostStream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, hostStream.Put()), S_OK);
  const ComPtr<IUnknown> stream(hostStream);
  const struct {
    const char* step;
    const wchar_t* method;
    std::function<std::vector<UniqueVariant>()> args;
    long want;
  } run[] = {
      {"Init", L"Init", [&] { return InitArgs(); }, 0},
      {"Open without GroupWise", L"Open", [&] { return Args(DispatchArg(progress_)); }, 1},
      {"CheckSource", L"CheckSource", [&] { return Args(DispatchArg(progress_)); }, 0},
      {"ReadSource with a write operation", L"ReadSource", [&] { return StreamArgs(stream, 0, 1); },
       1},
      {"WriteSource with the read operation", L"WriteSource",
       [&] { return StreamArgs(stream, 0, 0); }, 1},
      {"ReadSource into an object without IStream", L"ReadSource",
       [&] { return StreamArgs(notAStream_, 0, 0); }, 1},
      {"WriteSource from an object without IStream", L"WriteSource",
       [&] { return StreamArgs(notAStream_, 0, 1); }, 1},
      {"Close", L"Close", [&] { return Args(DispatchArg(progress_)); }, 0},
      {"Term", L"Term", [&] { return Args(DispatchArg(progress_)); }, 0},
  };
  for (const auto& s : run) {
    SCOPED_TRACE(s.step);
    const Outcome out = Call(plugin.Get(), s.method, s.args());
    EXPECT_EQ(out.hr, S_OK) << HResultHex(out.hr) << " " << out.description;
    EXPECT_EQ(out.value, s.want);
  }
  // The progress object reached the plug-in through IDispatch: Open, CheckSource, Close, and
  // Term's own Close each said what they were doing.
  EXPECT_EQ(recording_->CallsOf("SetAppText"),
            (std::vector<std::string>{"SetAppText(\"Connecting to GroupWise\")",
                                      "SetAppText(\"Checking GroupWise\")",
                                      "SetAppText(\"Disconnecting from GroupWise\")",
                                      "SetAppText(\"Disconnecting from GroupWise\")"}));
}

TEST_F(HostRunTest, ARaiseInCloseFailsTheCallWithItsMessage) {
  ComPtr<IDispatch> plugin = CreatePlugin();
  ASSERT_TRUE(plugin);
  ASSERT_EQ(Call(plugin.Get(), L"Init", InitArgs()).value, 0);
  recording_->Context().faults.RaiseAlways("Progress.SetAppText", "The progress window is gone");

  const Outcome invoked = Call(plugin.Get(), L"Close", Args(DispatchArg(progress_)));
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
  ASSERT_EQ(GetErrorInfo(0, error.Put()), S_OK);
  platform::win32::UniqueBstr description;
  ASSERT_EQ(error->GetDescription(description.Put()), S_OK);
  EXPECT_EQ(platform::win32::WideToAnsi(platform::win32::BstrText(description.Get())),
            "Close: The progress window is gone");
}

}  // namespace
}  // namespace comserver::test
