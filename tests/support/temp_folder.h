// A fresh, empty folder under the system's temporary folder, on POSIX and on Windows alike
// (mkdtemp is POSIX only): a name that exists already is never taken over, and the folder is
// its owner's alone (0700). Returns an empty string when no folder could be made.
#ifndef QUORVEX_TESTS_SUPPORT_TEMP_FOLDER_H
#define QUORVEX_TESTS_SUPPORT_TEMP_FOLDER_H

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quorvex::test {

inline std::string makeTempFolder(const std::string& prefix) {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return {};
  std::random_device seed;
  std::mt19937_64 random((static_cast<unsigned long long>(seed()) << 32) ^ seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path path = base / (prefix + std::to_string(random() % 1000000000));
    if (std::filesystem::create_directory(path, error)) {
      std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::replace, error);
      return path.generic_string();
    }
  }
  return {};
}

// A folder of this process's own, made on first use and removed with everything in it at
// exit: a fixed name in the shared temporary folder could be another user's file or link.
inline const std::filesystem::path& processScratchFolder(const std::string& prefix) {
  static const struct Folder {
    explicit Folder(const std::string& prefix) : path(makeTempFolder(prefix)) {
      if (path.empty()) throw std::runtime_error("cannot make a temporary folder");
    }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
  } folder(prefix);
  return folder.path;
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string contentsOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace quorvex::test

#endif
