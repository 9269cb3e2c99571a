#include "operators/acquisition/acquisition_device.h"

#include <cstdlib>
#include <iterator>

#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

namespace {

const char* const kRevision = "11.0";
const char* const kColorSpaces[] = {"default", "gray", "rgb"};

// Parameters get_framegrabber_param knows, the settable ones first.
const char* const kSettable[] = {"color_space", "do_loop", "external_trigger", "grab_timeout",
                                 "volatile"};
const char* const kReadOnly[] = {"bits_per_channel",
                                 "camera_type",
                                 "device",
                                 "field",
                                 "generic",
                                 "horizontal_resolution",
                                 "image_height",
                                 "image_width",
                                 "line_in",
                                 "name",
                                 "port",
                                 "revision",
                                 "start_column",
                                 "start_row",
                                 "vertical_resolution"};

HTuple names(const char* const* begin, const char* const* end) {
  HTuple result;
  for (const char* const* name = begin; name != end; ++name) result.Append(HTuple(*name));
  return result;
}

bool isFileParameter(const std::string& name) {
  for (const char* known : kSettable) {
    if (name == known) return true;
  }
  for (const char* known : kReadOnly) {
    if (name == known) return true;
  }
  return false;
}

std::string oneValueString(const HTuple& value, const char* op) {
  if (value.Length() != 1 || value[0].Type() != eElementTypeString) fail(op, H_ERR_ACQ_VALUE);
  return value[0].S().str();
}

std::uint8_t greyOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<std::uint8_t>((299 * red + 587 * green + 114 * blue + 500) / 1000);
}

}  // namespace

std::string replaySource() {
  const char* source = std::getenv("QUORVEX_ACQUISITION_REPLAY");
  return source ? source : "";
}

bool isReplayed(const FileGrabber& grabber) {
  return grabber.interfaceName != "File";
}

bool isSubsampling(Hlong resolution) {
  return resolution == 1 || resolution == 2 || resolution == 4;
}

bool isColorSpace(const std::string& colorSpace) {
  for (const char* known : kColorSpaces) {
    if (colorSpace == known) return true;
  }
  return false;
}

ImagePtr shapeGrabbed(const FileGrabber& grabber, const ImagePtr& image, const char* op) {
  const Hlong stepX = grabber.horizontalResolution;
  const Hlong stepY = grabber.verticalResolution;
  const Hlong fullWidth = (image->width + stepX - 1) / stepX;
  const Hlong fullHeight = (image->height + stepY - 1) / stepY;
  const Hlong width = grabber.imageWidth > 0 ? grabber.imageWidth : fullWidth - grabber.startColumn;
  const Hlong height =
      grabber.imageHeight > 0 ? grabber.imageHeight : fullHeight - grabber.startRow;
  if (width < 1 || height < 1 || grabber.startColumn + width > fullWidth ||
      grabber.startRow + height > fullHeight) {
    fail(op, H_ERR_ACQ_VALUE);
  }
  const std::size_t sourceChannels = image->channels.size();
  std::size_t channels = sourceChannels;
  if (grabber.colorSpace == "gray") channels = 1;
  if (grabber.colorSpace == "rgb") channels = 3;
  const bool unchanged = stepX == 1 && stepY == 1 && width == image->width &&
                         height == image->height && channels == sourceChannels;
  if (unchanged) return image;

  ImagePtr shaped =
      newImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), channels, op);
  for (Hlong y = 0; y < height; ++y) {
    for (Hlong x = 0; x < width; ++x) {
      const std::size_t from =
          image->offset(static_cast<std::int32_t>((grabber.startRow + y) * stepY),
                        static_cast<std::int32_t>((grabber.startColumn + x) * stepX));
      const std::size_t to =
          shaped->offset(static_cast<std::int32_t>(y), static_cast<std::int32_t>(x));
      for (std::size_t c = 0; c < channels; ++c) {
        std::uint8_t value;
        if (channels == 1 && sourceChannels >= 3) {
          value = greyOf(image->pixels(0)[from], image->pixels(1)[from], image->pixels(2)[from]);
        } else {
          value = image->pixels(c < sourceChannels ? c : 0)[from];
        }
        shaped->pixels(c)[to] = value;
      }
    }
  }
  return shaped;
}

