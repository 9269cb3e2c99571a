// Helpers shared by the image, window and tuple suites of the stand-ins.
#ifndef QUORVEX_TESTS_STANDINS_ICONIC_TEST_SUPPORT_H
#define QUORVEX_TESTS_STANDINS_ICONIC_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "halconcpp/HalconCpp.h"
#include "standin/controls.h"
#include "support/standin_control.h"

namespace quorvex::test {

using HalconCpp::HException;
using HalconCpp::Hlong;
using HalconCpp::HObject;
using HalconCpp::HTuple;

// The error number an operation raises; 0 when it does not raise.
template <typename Fn>
Hlong errorOf(Fn&& fn) {
  try {
    fn();
  } catch (const HException& e) {
    return e.ErrorCode();
  }
  return 0;
}

inline HTuple tuple(std::initializer_list<Hlong> values) {
  HTuple result;
  for (Hlong v : values) result.Append(HTuple(v));
  return result;
}

inline HTuple address(const void* pointer) {
  return HTuple(static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(pointer)));
}

inline std::uint8_t* pointerOf(const HTuple& value) {
  return reinterpret_cast<std::uint8_t*>(static_cast<std::uintptr_t>(value[0].L()));
}

// A grey image over caller memory that the test owns.
inline HObject wrapGray(std::vector<std::uint8_t>& pixels, Hlong width, Hlong height) {
  HObject image;
  HalconCpp::GenImage1Extern(&image, "byte", width, height, address(pixels.data()), 0);
  return image;
}

inline Hlong systemValue(const char* name) {
  HTuple value;
  HalconCpp::GetSystem(name, &value);
  return value[0].L();
}

// Restores the system size parameters when a test ends, whatever it created.
struct SystemSizeRestored {
  ~SystemSizeRestored() {
    HalconCpp::SetSystem("width", HTuple(512));
    HalconCpp::SetSystem("height", HTuple(512));
  }
};

// The area of each region.
inline std::vector<Hlong> areas(const HObject& regions) {
  HTuple area;
  HalconCpp::AreaCenter(regions, &area, nullptr, nullptr);
  std::vector<Hlong> result;
  for (Hlong i = 0; i < area.Length(); ++i) result.push_back(area[i].L());
  return result;
}

// Each row: regions an operator makes, and their areas.
using Made = std::function<void(HObject*)>;
inline void expectAreas(const std::vector<std::pair<Made, std::vector<Hlong>>>& rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    HObject out;
    rows[i].first(&out);
    EXPECT_EQ(areas(out), rows[i].second) << "row " << i;
  }
}

// A window for a test, closed when the test ends.
struct TestWindow {
  TestWindow(Hlong row, Hlong col, Hlong width, Hlong height) {
    HalconCpp::OpenWindow(row, col, width, height, 0, "visible", "", &handle);
  }
  ~TestWindow() {
    try {
      HalconCpp::CloseWindow(handle);
    } catch (const HalconCpp::HException&) {
      // Closed by the test itself.
    }
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HObject dump() const {
    HObject image;
    HalconCpp::DumpWindowImage(&image, handle);
    return image;
  }
  HTuple part() const {
    HTuple r1, c1, r2, c2;
    HalconCpp::GetPart(handle, &r1, &c1, &r2, &c2);
    return r1.Append(c1).Append(r2).Append(c2);
  }

  HTuple handle;
};

constexpr double kPi = 3.14159265358979323846;

inline HObject rectangle(Hlong row1, Hlong col1, Hlong row2, Hlong col2) {
  HObject region;
  HalconCpp::GenRectangle1(&region, row1, col1, row2, col2);
  return region;
}

// The union of two regions as one region.
inline HObject joined(const HObject& a, const HObject& b) {
  HObject both, merged;
  ConcatObj(a, b, &both);
  Union1(both, &merged);
  return merged;
}

// smallest_rectangle1 of a region as text: "[Row1, Column1, Row2, Column2]".
inline std::string box(const HObject& region) {
  HTuple r1, c1, r2, c2;
  SmallestRectangle1(region, &r1, &c1, &r2, &c2);
  return (r1.Clone().Append(c1).Append(r2).Append(c2)).ToString().Text();
}

// The first channel's grey value of one pixel, as an integer.
inline Hlong grayAt(const HObject& image, Hlong row, Hlong col) {
  HTuple value;
  HalconCpp::GetGrayval(image, row, col, &value);
  return value[0].L();
}

// A 23 x 23 black image with one bright pixel (255) at (11, 11): every mirrored copy lies 23
// pixels away, beyond what the filters reach with a weight that shows.
struct Impulse {
  std::vector<std::uint8_t> pixels = [] {
    std::vector<std::uint8_t> p(23 * 23, 0);
    p[11 * 23 + 11] = 255;
    return p;
  }();
  HObject image = wrapGray(pixels, 23, 23);
};

// The values of every channel of one pixel.
inline HTuple pixel(const HObject& image, Hlong row, Hlong col) {
  HTuple values;
  HalconCpp::GetGrayval(image, row, col, &values);
  return values;
}

// A WIDTH x HEIGHT byte image of one grey value.
inline HObject flatImage(Hlong width, Hlong height, Hlong value) {
  HObject blank, all, flat;
  HalconCpp::GenImageConst(&blank, "byte", width, height);
  HalconCpp::GenRectangle1(&all, 0, 0, height - 1, width - 1);
  HalconCpp::PaintRegion(all, blank, &flat, value, "fill");
  return flat;
}

// Writes a_first.png (4 x 3 of 10), b_second.bmp (5 x 3 of 20) and c_third.png (6 x 2 of 30)
// into `folder`, the images an acquisition from files goes through in name order.
inline void writeThreeImages(const std::string& folder) {
  HalconCpp::WriteImage(flatImage(4, 3, 10), "png", 0, (folder + "/a_first").c_str());
  HalconCpp::WriteImage(flatImage(5, 3, 20), "bmp", 0, (folder + "/b_second").c_str());
  HalconCpp::WriteImage(flatImage(6, 2, 30), "png", 0, (folder + "/c_third").c_str());
}

inline Hlong channelsOf(const HObject& image) {
  HTuple channels;
  HalconCpp::CountChannels(image, &channels);
  return channels[0].L();
}

inline double realAt(const HObject& image, Hlong row, Hlong col) {
  return pixel(image, row, col)[0].D();
}

inline std::string typeOf(const HObject& image) {
  HTuple type;
  HalconCpp::GetImageType(image, &type);
  return type[0].S().Text();
}

// One region feature by its name in region_features.
inline double feature(const HObject& region, const char* name) {
  HTuple value;
  HalconCpp::RegionFeatures(region, name, &value);
  return value[0].D();
}

// Restores the defaults when a test ends.
struct SettingsRestored {
  ~SettingsRestored() {
    HalconCpp::SetSystem("standin_simd", "true");
    HalconCpp::SetSystem("standin_band_pixels", 64 * 1024);
    HalconCpp::SetSystem("parallelize_operators", "true");
    HalconCpp::SetSystem("thread_num", systemValue("processor_num"));
  }
};

}  // namespace quorvex::test

#endif
