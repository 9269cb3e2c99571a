// Variation models: the training statistics of the HALCON 11.0 pages of
// create_variation_model and train_variation_model, and the thresholds of
// prepare_variation_model. The byte form is the stand-in's own (docs/standins.md, "Variation
// models"): a magic number, a version, the model's shape and state, then its images.
#include "operators/inspection/variation_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "common/handle_table.h"
#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

namespace {

constexpr char kMagic[8] = {'Q', 'V', 'X', 'V', 'A', 'R', '\r', '\n'};
constexpr std::uint32_t kVersion = 1;
enum Flags : std::uint8_t { kHasImages = 1, kPrepared = 2, kCleared = 4 };

quorvex::common::HandleTable<Hlong, VariationModel>& models() {
  static auto* table =  // outlives every static destructor
      new quorvex::common::HandleTable<Hlong, VariationModel>(1);
  return *table;
}

// The median of the values, the mean of the two middle ones for an even count; reorders them.
double medianOf(std::vector<double>& values) {
  const std::size_t half = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(half), values.end());
  const double upper = values[half];
  if (values.size() % 2 == 1) return upper;
  const double lower = *std::max_element(values.begin(), values.begin() + std::ptrdiff_t(half));
  return (lower + upper) / 2;
}

class Writer {
 public:
  void bytes(const void* data, std::size_t size) {
    out_.append(static_cast<const char*>(data), size);
  }
  void u8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void u32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void u64(std::uint64_t value) {
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void real(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    u64(bits);
  }
  void reals(const std::vector<double>& values) {
    for (const double value : values) real(value);
  }
  void floats(const std::vector<float>& values) {
    for (const float value : values) {
      std::uint32_t bits;
      std::memcpy(&bits, &value, sizeof bits);
      u32(bits);
    }
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

// Every read checks the bytes left first: a short or corrupt input is 5202, never a read
// past its end.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size, const char* op)
      : data_(data), size_(size), op_(op) {}
  [[noreturn]] void corrupt() const { fail(op_, H_ERR_FILE_FORMAT); }
  void need(std::uint64_t count) const {
    if (count > size_ - at_) corrupt();
  }
  std::uint8_t u8() {
    need(1);
    return data_[at_++];
  }
  std::uint32_t u32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{u8()} << (8 * i);
    return value;
  }
  std::uint64_t u64() {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value |= std::uint64_t{u8()} << (8 * i);
    return value;
  }
  double real() {
    const std::uint64_t bits = u64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) corrupt();
    return value;
  }
  std::vector<double> reals(std::size_t count) {
    need(std::uint64_t{count} * 8);
    std::vector<double> values(count);
    for (double& value : values) value = real();
    return values;
  }
  std::vector<float> floats(std::size_t count) {
    need(std::uint64_t{count} * 4);
    std::vector<float> values(count);
    for (float& value : values) {
      const std::uint32_t bits = u32();
      std::memcpy(&value, &bits, sizeof value);
      if (!std::isfinite(value)) corrupt();
    }
    return values;
  }
  std::size_t left() const { return size_ - at_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  const char* op_;
};

bool modelType(std::uint8_t code, PixelType* type) {
  *type = static_cast<PixelType>(code);
  return *type == PixelType::Byte || *type == PixelType::Int2 || *type == PixelType::Uint2;
}

bool validThreshold(double value) {
  return value >= 0;
}

}  // namespace

void VariationModel::account(const char* op) {
  std::uint64_t bytes = 8 * std::uint64_t(ideal.size() + deviation.size() + squares.size());
  bytes += 4 * std::uint64_t(low.size() + high.size());
  for (const std::vector<float>& sample : samples) bytes += 4 * std::uint64_t(sample.size());
  held.change(bytes, op);
}

void VariationModel::train(const std::vector<double>& values) {
  const std::size_t n = pixels();
  if (!hasImages) {
    ideal.assign(n, 0.0);
    deviation.assign(n, 0.0);
    hasImages = true;
  }
  ++trained;
  prepared = false;
  low.clear();
  high.clear();
  if (mode == VariationMode::Standard) {
    // Welford's running mean and squared deviations: the same mean and deviation as over all
    // images at once, without keeping them.
    squares.resize(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
      const double delta = values[i] - ideal[i];
      ideal[i] += delta / trained;
      squares[i] += delta * (values[i] - ideal[i]);
      deviation[i] = std::sqrt(squares[i] / trained);
    }
    return;
  }
  samples.emplace_back(values.begin(), values.end());
  std::vector<double> column(samples.size()), spread(samples.size());
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t k = 0; k < samples.size(); ++k) column[k] = samples[k][i];
    const double median = medianOf(column);
    for (std::size_t k = 0; k < samples.size(); ++k) spread[k] = std::fabs(samples[k][i] - median);
    ideal[i] = median;
    deviation[i] = kMadToSigma * medianOf(spread);
  }
}