void setGrabberParam(FileGrabber& grabber, const std::string& name, const HTuple& value,
                     const char* op) {
  if (name == "do_loop") {
    const std::string text = oneValueString(value, op);
    if (text != "true" && text != "false") fail(op, H_ERR_ACQ_VALUE);
    grabber.loop = text == "true";
    // Looping again starts over from the first image.
    if (grabber.loop && grabber.exhausted) grabber.exhausted = false;
  } else if (name == "color_space") {
    const std::string text = oneValueString(value, op);
    if (!isColorSpace(text)) fail(op, H_ERR_ACQ_VALUE);
    grabber.colorSpace = text;
  } else if (name == "external_trigger") {
    const std::string text = oneValueString(value, op);
    // A replayed camera's trigger fires at once: every image is at hand.
    if (text != "false" && !(isReplayed(grabber) && text == "true")) fail(op, H_ERR_ACQ_VALUE);
    grabber.externalTrigger = text;
  } else if (name == "volatile") {
    const std::string text = oneValueString(value, op);
    if (text != "enable" && text != "disable") fail(op, H_ERR_ACQ_VALUE);
    grabber.volatileMode = text;
  } else if (name == "grab_timeout") {
    if (value.Length() != 1 || value[0].Type() != eElementTypeLong || value[0].L() < -1) {
      fail(op, H_ERR_ACQ_VALUE);
    }
    grabber.grabTimeout = value[0].L();
  } else if (isReplayed(grabber) && !isFileParameter(name)) {
    grabber.cameraParams[name] = value;
  } else {
    fail(op, H_ERR_ACQ_PARAM);
  }
}

HTuple grabberParam(const FileGrabber& grabber, const std::string& name, const char* op) {
  if (const auto set = grabber.cameraParams.find(name); set != grabber.cameraParams.end()) {
    return set->second;
  }
  if (name == "name") return HTuple(grabber.interfaceName.c_str());
  if (name == "revision") return HTuple(kRevision);
  if (name == "image_width") return HTuple(Hlong{grabber.width});
  if (name == "image_height") return HTuple(Hlong{grabber.height});
  if (name == "do_loop") return HTuple(grabber.loop ? "true" : "false");
  if (name == "color_space") return HTuple(grabber.colorSpace.c_str());
  if (name == "external_trigger") return HTuple(grabber.externalTrigger.c_str());
  if (name == "grab_timeout") return HTuple(grabber.grabTimeout);
  if (name == "volatile") return HTuple(grabber.volatileMode.c_str());
  if (name == "horizontal_resolution") return HTuple(grabber.horizontalResolution);
  if (name == "vertical_resolution") return HTuple(grabber.verticalResolution);
  if (name == "start_row") return HTuple(grabber.startRow);
  if (name == "start_column") return HTuple(grabber.startColumn);
  if (name == "field") return HTuple(grabber.field.c_str());
  if (name == "bits_per_channel") return HTuple(grabber.bitsPerChannel);
  if (name == "generic") return grabber.generic;
  if (name == "camera_type") return HTuple(grabber.cameraType.c_str());
  if (name == "device") return HTuple(grabber.device.c_str());
  if (name == "port") return grabber.port;
  if (name == "line_in") return HTuple(grabber.lineIn);
  fail(op, H_ERR_ACQ_PARAM);
}

void interfaceInfo(const std::string& query, HTuple* information, HTuple* values, const char* op) {
  *values = HTuple();
  if (query == "general") {
    *information = HTuple(
        "File: reads images from disk as if a camera delivered them; the camera type names "
        "an image file, a folder of images or a sequence file (.seq)");
  } else if (query == "revision") {
    *information = HTuple(kRevision);
    *values = HTuple(kRevision);
  } else if (query == "parameters") {
    *information = HTuple("Parameters of the File interface");
    *values = names(std::begin(kSettable), std::end(kSettable));
    values->Append(names(std::begin(kReadOnly), std::end(kReadOnly)));
  } else if (query == "parameters_readonly") {
    *information = HTuple("Parameters that can only be read");
    *values = names(std::begin(kReadOnly), std::end(kReadOnly));
  } else if (query == "parameters_writeonly") {
    *information = HTuple("Parameters that can only be set");
  } else if (query == "defaults") {
    *information = HTuple("Default values of open_framegrabber");
    const HTuple defaults[] = {HTuple(Hlong{1}),  HTuple(Hlong{1}),  HTuple(Hlong{0}),
                               HTuple(Hlong{0}),  HTuple(Hlong{0}),  HTuple(Hlong{0}),
                               HTuple("default"), HTuple(Hlong{-1}), HTuple("default"),
                               HTuple(Hlong{-1}), HTuple("false"),   HTuple("default"),
                               HTuple("default"), HTuple(Hlong{-1}), HTuple(Hlong{-1})};
    for (const HTuple& value : defaults) values->Append(value);
  } else if (query == "camera_type") {
    *information = HTuple("An image file, a folder of images or a sequence file (.seq)");
  } else if (query == "color_space") {
    *information = HTuple("Colour spaces");
    *values = names(kColorSpaces, kColorSpaces + 3);
  } else if (query == "bits_per_channel") {
    *information = HTuple("Bits per channel");
    values->Append(HTuple(Hlong{-1})).Append(HTuple(Hlong{8}));
  } else if (query == "field" || query == "device" || query == "external_trigger") {
    *information = HTuple(("Values of " + query).c_str());
    *values = HTuple(query == "external_trigger" ? "false" : "default");
  } else if (query == "port" || query == "info_boards") {
    *information = HTuple(("Values of " + query).c_str());
  } else {
    fail(op, 1302);
  }
}

}  // namespace Standin
}  // namespace HalconCpp
