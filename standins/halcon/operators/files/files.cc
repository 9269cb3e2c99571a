// ListFiles and FileExists on the platform's own file system calls.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsFile.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

struct ListOptions {
  bool files = false;
  bool directories = false;
  bool recursive = false;
  bool followLinks = false;
  Hlong maxDepth = -1;  // -1: no bound
  Hlong maxFiles = -1;
};

// 'max_depth 5', 'max_files 1000': a name, one space, a non-negative number.
bool parseBound(const std::string& option, const char* name, Hlong* bound) {
  std::istringstream words(option);
  std::string word, rest;
  long long value = -1;
  if (!(words >> word) || word != name) return false;
  if (!(words >> value) || value < 0 || (words >> rest)) return false;
  *bound = static_cast<Hlong>(value);
  return true;
}

ListOptions parseOptions(const HTuple& options, const char* op) {
  ListOptions parsed;
  for (Hlong i = 0; i < options.Length(); ++i) {
    if (options[i].Type() != eElementTypeString) fail(op, 1202);
    const std::string option = options[i].S().str();
    if (option == "files") {
      parsed.files = true;
    } else if (option == "directories") {
      parsed.directories = true;
    } else if (option == "recursive") {
      parsed.recursive = true;
    } else if (option == "follow_links") {
      parsed.followLinks = true;
    } else if (!parseBound(option, "max_depth", &parsed.maxDepth) &&
               !parseBound(option, "max_files", &parsed.maxFiles)) {
      fail(op, 1302);
    }
  }
  if (!parsed.files && !parsed.directories) parsed.files = parsed.directories = true;
  return parsed;
}

class Lister {
 public:
  explicit Lister(const ListOptions& options) : options_(options) {}

  void listRoot(const fs::path& folder, const std::string& prefix) { list(folder, prefix, 1); }

  const HTuple& result() const { return result_; }

 private:
  // `prefix` is how the caller names `folder`, with its separator; depth 1 is the listed
  // folder's own entries.
  void list(const fs::path& folder, const std::string& prefix, Hlong depth) {
    std::error_code error;
    // A link may lead back to a folder being listed; listing it again would never end.
    const std::string canonical = fs::canonical(folder, error).u8string();
    if (error || !ancestors_.insert(canonical).second) return;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) {
                return a.path().filename() < b.path().filename();
              });
    for (const fs::directory_entry& entry : entries) {
      if (full()) break;
      const std::string name = prefix + entry.path().filename().u8string();
      const bool link = entry.is_symlink(error);
      if (entry.is_directory(error)) {
        if (options_.directories) result_.Append(HTuple((name + kSeparator).c_str()));
        if (descends(depth) && (!link || options_.followLinks)) {
          list(entry.path(), name + kSeparator, depth + 1);
        }
      } else if (entry.is_regular_file(error) || entry.exists(error)) {
        if (options_.files) result_.Append(HTuple(name.c_str()));
      }
    }
    ancestors_.erase(canonical);
  }

  bool full() const { return options_.maxFiles >= 0 && result_.Length() >= options_.maxFiles; }
  bool descends(Hlong depth) const {
    return options_.recursive && (options_.maxDepth < 0 || depth < options_.maxDepth);
  }

  ListOptions options_;
  HTuple result_;
  std::set<std::string> ancestors_;  // the folders being listed, canonical
};

}  // namespace

}  // namespace Standin

using namespace Standin;

void ListFiles(const HTuple& Directory, const HTuple& Options, HTuple* Files) {
  ApiScope scope("ListFiles");
  const char* op = "list_files";
  const std::string directory = oneString(Directory, op, 1);
  const ListOptions options = parseOptions(Options, op);
  const fs::path folder = fs::u8path(directory.empty() ? "." : directory);
  std::error_code error;
  if (!fs::is_directory(folder, error)) fail(op, H_ERR_FILE_NOT_FOUND);
  std::string prefix = directory;
  if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\') prefix += kSeparator;
  Lister lister(options);
  lister.listRoot(folder, prefix);
  setOutput(Files, lister.result());
}

void FileExists(const HTuple& FileName, HTuple* FileExists) {
  ApiScope scope("FileExists");
  const std::string name = oneString(FileName, "file_exists", 1);
  std::error_code error;
  const bool exists = !name.empty() && fs::exists(fs::u8path(name), error);
  setOutput(FileExists, HTuple(Hlong{exists ? 1 : 0}));
}

}  // namespace HalconCpp
