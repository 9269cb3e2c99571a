// The vendor's virtual 'File' image acquisition interface: open_framegrabber lists the
// images a camera type names, each grab reads the next one from disk, shaped by the open
// parameters (subsampling, image part, colour space). With QUORVEX_ACQUISITION_REPLAY set,
// every other interface is the File interface over what the variable names, so that programs
// written for cameras run where there is none.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "codecs/image_file.h"
#include "codecs/image_search.h"
#include "common/handle_table.h"
#include "core/params.h"
#include "halconcpp/HOperatorsAcquisition.h"
#include "operators/acquisition/acquisition_device.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace fs = std::filesystem;

namespace {

const bool acquisitionRegistered = [] {
  registerErrorText(H_ERR_ACQ_INTERFACE, "Image acquisition: interface not found");
  registerErrorText(H_ERR_ACQ_GRAB, "Image acquisition: grabbing an image failed");
  registerErrorText(H_ERR_ACQ_HANDLE, "Image acquisition: handle not valid (closed?)");
  registerErrorText(H_ERR_ACQ_PARAM, "Image acquisition: unsupported parameter");
  registerErrorText(H_ERR_ACQ_VALUE, "Image acquisition: invalid parameter value");
  return true;
}();

// The open devices behind their handles; an unknown handle is 5312 in the operation.
class GrabberTable {
 public:
  Hlong add(FileGrabber grabber) { return table_.add(std::move(grabber)); }
  void remove(Hlong handle, const char* op) {
    if (!table_.remove(handle)) fail(op, H_ERR_ACQ_HANDLE);
  }
  void clear() { table_.clear(); }
  // Runs fn(FileGrabber&) under the table's lock.
  template <typename Fn>
  decltype(auto) with(Hlong handle, const char* op, Fn&& fn) {
    return table_.with(
        handle, [op] { fail(op, H_ERR_ACQ_HANDLE); }, std::forward<Fn>(fn));
  }

 private:
  quorvex::common::HandleTable<Hlong, FileGrabber> table_{1};
};

GrabberTable& grabbers() {
  static GrabberTable* table = new GrabberTable;  // outlives every static destructor
  return *table;
}

Hlong grabberHandleOf(const HTuple& acqHandle, const char* op) {
  return oneInteger(acqHandle, op, 1);
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string trimmed(const std::string& line) {
  const auto first = line.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string> sequenceImages(const std::string& sequenceFile, const char* op) {
  std::ifstream in(fs::u8path(sequenceFile));
  if (!in) fail(op, H_ERR_FILE_NOT_FOUND);
  const fs::path folder = fs::u8path(sequenceFile).parent_path();
  std::vector<std::string> images;
  std::string line;
  while (std::getline(in, line)) {
    const std::string entry = trimmed(line);
    if (entry.empty()) continue;
    const fs::path path = fs::u8path(entry);
    std::string found;
    if (!path.is_absolute() && !path.has_root_directory() && !folder.empty()) {
      found = findImageFile((folder / path).u8string());
    }
    if (found.empty()) found = findImageFile(entry);
    if (found.empty()) fail(op, H_ERR_FILE_NOT_FOUND);
    images.push_back(found);
  }
  return images;
}

std::vector<std::string> folderImages(const std::string& folder) {
  std::vector<std::string> images;
  std::error_code error;
  for (fs::directory_iterator it(fs::u8path(folder), error), end; !error && it != end;
       it.increment(error)) {
    std::error_code kindError;
    if (it->is_regular_file(kindError) && hasImageExtension(it->path().u8string())) {
      images.push_back(it->path().u8string());
    }
  }
  std::sort(images.begin(), images.end());
  return images;
}

// The files a camera type names, in grab order; raises 5200 when it names none.
std::vector<std::string> imagesOfCameraType(const std::string& cameraType, const char* op) {
  const std::string lower = lowerCase(cameraType);
  std::vector<std::string> images;
  if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".seq") == 0) {
    const std::string sequenceFile = findImageFile(cameraType);
    if (sequenceFile.empty()) fail(op, H_ERR_FILE_NOT_FOUND);
    images = sequenceImages(sequenceFile, op);
  } else if (const std::string folder = findImageFolder(cameraType); !folder.empty()) {
    images = folderImages(folder);
  } else if (const std::string file = findImageFile(cameraType); !file.empty()) {
    images.push_back(file);
  }
  if (images.empty()) fail(op, H_ERR_FILE_NOT_FOUND);
  return images;
}

std::string stringAt(const HTuple& value, const char* op, int n) {
  return oneString(value, op, n);
}

}  // namespace

}  // namespace Standin

