// Variation models behind integer handles: the training statistics, the ideal and variation
// images they give, the thresholds prepared from them, and the stand-in's byte form of a
// model (write_variation_model, serialize_variation_model).
#ifndef QUORVEX_STANDINS_HALCON_VARIATION_MODEL_H
#define QUORVEX_STANDINS_HALCON_VARIATION_MODEL_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/memory_bounds.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

enum class VariationMode : std::uint8_t { Standard, Robust, Direct };

// The factor that makes the median absolute deviation of normally distributed values their
// standard deviation: 1 / Phi^-1(3/4).
constexpr double kMadToSigma = 1.4826;

struct VariationModel {
  std::int32_t width = 0, height = 0;
  PixelType type = PixelType::Byte;
  VariationMode mode = VariationMode::Standard;

  // The ideal and variation images, once trained or given directly.
  bool hasImages = false;
  std::vector<double> ideal, deviation;

  // Training data: 'standard' keeps the running sum of squared deviations from the mean
  // (the mean is `ideal`), 'robust' every training image.
  std::uint32_t trained = 0;
  bool trainingCleared = false;
  std::vector<double> squares;
  std::vector<std::vector<float>> samples;

  // Thresholds [upper, lower] and the threshold images they give.
  bool prepared = false;
  double absolute[2] = {0, 0}, relative[2] = {0, 0};
  std::vector<float> low, high;

  PixelReservation held;

  std::size_t pixels() const { return std::size_t(width) * std::size_t(height); }
  // Charges what the model's vectors hold to the pixel bound (6001 in `op` beyond it).
  void account(const char* op);
  // Adds one training image's values, row by row.
  void train(const std::vector<double>& values);
  // The threshold images from the ideal and variation images.
  void prepare(const double absoluteThresholds[2], const double relativeThresholds[2]);
};

Hlong addVariationModel(VariationModel model);
// Runs fn on the model behind the handle (control input 1) under the table's lock; a
// cleared or unknown handle raises 1301.
void withVariationModel(const HTuple& handle, const char* op,
                        const std::function<void(VariationModel&)>& fn);
void clearVariationModel(const HTuple& handle, const char* op);
void clearAllVariationModels();

std::string encodeVariationModel(const VariationModel& model);
// Whether the bytes begin as a model's do (rather than as another kind of serialized item).
bool holdsVariationModel(const std::string& bytes);
// Raises 5202 in `op` for bytes that are not a whole, well-formed model.
VariationModel decodeVariationModel(const std::uint8_t* bytes, std::size_t size, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
