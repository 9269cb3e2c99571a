// Contours cut to a rectangle (crop_contours_xld at the sides, clip_contours_xld at the
// points), shortened at their ends, and sorted by their position.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct CropBox {
  double row1, col1, row2, col2;
  bool contains(double r, double c) const {
    return r >= row1 && r <= row2 && c >= col1 && c <= col2;
  }
};

// Builds pieces point by point, each point with every per-point attribute of its source.
class PieceBuilder {
 public:
  explicit PieceBuilder(const ContourObject& source) : source_(source) {}
  // The point at fraction t of the way from point i to point i+1 (t 0 is point i itself).
  void add(std::size_t i, double t) {
    if (!piece_) start();
    const std::size_t j = t == 0 ? i : i + 1;
    const auto at = [&](const std::vector<double>& v) { return v[i] + t * (v[j] - v[i]); };
    piece_->rows.push_back(at(source_.rows));
    piece_->cols.push_back(at(source_.cols));
    for (std::size_t a = 0; a < source_.attribs.size(); ++a) {
      piece_->attribs[a].second.push_back(at(source_.attribs[a].second));
    }
  }
  bool open() const { return piece_ != nullptr; }
  void finish(std::vector<ContourPtr>* pieces) {
    if (piece_) pieces->push_back(std::move(piece_));
    piece_.reset();
  }

 private:
  void start() {
    piece_ = makeContour({}, {});
    for (const auto& entry : source_.attribs) piece_->attribs.push_back({entry.first, {}});
    piece_->globalAttribs = source_.globalAttribs;
  }
  const ContourObject& source_;
  ContourPtr piece_;
};

// Liang-Barsky: the fractions [t0, t1] of segment i that lie in the box; false for none.
bool segmentInBox(const ContourObject& c, std::size_t i, const CropBox& box, double* t0,
                  double* t1) {
  const double dr = c.rows[i + 1] - c.rows[i], dc = c.cols[i + 1] - c.cols[i];
  const double p[4] = {-dr, dr, -dc, dc};
  const double q[4] = {c.rows[i] - box.row1, box.row2 - c.rows[i], c.cols[i] - box.col1,
                       box.col2 - c.cols[i]};
  *t0 = 0;
  *t1 = 1;
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
    } else if (p[k] < 0) {
      *t0 = std::max(*t0, q[k] / p[k]);
    } else {
      *t1 = std::min(*t1, q[k] / p[k]);
    }
  }
  return *t0 <= *t1;
}

std::vector<ContourPtr> cropped(const ContourObject& c, const CropBox& box, bool keepClosed) {
  std::vector<ContourPtr> pieces;
  PieceBuilder builder(c);
  const std::size_t n = c.size();
  if (n == 1 && box.contains(c.rows[0], c.cols[0])) builder.add(0, 0);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    double t0, t1;
    if (!segmentInBox(c, i, box, &t0, &t1)) {
      builder.finish(&pieces);
      continue;
    }
    // A segment entering the box past its start begins a new piece at the side.
    if (t0 > 0) {
      builder.finish(&pieces);
      builder.add(i, t0);
    } else if (!builder.open()) {
      builder.add(i, 0);
    }
    if (t1 < 1) {
      builder.add(i, t1);
      builder.finish(&pieces);
    } else {
      builder.add(i + 1, 0);
    }
  }
  builder.finish(&pieces);
  // A closed contour cut open: the pieces through its first point are one piece.
  if (keepClosed && c.closed() && pieces.size() > 1 && box.contains(c.rows[0], c.cols[0])) {
    ContourObject& last = *pieces.back();
    const ContourObject& first = *pieces.front();
    last.rows.insert(last.rows.end(), first.rows.begin() + 1, first.rows.end());
    last.cols.insert(last.cols.end(), first.cols.begin() + 1, first.cols.end());
    for (std::size_t a = 0; a < last.attribs.size(); ++a) {
      const std::vector<double>& from = first.attribs[a].second;
      last.attribs[a].second.insert(last.attribs[a].second.end(), from.begin() + 1, from.end());
    }
    pieces.erase(pieces.begin());
  }
  return pieces;
}

std::vector<HObject::Item> itemsOf(const std::vector<ContourPtr>& pieces) {
  return {pieces.begin(), pieces.end()};
}

// Points first..last of a contour with their attributes.
ContourPtr slice(const ContourObject& c, std::size_t first, std::size_t last) {
  PieceBuilder builder(c);
  for (std::size_t i = first; i <= last; ++i) builder.add(i, 0);
  std::vector<ContourPtr> pieces;
  builder.finish(&pieces);
  return pieces.front();
}

}  // namespace

void CropContoursXld(const HObject& Contours, HObject* CroppedContours, const HTuple& Row1,
                     const HTuple& Col1, const HTuple& Row2, const HTuple& Col2,
                     const HTuple& CloseContours) {
  ApiScope scope("CropContoursXld");
  const char* op = "crop_contours_xld";
  const CropBox box{oneNumber(Row1, op, 1), oneNumber(Col1, op, 2), oneNumber(Row2, op, 3),
                    oneNumber(Col2, op, 4)};
  const std::string close = oneString(CloseContours, op, 5);
  if (close != "true" && close != "false") fail(op, 1305);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    for (const ContourPtr& piece : cropped(*contour, box, close == "true")) items.push_back(piece);
  }
  setOutput(CroppedContours, objectOf(items));
}

