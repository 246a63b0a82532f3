#include "sim/host/folder_picker_sim.h"

#include "framework/text_codec.h"
#include "platform/exception.h"

namespace sim {
namespace {

using framework::Utf16ToUtf8;

class SimulatedFolderPicker final : public setup::email::FolderPicker {
 public:
  explicit SimulatedFolderPicker(SimulatedFolderPickers& owner) : owner_(owner) {
    ++owner_.alive;
    owner_.calls.push_back("create");
  }
  ~SimulatedFolderPicker() override { --owner_.alive; }

  int32_t Login(const std::u16string& user, const std::u16string& params) override {
    owner_.calls.push_back("login(" + Utf16ToUtf8(user) + "," + Utf16ToUtf8(params) + ")");
    loggedIn_ = !owner_.loginFails;
    return loggedIn_ ? 0 : -1;
  }

  int32_t Browse(std::u16string& folderId, std::u16string& folderName) override {
    owner_.calls.push_back("browse(" + Utf16ToUtf8(folderId) + ")");
    // The real browser shows nothing before a login; a caller that browses anyway learns it.
    if (!loggedIn_ || !owner_.choice || *owner_.choice >= owner_.folders.size()) return -1;
    const PickerFolder& chosen = owner_.folders[*owner_.choice];
    folderId = chosen.id;
    folderName = chosen.name;
    return 0;
  }

  void Logout() override {
    owner_.calls.push_back("logout");
    loggedIn_ = false;
  }

 private:
  SimulatedFolderPickers& owner_;
  bool loggedIn_ = false;
};

}  // namespace

SimulatedFolderPickers::SimulatedFolderPickers()
    : folders({{u"GW.FOLDER.INBOX", u"Mailbox"},
               {u"GW.FOLDER.HANDHELD", u"Handheld"},
               {u"GW.FOLDER.PROJECTS", u"Projects"}}) {}

setup::email::FolderPickerFactory SimulatedFolderPickers::Factory() {
  return [this]() -> std::unique_ptr<setup::email::FolderPicker> {
    if (cannotCreate) {
      calls.push_back("create refused");
      throw platform::Exception("the class \"gwfoldpick.FolderBrowser\" is not registered");
    }
    return std::make_unique<SimulatedFolderPicker>(*this);
  };
}

}  // namespace sim
