#include "pimsync/pim_plugin.h"

#include "framework/exceptions.h"
#include "framework/groupwise.h"
#include "framework/module_globals.h"
#include "framework/text_util.h"
#include "framework/versit_date.h"

namespace pimsync {
namespace {

using framework::FormatText;
namespace block_a = framework::block_a;
namespace block_c = framework::block_c_pim;

constexpr std::string_view kDefaultAddressBook = "Didodudo Z380";

}  // namespace

TISYNCHAPPU::TISYNCHAPPU(platform::Platform& platform) : TBaseIsync(platform) {}
TISYNCHAPPU::~TISYNCHAPPU() = default;

int32_t TISYNCHAPPU::Init(const platform::Object& progress, platform::ByteStream* synchSetup,
                          platform::ByteStream* appSetup) {
  Trace("TISYNCHAPPU.Init");
  if (TBaseIsync::Init(progress, synchSetup, appSetup) != 0) return 1;
  try {
    platform::Platform& services = Services();
    framework::PIMName = "GroupWise";
    dcomNoticeShown_ = false;
    session_ = std::make_unique<framework::TSyncSession>(services);
    if (services.Env().IsCtrlKeyDown()) SetTracing(true);

    synchSetup_.emplace(framework::BlockKind::kA);
    synchSetup_->ReadFrom(framework::RequireSetupStream(synchSetup));
    appSetup_.emplace(framework::BlockKind::kCPim);
    appSetup_->ReadFrom(framework::RequireSetupStream(appSetup));
    useContactsManager_ = static_cast<uint8_t>(appSetup_->Get(block_c::UseContactsManager) & 0xFF);

    const platform::AutomationDate now = services.Env().Now();
    const platform::CodePage& ansi = services.Ansi();
    RangeStart =
        framework::VersitToDateTime(ansi.ToAnsi(synchSetup_->Get(block_a::CalRangeStart)), now);
    RangeEnd =
        framework::VersitToDateTime(ansi.ToAnsi(synchSetup_->Get(block_a::CalRangeEnd)), now);
    RangeEnd.days -= 1.0;  // the host stores the day after the range
    FAddressBk =
        std::string(framework::TrimControl(ansi.ToAnsi(appSetup_->Get(block_c::AddressBook))));
    if (FAddressBk.empty()) FAddressBk = kDefaultAddressBook;
    manualLogin_ = static_cast<uint8_t>(appSetup_->Get(block_c::ManualLogin) & 0xFF);
    if (manualLogin_ != 0) {
      loginUser_ = appSetup_->Get(block_c::LoginUser);
      loginParams_ = appSetup_->Get(block_c::LoginParams);
    }

    platform::Environment& env = services.Env();
    Trace(FormatText("Trace Started: %s", {env.FormatDateTime(now)}));
    Trace("-- EPOC32 Configuration ------------------------------");
    Trace(FormatText("EPOC Connect Location: %s", {session_->ConnectLocation}));
    Trace(framework::DeviceTraceLine(session_->Device));
    Trace(FormatText("Address book to synchronize: %s", {FAddressBk}));
    Trace("------------------------------------------------------");
    Trace("");
    Trace(useContactsManager_ != 0 ? "Syncing: Contacts Manager" : "Syncing: Data File");
    Trace(FormatText("Date range start: %s", {env.FormatShortDate(RangeStart)}));
    Trace(FormatText("Date range end: %s", {env.FormatShortDate(RangeEnd)}));
    Trace("TISYNCHAPPU.Init S_OK");
    return 0;
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU: Exception: [%s], S_FALSE", {failure.what()}));
    return 1;
  }
}

int32_t TISYNCHAPPU::Open(const platform::Object& progress) {
  try {
    Progress().SetAppText("Connecting to GroupWise");
    Trace("TISYNCHAPPU.Open");
    TBaseIsync::Open(progress);
    platform::Platform& services = Services();
    const platform::CodePage& ansi = services.Ansi();

    Trace("TISYNCHAPPU: About to create GroupWise interface");
    gwSession_ = services.Objects().CreateObject(framework::groupwise::kSessionProgId);
    const framework::groupwise::Session session(gwSession_);
    try {
      FGWAccount =
          manualLogin_ != 0 ? session.Login(loginUser_, loginParams_) : session.LoginDefault();
    } catch (const std::exception&) {
      throw platform::Exception("The plugin was unable to log into GroupWise.");
    }
    services.Ui().PumpMessages();  // GroupWise may have shown its own login window
    if (!FGWAccount) {
      ReportError(
          "Login Failure",
          "Could not log into GroupWise.  Please check your log in parameters and try again.");
      Trace(
          "TISYNCHAPPU: Could not access the account object. This might be due to a login failure");
      throw framework::EAbort();
    }

    Trace(FormatText("TISYNCHAPPU: GroupWise Name: %s", {ansi.ToAnsi(session.FullName())}));
    const platform::Variant major = gwSession_.GetProperty("MajorVersion");
    const platform::Variant minor = gwSession_.GetProperty("MinorVersion");
    const std::string majorText = ansi.ToAnsi(major.ToText());
    const std::string minorText = ansi.ToAnsi(minor.ToText());
    Trace(FormatText("TISYNCHAPPU: Version: %s (major) %s (minor)", {majorText, minorText}));
    gwVersion_ = majorText + "." + minorText;

    languageTable_ = std::make_unique<TABLang>(major.ToInt32(), minor.ToInt32(), services);
    Trace(FormatText("TISYNCHAPPU: GroupWise Language (From AB language class): %s",
                     {languageTable_->LanguageCode()}));
    if (!languageTable_->Ready()) {
      throw platform::Exception("The current GroupWise language is not supported.");
    }
    gwCommander_ = services.Objects().CreateObject(framework::groupwise::kCommanderProgId);
    Trace("TISYNCHAPPU.Open S_OK");
    return 0;
  } catch (const framework::EAbort&) {
    Trace("TISYNCHAPPU.Open EAbort");
    return 1;
  } catch (const std::exception& failure) {
    Trace(FormatText("TISYNCHAPPU.Open: Exception: [%s] S_FALSE", {failure.what()}));
    return 1;
  }
}

int32_t TISYNCHAPPU::CheckSource(const platform::Object&) {
  try {
    Progress().SetAppText("Checking GroupWise");
    Trace("TISYNCHAPPU.CheckSource S_OK");
    return 0;
  } catch (const std::exception&) {
    Trace("TISYNCHAPPU.CheckSource S_FALSE");
    return 1;
  }
}

// Failures here are not caught: the host learns of them as a failing call.
int32_t TISYNCHAPPU::Close(const platform::Object& progress) {
  languageTable_.reset();
  if (HasProgress()) {
    Progress().SetAppText("Disconnecting from GroupWise");
    framework::LogDcomNoticeOnce(Services(), Progress(), dcomNoticeShown_);
  }
  gwCommander_ = platform::Object();
  FGWAccount = platform::Object();
  gwSession_ = platform::Object();
  Services().Ui().PumpMessages();
  Trace("TISYNCHAPPU.Close S_OK");
  return TBaseIsync::Close(progress);
}

int32_t TISYNCHAPPU::Term(const platform::Object& progress) {
  Trace("TISYNCHAPPU.Term S_OK");
  Trace(FormatText("Trace Ended: %s", {Services().Env().FormatDateTime(Services().Env().Now())}));
  TBaseIsync::Term(progress);  // its own failures are its own: Term still succeeds
  session_.reset();
  return 0;
}

}  // namespace pimsync
