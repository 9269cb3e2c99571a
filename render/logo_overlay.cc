#include "render/logo_overlay.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "render/blend.h"
#include "render/logo_planes.h"

namespace quorvex::render {
namespace {

using engine::Hlong;
using engine::HObject;
using engine::HTuple;

std::atomic<bool> logoOn{false};
// Built by hinit before any program runs; read by the overlay without a lock.
HObject logoImage;
HObject logoAlpha;

constexpr Hlong kMargin = 10;
constexpr Hlong kFactor = 3;

HTuple addressOf(const std::uint8_t* plane) {
  return HTuple(static_cast<Hlong>(reinterpret_cast<std::intptr_t>(plane)));
}

std::uint8_t* planeAt(const HTuple& address) {
  return reinterpret_cast<std::uint8_t*>(static_cast<std::intptr_t>(address[0].L()));
}

// Puts "width" and "height" back as they were at the start, on every way out: creating
// images of the window's size may have raised them.
class SystemSizeRestore {
 public:
  SystemSizeRestore(HTuple windowWidth, HTuple windowHeight)
      : windowWidth_(std::move(windowWidth)), windowHeight_(std::move(windowHeight)) {
    HalconCpp::GetSystem(HTuple("width"), &systemWidth_);
    HalconCpp::GetSystem(HTuple("height"), &systemHeight_);
  }
  ~SystemSizeRestore() {
    try {
      if (windowWidth_ > systemWidth_) HalconCpp::SetSystem(HTuple("width"), systemWidth_);
    } catch (...) {
    }
    try {
      if (windowHeight_ > systemHeight_) HalconCpp::SetSystem(HTuple("height"), systemHeight_);
    } catch (...) {
    }
  }
  SystemSizeRestore(const SystemSizeRestore&) = delete;
  SystemSizeRestore& operator=(const SystemSizeRestore&) = delete;

