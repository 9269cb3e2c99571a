// What a window can show, answered from the lists the setters check; the window types and
// the attributes of the windows opened next; and rectangles of window pixels cleared, copied
// and moved. Rectangles are in window coordinates (rows and columns of the window's pixels,
// not of the image part it shows), clipped to the windows.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/annotated_mutex.h"
#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"
#include "windows/window.h"
#include "windows/window_lists.h"

namespace HalconCpp {
using namespace Standin;

namespace {

#if defined(_WIN32)
constexpr const char* kWindowTypes[] = {"WIN32-Window", "pixmap"};
#else
constexpr const char* kWindowTypes[] = {"X-Window", "pixmap"};
#endif
constexpr const char* kWindowAttributes[] = {"border_width", "border_color", "background_color",
                                             "window_title"};

struct Defaults {
  std::string type = kWindowTypes[0];
  Hlong borderWidth = 2;
  std::string borderColor = "white";
  std::string background = "black";
  std::string title;
};

quorvex::common::Mutex defaultsMutex;
Defaults defaults QUORVEX_GUARDED_BY(defaultsMutex);

HTuple namesOf(const std::vector<std::string>& names) {
  HTuple tuple;
  for (const std::string& name : names) tuple.Append(HTuple(name.c_str()));
  return tuple;
}

// Coordinates of rectangles: one value per rectangle in every parameter (first at position
// n), each within the bound a window's side and offsets allow.
std::vector<std::vector<Hlong>> rectangleValues(const std::vector<const HTuple*>& params,
                                                const char* op, int n) {
  const Hlong count = params.front()->Length();
  std::vector<std::vector<Hlong>> values(params.size());
  for (std::size_t p = 0; p < params.size(); ++p) {
    const int at = n + static_cast<int>(p);
    requireLength(*params[p], count, op, at);
    for (Hlong i = 0; i < count; ++i) {
      const Hlong value = integerAt(*params[p], i, op, at);
      if (value < -4 * kMaxWindowSide || value > 4 * kMaxWindowSide) fail(op, 1300 + at);
      values[p].push_back(value);
    }
  }
  return values;
}

struct Pixels {
  std::int32_t width = 0, height = 0;
  std::vector<std::uint8_t> planes[3];
};

// Copies source rectangles to their destinations: the source's pixels are read before any
// is written, so that moves within one window may overlap.
void copyRectangles(const HTuple& source, const HTuple& target,
                    const std::vector<std::vector<Hlong>>& v, const char* op) {
  const Hlong from = handleOf(source, op);
  const Hlong to = handleOf(target, op);
  Pixels pixels;
  windowTable().with(from, op, [&](Window& window) {
    pixels.width = window.width;
    pixels.height = window.height;
    for (int c = 0; c < 3; ++c) pixels.planes[c] = window.planes[c];
  });
  windowTable().with(to, op, [&](Window& window) {
    for (std::size_t i = 0; i < v[0].size(); ++i) {
      const Hlong dRow = v[4][i] - v[0][i], dCol = v[5][i] - v[1][i];
      // Rows and columns inside the source and, moved, inside the target.
      const Hlong row1 = std::max({v[0][i], Hlong{0}, -dRow});
      const Hlong row2 = std::min({v[2][i], Hlong{pixels.height} - 1, window.height - 1 - dRow});
      const Hlong col1 = std::max({v[1][i], Hlong{0}, -dCol});
      const Hlong col2 = std::min({v[3][i], Hlong{pixels.width} - 1, window.width - 1 - dCol});
      if (row1 > row2 || col1 > col2) continue;
      for (Hlong row = row1; row <= row2; ++row) {
        const auto at = static_cast<std::size_t>(row * pixels.width + col1);
        const auto into = static_cast<std::size_t>((row + dRow) * window.width + col1 + dCol);
        for (int c = 0; c < 3; ++c) {
          std::memcpy(window.planes[c].data() + into, pixels.planes[c].data() + at,
                      static_cast<std::size_t>(col2 - col1 + 1));
        }
      }
    }
  });
}

}  // namespace

void QueryColor(const HTuple& WindowHandle, HTuple* Colors) {
  ApiScope scope("QueryColor");
  const char* op = "query_color";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  setOutput(Colors, namesOf(colorNames()));
}

void QueryAllColors(const HTuple& WindowHandle, HTuple* Colors) {
  ApiScope scope("QueryAllColors");
  const char* op = "query_all_colors";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  setOutput(Colors, namesOf(colorNames()));
}

void QueryPaint(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("QueryPaint");
  const char* op = "query_paint";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  setOutput(Mode, listTuple(kPaintModes));
}

void QueryShape(HTuple* DisplayShape) {
  ApiScope scope("QueryShape");
  setOutput(DisplayShape, listTuple(kShapes));
}

void QueryInsert(const HTuple& WindowHandle, HTuple* Mode) {
  ApiScope scope("QueryInsert");
  const char* op = "query_insert";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  setOutput(Mode, listTuple(kInsertModes));
}

void QueryLineWidth(HTuple* Min, HTuple* Max) {
  ApiScope scope("QueryLineWidth");
  setOutput(Min, HTuple(kMinLineWidth));
  setOutput(Max, HTuple(kMaxLineWidth));
}

void QueryColored(HTuple* PossibleNumberOfColors) {
  ApiScope scope("QueryColored");
  setOutput(PossibleNumberOfColors, listTuple(kColoredCounts));
}

void QueryGray(const HTuple& WindowHandle, HTuple* Grayval) {
  ApiScope scope("QueryGray");
  const char* op = "query_gray";
  windowTable().with(handleOf(WindowHandle, op), op, [](Window&) {});
  HTuple grays;
  for (Hlong g = 0; g < 256; ++g) grays.Append(HTuple(g));
  setOutput(Grayval, grays);
}

void QueryWindowType(HTuple* WindowTypes) {
  ApiScope scope("QueryWindowType");
  setOutput(WindowTypes, listTuple(kWindowTypes));
}

void SetWindowType(const HTuple& WindowType) {
  ApiScope scope("SetWindowType");
  const std::string type = choiceOf(WindowType, kWindowTypes, "set_window_type", 1);
  quorvex::common::Lock lock(defaultsMutex);
  defaults.type = type;
}

void GetWindowType(const HTuple& WindowHandle, HTuple* WindowType) {
  ApiScope scope("GetWindowType");
  const char* op = "get_window_type";
  std::string type;
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) { type = window.type; });
  setOutput(WindowType, HTuple(type.c_str()));
}

