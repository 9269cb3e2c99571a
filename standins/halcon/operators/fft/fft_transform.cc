#include "operators/fft/fft_transform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <kissfft/kissfft.hh>
#include <memory>
#include <utility>

#include "core/numbers.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/threads.h"
#include "operators/fft/fft_lanes.h"

namespace HalconCpp {
namespace Standin {
namespace {

std::size_t largestPrimeFactor(std::size_t n) {
  std::size_t largest = 1;
  for (std::size_t p = 2; p * p <= n; ++p) {
    while (n % p == 0) largest = p, n /= p;
  }
  return n > 1 ? n : largest;
}

// A transform of one length and sign, planned once for all the lines of a call.
class LinePlan {
 public:
  LinePlan(std::size_t n, int sign) : n_(n) {
    if (n_ <= 1) return;
    if (largestPrimeFactor(n_) <= kLargestKissRadix) {
      direct_ = std::make_unique<kissfft<double>>(n_, sign > 0);
      return;
    }
    // Bluestein: jk = (j^2 + k^2 - (k - j)^2) / 2 turns the transform into a chirp
    // multiplication, a cyclic convolution of a power-of-two length m >= 2n - 1, and a
    // second chirp multiplication.
    m_ = 1;
    while (m_ < 2 * n_ - 1) m_ *= 2;
    chirp_.resize(n_);
    for (std::size_t j = 0; j < n_; ++j) {
      // j^2 mod 2n keeps the angle small, and so exact, for long lines.
      const auto square = static_cast<double>((static_cast<std::uint64_t>(j) * j) % (2 * n_));
      chirp_[j] = std::polar(1.0, sign * kPi * square / static_cast<double>(n_));
    }
    forward_ = std::make_unique<kissfft<double>>(m_, false);
    inverse_ = std::make_unique<kissfft<double>>(m_, true);
    std::vector<Complex> kernel(m_);
    kernel[0] = std::conj(chirp_[0]);
    for (std::size_t d = 1; d < n_; ++d) kernel[d] = kernel[m_ - d] = std::conj(chirp_[d]);
    kernelSpectrum_.resize(m_);
    forward_->transform(kernel.data(), kernelSpectrum_.data());
    work_.resize(m_);
    out_.resize(m_);
  }

  // Transforms n values at `line`, spaced `stride` apart.
  void run(Complex* line, std::size_t stride) {
    if (n_ <= 1) return;
    if (direct_) {
      in_.resize(n_), out_.resize(n_);
      for (std::size_t i = 0; i < n_; ++i) in_[i] = line[i * stride];
      direct_->transform(in_.data(), out_.data());
      for (std::size_t i = 0; i < n_; ++i) line[i * stride] = out_[i];
      return;
    }
    std::fill(work_.begin(), work_.end(), Complex());
    for (std::size_t j = 0; j < n_; ++j) work_[j] = line[j * stride] * chirp_[j];
    forward_->transform(work_.data(), out_.data());
    for (std::size_t i = 0; i < m_; ++i) out_[i] *= kernelSpectrum_[i];
    inverse_->transform(out_.data(), work_.data());
    const double scale = 1.0 / static_cast<double>(m_);
    for (std::size_t k = 0; k < n_; ++k) line[k * stride] = work_[k] * chirp_[k] * scale;
  }