using namespace Standin;

void OpenFramegrabber(const HTuple& Name, const HTuple& HorizontalResolution,
                      const HTuple& VerticalResolution, const HTuple& ImageWidth,
                      const HTuple& ImageHeight, const HTuple& StartRow, const HTuple& StartColumn,
                      const HTuple& Field, const HTuple& BitsPerChannel, const HTuple& ColorSpace,
                      const HTuple& Generic, const HTuple& ExternalTrigger,
                      const HTuple& CameraType, const HTuple& Device, const HTuple& Port,
                      const HTuple& LineIn, HTuple* AcqHandle) {
  ApiScope scope("OpenFramegrabber");
  const char* op = "open_framegrabber";
  FileGrabber grabber;
  grabber.interfaceName = stringAt(Name, op, 1);
  const bool replayed = isReplayed(grabber);
  const std::string replay = replayed ? replaySource() : std::string();
  if (replayed && replay.empty()) fail(op, H_ERR_ACQ_INTERFACE);
  grabber.horizontalResolution = oneInteger(HorizontalResolution, op, 2);
  grabber.verticalResolution = oneInteger(VerticalResolution, op, 3);
  // Camera interfaces take 0 for the sensor's full resolution.
  if (replayed && grabber.horizontalResolution == 0) grabber.horizontalResolution = 1;
  if (replayed && grabber.verticalResolution == 0) grabber.verticalResolution = 1;
  if (!isSubsampling(grabber.horizontalResolution)) fail(op, 1302);
  if (!isSubsampling(grabber.verticalResolution)) fail(op, 1303);
  grabber.imageWidth = oneInteger(ImageWidth, op, 4);
  grabber.imageHeight = oneInteger(ImageHeight, op, 5);
  grabber.startRow = oneInteger(StartRow, op, 6);
  grabber.startColumn = oneInteger(StartColumn, op, 7);
  const Hlong part[] = {grabber.imageWidth, grabber.imageHeight, grabber.startRow,
                        grabber.startColumn};
  for (int i = 0; i < 4; ++i) {
    if (part[i] < 0 || part[i] > kMaxImageSide) fail(op, 1304 + i);
  }
  grabber.field = stringAt(Field, op, 8);
  grabber.bitsPerChannel = oneInteger(BitsPerChannel, op, 9);
  if (grabber.bitsPerChannel != -1 && grabber.bitsPerChannel != 8) fail(op, 1309);
  grabber.colorSpace = stringAt(ColorSpace, op, 10);
  if (!isColorSpace(grabber.colorSpace)) fail(op, 1310);
  grabber.generic = Generic;
  grabber.externalTrigger = stringAt(ExternalTrigger, op, 12);
  if (grabber.externalTrigger != "false" && !(replayed && grabber.externalTrigger == "true")) {
    fail(op, 1312);
  }
  grabber.cameraType = stringAt(CameraType, op, 13);
  grabber.device = stringAt(Device, op, 14);
  requireLength(Port, 1, op, 15);
  grabber.port = Port;
  grabber.lineIn = oneInteger(LineIn, op, 16);

  grabber.files = imagesOfCameraType(replayed ? replay : grabber.cameraType, op);
  // The first image must be readable and fit the part, as a camera must deliver at all.
  const ImagePtr first = shapeGrabbed(grabber, readImageFile(grabber.files.front(), op), op);
  grabber.width = first->width;
  grabber.height = first->height;
  setOutput(AcqHandle, HTuple(grabbers().add(std::move(grabber))));
}