void VariationModel::prepare(const double absoluteThresholds[2],
                             const double relativeThresholds[2]) {
  std::copy(absoluteThresholds, absoluteThresholds + 2, absolute);
  std::copy(relativeThresholds, relativeThresholds + 2, relative);
  const std::size_t n = pixels();
  low.resize(n);
  high.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double v = deviation[i];
    high[i] = static_cast<float>(ideal[i] + std::max(absolute[0], relative[0] * v));
    low[i] = static_cast<float>(ideal[i] - std::max(absolute[1], relative[1] * v));
  }
  prepared = true;
}

Hlong addVariationModel(VariationModel model) {
  return models().add(std::move(model));
}

void withVariationModel(const HTuple& handle, const char* op,
                        const std::function<void(VariationModel&)>& fn) {
  const Hlong key = oneInteger(handle, op, 1);
  models().with(
      key, [op] { fail(op, 1301); }, fn);
}

void clearVariationModel(const HTuple& handle, const char* op) {
  if (!models().remove(oneInteger(handle, op, 1))) fail(op, 1301);
}

void clearAllVariationModels() {
  models().clear();
}

std::string encodeVariationModel(const VariationModel& model) {
  Writer out;
  out.bytes(kMagic, sizeof kMagic);
  out.u32(kVersion);
  out.u32(static_cast<std::uint32_t>(model.width));
  out.u32(static_cast<std::uint32_t>(model.height));
  out.u8(static_cast<std::uint8_t>(model.type));
  out.u8(static_cast<std::uint8_t>(model.mode));
  out.u8(static_cast<std::uint8_t>((model.hasImages ? kHasImages : 0) |
                                   (model.prepared ? kPrepared : 0) |
                                   (model.trainingCleared ? kCleared : 0)));
  out.u32(model.trained);
  for (int i = 0; i < 2; ++i) out.real(model.absolute[i]);
  for (int i = 0; i < 2; ++i) out.real(model.relative[i]);
  if (model.hasImages) {
    out.reals(model.ideal);
    out.reals(model.deviation);
  }
  out.reals(model.squares);
  for (const std::vector<float>& sample : model.samples) out.floats(sample);
  return out.take();
}

bool holdsVariationModel(const std::string& bytes) {
  return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

VariationModel decodeVariationModel(const std::uint8_t* bytes, std::size_t size, const char* op) {
  Reader in(bytes, size, op);
  in.need(sizeof kMagic);
  if (std::memcmp(bytes, kMagic, sizeof kMagic) != 0) in.corrupt();
  for (std::size_t i = 0; i < sizeof kMagic; ++i) in.u8();
  if (in.u32() != kVersion) in.corrupt();
  VariationModel model;
  const std::uint32_t width = in.u32(), height = in.u32();
  if (width < 1 || height < 1 || width > std::uint32_t(kMaxImageSide) ||
      height > std::uint32_t(kMaxImageSide)) {
    in.corrupt();
  }
  model.width = static_cast<std::int32_t>(width);
  model.height = static_cast<std::int32_t>(height);
  const std::uint8_t type = in.u8(), mode = in.u8(), flags = in.u8();
  if (!modelType(type, &model.type) || mode > 2 || flags > 7) in.corrupt();
  model.mode = static_cast<VariationMode>(mode);
  model.hasImages = (flags & kHasImages) != 0;
  model.prepared = (flags & kPrepared) != 0;
  model.trainingCleared = (flags & kCleared) != 0;
  model.trained = in.u32();
  for (double& value : model.absolute) value = in.real();
  for (double& value : model.relative) value = in.real();
  for (int i = 0; i < 2; ++i) {
    if (!validThreshold(model.absolute[i]) || !validThreshold(model.relative[i])) in.corrupt();
  }
  const bool direct = model.mode == VariationMode::Direct;
  // A trained model has its images; a direct one is never trained; a prepared one has images.
  if ((model.trained > 0) != (model.hasImages && !direct) || (model.prepared && !model.hasImages)) {
    in.corrupt();
  }
  const std::size_t n = model.pixels();
  if (model.hasImages) {
    model.ideal = in.reals(n);
    model.deviation = in.reals(n);
  }
  const bool keepsTraining = model.trained > 0 && !model.trainingCleared;
  if (keepsTraining && model.mode == VariationMode::Standard) {
    model.squares = in.reals(n);
    for (const double value : model.squares) {
      if (value < 0) in.corrupt();
    }
  }
  if (keepsTraining && model.mode == VariationMode::Robust) {
    if (model.trained > in.left() / (4 * std::uint64_t{n})) in.corrupt();
    for (std::uint32_t k = 0; k < model.trained; ++k) model.samples.push_back(in.floats(n));
  }
  if (in.left() != 0) in.corrupt();
  model.account(op);
  if (model.prepared) {
    const double absolute[2] = {model.absolute[0], model.absolute[1]};
    const double relative[2] = {model.relative[0], model.relative[1]};
    model.prepare(absolute, relative);
  }
  model.account(op);
  return model;
}

}  // namespace Standin
}  // namespace HalconCpp