 private:
  std::size_t n_;
  std::unique_ptr<kissfft<double>> direct_;
  std::size_t m_ = 0;
  std::vector<Complex> chirp_;
  std::unique_ptr<kissfft<double>> forward_;
  std::unique_ptr<kissfft<double>> inverse_;
  std::vector<Complex> kernelSpectrum_;
  std::vector<Complex> in_;
  std::vector<Complex> work_;
  std::vector<Complex> out_;
};

// Complex values as a complex plane stores them: storableValue's clipping to the float range
// (a cast beyond it is undefined) written out, part by part, so that the loop vectorises; a
// complex divided by a real is its parts divided.
struct PartStore {
  double divisor;
  double lowest = lowestValue(PixelType::Complex), highest = highestValue(PixelType::Complex);
  void operator()(const double* values, std::size_t n, float* parts) const {
    for (std::size_t i = 0; i < n; ++i) {
      const double v = values[i] / divisor;
      parts[i] = static_cast<float>(std::isnan(v) ? v : std::clamp(v, lowest, highest));
    }
  }
};

// Every step-th value from `first` on.
struct Strided {
  const Complex* first;
  std::size_t step;
  const Complex& operator[](std::size_t k) const { return first[k * step]; }
};

// With Z the transform of row a + i row b (`line`), row a's is (Z(k) + conj Z(-k)) / 2 and
// row b's (Z(k) - conj Z(-k)) / 2i.
void splitPair(const Strided& line, std::size_t width, std::size_t half, Complex* ra, Complex* rb) {
  for (std::size_t k = 0; k < half; ++k) {
    const Complex z = line[k], m = std::conj(line[k == 0 ? 0 : width - k]);
    ra[k] = Complex(0.5 * (z.real() + m.real()), 0.5 * (z.imag() + m.imag()));
    rb[k] = Complex(0.5 * (z.imag() - m.imag()), -0.5 * (z.real() - m.real()));
  }
}

// transformRealRows' pairs of rows four at a time, one pair a lane; a last group short of
// four has zero lines beside it, which change nothing in the others.
template <class Value>
void realRowsInLanes(const LaneTransform& lanes, const Value& value, std::size_t width,
                     std::int32_t height, std::int32_t pairs, int bands, Spectrum& left) {
  constexpr std::size_t kLanes = LaneTransform::kLanes;
  const auto half = static_cast<std::size_t>(left.width());
  forBands(pairs, bands, [&](int, std::int64_t p0, std::int64_t p1) {
    std::vector<Complex> in(kLanes * width + kLanes), out(kLanes * width + kLanes);
    for (auto p = static_cast<std::int32_t>(p0); p < p1; p += std::int32_t(kLanes)) {
      const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kLanes, p1 - p));
      for (std::size_t l = 0; l < kLanes; ++l) {
        const std::int32_t a = 2 * (p + std::int32_t(l)), b = a + 1;
        const std::size_t at = static_cast<std::size_t>(a) * width;
        for (std::size_t i = 0; i < width; ++i) {
          in[i * kLanes + l] =
              l >= count ? Complex()
                         : Complex(value(at + i), b < height ? value(at + width + i) : 0.0);
        }
      }
      lanes.run(in.data(), kLanes, out.data());
      if (count == kLanes && 2 * (p + std::int32_t(kLanes)) <= height) {
        Complex *ra[kLanes], *rb[kLanes];
        for (std::size_t l = 0; l < kLanes; ++l) {
          ra[l] = &left.at(2 * (p + std::int32_t(l)), 0);
          rb[l] = &left.at(2 * (p + std::int32_t(l)) + 1, 0);
        }
        if (splitVectors(out.data(), width, half, ra, rb)) continue;
      }
      for (std::size_t l = 0; l < count; ++l) {
        const std::int32_t a = 2 * (p + std::int32_t(l)), b = a + 1;
        if (b >= height) {
          for (std::size_t k = 0; k < half; ++k) left.at(a, std::int32_t(k)) = out[k * kLanes + l];
          continue;
        }
        splitPair(Strided{out.data() + l, kLanes}, width, half, &left.at(a, 0), &left.at(b, 0));
      }
    }
  });
}

// transformColumns' columns four at a time, read straight from the spectrum's rows; a last
// group short of four is padded with zero lines. With `parts`, the values go there as `store`
// keeps them instead of back into the spectrum.
void columnsInLanes(const LaneTransform& lanes, Spectrum& spectrum, int bands,
                    const PartStore* store = nullptr, float* parts = nullptr) {
  constexpr std::size_t kLanes = LaneTransform::kLanes;
  const auto height = static_cast<std::size_t>(spectrum.height());
  const auto width = static_cast<std::size_t>(spectrum.width());
  forBands(spectrum.width(), bands, [&](int, std::int64_t c0, std::int64_t c1) {
    std::vector<Complex> out(kLanes * height), padded;
    for (auto first = static_cast<std::size_t>(c0); first < static_cast<std::size_t>(c1);
         first += kLanes) {
      const std::size_t count = std::min(kLanes, static_cast<std::size_t>(c1) - first);
      const Complex* in = spectrum.data() + first;
      std::size_t stride = width;
      if (count < kLanes) {
        padded.assign(kLanes * height, Complex());
        for (std::size_t r = 0; r < height; ++r) {
          std::copy(in + r * width, in + r * width + count, padded.data() + r * kLanes);
        }
        in = padded.data();
        stride = kLanes;
      }
      lanes.run(in, stride, out.data());
      for (std::size_t r = 0; r < height && parts; ++r) {
        (*store)(reinterpret_cast<const double*>(out.data() + r * kLanes), 2 * count,
                 parts + 2 * (r * width + first));
      }
      for (std::size_t r = 0; r < height && !parts; ++r) {
        std::copy(out.data() + r * kLanes, out.data() + r * kLanes + count,
                  spectrum.data() + r * width + first);
      }
    }
  });
}

}  // namespace

Spectrum::Spectrum(std::int32_t width, std::int32_t height, const char* op)
    : reservation_(
          static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * sizeof(Complex),
          op),
      width_(width),
      height_(height),
      size_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      parts_(new double[2 * size_]) {}

