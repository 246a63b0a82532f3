#include "tools/gwsync/command_line.h"

#include <charconv>
#include <limits>

#include "framework/data_types.h"

namespace gwsync {

const std::string_view kUsage =
    "usage: gwsync [OPTIONS] COMMAND\n"
    "\n"
    "commands:\n"
    "  read TYPE             one run of the host that reads every record of TYPE\n"
    "                        from GroupWise; the record stream goes to standard\n"
    "                        output\n"
    "  write TYPE OP [FILE]  one run of the host that writes one record (FILE, or\n"
    "                        standard input) to GroupWise; the record as written\n"
    "                        back goes to standard output\n"
    "  run SCRIPT            one run of the host with the reads and writes of\n"
    "                        SCRIPT (docs/run-script.md)\n"
    "  parse [FILE]          parse one record text (standard input without FILE)\n"
    "                        as the plug-ins parse a record written by the host,\n"
    "                        and print one line per property: name, parameters and\n"
    "                        value, separated by tabs\n"
    "  session               show what a plug-in learns of this machine when it\n"
    "                        starts\n"
    "  setup COMPONENT ACTION\n"
    "                        play the host for a setup component (COMPONENT:\n"
    "                        email, calendar or contacts) on the --profile\n"
    "                        control file: ACTION invisible writes the\n"
    "                        component's defaults; show and wizard need the\n"
    "                        Windows build\n"
    "  setup wizard COMPONENT=FILE...\n"
    "                        the host's setup wizard: the GroupWise logon once,\n"
    "                        then each COMPONENT's pages for its control file\n"
    "                        (Windows build)\n"
    "\n"
    "  TYPE is APT, EVE, ANN, TODO, CON, EMAIL or a number;\n"
    "  OP is insert, modify, delete or a number.\n"
    "\n"
    "options:\n"
    "  --store FILE          the simulated GroupWise's mailbox, kept in a JSON file\n"
    "                        and saved back when the run changed it (default: a\n"
    "                        built-in sample mailbox, not saved)\n"
    "  --profile FILE        the profile's control file (docs/profile-file.md),\n"
    "                        created with the plug-in's defaults when it is missing\n"
    "                        (default: a new profile with those defaults)\n"
    "  --plugin NAME         the plug-in to host: pimsync or mailsync (default:\n"
    "                        mailsync for EMAIL, pimsync for every other TYPE)\n"
    "  --range START END     synchronize from day START to day END, both included,\n"
    "                        each written YYYYMMDD (default: the profile's range\n"
    "                        around today)\n"
    "  --folder-name NAME    answer mailsync's folder-name dialog by typing NAME\n"
    "                        and pressing OK (default: OK on the proposed name)\n"
    "  --today YYYYMMDD      the day the run takes as today, also for the date of the\n"
    "                        mail GroupWise sends (default: the clock's)\n"
    "  --trace FILE          trace the plug-in into FILE, as if Ctrl were held at\n"
    "                        Init\n"
    "  --abort-after N       the progress object answers Aborted with true from\n"
    "                        its Nth call on, as when the user cancels\n"
    "  --registry FILE       the machine's registry, kept in a JSON file and saved\n"
    "                        back when the run changed it (docs/registry-file.md)\n"
    "  --os NAME             the operating system to report: 95, 98, me, nt4, 2000\n"
    "                        or xp (the default)\n";

namespace {

std::optional<platform::OsVersion> OsByName(std::string_view name) {
  using platform::OsVersion;
  if (name == "95") return OsVersion{OsVersion::kWindows9x, 4, 0, 950};
  if (name == "98") return OsVersion{OsVersion::kWindows9x, 4, 10, 1998};
  if (name == "me") return OsVersion{OsVersion::kWindows9x, 4, 90, 3000};
  if (name == "nt4") return OsVersion{OsVersion::kWindowsNT, 4, 0, 1381};
  if (name == "2000") return OsVersion{OsVersion::kWindowsNT, 5, 0, 2195};
  if (name == "xp") return OsVersion{OsVersion::kWindowsNT, 5, 1, 2600};
  return std::nullopt;
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

template <typename T>
std::optional<T> Number(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || text.empty()) return std::nullopt;
  return value;
}

struct CodeName {
  std::string_view name;
  int16_t code;
};

int16_t Code(std::string_view text, std::initializer_list<CodeName> names, std::string_view what) {
  for (const CodeName& entry : names) {
    if (SameLetters(text, entry.name)) return entry.code;
  }
  if (const std::optional<int16_t> number = Number<int16_t>(text)) return *number;
  std::string known;
  for (const CodeName& entry : names)
    known += std::string(known.empty() ? "" : ", ") + std::string(entry.name);
  throw UsageError("unknown " + std::string(what) + " '" + std::string(text) + "' (" + known +
                   " or a number from -32768 to 32767)");
}

// The arguments of one command, taken in order.
class Arguments {
 public:
  Arguments(const std::vector<std::string>& argv, std::size_t first, std::string_view command)
      : argv_(argv), next_(first), command_(command) {}
  const std::string& Required(std::string_view what) {
    if (next_ >= argv_.size())
      throw UsageError(std::string(command_) + " needs " + std::string(what));
    return argv_[next_++];
  }
  std::string Optional() { return next_ < argv_.size() ? argv_[next_++] : std::string(); }
  // Another argument before the options that may follow a command.
  bool HasMore() const { return next_ < argv_.size() && !argv_[next_].starts_with("--"); }
  void End() const {
    if (next_ < argv_.size())
      throw UsageError("too many arguments for " + std::string(command_) + ": " + argv_[next_]);
  }
  std::size_t Next() const { return next_; }

