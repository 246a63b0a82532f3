#include "setup/common/rule_pages.h"

namespace setup {
namespace {

namespace block_a = framework::block_a;

ControlText TextOf(const ProfileSession& session, const JoinedText& text) {
  return {text.controlId, session.Strings().TextJoined({text.firstString, text.secondString})};
}

}  // namespace

std::vector<ControlText> ConflictPage::StaticTexts() const {
  return {TextOf(session_, intro_)};
}

void ConflictPage::Fill() {
  groupWiseWins = session_.IsNewProfile() || session_.Data().a.Get(block_a::ConflictRule) == 1;
  MarkInitialised();
}

void ConflictPage::Accept() {
  if (Initialised()) session_.Data().a.Set(block_a::ConflictRule, groupWiseWins ? 1 : 0);
}

std::vector<ControlText> DeleteOptionsPage::StaticTexts() const {
  return {TextOf(session_, intro_)};
}

void DeleteOptionsPage::Fill() {
  keepInGroupWise = session_.Data().a.Get(block_a::DeleteRule) == keepValue_;
  MarkInitialised();
}

void DeleteOptionsPage::Accept() {
  if (Initialised()) session_.Data().a.Set(block_a::DeleteRule, keepInGroupWise ? keepValue_ : 0);
}

}  // namespace setup