void transformLine(std::vector<Complex>& line, int sign) {
  LinePlan(line.size(), sign).run(line.data(), 1);
}

// Lines are shared out in bands, each band with plans of its own: a plan transforms every line
// alike, so the values do not depend on the band. A transform costs a few steps a value.
void transformRows(Spectrum& spectrum, int sign, const char* op) {
  const auto width = static_cast<std::size_t>(spectrum.width());
  const std::int32_t height = spectrum.height();
  const int bands = bandsFor(height, std::int64_t{spectrum.width()} * height * 4);
  // The plans' buffers (a few lines of the next power of two past twice a side) are small
  // beside the spectrum; they are counted against the bound all the same, once whatever the
  // threads, so that a call fails or not alike on any.
  const PixelReservation working(32 * width * sizeof(Complex), op);
  forBands(height, bands, [&](int, std::int64_t r0, std::int64_t r1) {
    LinePlan rows(width, sign);
    for (auto r = static_cast<std::int32_t>(r0); r < r1; ++r) rows.run(&spectrum.at(r, 0), 1);
  });
}

void transformRealRows(const ImageObject& image, std::size_t c, Spectrum& left, const char* op) {
  const auto width = static_cast<std::size_t>(image.width);
  const auto half = static_cast<std::size_t>(left.width());
  // Two rows share a transform's rounding: only those of types whose values span at most 2^16
  // are paired, so that a row of huge reals cannot drown its neighbour's values.
  const PixelType type = image.type();
  const bool paired = type == PixelType::Byte || type == PixelType::Int1 ||
                      type == PixelType::Int2 || type == PixelType::Uint2;
  const std::int32_t height = image.height, pairs = paired ? (height + 1) / 2 : height;
  const int bands = bandsFor(pairs, std::int64_t{image.width} * pairs * 4);
  const PixelReservation working(32 * width * sizeof(Complex), op);
  const PixelReader read = readerOf(type);
  const bool bytes = type == PixelType::Byte;
  const std::uint8_t* pixels = image.pixels(c);
  const auto value = [&](std::size_t i) { return bytes ? double(pixels[i]) : read(pixels, i); };
  if (paired && vectorPathsEnabled()) {
    const LaneTransform lanes(width, -1);
    if (lanes.usable()) return realRowsInLanes(lanes, value, width, height, pairs, bands, left);
  }
  forBands(pairs, bands, [&](int, std::int64_t p0, std::int64_t p1) {
    LinePlan rows(width, -1);
    std::vector<Complex> line(width);
    for (auto p = static_cast<std::int32_t>(p0); p < p1; ++p) {
      const std::int32_t a = paired ? 2 * p : p, b = paired ? a + 1 : height;
      const std::size_t at = static_cast<std::size_t>(a) * width;
      // A row alone (an odd last one, or one of a wide type) has zeros beside it and its
      // transform is the line's.
      for (std::size_t i = 0; i < width; ++i) {
        const std::size_t j = at + i, k = j + width;
        line[i] = Complex(value(j), b < height ? value(k) : 0.0);
      }
      rows.run(line.data(), 1);
      Complex* ra = &left.at(a, 0);
      if (b >= height) {
        std::copy(line.begin(), line.begin() + std::ptrdiff_t(half), ra);
        continue;
      }
      splitPair(Strided{line.data(), 1}, width, half, ra, &left.at(b, 0));
    }
  });
}

// Columns a few at a time: each row's few values side by side are read and written together,
// rather than a whole column of values a row apart, one cache line each.
void transformColumns(Spectrum& spectrum, int sign, const char* op, bool finite) {
  constexpr std::size_t kColumns = 8;
  const auto height = static_cast<std::size_t>(spectrum.height());
  const std::int32_t width = spectrum.width();
  const int bands = bandsFor(width, std::int64_t{width} * spectrum.height() * 4);
  const PixelReservation working(32 * height * sizeof(Complex), op);
  if (finite && vectorPathsEnabled()) {
    const LaneTransform lanes(height, sign);
    if (lanes.usable()) return columnsInLanes(lanes, spectrum, bands);
  }
  forBands(width, bands, [&](int, std::int64_t c0, std::int64_t c1) {
    LinePlan cols(height, sign);
    std::vector<Complex> block(kColumns * height);
    for (auto first = static_cast<std::size_t>(c0); first < static_cast<std::size_t>(c1);
         first += kColumns) {
      const std::size_t count = std::min(kColumns, static_cast<std::size_t>(c1) - first);
      for (std::size_t r = 0; r < height; ++r) {
        const Complex* row = spectrum.data() + r * static_cast<std::size_t>(width) + first;
        for (std::size_t k = 0; k < count; ++k) block[k * height + r] = row[k];
      }
      for (std::size_t k = 0; k < count; ++k) cols.run(block.data() + k * height, 1);
      for (std::size_t r = 0; r < height; ++r) {
        Complex* row = spectrum.data() + r * static_cast<std::size_t>(width) + first;
        for (std::size_t k = 0; k < count; ++k) row[k] = block[k * height + r];
      }
    }
  });
}

