// The operators of the HALCON 11.0 chapter "Inspection / Variation Model": a model is made
// for one image size and pixel type, trained from good images (or given its ideal and
// variation images directly), prepared into threshold images, and compared with new images.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "core/serialized_items.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsVariation.h"
#include "operators/files/file_bytes.h"
#include "operators/inspection/variation_model.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

namespace fs = std::filesystem;

constexpr PixelTypes kModelTypes{PixelType::Byte, PixelType::Int2, PixelType::Uint2};

enum class Side { Both, Light, Dark, Split };

// AbsThreshold or VarThreshold at control position n: one value for both sides or
// [upper, lower], each at least 0.
void thresholdsOf(const HTuple& value, const char* op, int n, double out[2]) {
  const Hlong count = value.Length();
  if (count != 1 && count != 2) fail(op, 1400 + n);
  for (Hlong i = 0; i < count; ++i) {
    out[i] = numberAt(value, i, op, n);
    if (!(out[i] >= 0) || !std::isfinite(out[i])) fail(op, 1300 + n);
  }
  if (count == 1) out[1] = out[0];
}

// An image the model can take: one channel, the model's size and, unless `anyType`, its type.
void checkImage(const ImageObject& image, const VariationModel& model, const char* op,
                bool anyType = false) {
  if (image.channels.size() != 1) fail(op, H_ERR_CHANNEL_COUNT);
  if (!anyType && image.type() != model.type) fail(op, H_ERR_WIT);
  if (image.width != model.width || image.height != model.height) fail(op, H_ERR_SIZES_DIFFER);
}

std::vector<double> valuesOf(const ImageObject& image) {
  const PixelReader read = readerOf(image.type());
  std::vector<double> values(std::size_t(image.width) * std::size_t(image.height));
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = read(image.pixels(0), i);
  return values;
}

template <typename T>
HObject imageOf(const VariationModel& model, PixelType type, const std::vector<T>& values,
                const char* op) {
  auto plane = std::make_shared<Plane>(model.width, model.height, op, type);
  const PixelWriter write = writerOf(type);
  for (std::size_t i = 0; i < values.size(); ++i) write(plane->data(), i, double(values[i]));
  return objectOf({makeImage(model.width, model.height, {std::move(plane)})});
}

void addPixel(Runs& runs, std::int32_t row, std::int32_t col) {
  if (!runs.empty() && runs.back().row == row && runs.back().end + 1 == col) {
    runs.back().end = col;
  } else {
    runs.push_back({row, col, col});
  }
}

HObject compare(const HObject& input, const HTuple& handle, Side side, const char* op) {
  const std::vector<ImagePtr> images = imagesOf(input, op, 1, kModelTypes);
  std::vector<HObject::Item> items;
  withVariationModel(handle, op, [&](VariationModel& model) {
    if (!model.prepared) fail(op, 1301);
    for (const ImagePtr& image : images) checkImage(*image, model, op);
    for (const ImagePtr& image : images) {
      const PixelReader read = readerOf(image->type());
      Runs light, dark;
      for (const Run& run : clipRuns(*image->domain, image->height, image->width)) {
        for (std::int32_t col = run.begin; col <= run.end; ++col) {
          const std::size_t i = image->offset(run.row, col);
          const double g = read(image->pixels(0), i);
          if (g > double(model.high[i])) addPixel(light, run.row, col);
          if (g < double(model.low[i])) addPixel(dark, run.row, col);
        }
      }
      if (side == Side::Split) {
        items.push_back(makeRegion(std::move(light)));
        items.push_back(makeRegion(std::move(dark)));
      } else if (side == Side::Light) {
        items.push_back(makeRegion(std::move(light)));
      } else if (side == Side::Dark) {
        items.push_back(makeRegion(std::move(dark)));
      } else {
        light.insert(light.end(), dark.begin(), dark.end());
        items.push_back(makeRegion(normalizeRuns(std::move(light))));
      }
    }
  });
  return HObject(std::move(items));
}

std::string encoded(const HTuple& handle, const char* op) {
  std::string bytes;
  withVariationModel(handle, op,
                     [&](VariationModel& model) { bytes = encodeVariationModel(model); });
  return bytes;
}