void ClipContoursXld(const HObject& Contours, HObject* ClippedContours, const HTuple& Row1,
                     const HTuple& Column1, const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("ClipContoursXld");
  const char* op = "clip_contours_xld";
  // The rectangle covers its pixels as a region does: half a pixel beyond the given rows
  // and columns.
  const CropBox box{static_cast<double>(oneInteger(Row1, op, 1)) - 0.5,
                    static_cast<double>(oneInteger(Column1, op, 2)) - 0.5,
                    static_cast<double>(oneInteger(Row2, op, 3)) + 0.5,
                    static_cast<double>(oneInteger(Column2, op, 4)) + 0.5};
  std::vector<ContourPtr> pieces;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    PieceBuilder builder(*contour);
    for (std::size_t i = 0; i < contour->size(); ++i) {
      if (box.contains(contour->rows[i], contour->cols[i])) {
        builder.add(i, 0);
      } else {
        builder.finish(&pieces);
      }
    }
    builder.finish(&pieces);
  }
  setOutput(ClippedContours, objectOf(itemsOf(pieces)));
}

void ClipEndPointsContoursXld(const HObject& Contours, HObject* ClippedContours, const HTuple& Mode,
                              const HTuple& Length) {
  ApiScope scope("ClipEndPointsContoursXld");
  const char* op = "clip_end_points_contours_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "num_points" && mode != "length") fail(op, 1301);
  const double length = oneNumber(Length, op, 2);
  if (!(length >= 0)) fail(op, 1302);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    const std::size_t n = contour->size();
    std::size_t first = 0, last = n == 0 ? 0 : n - 1;
    if (mode == "num_points") {
      const double count = std::floor(length);
      // Clipping all points away leaves nothing of the contour.
      if (n == 0 || 2 * count >= static_cast<double>(n)) continue;
      first = static_cast<std::size_t>(count);
      last = n - 1 - first;
    } else {
      // The points closer than Length to an end, along the contour, go.
      double run = 0;
      while (first + 1 < n && run < length) {
        run += std::hypot(contour->rows[first + 1] - contour->rows[first],
                          contour->cols[first + 1] - contour->cols[first]);
        ++first;
      }
      if (run < length) continue;
      run = 0;
      while (last > first && run < length) {
        run += std::hypot(contour->rows[last] - contour->rows[last - 1],
                          contour->cols[last] - contour->cols[last - 1]);
        --last;
      }
      if (run < length || n == 0) continue;
    }
    items.push_back(slice(*contour, first, last));
  }
  setOutput(ClippedContours, objectOf(items));
}

void SortContoursXld(const HObject& Contours, HObject* SortedContours, const HTuple& SortMode,
                     const HTuple& Order, const HTuple& RowOrCol) {
  ApiScope scope("SortContoursXld");
  const char* op = "sort_contours_xld";
  const std::string mode = oneString(SortMode, op, 1);
  const std::string order = oneString(Order, op, 2);
  const std::string rowOrCol = oneString(RowOrCol, op, 3);
  if (mode != "character" && mode != "upper_left" && mode != "upper_right" &&
      mode != "lower_left" && mode != "lower_right") {
    fail(op, 1301);
  }
  if (order != "true" && order != "false") fail(op, 1302);
  if (rowOrCol != "row" && rowOrCol != "column") fail(op, 1303);
  const bool byRow = rowOrCol == "row";
  struct Key {
    double first, second, firstEnd;
  };
  std::vector<Key> keys;
  for (const ContourObject* c : contoursOf(Contours, op, 1)) {
    double r1 = 0, r2 = 0, c1 = 0, c2 = 0;
    if (c->size() > 0) {
      r1 = *std::min_element(c->rows.begin(), c->rows.end());
      r2 = *std::max_element(c->rows.begin(), c->rows.end());
      c1 = *std::min_element(c->cols.begin(), c->cols.end());
      c2 = *std::max_element(c->cols.begin(), c->cols.end());
    }
    const bool lower = mode == "lower_left" || mode == "lower_right";
    const bool right = mode == "upper_right" || mode == "lower_right";
    const double row = lower ? r2 : r1, col = right ? c2 : c1;
    keys.push_back(byRow ? Key{row, col, r2} : Key{col, row, c2});
  }
  if (mode == "character") {
    // Contours overlapping, in the sorting coordinate, the line the foremost one begins
    // belong to that line, and are ordered along it by the other coordinate.
    std::vector<std::size_t> byFirst(keys.size());
    std::iota(byFirst.begin(), byFirst.end(), std::size_t{0});
    std::stable_sort(byFirst.begin(), byFirst.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a].first < keys[b].first; });
    double lineEnd = -1e300, line = 0;
    for (const std::size_t i : byFirst) {
      if (keys[i].first > lineEnd) {
        line = keys[i].first;
        lineEnd = keys[i].firstEnd;
      } else {
        lineEnd = std::max(lineEnd, keys[i].firstEnd);
      }
      keys[i].first = line;
    }
  }
  std::vector<std::size_t> indices(keys.size());
  std::iota(indices.begin(), indices.end(), std::size_t{0});
  std::stable_sort(indices.begin(), indices.end(), [&](std::size_t a, std::size_t b) {
    return keys[a].first != keys[b].first ? keys[a].first < keys[b].first
                                          : keys[a].second < keys[b].second;
  });
  if (order == "false") std::reverse(indices.begin(), indices.end());
  std::vector<HObject::Item> sorted;
  for (const std::size_t i : indices) sorted.push_back(Contours.Items()[i]);
  setOutput(SortedContours, objectOf(sorted));
}

}  // namespace HalconCpp
