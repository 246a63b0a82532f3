#include "tools/gwsync/plugin_choice.h"

#include "framework/data_types.h"

namespace gwsync {
namespace {

constexpr PluginInfo kPimsync{.kind = PluginKind::kPimsync,
                              .name = "pimsync",
                              .moduleFile = "pimsync.dll",
                              .moduleLibrary = "pimsync.DLR",
                              .libraryString = 2,
                              .profile = sim::ProfileKind::kCalendar,
                              .progId = "PIMSYNC.ISYNCHAPPU",
                              .folderNameCaption = 0};
constexpr PluginInfo kMailsync{.kind = PluginKind::kMailsync,
                               .name = "mailsync",
                               .moduleFile = "mailsync.dll",
                               .moduleLibrary = "mailsync.DLR",
                               .libraryString = 261,
                               .profile = sim::ProfileKind::kEmail,
                               .progId = "MAILSYNC.ISYNCHAPPU",
                               .folderNameCaption = 288};

std::string TypeName(int16_t type) {
  const std::string_view label = framework::TypeLabel(type);
  return label.empty() ? std::to_string(type) : std::string(label);
}

}  // namespace

const PluginInfo& InfoOf(PluginKind kind) {
  return kind == PluginKind::kMailsync ? kMailsync : kPimsync;
}

PluginKind PluginOfType(int16_t type) {
  return type == framework::data_type::kEmail ? PluginKind::kMailsync : PluginKind::kPimsync;
}

PluginKind ChoosePlugin(std::optional<PluginKind> option, const std::vector<ScriptStep>& steps) {
  if (option) return *option;
  if (steps.empty()) return PluginKind::kPimsync;
  const ScriptStep& first = steps.front();
  const PluginKind chosen = PluginOfType(first.request.type);
  for (const ScriptStep& step : steps) {
    if (PluginOfType(step.request.type) == chosen) continue;
    throw ScriptError(std::to_string(step.line) + ": " + TypeName(step.request.type) + " is " +
                      std::string(InfoOf(PluginOfType(step.request.type)).name) + "'s, but line " +
                      std::to_string(first.line) + " (" + TypeName(first.request.type) + ") is " +
                      std::string(InfoOf(chosen).name) +
                      "'s; the host runs one plug-in per profile: split the script into one "
                      "run per plug-in, or choose one with --plugin");
  }
  return chosen;
}

platform::FolderNameAnswers FolderNameAnswersOf(const std::optional<std::string>& option,
                                                const std::vector<std::string>& script) {
  platform::FolderNameAnswers answers;
  if (option) answers.answers.emplace_back(*option);
  for (const std::string& name : script)
    answers.answers.emplace_back(name);
  answers.enterWhenEmpty = answers.answers.empty();
  return answers;
}

}  // namespace gwsync
