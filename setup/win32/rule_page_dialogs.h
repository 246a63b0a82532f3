#pragma once

// The Conflict Resolution and Delete Options pages on Windows, for every data component: each
// a dialog of the component's own template whose two radio buttons move between the template
// and the shared page model (setup/common/rule_pages.h).

#include "platform/win32/windows_api.h"

#include <memory>

#include "setup/common/rule_pages.h"
#include "setup/win32/property_page.h"

namespace setup::win32 {

// The page's template and its two radio buttons: the first selected when the model's flag
// (groupWiseWins, keepInGroupWise) is set, the second when it is not.
struct RulePageIds {
  int templateId;
  int whenSet;
  int whenClear;
};

std::unique_ptr<PropertyPage> NewConflictPage(HMODULE module, ProfileSession& session,
                                              const ConflictPage& model, RulePageIds ids);
std::unique_ptr<PropertyPage> NewDeleteOptionsPage(HMODULE module, ProfileSession& session,
                                                   const DeleteOptionsPage& model, RulePageIds ids);

}  // namespace setup::win32
