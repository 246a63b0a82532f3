// Writes the sample GroupWise store: groupwise_sample_store FILE [YYYY-MM-DD]. The day
// (default today) decides which week the sample's appointments fill.

#include <cstdio>
#include <string>

#include "platform/exception.h"
#include "platform/portable/portable_environment.h"
#include "sim/groupwise/sample_mailbox.h"

namespace {

bool ParseDay(const std::string& text, platform::AutomationDate& day) {
  int year = 0, month = 0, date = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &date, &tail) != 3 ||
      !platform::IsValidCivilDate(year, month, date)) {
    return false;
  }
  day = platform::EncodeAutomationDate({year, month, date, 0, 0, 0, 0});
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // An option is never a file name: "--help" must not become a store of that name.
  if (argc < 2 || argc > 3 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: %s FILE [YYYY-MM-DD]\n", argv[0]);
    return 2;
  }
  platform::AutomationDate today = platform::PortableEnvironment().Now();
  if (argc == 3 && !ParseDay(argv[2], today)) {
    std::fprintf(stderr, "%s: not a date: %s\n", argv[0], argv[2]);
    return 2;
  }
  try {
    sim::WriteSampleStore(argv[1], today);
  } catch (const platform::Exception& failure) {
    std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
    return 1;
  }
  return 0;
}
