// Text output and fonts of a window.
#include "windows/text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "halconcpp/HOperatorsText.h"
#include "standin/controls.h"
#include "windows/draw.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr int kDefaultFontHeight = 16;
// Larger fonts would make a single character larger than the largest window.
constexpr int kMaxFontHeight = 2000;

// The families the stand-in reports: those the vendor's standard procedures ask for on
// Windows. Any other name still draws, with the built-in font.
constexpr const char* kFontFamilies[] = {"Arial", "Courier New", "Times New Roman"};

struct ParsedFont {
  int height = kDefaultFontHeight;
  bool bold = false;
};

bool parseHeight(const std::string& field, int* height) {
  if (field.empty() || field == "*") return true;
  if (!std::all_of(field.begin(), field.end(), [](unsigned char c) { return std::isdigit(c); }) ||
      field.size() > 6) {
    return false;
  }
  *height = std::atoi(field.c_str());
  return *height >= 1 && *height <= kMaxFontHeight;
}

std::vector<std::string> splitDashes(const std::string& text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dash = text.find('-', start);
    fields.push_back(text.substr(start, dash == std::string::npos ? dash : dash - start));
    if (dash == std::string::npos) return fields;
    start = dash + 1;
  }
}

// The vendor's Windows form "-Family-Height-Width-Italic-Underlined-Strikeout-Bold-CharSet-"
// (any field '*' or left off), the later "Family-[Style-]Size", or a family alone.
bool parseFont(const std::string& font, ParsedFont* parsed) {
  if (font.empty()) return false;
  if (font == "default") return true;
  if (font[0] == '-') {
    std::vector<std::string> fields = splitDashes(font.substr(1));
    if (fields.empty() || fields[0].empty()) return false;
    fields.resize(std::max<std::size_t>(fields.size(), 7));
    parsed->bold = fields[6] == "1";
    return parseHeight(fields[1], &parsed->height);
  }
  const std::vector<std::string> fields = splitDashes(font);
  if (fields.size() == 1) return true;
  for (std::size_t i = 1; i + 1 < fields.size(); ++i) {
    if (fields[i] == "Bold" || fields[i] == "BoldItalic") parsed->bold = true;
  }
  return !fields.back().empty() && parseHeight(fields.back(), &parsed->height);
}

// What WriteString and GetStringExtents show of one element: a string as it is, a number
// as the tuple prints it.
std::string textOf(const HTuple& values, Hlong i) {
  if (values[i].Type() == eElementTypeString) return values[i].S().str();
  return HTuple(values[i]).ToString().str();
}

// The window pixel of a text position. Positions beyond any window all draw nothing; bounded
// first, they convert exactly on every target, where long may have 32 bits.
std::int64_t textPixel(double coordinate) {
  constexpr double kFar = 1e12;
  if (!(coordinate > -kFar)) return static_cast<std::int64_t>(-kFar);
  if (!(coordinate < kFar)) return static_cast<std::int64_t>(kFar);
  return std::llround(coordinate);
}

Rgb textColor(const Window& window) {
  return drawingColors(window).front();
}

// Draws `text` with its cell's top-left corner at window pixel (top, left).
void drawText(Window& window, const std::string& text, std::int64_t top, std::int64_t left) {
  const FontMetrics metrics = fontMetrics(window.fontHeight);
  const Rgb color = textColor(window);
  Runs ink;
  for (int y = 0; y < metrics.height; ++y) {
    const std::int64_t row = top + y;
    if (row < 0 || row >= window.height) continue;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::int64_t cellLeft = left + static_cast<std::int64_t>(i) * metrics.charWidth;
      if (cellLeft >= window.width) break;
      if (cellLeft + metrics.charWidth <= 0) continue;
      const auto c = static_cast<unsigned char>(text[i]);
      for (int x = 0; x < metrics.charWidth; ++x) {
        const std::int64_t col = cellLeft + x;
        if (col < 0 || col >= window.width || !glyphInk(c, metrics, window.fontBold, y, x)) {
          continue;
        }
        ink.push_back(Run{static_cast<std::int32_t>(row), static_cast<std::int32_t>(col),
                          static_cast<std::int32_t>(col)});
      }
    }
  }
  paintRuns(window, normalizeRuns(std::move(ink)), color);
}

}  // namespace

void SetTposition(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column) {
  ApiScope scope("SetTposition");
  logWindowCall("SetTposition", WindowHandle, Row, Column);
  const char* op = "set_tposition";
  const Hlong handle = handleOf(WindowHandle, op);
  const double row = oneNumber(Row, op, 2);
  const double col = oneNumber(Column, op, 3);
  windowTable().with(handle, op, [&](Window& window) {
    window.textRow = row;
    window.textCol = col;
    window.lineStartCol = col;
  });
}

