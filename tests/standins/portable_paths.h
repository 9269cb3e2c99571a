// The portable paths' comparison shared by the tests of the operators' threads and vector
// paths: random images of odd sizes, full and reduced domains, and a call run on the portable
// path on one thread and then on the vector paths on several.
#ifndef QUORVEX_TESTS_STANDINS_PORTABLE_PATHS_H
#define QUORVEX_TESTS_STANDINS_PORTABLE_PATHS_H

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"

namespace quorvex {
namespace test {

using namespace HalconCpp;

struct Size {
  Hlong width, height;
};

inline std::ostream& operator<<(std::ostream& out, Size size) {
  return out << size.width << " x " << size.height;
}

// Builds whose tests run many times slower (sanitizers, emulators) set QUORVEX_SWEEP=quick:
// their sweeps keep the small and odd sizes, where rows and bands meet the edges, and leave
// the large ones, which take the same paths, to the native build.
inline bool quickSweep() {
  const char* sweep = std::getenv("QUORVEX_SWEEP");
  return sweep != nullptr && std::string(sweep) == "quick";
}

// The thread counts a sweep compares with the portable path on one thread: all of them, or in
// a quick sweep the last, which splits the image into the most bands.
inline std::vector<Hlong> sweepThreads(std::initializer_list<Hlong> counts) {
  if (quickSweep()) return {*(counts.end() - 1)};
  return counts;
}

// Noise with long flat stretches, so that thresholds find runs of every length.
inline std::vector<std::uint8_t> randomPlane(Size size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> p(static_cast<std::size_t>(size.width * size.height));
  std::uint8_t value = 0;
  for (auto& v : p) {
    if (random() % 4 == 0) value = static_cast<std::uint8_t>(random());
    v = value;
  }
  return p;
}

inline std::vector<std::uint8_t> bytesOf(const HObject& image) {
  HTuple pointer, type, width, height;
  GetImagePointer1(image, &pointer, &type, &width, &height);
  const std::uint8_t* p = pointerOf(pointer);
  return std::vector<std::uint8_t>(p, p + width[0].L() * height[0].L());
}

// An image as the sweeps compare it: every channel's bytes and the domain's runs, and the
// error number where the call failed instead (0 when it did not).
struct ImageBytes {
  std::vector<std::uint8_t> bytes;
  std::vector<Hlong> runs;
  Hlong error = 0;
  bool operator==(const ImageBytes& other) const {
    return bytes == other.bytes && runs == other.runs && error == other.error;
  }
};

inline ImageBytes imageBytesOf(const HObject& image) {
  ImageBytes result;
  HTuple channels, rows, begins, ends;
  CountChannels(image, &channels);
  for (Hlong c = 1; c <= channels[0].L(); ++c) {
    HObject channel;
    AccessChannel(image, &channel, c);
    const std::vector<std::uint8_t> bytes = bytesOf(channel);
    result.bytes.insert(result.bytes.end(), bytes.begin(), bytes.end());
  }
  HObject domain;
  GetDomain(image, &domain);
  GetRegionRuns(domain, &rows, &begins, &ends);
  for (const HTuple* t : {&rows, &begins, &ends}) {
    for (Hlong i = 0; i < t->Length(); ++i) result.runs.push_back((*t)[i].L());
  }
  return result;
}

// The domains each image is tried with: the whole image, a disc in its middle, a disc
// reaching past the top-left corner, and two bars with a gap, so that rows hold two runs.
inline std::vector<std::pair<std::string, HObject>> domainsOf(const HObject& image, Size size) {
  std::vector<std::pair<std::string, HObject>> domains{{"full", image}};
  HObject disc, corner, bars, bar1, bar2, reduced;
  GenCircle(&disc, size.height / 2.0, size.width / 2.0,
            0.4 * double(std::min(size.width, size.height)) + 0.5);
  GenCircle(&corner, 1, 2, size.height * 0.6 + 1);
  GenRectangle1(&bar1, 0, 0, size.height - 1, size.width / 3);
  GenRectangle1(&bar2, size.height / 4, size.width / 2, size.height - 1, size.width - 1);
  Union2(bar1, bar2, &bars);
  for (const auto& [name, region] :
       {std::pair{"disc", disc}, std::pair{"corner", corner}, std::pair{"bars", bars}}) {
    ReduceDomain(image, region, &reduced);
    domains.emplace_back(name, reduced);
  }
  return domains;
}

// Runs `call` with the portable path on one thread, then with the vector paths on 1, 2 and 5
// threads (and held at AVX2 on 2), and hands each result after the first to `same` with the first.
template <typename Result>
void compareWithPortable(
    const std::function<Result()>& call,
    const std::function<void(const Result&, const Result&, const std::string&)>& same) {
  SetSystem("standin_simd", "false");
  SetSystem("thread_num", 1);
  const Result reference = call();
  SetSystem("standin_simd", "true");
  // Bands of a few rows, so that every band's first and last rows meet the image's edges and
  // the domain's ends.
  SetSystem("standin_band_pixels", 1000);
  for (const Hlong threads : sweepThreads({1, 2, 5})) {
    SetSystem("thread_num", threads);
    same(reference, call(), "thread_num " + std::to_string(threads));
  }
  // A processor with AVX-512 takes the wider paths: the AVX2 ones are held to the same.
  if (!quickSweep()) {
    SetSystem("standin_simd", "avx2");
    SetSystem("thread_num", 2);
    same(reference, call(), "standin_simd avx2, thread_num 2");
    SetSystem("standin_simd", "true");
  }
}

// A comparison's label: what ran, its parameters, the image's size and domain, comma-separated.
template <typename... Parts>
std::string labelOf(const Parts&... parts) {
  std::ostringstream out;
  const char* separator = "";
  ((out << separator << parts, separator = ", "), ...);
  return out.str();
}

// compareWithPortable for results that must be equal: a difference fails under `label`.
template <typename Result>
void expectSameAsPortable(const std::string& label, const std::function<Result()>& call) {
  compareWithPortable<Result>(
      call, [&](const Result& portable, const Result& fast, const std::string& threads) {
        EXPECT_TRUE(fast == portable) << label << ", " << threads;
      });
}

// Every contour's points and then each of its attributes, with -1 where a contour ends: two
// contour lists are the same exactly when these are.
inline std::vector<double> contourValues(const HalconCpp::HObject& contours) {
  using namespace HalconCpp;
  HTuple count;
  CountObj(contours, &count);
  std::vector<double> values;
  for (Hlong i = 1; i <= count[0].L(); ++i) {
    HObject one;
    HTuple rows, cols, names, attrib;
    SelectObj(contours, &one, i);
    GetContourXld(one, &rows, &cols);
    for (Hlong k = 0; k < rows.Length(); ++k)
      values.insert(values.end(), {rows[k].D(), cols[k].D()});
    QueryContourAttribsXld(one, &names);
    for (Hlong a = 0; a < names.Length(); ++a) {
      GetContourAttribXld(one, names[a], &attrib);
      for (Hlong k = 0; k < attrib.Length(); ++k) values.push_back(attrib[k].D());
    }
    values.push_back(-1);
  }
  return values;
}

// Odd sizes, so that no row fills whole vectors.
inline std::vector<Size> sweepSizes() {
  if (quickSweep()) return {{1, 1}, {2, 3}, {37, 5}, {301, 97}};
  return {{1, 1}, {2, 3}, {37, 5}, {641, 263}, {1023, 311}};
}

}  // namespace test
}  // namespace quorvex

#endif