void SetWindowAttr(const HTuple& AttributeName, const HTuple& AttributeValue) {
  ApiScope scope("SetWindowAttr");
  const char* op = "set_window_attr";
  const std::string name = choiceOf(AttributeName, kWindowAttributes, op, 1);
  if (name == "border_width") {
    const Hlong width = oneInteger(AttributeValue, op, 2);
    if (width < 0 || width > kMaxWindowSide) fail(op, 1302);
    quorvex::common::Lock lock(defaultsMutex);
    defaults.borderWidth = width;
    return;
  }
  const std::string value = oneString(AttributeValue, op, 2);
  Rgb color;
  if (name != "window_title" && !parseColor(value, &color)) fail(op, 1302);
  quorvex::common::Lock lock(defaultsMutex);
  if (name == "window_title") {
    defaults.title = value;
  } else if (name == "border_color") {
    defaults.borderColor = value;
  } else {
    defaults.background = value;
  }
}

void GetWindowAttr(const HTuple& AttributeName, HTuple* AttributeValue) {
  ApiScope scope("GetWindowAttr");
  const std::string name = choiceOf(AttributeName, kWindowAttributes, "get_window_attr", 1);
  quorvex::common::Lock lock(defaultsMutex);
  HTuple value;
  if (name == "border_width") {
    value = HTuple(defaults.borderWidth);
  } else {
    value = HTuple((name == "window_title"   ? defaults.title
                    : name == "border_color" ? defaults.borderColor
                                             : defaults.background)
                       .c_str());
  }
  setOutput(AttributeValue, value);
}

namespace Standin {

void applyWindowDefaults(Window* window) {
  quorvex::common::Lock lock(defaultsMutex);
  window->type = defaults.type;
  parseColor(defaults.background, &window->background);
}

}  // namespace Standin

void ClearRectangle(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
                    const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("ClearRectangle");
  logWindowCall("ClearRectangle", WindowHandle, Row1, Column1, Row2, Column2);
  const char* op = "clear_rectangle";
  const Hlong handle = handleOf(WindowHandle, op);
  const auto v = rectangleValues({&Row1, &Column1, &Row2, &Column2}, op, 2);
  windowTable().with(handle, op, [&](Window& window) {
    const std::uint8_t values[3] = {window.background.red, window.background.green,
                                    window.background.blue};
    for (std::size_t i = 0; i < v[0].size(); ++i) {
      const Hlong row1 = std::max(v[0][i], Hlong{0}),
                  row2 = std::min<Hlong>(v[2][i], window.height - 1);
      const Hlong col1 = std::max(v[1][i], Hlong{0}),
                  col2 = std::min<Hlong>(v[3][i], window.width - 1);
      for (Hlong row = row1; row <= row2 && col1 <= col2; ++row) {
        for (int c = 0; c < 3; ++c) {
          std::memset(window.planes[c].data() + row * window.width + col1, values[c],
                      static_cast<std::size_t>(col2 - col1 + 1));
        }
      }
    }
  });
}

void CopyRectangle(const HTuple& WindowHandleSource, const HTuple& WindowHandleDestination,
                   const HTuple& Row1, const HTuple& Column1, const HTuple& Row2,
                   const HTuple& Column2, const HTuple& DestRow, const HTuple& DestColumn) {
  ApiScope scope("CopyRectangle");
  logWindowCall("CopyRectangle", WindowHandleSource, WindowHandleDestination, Row1, Column1, Row2,
                Column2, DestRow, DestColumn);
  const char* op = "copy_rectangle";
  handleOf(WindowHandleSource, op);
  handleOf(WindowHandleDestination, op);
  const auto v = rectangleValues({&Row1, &Column1, &Row2, &Column2, &DestRow, &DestColumn}, op, 3);
  copyRectangles(WindowHandleSource, WindowHandleDestination, v, op);
}

void MoveRectangle(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
                   const HTuple& Row2, const HTuple& Column2, const HTuple& DestRow,
                   const HTuple& DestColumn) {
  ApiScope scope("MoveRectangle");
  logWindowCall("MoveRectangle", WindowHandle, Row1, Column1, Row2, Column2, DestRow, DestColumn);
  const char* op = "move_rectangle";
  handleOf(WindowHandle, op);
  const auto v = rectangleValues({&Row1, &Column1, &Row2, &Column2, &DestRow, &DestColumn}, op, 2);
  copyRectangles(WindowHandle, WindowHandle, v, op);
}

}  // namespace HalconCpp
