#include "setup/common/profile_session.h"

#include "platform/exception.h"
#include "setup/common/load_values.h"
#include "setup/common/machine_settings.h"

namespace setup {
namespace {

// The engine's own calls may fail inside its automation layer as well as by their results; a
// failure of either kind counts the same.
template <typename Call>
bool Succeeds(Call&& call) {
  try {
    return call();
  } catch (const platform::Exception&) {
    return false;
  }
}

}  // namespace

ProfileSession::ProfileSession(const Component& component, SetupServices services)
    : component_(component),
      services_(std::move(services)),
      blocks_(component.blockB, component.blockC) {}

ProfileSession::~ProfileSession() {
  Release();
}

std::u16string ProfileSession::ComputerName() const {
  return services_.computerName ? services_.computerName() : std::u16string();
}

int ProfileSession::Message(platform::WindowHandle owner, const std::string& text, uint32_t style) {
  return services_.ui.MessageBox(owner, text, services_.strings.Ansi(string_id::kMessageTitle),
                                 style);
}

bool ProfileSession::Open() {
  const bool created = Succeeds([this] {
    if (services_.engines) engine_ = services_.engines();
    return engine_ != nullptr;
  });
  if (!created) {
    Message(0, std::string(component_.errors.engineMissing));
    return false;
  }
  if (!Succeeds([this] { return engine_->OpenControlFile(controlFile_) >= 0; })) {
    Message(0, std::string(component_.errors.openFailed));
    return false;
  }
  const int16_t indexes[] = {kBlockA, kBlockB, kBlockC};
  framework::SetupBlock* blocks[] = {&blocks_.a, &blocks_.b, &blocks_.c};
  for (int i = 0; i < 3; ++i) {
    *blocks[i] = framework::SetupBlock(blocks[i]->Kind());
    Succeeds([&] {
      blocks[i]->ReadFrom(engine_->BlockStream(indexes[i]));
      return true;
    });
  }
  newProfile_ = blocks_.a.Get(framework::block_a::Title).empty();
  return true;
}

ValueContext ProfileSession::Context(const std::u16string& computerName) const {
  return {services_.strings, paths_, computerName};
}

void ProfileSession::Prepare() {
  paths_ = DeriveProfilePaths(controlFile_);
  helpFile_ = HelpFilePath(services_.registry);
  const std::u16string computerName = ComputerName();
  WriteLoadValues(component_, blocks_, ReadLogLevel(services_.registry), Context(computerName));
}

bool ProfileSession::OpenAndPrepare() {
  if (!Open()) {
    Release();
    return false;
  }
  Prepare();
  return true;
}

bool ProfileSession::Commit() {
  if (!engine_) return false;
  const int16_t indexes[] = {kBlockA, kBlockB, kBlockC};
  const framework::SetupBlock* blocks[] = {&blocks_.a, &blocks_.b, &blocks_.c};
  for (int i = 0; i < 3; ++i) {
    Succeeds([&] {
      blocks[i]->WriteTo(engine_->BlockStream(indexes[i]));
      return true;
    });
  }
  if (!Succeeds([this] { return engine_->Save() == 0; })) {
    Message(0, std::string(component_.errors.saveFailed));
    return false;
  }
  return true;
}

void ProfileSession::Release() {
  if (!engine_) return;
  Succeeds([this] {
    engine_->Close();
    return true;
  });
  engine_.reset();
}

void ProfileSession::ApplyDefaults() {
  const std::u16string computerName = ComputerName();
  component_.applyDefaults(blocks_, Context(computerName));
}

void ProfileSession::ApplyCommitValues() {
  component_.applyCommitValues(blocks_);
}

bool ProfileSession::RunInvisible() {
  if (!OpenAndPrepare()) return false;
  ApplyDefaults();
  Commit();
  Release();
  return true;
}

void ProfileSession::CommitWizardData(const std::optional<WizardData>& data) {
  if (!engine_) return;
  if (data) {
    const LoginFields& login = component_.login;
    blocks_.c.Set(login.user, data->user);
    blocks_.c.Set(login.params, data->params);
    blocks_.c.Set(login.manualLogin, data->user.empty() && data->params.empty() ? 0 : 1);
  }
  ApplyCommitValues();
  Commit();
  Release();
}

}  // namespace setup
