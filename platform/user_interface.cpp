#include "platform/user_interface.h"

namespace platform {

int DefaultButton(uint32_t style) {
  switch (style & mb::kTypeMask) {
    case mb::kYesNo:
      return button::kYes;
    default:
      return button::kOk;
  }
}

std::optional<std::string> FolderNameAnswers::Play(const std::string& proposed,
                                                   const AcceptFolderName& accept) {
  while (!answers.empty()) {
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    if (!answer) return std::nullopt;
    if (accept(*answer)) return answer;
  }
  if (enterWhenEmpty && accept(proposed)) return proposed;
  return std::nullopt;
}

}  // namespace platform
