// Where read_image and the file acquisition interface find an image file: a name as given,
// then with each of the vendor's image extensions, in the current folder and then in each
// folder of the system parameter 'image_dir'.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_SEARCH_H
#define QUORVEX_STANDINS_HALCON_IMAGE_SEARCH_H

#include <string>
#include <vector>

namespace HalconCpp {
namespace Standin {

// The vendor's image extensions, without the dot, in the order it tries them.
const std::vector<std::string>& imageExtensions();
// Whether a file name ends with one of them (any letter case).
bool hasImageExtension(const std::string& fileName);

// The 'image_dir' setting: its default comes from HALCONIMAGES, else HALCONROOT/images.
std::string imageDirSetting();
void setImageDirSetting(const std::string& folders);
// The folders of the setting, split at ';' on Windows and ':' elsewhere.
std::vector<std::string> imageFolders();

// A relative name is looked up in the current folder, then in each image folder; an
// absolute one only where it points. Gives the first regular file found, or "".
std::string findImageFile(const std::string& name);
// The same for a folder.
std::string findImageFolder(const std::string& name);

// The whole file; false when it cannot be read.
bool readWholeFile(const std::string& fileName, std::string* contents);

}  // namespace Standin
}  // namespace HalconCpp

#endif