 private:
  HTuple windowWidth_, windowHeight_, systemWidth_, systemHeight_;
};

// Four copies at the corners when the window has room for three logos each way, one copy in
// the bottom-right corner when it is merely larger than the logo, none otherwise.
struct Placement {
  HTuple rows;
  HTuple columns;
  HObject logos;
  HObject alphas;
};

bool placeCopies(Hlong windowWidth, Hlong windowHeight, Hlong width, Hlong height,
                 Placement* placement) {
  if (windowHeight > kFactor * height && windowWidth > kFactor * width) {
    const Hlong bottom = windowHeight - height - kMargin;
    const Hlong right = windowWidth - width - kMargin;
    for (Hlong row : {kMargin, kMargin, bottom, bottom}) placement->rows.Append(HTuple(row));
    for (Hlong column : {kMargin, right, right, kMargin}) {
      placement->columns.Append(HTuple(column));
    }
    HObject two;
    HalconCpp::ConcatObj(logoImage, logoImage, &two);
    HalconCpp::ConcatObj(two, two, &placement->logos);
    HalconCpp::ConcatObj(logoAlpha, logoAlpha, &two);
    HalconCpp::ConcatObj(two, two, &placement->alphas);
    return true;
  }
  if (windowHeight > height && windowWidth > width) {
    placement->rows = HTuple(windowHeight - height);
    placement->columns = HTuple(windowWidth - width);
    placement->logos = logoImage;
    placement->alphas = logoAlpha;
    return true;
  }
  return false;
}

HObject tile(const HObject& copies, const Placement& placement, const HTuple& windowWidth,
             const HTuple& windowHeight) {
  HTuple uncropped;
  for (Hlong i = 0; i < placement.rows.Length(); ++i) uncropped.Append(HTuple(-1));
  HObject tiled;
  HalconCpp::TileImagesOffset(copies, &tiled, placement.rows, placement.columns, uncropped,
                              uncropped, uncropped, uncropped, windowWidth, windowHeight);
  HalconCpp::FullDomain(tiled, &tiled);
  return tiled;
}

void redrawWhole(const HObject& image, const HTuple& window, const HTuple& windowWidth,
                 const HTuple& windowHeight) {
  HTuple row1, column1, row2, column2;
  HalconCpp::GetPart(window, &row1, &column1, &row2, &column2);
  HalconCpp::SetPart(window, HTuple(0), HTuple(0), windowHeight - HTuple(1),
                     windowWidth - HTuple(1));
  HalconCpp::DispObj(image, window);
  HalconCpp::SetPart(window, row1, column1, row2, column2);
}

void overlay(const HTuple& window) {
  HTuple logoWidthTuple, logoHeightTuple;
  HalconCpp::GetImageSize(logoImage, &logoWidthTuple, &logoHeightTuple);
  HTuple windowWidth, windowHeight;
  HalconCpp::GetWindowExtents(window, nullptr, nullptr, &windowWidth, &windowHeight);
  SystemSizeRestore restore(windowWidth, windowHeight);

  Placement placement;
  if (!placeCopies(windowWidth[0].L(), windowHeight[0].L(), logoWidthTuple[0].L(),
                   logoHeightTuple[0].L(), &placement)) {
    return;
  }
  const HObject logoTile = tile(placement.logos, placement, windowWidth, windowHeight);
  const HObject alphaTile = tile(placement.alphas, placement, windowWidth, windowHeight);

  HObject windowImage;
  HalconCpp::DumpWindowImage(&windowImage, window);
  // Nothing holds the window's size still: another thread may have set its extents since
  // they were read. The tiles have the size read then, so a dump of any other size is left
  // alone rather than blended past its planes' end.
  HTuple dumpWidth, dumpHeight;
  HalconCpp::GetImageSize(windowImage, &dumpWidth, &dumpHeight);
  if (dumpWidth.Length() < 1 || dumpWidth[0].L() != windowWidth[0].L() ||
      dumpHeight[0].L() != windowHeight[0].L()) {
    return;
  }
  HTuple channels;
  HalconCpp::CountChannels(windowImage, &channels);
  const Hlong channelCount = channels[0].L();
  if (channelCount < 1) return;
  if (channelCount != 3) {
    // One plane stands for all three: the composed image has three channels at one address.
    HalconCpp::AccessChannel(windowImage, &windowImage, HTuple(1));
    HalconCpp::Compose3(windowImage, windowImage, windowImage, &windowImage);
  }

  HTuple red, green, blue, logoRed, logoGreen, logoBlue, alpha;
  HalconCpp::GetImagePointer3(windowImage, &red, &green, &blue, nullptr, nullptr, nullptr);
  HalconCpp::GetImagePointer3(logoTile, &logoRed, &logoGreen, &logoBlue, nullptr, nullptr, nullptr);
  HalconCpp::GetImagePointer1(alphaTile, &alpha, nullptr, nullptr, nullptr);
  const auto pixels = static_cast<std::size_t>(static_cast<std::int32_t>(dumpWidth[0].L())) *
                      static_cast<std::size_t>(static_cast<std::int32_t>(dumpHeight[0].L()));
  const BlendPlanes planes = {planeAt(red),     planeAt(green),     planeAt(blue),
                              planeAt(logoRed), planeAt(logoGreen), planeAt(logoBlue),
                              planeAt(alpha)};
  blendLogo(planes, pixels);

  redrawWhole(windowImage, window, windowWidth, windowHeight);
}

}  // namespace

void enableLogo() {
  logoOn.store(true, std::memory_order_relaxed);
}
bool logoEnabled() {
  return logoOn.load(std::memory_order_relaxed);
}

void buildLogo() {
  if (!logoEnabled()) return;
  const HTuple type("byte");
  const HTuple width(static_cast<Hlong>(logoWidth));
  const HTuple height(static_cast<Hlong>(logoHeight));
  HalconCpp::GenImage3Extern(&logoImage, type, width, height, addressOf(logoPlaneRed),
                             addressOf(logoPlaneGreen), addressOf(logoPlaneBlue), HTuple(0));
  HalconCpp::GenImage1Extern(&logoAlpha, type, width, height, addressOf(logoPlaneAlpha), HTuple(0));
}

void overlayLogo(const HTuple& window) noexcept {
  if (!logoEnabled()) return;
  try {
    overlay(window);
  } catch (...) {
    // The logo is decoration: whatever failed, the caller's own drawing stands.
  }
}

}  // namespace quorvex::render