void GetTposition(const HTuple& WindowHandle, HTuple* Row, HTuple* Column) {
  ApiScope scope("GetTposition");
  logWindowCall("GetTposition", WindowHandle);
  const char* op = "get_tposition";
  double position[2];
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) {
    position[0] = window.textRow;
    position[1] = window.textCol;
  });
  // Whole positions read back as integers, as they were most likely given.
  const auto value = [](double v) {
    return v == std::floor(v) && std::fabs(v) < 1e9 ? HTuple(static_cast<Hlong>(v)) : HTuple(v);
  };
  setOutput(Row, value(position[0]));
  setOutput(Column, value(position[1]));
}

void WriteString(const HTuple& WindowHandle, const HTuple& String) {
  ApiScope scope("WriteString");
  logWindowCall("WriteString", WindowHandle, String);
  const char* op = "write_string";
  const Hlong handle = handleOf(WindowHandle, op);
  std::string text;
  for (Hlong i = 0; i < String.Length(); ++i) text += textOf(String, i);
  windowTable().with(handle, op, [&](Window& window) {
    const PartMap map(window);
    drawText(window, text, textPixel(map.windowY(window.textRow)),
             textPixel(map.windowX(window.textCol)));
    const FontMetrics metrics = fontMetrics(window.fontHeight);
    window.textCol += static_cast<double>(text.size()) * metrics.charWidth * map.colScale();
  });
}

void NewLine(const HTuple& WindowHandle) {
  ApiScope scope("NewLine");
  logWindowCall("NewLine", WindowHandle);
  const char* op = "new_line";
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) {
    const PartMap map(window);
    window.textRow += window.fontHeight * map.rowScale();
    window.textCol = window.lineStartCol;
  });
}

void SetFont(const HTuple& WindowHandle, const HTuple& Font) {
  ApiScope scope("SetFont");
  logWindowCall("SetFont", WindowHandle, Font);
  const char* op = "set_font";
  const Hlong handle = handleOf(WindowHandle, op);
  const std::string font = oneString(Font, op, 2);
  ParsedFont parsed;
  if (!parseFont(font, &parsed)) fail(op, 1302);
  windowTable().with(handle, op, [&](Window& window) {
    window.font = font;
    window.fontHeight = parsed.height;
    window.fontBold = parsed.bold;
  });
}

void GetFont(const HTuple& WindowHandle, HTuple* Font) {
  ApiScope scope("GetFont");
  logWindowCall("GetFont", WindowHandle);
  const char* op = "get_font";
  std::string font;
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) { font = window.font; });
  setOutput(Font, HTuple(font.c_str()));
}

void QueryFont(const HTuple& WindowHandle, HTuple* Font) {
  ApiScope scope("QueryFont");
  logWindowCall("QueryFont", WindowHandle);
  const char* op = "query_font";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  HTuple families;
  for (const char* family : kFontFamilies) families.Append(HTuple(family));
  setOutput(Font, families);
}

void GetStringExtents(const HTuple& WindowHandle, const HTuple& Values, HTuple* Ascent,
                      HTuple* Descent, HTuple* Width, HTuple* Height) {
  ApiScope scope("GetStringExtents");
  logWindowCall("GetStringExtents", WindowHandle, Values);
  const char* op = "get_string_extents";
  const Hlong handle = handleOf(WindowHandle, op);
  if (Values.Length() < 1) fail(op, 1402);
  int fontHeight = kDefaultFontHeight;
  windowTable().with(handle, op, [&](Window& window) { fontHeight = window.fontHeight; });
  const FontMetrics metrics = fontMetrics(fontHeight);
  HTuple ascent, descent, width, height;
  for (Hlong i = 0; i < Values.Length(); ++i) {
    ascent.Append(HTuple(static_cast<Hlong>(metrics.ascent)));
    descent.Append(HTuple(static_cast<Hlong>(metrics.descent)));
    width.Append(HTuple(static_cast<Hlong>(textOf(Values, i).size() * metrics.charWidth)));
    height.Append(HTuple(static_cast<Hlong>(metrics.height)));
  }
  setOutput(Ascent, ascent);
  setOutput(Descent, descent);
  setOutput(Width, width);
  setOutput(Height, height);
}

void GetFontExtents(const HTuple& WindowHandle, HTuple* MaxAscent, HTuple* MaxDescent,
                    HTuple* MaxWidth, HTuple* MaxHeight) {
  ApiScope scope("GetFontExtents");
  logWindowCall("GetFontExtents", WindowHandle);
  const char* op = "get_font_extents";
  int fontHeight = kDefaultFontHeight;
  windowTable().with(handleOf(WindowHandle, op), op,
                     [&](Window& window) { fontHeight = window.fontHeight; });
  const FontMetrics metrics = fontMetrics(fontHeight);
  setOutput(MaxAscent, HTuple(static_cast<Hlong>(metrics.ascent)));
  setOutput(MaxDescent, HTuple(static_cast<Hlong>(metrics.descent)));
  setOutput(MaxWidth, HTuple(static_cast<Hlong>(metrics.charWidth)));
  setOutput(MaxHeight, HTuple(static_cast<Hlong>(metrics.height)));
}

}  // namespace HalconCpp