 private:
  const std::vector<std::string>& argv_;
  std::size_t next_;
  std::string_view command_;
};

SetupComponent ParseSetupComponent(std::string_view text) {
  if (SameLetters(text, "email")) return SetupComponent::kEmail;
  if (SameLetters(text, "calendar")) return SetupComponent::kCalendar;
  if (SameLetters(text, "contacts")) return SetupComponent::kContacts;
  throw UsageError("unknown setup COMPONENT '" + std::string(text) +
                   "' (email, calendar or contacts)");
}

// COMPONENT=FILE of `setup wizard`; a component named twice would have its pages twice.
SetupTarget ParseWizardTarget(std::string_view text, const std::vector<SetupTarget>& before) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos || equals + 1 == text.size())
    throw UsageError("setup wizard takes COMPONENT=FILE, not '" + std::string(text) + "'");
  SetupTarget target{ParseSetupComponent(text.substr(0, equals)),
                     std::string(text.substr(equals + 1))};
  for (const SetupTarget& earlier : before) {
    if (earlier.component == target.component)
      throw UsageError("setup wizard names " + std::string(text.substr(0, equals)) + " twice");
  }
  return target;
}

SetupAction ParseSetupAction(std::string_view text) {
  if (text == "invisible") return SetupAction::kInvisible;
  if (text == "show") return SetupAction::kShow;
  if (text == "wizard") return SetupAction::kWizard;
  throw UsageError("unknown setup ACTION '" + std::string(text) + "' (invisible, show or wizard)");
}

// The command at `at`; `end` is where its arguments end. A setup command, like the host's
// setup dialogs, takes its options after it as well, so the caller reads on from there.
Command ParseCommandAt(const std::vector<std::string>& argv, std::size_t at, std::size_t& end) {
  const std::string& name = argv[at];
  Arguments args(argv, at + 1, name);
  Command command;
  if (name == "parse") {
    command = ParseCommand{args.Optional()};
  } else if (name == "session") {
    command = SessionCommand{};
  } else if (name == "read") {
    command = ReadCommand{ParseTypeCode(args.Required("a TYPE"))};
  } else if (name == "write") {
    WriteCommand write;
    write.type = ParseTypeCode(args.Required("a TYPE and an OP"));
    write.op = ParseOperationCode(args.Required("an OP after the TYPE"));
    write.file = args.Optional();
    command = write;
  } else if (name == "run") {
    command = RunCommand{args.Required("a SCRIPT")};
  } else if (name == "setup") {
    SetupCommand setup;
    const std::string first = args.Required("a COMPONENT and an ACTION");
    if (first == "wizard") {
      setup.action = SetupAction::kWizard;
      setup.targets.push_back(ParseWizardTarget(args.Required("COMPONENT=FILE"), setup.targets));
      while (args.HasMore())
        setup.targets.push_back(ParseWizardTarget(args.Optional(), setup.targets));
    } else {
      setup.targets.push_back({ParseSetupComponent(first), {}});
      setup.action = ParseSetupAction(args.Required("an ACTION after the COMPONENT"));
    }
    command = setup;
  } else {
    throw UsageError("unknown command '" + name + "'");
  }
  end = args.Next();
  if (!std::holds_alternative<SetupCommand>(command)) args.End();
  return command;
}

}  // namespace

