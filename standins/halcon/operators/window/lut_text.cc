// A window's look-up table, its style and fixing, and the shapes of the text and mouse
// cursors: remembered per window and queried by their 11.0 names. The framebuffer shows
// grey values through the LUT only for 'inverse' (windows/draw.cc): the other tables are
// kept, not applied (docs/standins.md, "LUT and cursors").
#include <algorithm>
#include <iterator>
#include <string>

#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsFile.h"
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/window.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr const char* kLuts[] = {"default",
                                 "gray",
                                 "inverse",
                                 "sqr",
                                 "inv_sqr",
                                 "cube",
                                 "inv_cube",
                                 "sqrt",
                                 "inv_sqrt",
                                 "cubic_root",
                                 "inv_cubic_root",
                                 "color1",
                                 "color2",
                                 "color3",
                                 "color4",
                                 "three",
                                 "six",
                                 "twelve",
                                 "twenty_four",
                                 "rainbow",
                                 "temperature",
                                 "cyclic_gray",
                                 "cyclic_temperature",
                                 "hsi",
                                 "change1",
                                 "change2",
                                 "change3"};

constexpr const char* kTextCursors[] = {"invisible", "bar", "underscore", "rectangle"};

constexpr const char* kMouseCursors[] = {
    "arrow",     "default", "crosshair", "text I-beam", "Slashed circle", "Size All",
    "Size NESW", "Size S",  "Size NWSE", "Size WE",     "Vertical Arrow", "Hourglass"};

// The most entries a table of values may have: one per grey value of a byte image.
constexpr Hlong kMaxLutEntries = 256;

template <std::size_t N>
bool isOneOf(const std::string& value, const char* const (&names)[N]) {
  return std::find(std::begin(names), std::end(names), value) != std::end(names);
}

template <std::size_t N>
HTuple tupleOf(const char* const (&names)[N]) {
  HTuple tuple;
  for (const char* name : names) tuple.Append(HTuple(name));
  return tuple;
}

// A table of values: red, green and blue of each entry, integers 0..255.
bool isLutTable(const HTuple& values) {
  const Hlong length = values.Length();
  if (length < 3 || length % 3 != 0 || length > 3 * kMaxLutEntries) return false;
  for (Hlong i = 0; i < length; ++i) {
    if (values[i].Type() != eElementTypeLong || values[i].L() < 0 || values[i].L() > 255) {
      return false;
    }
  }
  return true;
}

// A name without an extension gets '.lut', as write_lut gives it.
std::string lutFileName(const std::string& name) {
  const auto slash = name.find_last_of("/\\");
  const auto dot = name.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return hasExtension ? name : name + ".lut";
}

// The table a file written by write_lut holds, or an empty tuple.
HTuple lutFromFile(const std::string& name) {
  for (const std::string& candidate : {name, lutFileName(name)}) {
    try {
      HTuple content;
      ReadTuple(HTuple(candidate.c_str()), &content);
      if (content.Length() == 1 && content[0].Type() == eElementTypeString &&
          isOneOf(content[0].S().str(), kLuts)) {
        return content;
      }
      if (isLutTable(content)) return content;
    } catch (const HException&) {
      // Not such a file: the next name, and at last a wrong value.
    }
  }
  return HTuple();
}

double styleValue(const HTuple& value, const char* op, int n, double low, double high) {
  const double number = oneNumber(value, op, n);
  if (!(number >= low && number <= high)) fail(op, 1300 + n);
  return number;
}

}  // namespace

void SetLut(const HTuple& WindowHandle, const HTuple& LookUpTable) {
  ApiScope scope("SetLut");
  logWindowCall("SetLut", WindowHandle, LookUpTable);
  const char* op = "set_lut";
  const Hlong handle = handleOf(WindowHandle, op);
  if (LookUpTable.Length() < 1) fail(op, 1402);
  HTuple table = LookUpTable;
  if (table.Length() == 1 && table[0].Type() == eElementTypeString &&
      !isOneOf(table[0].S().str(), kLuts)) {
    table = lutFromFile(table[0].S().str());
  }
  const bool named = table.Length() == 1 && table[0].Type() == eElementTypeString;
  if (!named && !isLutTable(table)) fail(op, 1302);
  windowTable().with(handle, op, [&](Window& window) {
    window.lut = named ? table[0].S().str() : "";
    window.lutValues = named ? HTuple() : table;
  });
}

void GetLut(const HTuple& WindowHandle, HTuple* LookUpTable) {
  ApiScope scope("GetLut");
  const char* op = "get_lut";
  HTuple table;
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) {
    table = window.lut.empty() ? window.lutValues : HTuple(window.lut.c_str());
  });
  setOutput(LookUpTable, std::move(table));
}

void QueryLut(const HTuple& WindowHandle, HTuple* LookUpTable) {
  ApiScope scope("QueryLut");
  const char* op = "query_lut";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  setOutput(LookUpTable, tupleOf(kLuts));
}

void WriteLut(const HTuple& WindowHandle, const HTuple& FileName) {
  ApiScope scope("WriteLut");
  const char* op = "write_lut";
  const Hlong handle = handleOf(WindowHandle, op);
  const std::string name = oneString(FileName, op, 2);
  HTuple table;
  GetLut(HTuple(handle), &table);
  try {
    WriteTuple(table, HTuple(lutFileName(name).c_str()));
  } catch (const HException& e) {
    fail(op, e.ErrorCode());
  }
}

