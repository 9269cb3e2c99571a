// Discrete Fourier transforms of images of any size, in doubles: the frequency family's
// operators read their input into a Spectrum, transform it and write it back in their type.
// The butterflies are Debian's header-only kissfft (every build, the 32-bit and Windows cross
// builds too); a side whose factors include a prime above kLargestKissRadix goes through
// Bluestein's chirp convolution instead, so that no size costs more than a few
// power-of-two transforms a line.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_FFT_TRANSFORM_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_FFT_TRANSFORM_H

#include <complex>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/memory_bounds.h"

namespace HalconCpp {
namespace Standin {

using Complex = std::complex<double>;

// kissfft's generic butterfly costs p operations a point for a prime factor p.
constexpr std::size_t kLargestKissRadix = 97;

// A width x height grid of complex values, row by row, its memory taken from the pixel bound.
// The values start unwritten: every user writes all of them first, and a large grid is not
// cleared only to be overwritten.
class Spectrum {
 public:
  Spectrum(std::int32_t width, std::int32_t height, const char* op);
  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  Complex& at(std::int32_t row, std::int32_t col) {
    return data()[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(col)];
  }
  // A complex is laid out as its two parts (real first), so an array of doubles serves.
  Complex* data() { return reinterpret_cast<Complex*>(parts_.get()); }
  const Complex* data() const { return reinterpret_cast<const Complex*>(parts_.get()); }
  std::size_t size() const { return size_; }

 private:
  PixelReservation reservation_;
  std::int32_t width_;
  std::int32_t height_;
  std::size_t size_;
  std::unique_ptr<double[]> parts_;
};

// Sum over every (k, l) of e^(sign 2 pi i (k m / height + l n / width)) f(k, l), in place;
// sign is +1 or -1 and nothing is normalised. `finite`: the values are known to be finite
// (see finiteChannel), which lets the columns take the vector lanes (fft_lanes.h).
void transform2d(Spectrum& spectrum, int sign, const char* op, bool finite = false);
// The two halves of transform2d: every row, and every column.
void transformRows(Spectrum& spectrum, int sign, const char* op);
void transformColumns(Spectrum& spectrum, int sign, const char* op, bool finite = false);
// transformColumns, then planeOf(spectrum, complex, divisor): on the vector lanes each column
// goes to the plane straight from its transform.
PlanePtr columnsToPlane(Spectrum& spectrum, int sign, double divisor, const char* op, bool finite);
// Whether every value of channel c is finite: always for the integer types.
bool finiteChannel(const ImageObject& image, std::size_t c);
// The left half (left's width, columns 0 ... width/2) of the sign -1 transform of every row of
// channel c of a real-valued image: for the narrow integer types two rows a transform, as the
// real and imaginary parts of one complex line, parted again by the conjugate symmetry of a
// real line's transform.
void transformRealRows(const ImageObject& image, std::size_t c, Spectrum& left, const char* op);

// One line of n values, in place, as transform2d does for a row (exposed for the tests of
// the chirp path, which no small image reaches).
void transformLine(std::vector<Complex>& line, int sign);

// The reference's normalising factors: 'none' 1, 'sqrt' sqrt(count), 'n' count. False for
// any other name.
bool normDivisor(const std::string& norm, double count, double* divisor);

// Channel c of an image of any type as complex values: complex pixels as they are, every
// other type as its value with an imaginary part of 0.
void readChannel(const ImageObject& image, std::size_t c, Spectrum& spectrum);

// Moves the value at (r, c) to ((r + shiftRows) mod height, (c + shiftCols) mod width).
void rotate(Spectrum& spectrum, std::int32_t shiftRows, std::int32_t shiftCols, const char* op);

// Writes a spectrum into an owned plane of `type`, each value divided by `divisor`: complex
// planes keep both parts, every other type the real part as storableValue stores it.
PlanePtr planeOf(const Spectrum& spectrum, PixelType type, double divisor, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
