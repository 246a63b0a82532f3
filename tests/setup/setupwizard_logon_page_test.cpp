// setupwizard's logon page as a model: its text, the edits' and the wizard buttons' rules while
// the user clicks and types, and what Next leaves for WizardData.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/portable/memory_registry.h"
#include "setup/setupwizard/control_ids.h"
#include "setup/setupwizard/logon_page.h"
#include "sim/host/setup_strings.h"

namespace setup_tests {
namespace {

using setup::WizardButtons;
using setup::wizard::CLogonPage;
namespace control = setup::wizard::control;

const char* Name(WizardButtons buttons) {
  return buttons == WizardButtons::kBackAndNext ? "Back and Next" : "Back only";
}

class LogonPageTest : public ::testing::Test {
 protected:
  platform::MemoryRegistry registry;
  std::unique_ptr<platform::ResourceLibrary> library = sim::SetupWizardStrings();
  platform::Windows1252 ansi;
  setup::wizard::SetupWizard wizard{registry, {*library, ansi}};
  CLogonPage page{wizard};
};

TEST_F(LogonPageTest, StartsEmptyAndUncheckedWithItsTextAndEveryButton) {
  page.manualLogin = true;
  page.userName = u"left over";
  page.params = u"/left";
  page.Start();
  EXPECT_FALSE(page.manualLogin);
  EXPECT_EQ(page.userName, u"");
  EXPECT_EQ(page.params, u"");
  EXPECT_FALSE(page.EditsEnabled());
  EXPECT_EQ(page.Buttons(), WizardButtons::kBackAndNext);
  const std::vector<setup::ControlText> texts = page.StaticTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].id, control::kLogonIntro);
  EXPECT_EQ(texts[0].text.rfind(u"In some cases it may be necessary to specify your user name", 0),
            0u);
  EXPECT_NE(texts[0].text.find(u"\n\nIf you are unsure"), std::u16string::npos);
}

// One session at the page: each step is what the user did, then what the edits and the
// wizard's buttons must show.
TEST_F(LogonPageTest, NextNeedsATextOnlyWhileManualLoginIsChecked) {
  enum Action { kCheck, kUncheck, kUser, kParams };
  const struct {
    const char* name;
    Action action;
    const char16_t* text;
    bool editsEnabled;
    WizardButtons buttons;
  } steps[] = {
      {"checked with both edits empty", kCheck, nullptr, true, WizardButtons::kBackOnly},
      {"a user name typed", kUser, u"j", true, WizardButtons::kBackAndNext},
      {"the user name erased", kUser, u"", true, WizardButtons::kBackOnly},
      {"parameters typed", kParams, u"/ph", true, WizardButtons::kBackAndNext},
      {"and a user name beside them", kUser, u"jdoe", true, WizardButtons::kBackAndNext},
      {"the parameters erased, the user name left", kParams, u"", true,
       WizardButtons::kBackAndNext},
      {"the user name erased too", kUser, u"", true, WizardButtons::kBackOnly},
      {"unchecked with both empty", kUncheck, nullptr, false, WizardButtons::kBackAndNext},
      {"checked again", kCheck, nullptr, true, WizardButtons::kBackOnly},
      {"a user name, then unchecked", kUser, u"jdoe", true, WizardButtons::kBackAndNext},
      {"unchecked with a user name", kUncheck, nullptr, false, WizardButtons::kBackAndNext},
  };
  page.Start();
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    WizardButtons answer{};
    switch (step.action) {
      case kCheck:
      case kUncheck:
        answer = page.ManualLoginClicked(step.action == kCheck);
        break;
      case kUser:
        answer = page.UserNameChanged(step.text);
        break;
      case kParams:
        answer = page.ParamsChanged(step.text);
        break;
    }
    EXPECT_EQ(page.EditsEnabled(), step.editsEnabled);
    EXPECT_STREQ(Name(answer), Name(step.buttons));
    EXPECT_STREQ(Name(page.Buttons()), Name(step.buttons)) << "as the page shows again";
  }
}

// What Next leaves in the object is what WizardData hands to the data components, which log in
// manually whenever either text is non-empty.
TEST_F(LogonPageTest, NextStoresTheTextsOnlyWhileManualLoginIsChecked) {
  const char16_t kGreek[] = u"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae";
  const struct {
    const char* name;
    bool checked;
    const char16_t* user;
    const char16_t* params;
    const char16_t* storedUser;
    const char16_t* storedParams;
  } rows[] = {
      {"both texts", true, u"jdoe", u"/ph-x", u"jdoe", u"/ph-x"},
      {"a Greek user name, as UTF-16", true, kGreek, u"", kGreek, u""},
      {"parameters only", true, u"", u"/ph-x", u"", u"/ph-x"},
      {"checked, nothing typed", true, u"", u"", u"", u""},
      {"typed, then unchecked: no manual login", false, u"jdoe", u"/ph-x", u"", u""},
      {"never checked", false, u"", u"", u"", u""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    // A logon stored by an earlier Next, before the user went back to the page.
    wizard.StoreLogon({u"earlier", u"/earlier"});
    page.Start();
    page.ManualLoginClicked(true);
    page.UserNameChanged(row.user);
    page.ParamsChanged(row.params);
    page.ManualLoginClicked(row.checked);
    page.Next();
    EXPECT_EQ(wizard.Logon().user, row.storedUser);
    EXPECT_EQ(wizard.Logon().params, row.storedParams);
  }
}

TEST_F(LogonPageTest, ALogonIsStoredOnlyByAPageThatWasShown) {
  page.manualLogin = true;
  page.userName = u"jdoe";
  page.Next();
  EXPECT_EQ(wizard.Logon().user, u"");
}

}  // namespace
}  // namespace setup_tests
