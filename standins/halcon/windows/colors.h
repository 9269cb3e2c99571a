// The colours a window draws with: the vendor's colour names, "#rrggbb" (and "#rrggbbaa",
// the alpha ignored), and the lists that SetColored cycles through.
#ifndef QUORVEX_STANDINS_HALCON_COLORS_H
#define QUORVEX_STANDINS_HALCON_COLORS_H

#include <cstdint>
#include <string>
#include <vector>

namespace HalconCpp {
namespace Standin {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

inline bool operator==(const Rgb& a, const Rgb& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// False for a name the vendor does not know.
bool parseColor(const std::string& name, Rgb* color);

// The colours of SetColored(n) in drawing order: 3 is red, green, blue; 6 adds cyan,
// magenta, yellow; 12 adds dim gray, gray, light gray, medium slate blue, coral, slate blue.
// Empty for another n.
std::vector<Rgb> coloredCycle(int count);
std::vector<std::string> coloredNames(int count);

// The vendor's colour names the stand-in knows, in its order (query_color's answer).
std::vector<std::string> colorNames();
// "#rrggbb" in lower-case hexadecimal digits.
std::string hexName(const Rgb& color);

}  // namespace Standin
}  // namespace HalconCpp

#endif
