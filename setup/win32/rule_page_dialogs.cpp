#include "setup/win32/rule_page_dialogs.h"

namespace setup::win32 {
namespace {

// Model: ConflictPage or DeleteOptionsPage; Flag: the member its two buttons show.
template <class Model, bool Model::*Flag>
class RulePage final : public PropertyPage {
 public:
  RulePage(HMODULE module, ProfileSession& session, const Model& model, RulePageIds ids)
      : PropertyPage(module, ids.templateId, session), model_(model), ids_(ids) {}

 private:
  void OnInitDialog(HWND page) override {
    SetControlTexts(page, model_.StaticTexts());
    model_.Fill();
    SetChecked(page, ids_.whenSet, model_.*Flag);
    SetChecked(page, ids_.whenClear, !(model_.*Flag));
  }
  void OnCommand(HWND page, int, int code) override {
    if (code == BN_CLICKED) model_.*Flag = IsChecked(page, ids_.whenSet);
  }
  LRESULT OnNotify(HWND, const NMHDR& header) override {
    if (header.code == PSN_APPLY) model_.Accept();
    return PSNRET_NOERROR;
  }

  Model model_;
  RulePageIds ids_;
};

}  // namespace

std::unique_ptr<PropertyPage> NewConflictPage(HMODULE module, ProfileSession& session,
                                              const ConflictPage& model, RulePageIds ids) {
  return std::make_unique<RulePage<ConflictPage, &ConflictPage::groupWiseWins>>(module, session,
                                                                                model, ids);
}

std::unique_ptr<PropertyPage> NewDeleteOptionsPage(HMODULE module, ProfileSession& session,
                                                   const DeleteOptionsPage& model,
                                                   RulePageIds ids) {
  return std::make_unique<RulePage<DeleteOptionsPage, &DeleteOptionsPage::keepInGroupWise>>(
      module, session, model, ids);
}

}  // namespace setup::win32