namespace {

HObject grabNext(const HTuple& AcqHandle, const char* op) {
  FileGrabber settings;
  std::string file;
  const Hlong handle = grabberHandleOf(AcqHandle, op);
  grabbers().with(handle, op, [&](FileGrabber& grabber) {
    if (grabber.exhausted) fail(op, H_ERR_ACQ_GRAB);
    file = grabber.files[grabber.next];
    if (++grabber.next == grabber.files.size()) {
      grabber.next = 0;
      grabber.exhausted = !grabber.loop;
    }
    settings = grabber;
  });
  // Reading the file happens outside the table's lock, so that other grabbers go on.
  const ImagePtr image = shapeGrabbed(settings, readImageFile(file, op), op);
  grabbers().with(handle, op, [&](FileGrabber& grabber) {
    grabber.width = image->width;
    grabber.height = image->height;
  });
  return objectOf({image});
}

// An interface without regions, contours or control data gives them empty: no object and
// no value.
void grabData(HObject* Image, HObject* Region, HObject* Contours, const HTuple& AcqHandle,
              HTuple* Data, const char* op) {
  HObject image = grabNext(AcqHandle, op);
  setOutput(Image, std::move(image));
  setOutput(Region, HObject(std::vector<HObject::Item>{}));
  setOutput(Contours, HObject(std::vector<HObject::Item>{}));
  setOutput(Data, HTuple());
}

}  // namespace

void GrabImage(HObject* Image, const HTuple& AcqHandle) {
  ApiScope scope("GrabImage");
  setOutput(Image, grabNext(AcqHandle, "grab_image"));
}

void GrabData(HObject* Image, HObject* Region, HObject* Contours, const HTuple& AcqHandle,
              HTuple* Data) {
  ApiScope scope("GrabData");
  grabData(Image, Region, Contours, AcqHandle, Data, "grab_data");
}

void GrabDataAsync(HObject* Image, HObject* Region, HObject* Contours, const HTuple& AcqHandle,
                   const HTuple& MaxDelay, HTuple* Data) {
  ApiScope scope("GrabDataAsync");
  const char* op = "grab_data_async";
  oneNumber(MaxDelay, op, 2);
  grabData(Image, Region, Contours, AcqHandle, Data, op);
}

void GrabImageStart(const HTuple& AcqHandle, const HTuple& MaxDelay) {
  ApiScope scope("GrabImageStart");
  const char* op = "grab_image_start";
  oneNumber(MaxDelay, op, 2);
  grabbers().with(grabberHandleOf(AcqHandle, op), op, [](FileGrabber&) {});
}

void GrabImageAsync(HObject* Image, const HTuple& AcqHandle, const HTuple& MaxDelay) {
  ApiScope scope("GrabImageAsync");
  const char* op = "grab_image_async";
  oneNumber(MaxDelay, op, 2);
  setOutput(Image, grabNext(AcqHandle, op));
}

void SetFramegrabberParam(const HTuple& AcqHandle, const HTuple& Param, const HTuple& Value) {
  ApiScope scope("SetFramegrabberParam");
  const char* op = "set_framegrabber_param";
  const std::string name = oneString(Param, op, 2);
  grabbers().with(grabberHandleOf(AcqHandle, op), op,
                  [&](FileGrabber& grabber) { setGrabberParam(grabber, name, Value, op); });
}

void GetFramegrabberParam(const HTuple& AcqHandle, const HTuple& Param, HTuple* Value) {
  ApiScope scope("GetFramegrabberParam");
  const char* op = "get_framegrabber_param";
  const std::string name = oneString(Param, op, 2);
  HTuple result = grabbers().with(grabberHandleOf(AcqHandle, op), op, [&](FileGrabber& grabber) {
    return grabberParam(grabber, name, op);
  });
  setOutput(Value, std::move(result));
}

void InfoFramegrabber(const HTuple& Name, const HTuple& Query, HTuple* Information,
                      HTuple* ValueList) {
  ApiScope scope("InfoFramegrabber");
  const char* op = "info_framegrabber";
  if (oneString(Name, op, 1) != "File" && replaySource().empty()) fail(op, H_ERR_ACQ_INTERFACE);
  HTuple information, values;
  interfaceInfo(oneString(Query, op, 2), &information, &values, op);
  setOutput(Information, std::move(information));
  setOutput(ValueList, std::move(values));
}

void CloseFramegrabber(const HTuple& AcqHandle) {
  ApiScope scope("CloseFramegrabber");
  const char* op = "close_framegrabber";
  grabbers().remove(grabberHandleOf(AcqHandle, op), op);
}

void CloseAllFramegrabbers() {
  ApiScope scope("CloseAllFramegrabbers");
  grabbers().clear();
}

}  // namespace HalconCpp
