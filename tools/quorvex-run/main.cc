// quorvex-run: runs an HDevelop program or procedure through the quorvex library's C
// interface, loading the library at run time as a scripting bridge does.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "batch.h"
#include "library.h"
#include "operators.h"
#include "options.h"
#include "runner.h"

namespace {

// The library beside the runner wins; else the one this runner was built with.
std::string defaultLibrary(const char* argv0) {
#if defined(_WIN32)
  const char* fileName = "quorvex32-11.0.dll";
#else
  const char* fileName = "libquorvex32-11.0.so";
#endif
  std::error_code ignored;
  const auto beside = std::filesystem::absolute(argv0, ignored).parent_path() / fileName;
  if (std::filesystem::exists(beside, ignored)) return beside.string();
  return QUORVEX_RUN_BUILT_LIBRARY;
}

// This program, to start it again as a worker process.
std::string selfPath(const char* argv0) {
#if defined(__linux__)
  std::error_code ignored;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ignored);
  if (!ignored) return self.string();
#endif
  return std::filesystem::absolute(argv0).string();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorvex::run;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 2 && arguments[0] == "--worker") {
    try {
      return workerMain(arguments[1]);
    } catch (const std::exception& e) {
      std::cerr << "quorvex-run worker: " << e.what() << "\n";
      return 1;
    }
  }
  Options options;
  try {
    options = parseOptions(arguments);
  } catch (const std::exception& e) {
    std::cerr << "quorvex-run: " << e.what() << "\n\n" << kUsage;
    return 2;
  }
  if (options.help) {
    std::cout << kUsage;
    return 0;
  }
  try {
    if (options.library.empty()) options.library = defaultLibrary(argv[0]);
    Library library(options.library);
    if (options.operators) {
      listOperators(library, std::cout);
      return 0;
    }
    if (!options.batch.empty()) return runBatch(library, options, selfPath(argv[0]));
    run(library, options, std::cout);
    return 0;
  } catch (const std::invalid_argument& e) {
    std::cerr << "quorvex-run: " << e.what() << "\n";
    return 2;
  } catch (const RecordError& e) {
    std::cerr << "quorvex-run: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "quorvex-run: " << e.what() << "\n";
    return 1;
  }
}