PlanePtr columnsToPlane(Spectrum& spectrum, int sign, double divisor, const char* op, bool finite) {
  if (finite && vectorPathsEnabled()) {
    const LaneTransform lanes(static_cast<std::size_t>(spectrum.height()), sign);
    if (lanes.usable()) {
      // The bound is asked as the two steps ask it: the working lines, then the plane.
      { const PixelReservation working(32 * std::size_t(spectrum.height()) * sizeof(Complex), op); }
      auto plane = std::make_shared<Plane>(spectrum.width(), spectrum.height(), op,
                                           PixelType::Complex, Plane::Unwritten{});
      const PartStore store{divisor};
      const std::int32_t width = spectrum.width();
      columnsInLanes(lanes, spectrum, bandsFor(width, std::int64_t{width} * spectrum.height() * 4),
                     &store, plane->as<float>());
      return plane;
    }
  }
  transformColumns(spectrum, sign, op, finite);
  return planeOf(spectrum, PixelType::Complex, divisor, op);
}

void transform2d(Spectrum& spectrum, int sign, const char* op, bool finite) {
  transformRows(spectrum, sign, op);
  transformColumns(spectrum, sign, op, finite);
}

bool finiteChannel(const ImageObject& image, std::size_t c) {
  const PixelType type = image.type();
  if (type != PixelType::Real && type != PixelType::Complex) return true;
  const std::uint8_t* bytes = image.pixels(c);
  const std::size_t count =
      std::size_t(image.width) * std::size_t(image.height) * (type == PixelType::Complex ? 2 : 1);
  // Infinities and NaNs have every exponent bit set; whole numbers and no branch, so that the
  // loop vectorises.
  constexpr std::uint32_t kExponent = 0x7f800000u;
  std::uint32_t found = 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t bits;
    std::memcpy(&bits, bytes + 4 * i, 4);
    found |= (bits & kExponent) == kExponent;
  }
  return found == 0;
}

bool normDivisor(const std::string& norm, double count, double* divisor) {
  if (norm == "none") return *divisor = 1, true;
  if (norm == "sqrt") return *divisor = std::sqrt(count), true;
  if (norm == "n") return *divisor = count, true;
  return false;
}

void readChannel(const ImageObject& image, std::size_t c, Spectrum& spectrum) {
  const std::size_t count = spectrum.size();
  if (image.type() == PixelType::Complex) {
    const float* parts = image.channels[c]->as<float>();
    for (std::size_t i = 0; i < count; ++i)
      spectrum.data()[i] = Complex(parts[2 * i], parts[2 * i + 1]);
    return;
  }
  const PixelReader read = readerOf(image.type());
  for (std::size_t i = 0; i < count; ++i) spectrum.data()[i] = Complex(read(image.pixels(c), i), 0);
}

void rotate(Spectrum& spectrum, std::int32_t shiftRows, std::int32_t shiftCols, const char* op) {
  const std::int32_t width = spectrum.width(), height = spectrum.height();
  if (width == 0 || height == 0) return;
  Spectrum moved(width, height, op);
  for (std::int32_t r = 0; r < height; ++r) {
    const std::int32_t toRow = ((r + shiftRows) % height + height) % height;
    for (std::int32_t c = 0; c < width; ++c) {
      moved.at(toRow, ((c + shiftCols) % width + width) % width) = spectrum.at(r, c);
    }
  }
  std::copy(moved.data(), moved.data() + moved.size(), spectrum.data());
}

PlanePtr planeOf(const Spectrum& spectrum, PixelType type, double divisor, const char* op) {
  auto plane =
      std::make_shared<Plane>(spectrum.width(), spectrum.height(), op, type, Plane::Unwritten{});
  const std::size_t count = spectrum.size();
  if (type == PixelType::Complex) {
    PartStore{divisor}(reinterpret_cast<const double*>(spectrum.data()), 2 * count,
                       plane->as<float>());
    return plane;
  }
  const PixelWriter write = writerOf(type);
  for (std::size_t i = 0; i < count; ++i)
    write(plane->data(), i, spectrum.data()[i].real() / divisor);
  return plane;
}

}  // namespace Standin
}  // namespace HalconCpp
