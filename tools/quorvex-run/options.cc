#include "options.h"

#include <algorithm>
#include <stdexcept>

namespace quorvex::run {

const char* const kUsage =
    "usage: quorvex-run [options] PROGRAM.hdev\n"
    "       quorvex-run [options] --procedure NAME --path DIR [--in NAME=VALUE ...]\n"
    "\n"
    "Runs an HDevelop program or procedure through the quorvex library and prints the\n"
    "procedure's control outputs, one per line as NAME: VALUE.\n"
    "\n"
    "  --procedure NAME        run the external procedure NAME (NAME.hdvp)\n"
    "  --path DIR              add DIR to the procedure paths (repeatable)\n"
    "  --in NAME=VALUE         set control input NAME; VALUE is an integer, a real or a\n"
    "                          string, or a list [1, 2.5, 'a']; repeating NAME appends\n"
    "  --json                  print the outputs as one JSON object of arrays\n"
    "  --logo                  blend the logo into every window (hinit mode 1)\n"
    "  --fullscreen            open every window fullscreen on its monitor\n"
    "  --verbose               informational messages and low-level errors\n"
    "  --default-window        open the default 640 x 480 window before running\n"
    "  --attribute NAME=VALUE  set an engine attribute (integers stay integers)\n"
    "  --snapshots DIR         write a PNG of every window still open at the end\n"
    "  --library PATH          the quorvex library to load\n"
    "  --operators             list every operator of the reference the engine knows, with\n"
    "                          its signature and whether the stand-in implements it\n"
    "  --help                  this text\n"
    "\n"
    "Batch: one call of the procedure per file matching PATTERN (*, ?, [0-9], [!a] in a\n"
    "component, ** for any folders below), {} in any --in value standing for the file:\n"
    "  quorvex-run --procedure NAME --path DIR --batch 'images/**/*.png' --in ImagePath={}\n"
    "  --batch PATTERN         the files, run in name order, results in that order\n"
    "  --batch @LIST           the files LIST names, one a line, relative to LIST's folder\n"
    "  --jobs N                N files at once (default: one per core)\n"
    "  --operator-threads N    the threads each worker's operators use (default: 1 when\n"
    "                          the jobs are processes, as they share the cores)\n"
    "  --out FILE              the results: FILE.csv as CSV, else JSON lines (default:\n"
    "                          JSON lines on stdout)\n"
    "  --fail-fast             stop at the first file that fails\n"
    "  --threads               run jobs as threads, not processes: only for procedures\n"
    "                          that open no windows (windows are process-wide)\n"
    "  --snapshots DIR         (batch) each file's windows as DIR/<place>_<name>_<window>.png\n"
    "  --report DIR            a page to look the batch over, DIR/index.html, with the\n"
    "                          windows' pictures (in DIR/pictures unless --snapshots)\n"
    "Exit status: 0 success (every file), 1 a failure (any file), 2 a bad command line.\n";

namespace {

std::pair<std::string, Values> assignment(const std::string& option, const std::string& text) {
  const auto equals = text.find('=');
  if (equals == std::string::npos || equals == 0) {
    throw std::invalid_argument(option + " needs NAME=VALUE, got '" + text + "'");
  }
  return {text.substr(0, equals), parseValues(text.substr(equals + 1))};
}

void mergeInput(std::vector<std::pair<std::string, Values>>& inputs,
                std::pair<std::string, Values> input) {
  auto existing = std::find_if(inputs.begin(), inputs.end(),
                               [&](const auto& known) { return known.first == input.first; });
  if (existing == inputs.end()) {
    inputs.push_back(std::move(input));
  } else {
    existing->second.insert(existing->second.end(), input.second.begin(), input.second.end());
  }
}

int positiveCount(const std::string& option, const std::string& text) {
  const Values values = parseValues(text);
  const auto* count = values.size() == 1 ? std::get_if<std::int64_t>(&values[0]) : nullptr;
  if (!count || *count < 1) throw std::invalid_argument(option + " needs a positive integer");
  return static_cast<int>(*count);
}

bool mentionsFile(const Options& options) {
  for (const auto& input : options.inputs) {
    for (const Value& value : input.second) {
      const auto* text = std::get_if<std::string>(&value);
      if (text && text->find("{}") != std::string::npos) return true;
    }
  }
  return false;
}

void checkBatch(const Options& options) {
  if (options.batch.empty()) {
    if (options.jobs || options.failFast || options.threads || options.out != "-" ||
        options.operatorThreads) {
      throw std::invalid_argument(
          "--jobs, --out, --fail-fast, --threads and --operator-threads need --batch");
    }
    return;
  }
  if (options.procedure.empty()) throw std::invalid_argument("--batch runs a --procedure");
  // Threads of one process share one engine and its 'thread_num'.
  if (options.threads && options.operatorThreads) {
    throw std::invalid_argument("--operator-threads is for jobs in processes, not --threads");
  }
  if (!mentionsFile(options)) throw std::invalid_argument("--batch needs {} in an --in value");
  if (options.json) throw std::invalid_argument("--batch writes JSON lines by itself: no --json");
  if (options.threads && !options.snapshots.empty()) {
    throw std::invalid_argument("--snapshots needs worker processes: windows are process-wide");
  }
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
  Options options;
  options.originalArguments = arguments;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(argument + " needs a value");
      return arguments[++i];
    };
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--operators") {
      options.operators = true;
    } else if (argument == "--procedure") {
      options.procedure = value();
    } else if (argument == "--path") {
      options.paths.push_back(value());
    } else if (argument == "--in") {
      mergeInput(options.inputs, assignment(argument, value()));
    } else if (argument == "--attribute") {
      options.attributes.push_back(assignment(argument, value()));
    } else if (argument == "--library") {
      options.library = value();
    } else if (argument == "--snapshots") {
      options.snapshots = value();
    } else if (argument == "--report") {
      options.report = value();
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--logo") {
      options.logo = true;
    } else if (argument == "--fullscreen") {
      options.fullscreen = true;
    } else if (argument == "--verbose") {
      options.verbose = true;
    } else if (argument == "--default-window") {
      options.defaultWindow = true;
    } else if (argument == "--batch") {
      options.batch = value();
    } else if (argument == "--out") {
      options.out = value();
    } else if (argument == "--jobs") {
      options.jobs = positiveCount(argument, value());
    } else if (argument == "--operator-threads") {
      options.operatorThreads = positiveCount(argument, value());
    } else if (argument == "--fail-fast") {
      options.failFast = true;
    } else if (argument == "--threads") {
      options.threads = true;
    } else if (argument == "--worker") {
      options.worker = value();
    } else if (argument.size() > 1 && argument[0] == '-') {
      throw std::invalid_argument("unknown option " + argument);
    } else if (options.program.empty()) {
      options.program = argument;
    } else {
      throw std::invalid_argument("more than one program given: " + argument);
    }
  }
  if (options.help) return options;
  if (options.operators) {
    if (!options.program.empty() || !options.procedure.empty() || !options.batch.empty()) {
      throw std::invalid_argument("--operators runs nothing: no program, --procedure or --batch");
    }
    return options;
  }
  if (options.program.empty() == options.procedure.empty()) {
    throw std::invalid_argument("give either a program file or --procedure NAME");
  }
  if (!options.program.empty() && !options.inputs.empty()) {
    throw std::invalid_argument("--in applies to a procedure, not to a program");
  }
  for (const auto& [name, values] : options.attributes) {
    if (values.size() != 1) throw std::invalid_argument("--attribute " + name + " takes one value");
  }
  if (!options.report.empty() && options.batch.empty()) {
    throw std::invalid_argument("--report needs --batch");
  }
  checkBatch(options);
  // The report shows the windows: beside it unless the snapshots go elsewhere. Threads share
  // the windows, so a report of them has no pictures.
  if (!options.report.empty() && options.snapshots.empty() && !options.threads) {
    options.snapshots = options.report + "/pictures";
  }
  return options;
}

}  // namespace quorvex::run
