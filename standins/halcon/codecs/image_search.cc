#include "codecs/image_search.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/annotated_mutex.h"

namespace HalconCpp {
namespace Standin {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kFolderListSeparator = ';';
#else
constexpr char kFolderListSeparator = ':';
#endif

std::string defaultImageDir() {
  if (const char* images = std::getenv("HALCONIMAGES")) return images;
  if (const char* root = std::getenv("HALCONROOT")) return std::string(root) + "/images";
  return "";
}

struct ImageDir {
  quorvex::common::Mutex mutex;
  std::string folders QUORVEX_GUARDED_BY(mutex) = defaultImageDir();
};

ImageDir& imageDir() {
  static ImageDir* instance = new ImageDir;  // outlives every static destructor
  return *instance;
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool isSearchedName(const fs::path& path) {
  return !path.empty() && !path.is_absolute() && !path.has_root_directory();
}

template <typename Accept>
std::string findInImageFolders(const std::string& name, const std::vector<std::string>& variants,
                               Accept accept) {
  std::vector<fs::path> folders{fs::path()};
  if (isSearchedName(fs::u8path(name))) {
    for (const std::string& folder : imageFolders()) folders.push_back(fs::u8path(folder));
  }
  for (const fs::path& folder : folders) {
    for (const std::string& variant : variants) {
      const fs::path candidate =
          folder.empty() ? fs::u8path(variant) : folder / fs::u8path(variant);
      std::error_code error;
      if (accept(candidate, error)) return candidate.u8string();
    }
  }
  return "";
}

}  // namespace

const std::vector<std::string>& imageExtensions() {
  static const std::vector<std::string> extensions{"ima",  "tif", "tiff", "gif", "bmp", "jpg",
                                                   "jpeg", "jp2", "png",  "pcx", "ras", "xwd",
                                                   "pbm",  "pnm", "pgm",  "ppm"};
  return extensions;
}

bool hasImageExtension(const std::string& fileName) {
  const std::string extension = lowerCase(fs::u8path(fileName).extension().u8string());
  if (extension.size() < 2) return false;
  const auto& known = imageExtensions();
  return std::find(known.begin(), known.end(), extension.substr(1)) != known.end();
}

std::string imageDirSetting() {
  quorvex::common::Lock lock(imageDir().mutex);
  return imageDir().folders;
}

void setImageDirSetting(const std::string& folders) {
  quorvex::common::Lock lock(imageDir().mutex);
  imageDir().folders = folders;
}

std::vector<std::string> imageFolders() {
  const std::string setting = imageDirSetting();
  std::vector<std::string> folders;
  std::size_t start = 0;
  while (start <= setting.size()) {
    std::size_t end = setting.find(kFolderListSeparator, start);
    if (end == std::string::npos) end = setting.size();
    if (end > start) folders.push_back(setting.substr(start, end - start));
    start = end + 1;
  }
  return folders;
}

std::string findImageFile(const std::string& name) {
  if (name.empty()) return "";
  std::vector<std::string> variants{name};
  for (const std::string& extension : imageExtensions()) variants.push_back(name + "." + extension);
  return findInImageFolders(name, variants, [](const fs::path& path, std::error_code& error) {
    return fs::is_regular_file(path, error);
  });
}

std::string findImageFolder(const std::string& name) {
  if (name.empty()) return "";
  return findInImageFolders(name, {name}, [](const fs::path& path, std::error_code& error) {
    return fs::is_directory(path, error);
  });
}

bool readWholeFile(const std::string& fileName, std::string* contents) {
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) return false;
  char buffer[65536];
  std::size_t got;
  contents->clear();
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) contents->append(buffer, got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

}  // namespace Standin
}  // namespace HalconCpp
