#include "windows/colors.h"

#include <cctype>
#include <cstring>
#include <iterator>

namespace HalconCpp {
namespace Standin {

namespace {

struct NamedColor {
  const char* name;
  Rgb color;
};

// The vendor's names with the X11 values they stand for.
constexpr NamedColor kColors[] = {
    {"black", {0, 0, 0}},
    {"white", {255, 255, 255}},
    {"red", {255, 0, 0}},
    {"green", {0, 255, 0}},
    {"blue", {0, 0, 255}},
    {"dim gray", {105, 105, 105}},
    {"gray", {190, 190, 190}},
    {"light gray", {211, 211, 211}},
    {"cyan", {0, 255, 255}},
    {"magenta", {255, 0, 255}},
    {"yellow", {255, 255, 0}},
    {"medium slate blue", {123, 104, 238}},
    {"coral", {255, 127, 80}},
    {"slate blue", {106, 90, 205}},
    {"spring green", {0, 255, 127}},
    {"orange red", {255, 69, 0}},
    {"orange", {255, 165, 0}},
    {"dark olive green", {85, 107, 47}},
    {"pink", {255, 192, 203}},
    {"cadet blue", {95, 158, 160}},
    {"goldenrod", {218, 165, 32}},
    {"forest green", {34, 139, 34}},
    {"khaki", {240, 230, 140}},
    {"indian red", {205, 92, 92}},
    {"firebrick", {178, 34, 34}},
    {"navy", {0, 0, 128}},
    {"sky blue", {135, 206, 235}},
    {"steel blue", {70, 130, 180}},
    {"lime green", {50, 205, 50}},
    {"sea green", {46, 139, 87}},
    {"turquoise", {64, 224, 208}},
    {"violet", {238, 130, 238}},
    {"plum", {221, 160, 221}},
    {"orchid", {218, 112, 214}},
    {"salmon", {250, 128, 114}},
    {"sienna", {160, 82, 45}},
    {"gold", {255, 215, 0}},
    {"tan", {210, 180, 140}},
    {"wheat", {245, 222, 179}},
};

constexpr const char* kCycle[] = {"red",    "green",     "blue", "cyan",       "magenta",
                                  "yellow", "dim gray",  "gray", "light gray", "medium slate blue",
                                  "coral",  "slate blue"};

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const int lower = std::tolower(static_cast<unsigned char>(c));
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

bool parseHex(const std::string& text, Rgb* color) {
  if (text.size() != 7 && text.size() != 9) return false;
  std::uint8_t bytes[4];
  for (std::size_t i = 1; i < text.size(); i += 2) {
    const int high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i / 2] = static_cast<std::uint8_t>(high * 16 + low);
  }
  *color = Rgb{bytes[0], bytes[1], bytes[2]};
  return true;
}

}  // namespace

bool parseColor(const std::string& name, Rgb* color) {
  if (!name.empty() && name[0] == '#') return parseHex(name, color);
  for (const NamedColor& named : kColors) {
    if (name == named.name) {
      *color = named.color;
      return true;
    }
  }
  return false;
}

std::vector<Rgb> coloredCycle(int count) {
  std::vector<Rgb> colors;
  if (count != 3 && count != 6 && count != 12) return colors;
  for (int i = 0; i < count; ++i) {
    Rgb color{};
    parseColor(kCycle[i], &color);
    colors.push_back(color);
  }
  return colors;
}

std::vector<std::string> coloredNames(int count) {
  std::vector<std::string> names;
  if (count != 3 && count != 6 && count != 12) return names;
  names.assign(std::begin(kCycle), std::begin(kCycle) + count);
  return names;
}

std::vector<std::string> colorNames() {
  std::vector<std::string> names;
  for (const NamedColor& named : kColors) names.push_back(named.name);
  return names;
}

std::string hexName(const Rgb& color) {
  static const char kDigits[] = "0123456789abcdef";
  std::string name = "#";
  for (const std::uint8_t value : {color.red, color.green, color.blue}) {
    name += kDigits[value >> 4];
    name += kDigits[value & 15];
  }
  return name;
}

}  // namespace Standin
}  // namespace HalconCpp
