// Shared steps of the operators that compute new images: outputs shaped like their input,
// checks of byte images with channels, and the pairing of two image inputs.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_RESULTS_H
#define QUORVEX_STANDINS_HALCON_IMAGE_RESULTS_H

#include <cstdint>
#include <utility>
#include <vector>

#include "core/image.h"

namespace HalconCpp {
namespace Standin {

// A new image of the input's size and domain with `channels` planes of zeros.
ImagePtr imageLike(const ImagePtr& input, std::size_t channels, const char* op,
                   PixelType type = PixelType::Byte);
// The same with planes left unwritten, for operators that write every pixel themselves.
ImagePtr unwrittenImageLike(const ImagePtr& input, std::size_t channels, const char* op,
                            PixelType type = PixelType::Byte);
// The same with only the pixels outside the input's domain cleared, for operators that write
// every pixel of the domain themselves.
ImagePtr domainImageLike(const ImagePtr& input, std::size_t channels, const char* op,
                         PixelType type = PixelType::Byte);
// The images of an input of the given types, each with at least one channel (else 3032).
std::vector<ImagePtr> imagesWithChannels(const HObject& object, const char* op, int n,
                                         PixelTypes types = {PixelType::Byte});
// Images of two inputs taken pairwise: the same number of objects (else 1502), sizes (3030),
// channels (3031) and pixel types (H_ERR_WIT).
std::vector<std::pair<ImagePtr, ImagePtr>> imagePairs(const HObject& first, const HObject& second,
                                                      const char* op,
                                                      PixelTypes types = {PixelType::Byte});
std::uint8_t clampToByte(double value);

}  // namespace Standin
}  // namespace HalconCpp

#endif