VariationModel decoded(const std::string& bytes, const char* op) {
  return decodeVariationModel(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                              op);
}

std::string readFile(const std::string& name, const char* op) {
  if (name.empty()) fail(op, H_ERR_FILE_NOT_FOUND);
  return readRegularFile(std::filesystem::u8path(name), op).bytes;
}

}  // namespace

void CreateVariationModel(const HTuple& Width, const HTuple& Height, const HTuple& Type,
                          const HTuple& Mode, HTuple* ModelID) {
  ApiScope scope("CreateVariationModel");
  const char* op = "create_variation_model";
  VariationModel model;
  const Hlong width = oneInteger(Width, op, 1), height = oneInteger(Height, op, 2);
  if (width < 1 || width > kMaxImageSide) fail(op, 1301);
  if (height < 1 || height > kMaxImageSide) fail(op, 1302);
  model.width = static_cast<std::int32_t>(width);
  model.height = static_cast<std::int32_t>(height);
  if (!pixelTypeOf(oneString(Type, op, 3), &model.type) || !kModelTypes.has(model.type)) {
    fail(op, 1303);
  }
  const std::string mode = oneString(Mode, op, 4);
  if (mode == "standard") {
    model.mode = VariationMode::Standard;
  } else if (mode == "robust") {
    model.mode = VariationMode::Robust;
  } else if (mode == "direct") {
    model.mode = VariationMode::Direct;
  } else {
    fail(op, 1304);
  }
  setOutput(ModelID, HTuple(addVariationModel(std::move(model))));
}

void TrainVariationModel(const HObject& Images, const HTuple& ModelID) {
  ApiScope scope("TrainVariationModel");
  const char* op = "train_variation_model";
  const std::vector<ImagePtr> images = imagesOf(Images, op, 1, kModelTypes);
  withVariationModel(ModelID, op, [&](VariationModel& model) {
    // A direct model takes its images from prepare_direct_variation_model only.
    if (model.mode == VariationMode::Direct || model.trainingCleared) fail(op, 1301);
    for (const ImagePtr& image : images) checkImage(*image, model, op);
    for (const ImagePtr& image : images) {
      model.train(valuesOf(*image));
      model.account(op);
    }
  });
}

void PrepareVariationModel(const HTuple& ModelID, const HTuple& AbsThreshold,
                           const HTuple& VarThreshold) {
  ApiScope scope("PrepareVariationModel");
  const char* op = "prepare_variation_model";
  double absolute[2], relative[2];
  thresholdsOf(AbsThreshold, op, 2, absolute);
  thresholdsOf(VarThreshold, op, 3, relative);
  withVariationModel(ModelID, op, [&](VariationModel& model) {
    if (!model.hasImages) fail(op, 1301);
    model.prepare(absolute, relative);
    model.account(op);
  });
}

void PrepareDirectVariationModel(const HObject& RefImage, const HObject& VarImage,
                                 const HTuple& ModelID, const HTuple& AbsThreshold,
                                 const HTuple& VarThreshold) {
  ApiScope scope("PrepareDirectVariationModel");
  const char* op = "prepare_direct_variation_model";
  const ImagePtr ref = oneImage(RefImage, op, 1, kModelTypes);
  const ImagePtr var = oneImage(
      VarImage, op, 2, {PixelType::Byte, PixelType::Int2, PixelType::Uint2, PixelType::Real});
  double absolute[2], relative[2];
  thresholdsOf(AbsThreshold, op, 2, absolute);
  thresholdsOf(VarThreshold, op, 3, relative);
  withVariationModel(ModelID, op, [&](VariationModel& model) {
    if (model.mode != VariationMode::Direct) fail(op, 1301);
    checkImage(*ref, model, op);
    checkImage(*var, model, op, true);
    model.ideal = valuesOf(*ref);
    model.deviation = valuesOf(*var);
    model.hasImages = true;
    model.prepare(absolute, relative);
    model.account(op);
  });
}

void CompareVariationModel(const HObject& Image, HObject* Region, const HTuple& ModelID) {
  ApiScope scope("CompareVariationModel");
  setOutput(Region, compare(Image, ModelID, Side::Both, "compare_variation_model"));
}

