// quorvex-run: runs an HDevelop program or procedure through the quorvex library's C
// interface, loading the library at run time as a scripting bridge does.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "library.h"
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

}  // namespace

int main(int argc, char** argv) {
  using namespace quorvex::run;
  Options options;
  try {
    options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::cerr << "quorvex-run: " << e.what() << "\n\n" << kUsage;
    return 2;
  }
  if (options.help) {
    std::cout << kUsage;
    return 0;
  }
  try {
    Library library(options.library.empty() ? defaultLibrary(argv[0]) : options.library);
    run(library, options, std::cout);
    return 0;
  } catch (const RecordError& e) {
    std::cerr << "quorvex-run: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "quorvex-run: " << e.what() << "\n";
    return 1;
  }
}
