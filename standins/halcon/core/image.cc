// The image object itself: planes, the one place where images are made, access to the
// images of an iconic parameter, and the HImage class.
#include "core/image.h"

#include <new>
#include <utility>

#include "common/annotated_mutex.h"
#include "core/empty_results.h"
#include "core/params.h"
#include "halconcpp/HImage.h"
#include "halconcpp/HOperatorsSystem.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

Plane::Plane(std::int32_t width, std::int32_t height, const char* op, PixelType type)
    : reservation_(static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
                       elementSize(type),
                   op),
      type_(type) {
  const std::uint64_t bytes =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * elementSize(type);
  // A 32-bit process cannot address a complex 32768 x 32768 image even under a raised bound.
  if (bytes != static_cast<std::size_t>(bytes)) fail(op, H_ERR_NO_MEMORY);
  try {
    owned_.assign(static_cast<std::size_t>(bytes), 0);
  } catch (const std::bad_alloc&) {
    fail(op, H_ERR_NO_MEMORY);
  } catch (const std::length_error&) {
    fail(op, H_ERR_NO_MEMORY);
  }
  data_ = owned_.data();
}

Plane::Plane(std::uint8_t* external, ClearProc clear, PixelType type)
    : data_(external), clear_(clear), type_(type) {}

Plane::~Plane() {
  if (clear_) clear_(data_);
}

namespace {

// Older vendor versions raise the default image size to the largest image made so far;
// code that restores "width"/"height" afterwards relies on seeing that.
void raiseSystemSize(std::int32_t width, std::int32_t height) {
  // Serialises the read-compare-write of the two parameters between creating threads.
  static quorvex::common::Mutex* mutex =
      new quorvex::common::Mutex;  // outlives every static destructor
  quorvex::common::Lock lock(*mutex);
  InsideScope inside;
  const std::pair<const char*, std::int32_t> sizes[] = {{"width", width}, {"height", height}};
  for (const auto& [name, size] : sizes) {
    HTuple current;
    GetSystem(name, &current);
    if (current.Length() == 1 && current[0].Type() == eElementTypeLong && current[0].L() >= size) {
      continue;
    }
    SetSystem(name, HTuple(static_cast<Hlong>(size)));
  }
}

}  // namespace

ImagePtr makeImage(std::int32_t width, std::int32_t height, std::vector<PlanePtr> channels,
                   std::shared_ptr<const Runs> domain) {
  auto image = std::make_shared<ImageObject>();
  image->width = width;
  image->height = height;
  image->channels = std::move(channels);
  image->domain = domain ? std::move(domain)
                         : std::make_shared<const Runs>(rectangleRuns(0, 0, height - 1, width - 1));
  if (width > 0 && height > 0) raiseSystemSize(width, height);
  return image;
}

ImagePtr newImage(std::int32_t width, std::int32_t height, std::size_t channels, const char* op,
                  PixelType type) {
  std::vector<PlanePtr> planes;
  for (std::size_t i = 0; i < channels; ++i) {
    planes.push_back(std::make_shared<Plane>(width, height, op, type));
  }
  return makeImage(width, height, std::move(planes));
}

std::vector<ImagePtr> imagesOf(const HObject& object, const char* op, int n, PixelTypes types) {
  objectCount(object, op, n);
  checkNoObjects(object, op, n);
  std::vector<ImagePtr> images;
  for (const HObject::Item& item : object.Items()) {
    auto image = std::dynamic_pointer_cast<ImageObject>(item);
    if (!image) fail(op, 1100 + n);
    if (!types.has(image->type())) fail(op, H_ERR_WIT);
    images.push_back(std::move(image));
  }
  return images;
}

ImagePtr oneImage(const HObject& object, const char* op, int n, PixelTypes types) {
  if (objectCount(object, op, n) != 1) fail(op, 1500 + n);
  return imagesOf(object, op, n, types).front();
}

HObject objectOf(const std::vector<std::shared_ptr<IconicObject>>& items) {
  return HObject(items);
}

}  // namespace Standin

HImage::HImage() = default;

HImage::HImage(const HObject& object) : HObject(object) {
  Standin::ApiScope scope("HImage");
  Standin::oneImage(object, "HImage", 1, Standin::PixelTypes::all());
}

HTuple HImage::Width() const {
  Standin::ApiScope scope("GetImageSize");
  return HTuple(static_cast<Hlong>(
      Standin::oneImage(*this, "get_image_size", 1, Standin::PixelTypes::all())->width));
}

HTuple HImage::Height() const {
  Standin::ApiScope scope("GetImageSize");
  return HTuple(static_cast<Hlong>(
      Standin::oneImage(*this, "get_image_size", 1, Standin::PixelTypes::all())->height));
}

HTuple HImage::CountChannels() const {
  Standin::ApiScope scope("CountChannels");
  return HTuple(static_cast<Hlong>(
      Standin::oneImage(*this, "count_channels", 1, Standin::PixelTypes::all())->channels.size()));
}

}  // namespace HalconCpp