void CompareExtVariationModel(const HObject& Image, HObject* Region, const HTuple& ModelID,
                              const HTuple& Mode) {
  ApiScope scope("CompareExtVariationModel");
  const char* op = "compare_ext_variation_model";
  const std::string mode = oneString(Mode, op, 2);
  Side side = Side::Both;
  if (mode == "absolute") {
    side = Side::Both;
  } else if (mode == "light") {
    side = Side::Light;
  } else if (mode == "dark") {
    side = Side::Dark;
  } else if (mode == "light_dark") {
    side = Side::Split;
  } else {
    fail(op, 1302);
  }
  setOutput(Region, compare(Image, ModelID, side, op));
}

void GetVariationModel(HObject* Image, HObject* VarImage, const HTuple& ModelID) {
  ApiScope scope("GetVariationModel");
  const char* op = "get_variation_model";
  HObject ideal, deviation;
  withVariationModel(ModelID, op, [&](VariationModel& model) {
    if (!model.hasImages) fail(op, 1301);
    ideal = imageOf(model, model.type, model.ideal, op);
    deviation = imageOf(model, PixelType::Real, model.deviation, op);
  });
  setOutput(Image, std::move(ideal));
  setOutput(VarImage, std::move(deviation));
}

void GetThreshImagesVariationModel(HObject* MinImage, HObject* MaxImage, const HTuple& ModelID) {
  ApiScope scope("GetThreshImagesVariationModel");
  const char* op = "get_thresh_images_variation_model";
  HObject low, high;
  withVariationModel(ModelID, op, [&](VariationModel& model) {
    if (!model.prepared) fail(op, 1301);
    low = imageOf(model, PixelType::Real, model.low, op);
    high = imageOf(model, PixelType::Real, model.high, op);
  });
  setOutput(MinImage, std::move(low));
  setOutput(MaxImage, std::move(high));
}

void ClearTrainDataVariationModel(const HTuple& ModelID) {
  ApiScope scope("ClearTrainDataVariationModel");
  const char* op = "clear_train_data_variation_model";
  withVariationModel(ModelID, op, [&](VariationModel& model) {
    model.squares = {};
    model.samples = {};
    model.trainingCleared = true;
    model.account(op);
  });
}

void ClearVariationModel(const HTuple& ModelID) {
  ApiScope scope("ClearVariationModel");
  clearVariationModel(ModelID, "clear_variation_model");
}

void ClearAllVariationModels() {
  ApiScope scope("ClearAllVariationModels");
  clearAllVariationModels();
}

void WriteVariationModel(const HTuple& ModelID, const HTuple& FileName) {
  ApiScope scope("WriteVariationModel");
  const char* op = "write_variation_model";
  const std::string name = oneString(FileName, op, 2);
  const std::string bytes = encoded(ModelID, op);
  std::error_code error;
  const fs::path path = fs::u8path(name);
  if (name.empty() || fs::is_directory(path, error)) fail(op, H_ERR_FILE_WRITE);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

void ReadVariationModel(const HTuple& FileName, HTuple* ModelID) {
  ApiScope scope("ReadVariationModel");
  const char* op = "read_variation_model";
  VariationModel model = decoded(readFile(oneString(FileName, op, 1), op), op);
  setOutput(ModelID, HTuple(addVariationModel(std::move(model))));
}

void SerializeVariationModel(const HTuple& ModelID, HTuple* SerializedItemHandle) {
  ApiScope scope("SerializeVariationModel");
  const char* op = "serialize_variation_model";
  const std::string bytes = encoded(ModelID, op);
  setOutput(SerializedItemHandle, HTuple(addSerializedItem(bytes, op)));
}

void DeserializeVariationModel(const HTuple& SerializedItemHandle, HTuple* ModelID) {
  ApiScope scope("DeserializeVariationModel");
  const char* op = "deserialize_variation_model";
  const std::string bytes = serializedItem(SerializedItemHandle, op, 1)->bytes;
  // An item of another kind (a serialized image) is a wrong value of the handle.
  if (!holdsVariationModel(bytes)) fail(op, 1301);
  setOutput(ModelID, HTuple(addVariationModel(decoded(bytes, op))));
}

}  // namespace HalconCpp
