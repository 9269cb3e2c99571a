#include "private_folder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorvex::run {
namespace {

std::runtime_error failure(const std::filesystem::path& base, const std::string& reason) {
  std::string name = base.string();
#if !defined(_WIN32)
  const char* variable = std::getenv("TMPDIR");
  if (name.empty() && variable) name = variable;
#endif
  return std::runtime_error("cannot make a private folder in the temporary folder " + name + ": " +
                            reason + " (TMPDIR names the temporary folder)");
}

}  // namespace

PrivateFolder::PrivateFolder() {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  if (error) throw failure(base, error.message());
#if defined(_WIN32)
  // Each user's temporary folder is their own on Windows (under their profile); a name that
  // exists already is never taken over, a fresh one is tried instead.
  std::random_device seed;
  std::mt19937_64 random((static_cast<unsigned long long>(seed()) << 32) ^ seed());
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path candidate = base / ("quorvex-run-" + std::to_string(random() % 1000000000));
    if (CreateDirectoryW(candidate.wstring().c_str(), nullptr)) {
      path_ = candidate.string();
    } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
      throw failure(base, "error " + std::to_string(GetLastError()));
    }
  }
  if (path_.empty()) throw failure(base, "no fresh name");
#else
  std::string pattern = (base / "quorvex-run-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) throw failure(base, std::strerror(errno));
  path_ = name.data();
  // mkdtemp made it, 0700; the check guards against a system whose mkdtemp does not.
  struct stat status {};
  if (lstat(path_.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
      status.st_uid != geteuid() || (status.st_mode & 077) != 0) {
    throw failure(base, path_ + " is not a folder of this user's alone");
  }
#endif
}

PrivateFolder::~PrivateFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace quorvex::run
