#include "file_patterns.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <utility>

#if defined(_WIN32)
#include "name_match.h"
#else
#include <fnmatch.h>
#endif

namespace quorvex::run {
namespace {

namespace fs = std::filesystem;

bool isWildcard(const std::string& component) {
  return component.find_first_of("*?[") != std::string::npos;
}

bool hidden(const fs::path& name) {
  const std::string text = name.string();
  return !text.empty() && text[0] == '.';
}

// fnmatch where there is one, so that a pattern means what it means to the system's shell
// tools. Windows' own matcher knows no bracket expressions, and its file names
// ignore case; both sides go through UTF-8, as the command line's text reaches a path.
bool nameMatches(const std::string& component, const fs::path& name) {
#if defined(_WIN32)
  return wildcardMatches(fs::path(component).u8string(), name.u8string(), LetterCase::kIgnored);
#else
  return fnmatch(component.c_str(), name.c_str(), FNM_PERIOD) == 0;
#endif
}

bool isSeparator(char c) {
#if defined(_WIN32)
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

// The pattern's folder without wildcards, taken as written (a root, a drive, "../" all stay
// as they are), and the components after it.
std::pair<fs::path, std::vector<std::string>> splitPattern(const std::string& pattern) {
  std::size_t prefixEnd = 0, start = 0;
  std::vector<std::string> parts;
  for (std::size_t i = 0; i <= pattern.size(); ++i) {
    if (i < pattern.size() && !isSeparator(pattern[i])) continue;
    const std::string part = pattern.substr(start, i - start);
    if (parts.empty() && !isWildcard(part) && i < pattern.size()) {
      prefixEnd = i + 1;
    } else if (!part.empty() || i == pattern.size()) {
      parts.push_back(part);
    }
    start = i + 1;
  }
  return {fs::path(pattern.substr(0, prefixEnd)), parts};
}

bool isFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// `base` and every folder below it that is not hidden.
std::vector<fs::path> foldersBelow(const fs::path& base) {
  std::vector<fs::path> folders{base};
  std::error_code error;
  fs::recursive_directory_iterator walk(base.empty() ? fs::path(".") : base, error), end;
  for (; !error && walk != end; walk.increment(error)) {
    if (!walk->is_directory(error)) continue;
    if (hidden(walk->path().filename())) {
      walk.disable_recursion_pending();
      continue;
    }
    folders.push_back(base.empty() ? fs::relative(walk->path(), ".", error) : walk->path());
  }
  return folders;
}

// Extends `base` by the pattern's components from `next` on, adding complete matches.
void expand(const fs::path& base, const std::vector<std::string>& parts, std::size_t next,
            std::vector<std::string>& files) {
  std::error_code error;
  if (next == parts.size()) {
    if (fs::is_regular_file(base, error)) files.push_back(base.string());
    return;
  }
  const std::string& part = parts[next];
  const bool last = next + 1 == parts.size();
  if (part == "**") {
    for (const fs::path& folder : foldersBelow(base)) {
      if (last) {
        expand(folder, {"*"}, 0, files);  // a final ** stands for every file below
      } else {
        expand(folder, parts, next + 1, files);
      }
    }
    return;
  }
  if (!isWildcard(part)) {
    if (last || isFolder(base / part)) expand(base / part, parts, next + 1, files);
    return;
  }
  for (fs::directory_iterator entries(base.empty() ? fs::path(".") : base, error), end;
       !error && entries != end; entries.increment(error)) {
    const fs::path name = entries->path().filename();
    if (!nameMatches(part, name)) continue;
    if (last || entries->is_directory(error)) expand(base / name, parts, next + 1, files);
  }
}

std::vector<std::string> listedFiles(const std::string& list) {
  std::ifstream in(list);
  if (!in) throw std::invalid_argument("cannot read the list of files " + list);
  const fs::path folder = fs::path(list).parent_path();
  std::vector<std::string> files;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    const fs::path path(line);
    files.push_back(path.is_absolute() ? path.string() : (folder / path).string());
  }
  return files;
}

}  // namespace

std::vector<std::string> batchFiles(const std::string& patternOrList) {
  if (!patternOrList.empty() && patternOrList[0] == '@')
    return listedFiles(patternOrList.substr(1));
  std::vector<std::string> files;
  const auto [folder, parts] = splitPattern(patternOrList);
  expand(folder, parts, 0, files);
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  return files;
}

}  // namespace quorvex::run