void DispLut(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
             const HTuple& Scale) {
  ApiScope scope("DispLut");
  logWindowCall("DispLut", WindowHandle, Row, Column, Scale);
  const char* op = "disp_lut";
  const Hlong handle = handleOf(WindowHandle, op);
  oneInteger(Row, op, 2);
  oneInteger(Column, op, 3);
  const Hlong scale = oneInteger(Scale, op, 4);
  if (scale < 1) fail(op, 1304);
  windowTable().with(handle, op, [](Window&) {});
}

void SetLutStyle(const HTuple& WindowHandle, const HTuple& Hue, const HTuple& Saturation,
                 const HTuple& Intensity) {
  ApiScope scope("SetLutStyle");
  logWindowCall("SetLutStyle", WindowHandle, Hue, Saturation, Intensity);
  const char* op = "set_lut_style";
  const Hlong handle = handleOf(WindowHandle, op);
  const double hue = styleValue(Hue, op, 2, 0.0, 1.0);
  const double saturation = styleValue(Saturation, op, 3, 0.0, 1e30);
  const double intensity = styleValue(Intensity, op, 4, 0.0, 1e30);
  windowTable().with(handle, op, [&](Window& window) {
    window.lutHue = hue;
    window.lutSaturation = saturation;
    window.lutIntensity = intensity;
  });
}

void GetLutStyle(const HTuple& WindowHandle, HTuple* Hue, HTuple* Saturation, HTuple* Intensity) {
  ApiScope scope("GetLutStyle");
  const char* op = "get_lut_style";
  double style[3] = {0, 0, 0};
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) {
    style[0] = window.lutHue;
    style[1] = window.lutSaturation;
    style[2] = window.lutIntensity;
  });
  setOutput(Hue, HTuple(style[0]));
  setOutput(Saturation, HTuple(style[1]));
  setOutput(Intensity, HTuple(style[2]));
}

void SetFixedLut(const HTuple& WindowHandle, const HTuple& Mode) {
  ApiScope scope("SetFixedLut");
  logWindowCall("SetFixedLut", WindowHandle, Mode);
  const char* op = "set_fixed_lut";
  const Hlong handle = handleOf(WindowHandle, op);
  const std::string mode = oneString(Mode, op, 2);
  if (mode != "true" && mode != "false") fail(op, 1302);
  windowTable().with(handle, op, [&](Window& window) { window.fixedLut = mode == "true"; });
}

void GetFixedLut(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("GetFixedLut");
  const char* op = "get_fixed_lut";
  bool fixed = false;
  windowTable().with(handleOf(WindowHandle, op), op,
                     [&](Window& window) { fixed = window.fixedLut; });
  setOutput(Mode, HTuple(fixed ? "true" : "false"));
}

void SetTshape(const HTuple& WindowHandle, const HTuple& TextCursor) {
  ApiScope scope("SetTshape");
  logWindowCall("SetTshape", WindowHandle, TextCursor);
  const char* op = "set_tshape";
  const Hlong handle = handleOf(WindowHandle, op);
  const std::string shape = oneString(TextCursor, op, 2);
  if (!isOneOf(shape, kTextCursors)) fail(op, 1302);
  windowTable().with(handle, op, [&](Window& window) { window.textCursor = shape; });
}

void GetTshape(const HTuple& WindowHandle, HTuple* TextCursor) {
  ApiScope scope("GetTshape");
  const char* op = "get_tshape";
  std::string shape;
  windowTable().with(handleOf(WindowHandle, op), op,
                     [&](Window& window) { shape = window.textCursor; });
  setOutput(TextCursor, HTuple(shape.c_str()));
}

void QueryTshape(const HTuple& WindowHandle, HTuple* TextCursor) {
  ApiScope scope("QueryTshape");
  const char* op = "query_tshape";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  setOutput(TextCursor, tupleOf(kTextCursors));
}

void SetMshape(const HTuple& WindowHandle, const HTuple& Cursor) {
  ApiScope scope("SetMshape");
  logWindowCall("SetMshape", WindowHandle, Cursor);
  const char* op = "set_mshape";
  const Hlong handle = handleOf(WindowHandle, op);
  const std::string shape = oneString(Cursor, op, 2);
  if (!isOneOf(shape, kMouseCursors)) fail(op, 1302);
  windowTable().with(handle, op, [&](Window& window) { window.mouseCursor = shape; });
}

void GetMshape(const HTuple& WindowHandle, HTuple* Cursor) {
  ApiScope scope("GetMshape");
  const char* op = "get_mshape";
  std::string shape;
  windowTable().with(handleOf(WindowHandle, op), op,
                     [&](Window& window) { shape = window.mouseCursor; });
  setOutput(Cursor, HTuple(shape.c_str()));
}

void QueryMshape(const HTuple& WindowHandle, HTuple* ShapeNames) {
  ApiScope scope("QueryMshape");
  const char* op = "query_mshape";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  setOutput(ShapeNames, tupleOf(kMouseCursors));
}

}  // namespace HalconCpp