int16_t ParseTypeCode(std::string_view text) {
  using namespace framework::data_type;
  return Code(text,
              {{"APT", kApt},
               {"EVE", kEve},
               {"ANN", kAnn},
               {"TODO", kTodo},
               {"CON", kCon},
               {"EMAIL", kEmail}},
              "TYPE");
}

int16_t ParseOperationCode(std::string_view text) {
  using namespace framework::operation;
  return Code(text, {{"insert", kInsert}, {"modify", kModify}, {"delete", kDelete}}, "OP");
}

PluginKind ParsePluginName(std::string_view text) {
  if (SameLetters(text, "pimsync")) return PluginKind::kPimsync;
  if (SameLetters(text, "mailsync")) return PluginKind::kMailsync;
  throw UsageError("unknown plug-in '" + std::string(text) + "' (pimsync or mailsync)");
}

platform::AutomationDate ParseDay(std::string_view text) {
  const auto field = [text](std::size_t at, std::size_t size) {
    return Number<int>(text.substr(at, size)).value_or(0);
  };
  const bool digits = text.size() == 8 && text.find_first_not_of("0123456789") == text.npos;
  const int year = digits ? field(0, 4) : 0, month = digits ? field(4, 2) : 0,
            day = digits ? field(6, 2) : 0;
  if (!digits || year < 1000 || !platform::IsValidCivilDate(year, month, day))
    throw UsageError("'" + std::string(text) + "' is not a day written YYYYMMDD");
  return platform::EncodeAutomationDate({year, month, day, 0, 0, 0, 0});
}

std::optional<Options> ParseCommandLine(const std::vector<std::string>& argv) {
  if (!argv.empty() && (argv[0] == "--help" || argv[0] == "-h")) return std::nullopt;
  Options options;
  std::size_t i = 0;
  const auto value = [&](const std::string& option) -> const std::string& {
    if (i + 1 >= argv.size()) throw UsageError(option + " needs a value");
    return argv[++i];
  };
  const auto parseOptions = [&] {
    for (; i < argv.size() && argv[i].starts_with("--"); ++i) {
      const std::string& option = argv[i];
      if (option == "--registry") {
        options.registryFile = value(option);
      } else if (option == "--os") {
        const std::string& name = value(option);
        options.os = OsByName(name);
        if (!options.os) throw UsageError("unknown operating system '" + name + "'");
      } else if (option == "--store") {
        options.storeFile = value(option);
      } else if (option == "--profile") {
        options.profileFile = value(option);
      } else if (option == "--trace") {
        options.traceFile = value(option);
      } else if (option == "--today") {
        options.today = ParseDay(value(option));
      } else if (option == "--range") {
        if (i + 2 >= argv.size()) throw UsageError("--range needs two days, START and END");
        options.rangeFirst = ParseDay(argv[++i]);
        options.rangeLast = ParseDay(argv[++i]);
        if (options.rangeLast->days < options.rangeFirst->days)
          throw UsageError("--range ends before it starts");
      } else if (option == "--plugin") {
        options.plugin = ParsePluginName(value(option));
      } else if (option == "--folder-name") {
        options.folderName = value(option);
      } else if (option == "--abort-after") {
        const std::string& count = value(option);
        const std::optional<int> n = Number<int>(count);
        if (!n || *n < 1)
          throw UsageError("--abort-after needs a count from 1 up, not '" + count + "'");
        options.abortAfter = *n;
      } else {
        throw UsageError("unknown option " + option);
      }
    }
  };
  parseOptions();
  if (i >= argv.size() || argv[i].empty()) throw UsageError("no command given");
  std::size_t end = 0;
  options.command = ParseCommandAt(argv, i, end);
  if (std::holds_alternative<SetupCommand>(options.command)) {
    i = end;
    parseOptions();
    if (i < argv.size()) throw UsageError("too many arguments for setup: " + argv[i]);
  }
  return options;
}

}  // namespace gwsync
