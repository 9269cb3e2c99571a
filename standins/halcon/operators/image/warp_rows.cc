#include "operators/image/warp_rows.h"

#include <utility>
#include <vector>

#include "core/threads.h"
#include "operators/image/warp_domain.h"
#include "operators/image/warp_simd.h"

namespace HalconCpp {
namespace Standin {

namespace {

// clampToByte without the call of floor: within (0, 255) rounding half up is truncating
// v + 0.5, and the comparisons send NaN to 0 as clampToByte does.
inline std::uint8_t toByte(double v) {
  v = v > 0 ? v : 0.0;
  v = v < 255 ? v : 255.0;
  return static_cast<std::uint8_t>(static_cast<std::int32_t>(v + 0.5));
}

// floor(x + 0.5) for the positions the warps meet; those past +-2^30 only need to stay
// outside every image.
inline std::int32_t nearestIndex(double x) {
  double t = x + 0.5;
  t = t > -1073741824.0 ? t : -1073741824.0;  // NaN too
  t = t < 1073741824.0 ? t : 1073741824.0;
  const auto i = static_cast<std::int32_t>(t);
  return t < i ? i - 1 : i;
}

// Bilinear weights along one axis: the two neighbours and the second one's weight, as
// bilinearAt derives them; `eighths` holds the weight in 128ths when it is a whole number of
// them.
struct Axis {
  std::int32_t i0, i1;
  double f;
  std::int32_t eighths;  // -1: not a whole number of 128ths
};

Axis axisAt(double x, std::int32_t size) {
  x = std::clamp(x, 0.0, double(size - 1));
  Axis a;
  a.i0 = static_cast<std::int32_t>(x);
  a.i1 = std::min(a.i0 + 1, size - 1);
  a.f = x - a.i0;
  const double scaled = a.f * 128;
  a.eighths = scaled == double(static_cast<std::int32_t>(scaled)) ? int(scaled) : -1;
  return a;
}

// The work of one output row: its input positions, its domain and its pixels.
struct RowWork {
  RowWork(const ImageObject& in, const std::vector<PlanePtr>& out, std::int32_t outWidth,
          Sampling how, Inside which, const DomainRows& rows, const WarpSource& from,
          const std::vector<Axis>* axes, bool eighths, bool halved,
          const std::vector<double>& colTable)
      : image(in),
        planes(out),
        width(outWidth),
        sampling(how),
        inside(which),
        domain(rows),
        source(from),
        columns(axes),
        columnsInEighths(eighths),
        halves(halved),
        sr(std::size_t(outWidth)),
        sc(from.rowOf ? colTable : std::vector<double>(sr.size())),
        nr(sr.size()),
        nc(sr.size()),
        separable(from.rowOf != nullptr) {
    if (separable) prepareColumns();
  }

  const ImageObject& image;
  const std::vector<PlanePtr>& planes;
  std::int32_t width;
  Sampling sampling;
  Inside inside;
  const DomainRows& domain;
  const WarpSource& source;
  const std::vector<Axis>* columns;  // bilinear zooms only
  bool columnsInEighths;
  bool halves;  // columns 2c and 2c + 1, all with the same weights in 128ths

  std::vector<double> sr, sc;
  std::vector<std::int32_t> nr, nc;

  // Pixels [a, b) of `row`, all inside.
  void sample(std::int32_t row, std::int32_t a, std::int32_t b) {
    const std::size_t out = static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
    for (std::size_t ch = 0; ch < planes.size(); ++ch) {
      const std::uint8_t* p = image.pixels(ch);
      std::uint8_t* q = planes[ch]->data() + out;
      if (separable && sampling == Sampling::Nearest) {
        const std::uint8_t* s = p + image.offset(rowN, 0);
        for (std::int32_t c = a; c < b; ++c) q[c] = s[nc[std::size_t(c)]];
      } else if (separable && sampling == Sampling::Bicubic) {
        for (std::int32_t c = a; c < b; ++c) q[c] = toByte(bicubicAt(image, p, rowX, sc[c]));
      } else if (sampling == Sampling::Nearest) {
        for (std::int32_t c = a; c < b; ++c) q[c] = p[image.offset(nr[c], nc[c])];
      } else if (sampling == Sampling::Bicubic) {
        for (std::int32_t c = a; c < b; ++c) q[c] = toByte(bicubicAt(image, p, sr[c], sc[c]));
      } else if (columns) {
        sampleZoom(p, q, a, b);
      } else {
        bilinear(p, q, a, b, sr.data(), sc.data());
      }
    }
  }

  void bilinear(const std::uint8_t* p, std::uint8_t* q, std::int32_t a, std::int32_t b,
                const double* rows, const double* cols) const {
    std::int32_t c = a;
    c += static_cast<std::int32_t>(bilinearVectors(p, image.width, image.height, rows + a, cols + a,
                                                   std::size_t(b - a), q + a));
    for (; c < b; ++c) q[c] = toByte(bilinearAt(image, p, rows[c], cols[c]));
  }

  // Bilinear pixels whose input row is that of the whole row and input column that of their
  // column: with weights in 128ths every product and sum in doubles is exact, so whole numbers
  // give the same value, rounded half up by adding half of 2^14.
  void sampleZoom(const std::uint8_t* p, std::uint8_t* q, std::int32_t a, std::int32_t b) {
    const Axis r = axisAt(rowX, image.height);
    const std::uint8_t* top = p + image.offset(r.i0, 0);
    const std::uint8_t* bottom = p + image.offset(r.i1, 0);
    const Axis* cols = columns->data();
    if (columnsInEighths && r.eighths >= 0) {
      const std::int32_t wr = r.eighths, vr = 128 - wr;
      if (halves) {
        a += static_cast<std::int32_t>(
            halveVectors(top + 2 * std::ptrdiff_t{a}, bottom + 2 * std::ptrdiff_t{a},
                         128 - cols[0].eighths, vr, std::size_t(b - a), q + a));
      }
      for (std::int32_t c = a; c < b; ++c) {
        const Axis& x = cols[c];
        const std::int32_t wc = x.eighths, vc = 128 - wc;
        const std::int32_t t = top[x.i0] * vc + top[x.i1] * wc;
        const std::int32_t d = bottom[x.i0] * vc + bottom[x.i1] * wc;
        q[c] = static_cast<std::uint8_t>((t * vr + d * wr + 8192) >> 14);
      }
      return;
    }
    const double fr = r.f, gr = 1 - fr;
    const double* t = across(p, r.i0, r.i1, a, b);
    const double* d = across(p, r.i1, r.i0, a, b);
    for (std::int32_t c = a; c < b; ++c) q[c] = toByte(t[c] * gr + d[c] * fr);
  }

  // The horizontal sums of input row `row` for columns [a, b), kept for the next output
  // rows, which a zoom often reads from the same input row; `keep` is the other row in use.
  struct Across {
    const std::uint8_t* plane = nullptr;
    std::int32_t row = -1, lo = 0, hi = 0;
    std::vector<double> sums;
  };
  Across kept[2];
  const double* across(const std::uint8_t* p, std::int32_t row, std::int32_t keep, std::int32_t a,
                       std::int32_t b) {
    for (const Across& k : kept) {
      if (k.plane == p && k.row == row && k.lo <= a && b <= k.hi) return k.sums.data();
    }
    Across& k = kept[0].plane == p && kept[0].row == keep ? kept[1] : kept[0];
    k.plane = p;
    k.row = row;
    k.lo = a;
    k.hi = b;
    k.sums.resize(std::size_t(width));
    const std::uint8_t* s = p + image.offset(row, 0);
    const Axis* cols = columns->data();
    for (std::int32_t c = a; c < b; ++c) {
      const Axis& x = cols[c];
      k.sums[std::size_t(c)] = s[x.i0] * (1 - x.f) + s[x.i1] * x.f;
    }
    return k.sums.data();
  }

  // Rows [first, last). A rotated row's input positions cross many input rows, each for a few
  // pixels, and the next output rows come back to the same lines of the cache: taken a block
  // of rows at a time, a stretch of columns each, those lines are still in the first-level
  // cache when read again. A narrower row's lines stay there without it, and the block's kept
  // positions, read back from the second-level cache, cost more than they save (640 x 480 with
  // a disc domain: an eighth slower).
  void rows(std::int32_t first, std::int32_t last, Runs* runs) {
    if (separable || sampling != Sampling::Bilinear || width < kBlockedWidth) {
      for (std::int32_t r = first; r < last; ++r) {
        lay(r, runs);
        for (const auto& [a, b] : segments) sample(r, a, b);
      }
      return;
    }
    for (std::int32_t r0 = first; r0 < last; r0 += kBlockRows) {
      const std::int32_t count = std::min(kBlockRows, last - r0);
      for (std::int32_t i = 0; i < count; ++i) {
        Laid& laid = block[std::size_t(i)];
        laid.sr.resize(sr.size());
        laid.sc.resize(sc.size());
        sr.swap(laid.sr);
        sc.swap(laid.sc);
        lay(r0 + i, runs);
        sr.swap(laid.sr);
        sc.swap(laid.sc);
        laid.segments.swap(segments);
      }
      for (std::int32_t t0 = 0; t0 < width; t0 += kStretch) {
        const std::int32_t t1 = std::min(width, t0 + kStretch);
        for (std::int32_t i = 0; i < count; ++i) {
          const Laid& laid = block[std::size_t(i)];
          const std::size_t out = rowStart(r0 + i, width);
          for (const auto& [a, b] : laid.segments) {
            const std::int32_t lo = std::max(a, t0), hi = std::min(b, t1);
            if (lo >= hi) continue;
            for (std::size_t ch = 0; ch < planes.size(); ++ch) {
              bilinear(image.pixels(ch), planes[ch]->data() + out, lo, hi, laid.sr.data(),
                       laid.sc.data());
            }
          }
        }
      }
    }
  }

  // The row's inside segments, its runs, and zeros outside them.
  void lay(std::int32_t row, Runs* runs) {
    segments.clear();
    if (separable) {
      separableSegments(row);
    } else {
      source.row(row, sr.data(), sc.data());
      general();
    }
    const std::size_t out = static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
    std::int32_t c = 0;
    for (const auto& [a, b] : segments) {
      for (const PlanePtr& plane : planes) std::fill_n(plane->data() + out + c, a - c, 0);
      runs->push_back(Run{row, a, b - 1});
      c = b;
    }
    for (const PlanePtr& plane : planes) std::fill_n(plane->data() + out + c, width - c, 0);
  }

  static constexpr std::int32_t kBlockRows = 16;
  static constexpr std::int32_t kStretch = 256;
  static constexpr std::int32_t kBlockedWidth = 4 * kStretch;
  struct Laid {
    std::vector<double> sr, sc;
    std::vector<std::pair<std::int32_t, std::int32_t>> segments;
  };
  std::vector<Laid> block = std::vector<Laid>(std::size_t(kBlockRows));

  // Along a row both coordinates ascend or descend, so each bound of the input's rectangle
  // holds on a prefix or a suffix of the row and the columns inside are one stretch, its ends
  // found by bisection; the domain is then looked up within.
  void general() {
    std::int32_t a = 0, b = width;
    const auto narrow = [&](const auto& holds) {
      if (a >= b) return;
      const bool first = holds(a), last = holds(b - 1);
      if (first == last) {
        if (!first) b = a;
        return;
      }
      std::int32_t lo = a, hi = b - 1;  // holds(lo) is first's, holds(hi) last's
      while (hi - lo > 1) {
        const std::int32_t m = lo + (hi - lo) / 2;
        (holds(m) == first ? lo : hi) = m;
      }
      (first ? b : a) = hi;
    };
    const auto x = [&](std::int32_t c) { return sr[std::size_t(c)]; };
    const auto y = [&](std::int32_t c) { return sc[std::size_t(c)]; };
    if (inside == Inside::Rectangle) {
      const double lastRow = image.height - 0.5, lastCol = image.width - 0.5;
      narrow([&](std::int32_t c) { return x(c) >= -0.5; });
      narrow([&](std::int32_t c) { return x(c) < lastRow; });
      narrow([&](std::int32_t c) { return y(c) >= -0.5; });
      narrow([&](std::int32_t c) { return y(c) < lastCol; });
    } else {
      // No nearest pixel outside the rows and columns that hold the domain is in it: the walk
      // below stays within them.
      narrow([&](std::int32_t c) { return nearestIndex(x(c)) >= domain.top(); });
      narrow([&](std::int32_t c) { return nearestIndex(x(c)) < domain.bottom(); });
      narrow([&](std::int32_t c) { return nearestIndex(y(c)) >= domain.left(); });
      narrow([&](std::int32_t c) { return nearestIndex(y(c)) < domain.right(); });
    }
    const bool all = inside == Inside::Rectangle || domain.full();
    if (!all || sampling == Sampling::Nearest) {
      nearestIndices(sr.data() + a, std::size_t(b - a), nr.data() + a);
      nearestIndices(sc.data() + a, std::size_t(b - a), nc.data() + a);
    }
    if (all) return add(a, b);
    // The nearest rows and columns ascend or descend too: those on one input row are one
    // stretch, and those of it in one of its runs another, found by bisection.
    const std::int32_t *rows = nr.data(), *cols = nc.data();
    const bool up = b > a && cols[b - 1] >= cols[a];
    // A stretch is about as long as the one before: its end is looked for from there.
    for (std::int32_t c = a, e = a, length = 1; c < b; length = e - c, c = e) {
      const std::int32_t i = rows[c];
      e = std::min(c + length, b);
      if (rows[e - 1] == i) {
        while (e < b && rows[e] == i) ++e;
      } else {
        while (rows[e - 1] != i) --e;
      }
      if (i < 0 || i >= image.height) continue;
      const std::int32_t *first = cols + c, *last = cols + e;
      // Most stretches lie inside a row's only run.
      if (domain.end(i) - domain.begin(i) == 1) {
        const auto [lo, hi] = std::minmax(*first, last[-1]);
        if (lo >= domain.begin(i)->begin && hi <= domain.begin(i)->end) {
          add(c, e);
          continue;
        }
      }
      const auto inRun = [&](const Run& run) {
        const std::int32_t* lo =
            up ? std::lower_bound(first, last, run.begin)
               : std::partition_point(first, last, [&](std::int32_t j) { return j > run.end; });
        const std::int32_t* hi =
            up ? std::upper_bound(lo, last, run.end)
               : std::partition_point(lo, last, [&](std::int32_t j) { return j >= run.begin; });
        add(std::int32_t(lo - cols), std::int32_t(hi - cols));
      };
      if (up) {
        for (const Run* run = domain.begin(i); run != domain.end(i); ++run) inRun(*run);
      } else {
        for (const Run* run = domain.end(i); run != domain.begin(i);) inRun(*--run);
      }
    }
  }

  static void nearestIndices(const double* x, std::size_t n, std::int32_t* out) {
    for (std::size_t k = nearestVectors(x, n, out); k < n; ++k) out[k] = nearestIndex(x[k]);
  }

  // Adds columns [a, b) to the row's inside segments, joined to one they touch.
  void add(std::int32_t a, std::int32_t b, bool in = true) {
    if (!in || a >= b) return;
    if (!segments.empty() && segments.back().second == a) {
      segments.back().second = b;
    } else {
      segments.emplace_back(a, b);
    }
  }

  // A zoom's row reads one input row: its runs give the columns whose nearest input column
  // they hold, found by bisection where those columns ascend.
  void separableSegments(std::int32_t row) {
    rowX = source.rowOf(row);
    rowN = nearestIndex(rowX);
    if (inside == Inside::Rectangle) {
      if (rowX >= -0.5 && rowX < image.height - 0.5) segments = columnsIn;
      return;
    }
    if (rowN < 0 || rowN >= image.height) return;
    if (domain.full()) {
      segments = columnsIn;
      return;
    }
    if (!ascending) {
      for (std::int32_t c = 0; c < width; ++c)
        add(c, c + 1, domain.contains(rowN, nc[std::size_t(c)]));
      return;
    }
    for (const Run* run = domain.begin(rowN); run != domain.end(rowN); ++run) {
      const auto a = std::lower_bound(nc.begin(), nc.end(), run->begin) - nc.begin();
      const auto b = std::upper_bound(nc.begin(), nc.end(), run->end) - nc.begin();
      add(static_cast<std::int32_t>(a), static_cast<std::int32_t>(b));
    }
  }

  // For a zoom: the columns' nearest input columns, whether they ascend, and the columns
  // inside the input.
  void prepareColumns() {
    ascending = true;
    for (std::int32_t c = 0; c < width; ++c) {
      const double y = sc[std::size_t(c)];
      const std::int32_t j = nc[std::size_t(c)] = nearestIndex(y);
      ascending = ascending && (c == 0 || j >= nc[std::size_t(c) - 1]);
      add(c, c + 1,
          inside == Inside::Rectangle ? y >= -0.5 && y < image.width - 0.5
                                      : j >= 0 && j < image.width);
    }
    columnsIn.swap(segments);
  }

  bool separable;
  double rowX = 0;
  std::int32_t rowN = 0;
  bool ascending = false;
  std::vector<std::pair<std::int32_t, std::int32_t>> segments, columnsIn;
};

}  // namespace

ImagePtr warpImage(const ImagePtr& image, std::int32_t width, std::int32_t height,
                   Sampling sampling, Inside inside, const WarpSource& source, const char* op) {
  std::vector<PlanePtr> planes = unwrittenPlanes(*image, width, height, op);
  const DomainRows domain(*image);
  std::vector<Axis> columns;
  std::vector<double> colTable;
  bool inEighths = true;
  if (source.rowOf) {
    colTable.resize(std::size_t(width));
    for (std::int32_t c = 0; c < width; ++c) colTable[std::size_t(c)] = source.colOf(c);
    if (sampling == Sampling::Bilinear) {
      for (const double y : colTable) {
        columns.push_back(axisAt(y, image->width));
        inEighths = inEighths && columns.back().eighths >= 0;
      }
    }
  }
  bool halves = inEighths && vectorPathsEnabled() && !columns.empty();
  for (std::size_t c = 0; halves && c < columns.size(); ++c) {
    halves = columns[c].i0 == std::int32_t(2 * c) && columns[c].i1 == columns[c].i0 + 1 &&
             columns[c].eighths == columns[0].eighths;
  }
  // An interpolated pixel costs several of the copies a band's least work counts: a small
  // image's turn is shared out too.
  const std::int64_t perPixel = sampling == Sampling::Nearest || halves ? 1 : 4;
  const int bands = bandsFor(height, std::int64_t{width} * height * perPixel);
  std::vector<Runs> bandRuns(static_cast<std::size_t>(bands));
  forBands(height, bands, [&](int band, std::int64_t begin, std::int64_t end) {
    RowWork work(*image, planes, width, sampling, inside, domain, source,
                 columns.empty() ? nullptr : &columns, inEighths, halves, colTable);
    Runs& runs = bandRuns[static_cast<std::size_t>(band)];
    runs.reserve(static_cast<std::size_t>(end - begin));  // a run a row, most often
    work.rows(static_cast<std::int32_t>(begin), static_cast<std::int32_t>(end), &runs);
  });
  return joined(width, height, std::move(planes), bandRuns);
}

ImagePtr moveImage(const ImagePtr& image, std::int32_t width, std::int32_t height,
                   const PixelMove& move, const char* op) {
  std::vector<PlanePtr> planes = unwrittenPlanes(*image, width, height, op);
  const DomainRows domain(*image);
  const int bands = bandsFor(height, std::int64_t{width} * height);
  std::vector<Runs> bandRuns(static_cast<std::size_t>(bands));
  forBands(height, bands, [&](int band, std::int64_t begin, std::int64_t end) {
    Runs& runs = bandRuns[static_cast<std::size_t>(band)];
    Runs pieces;
    for (auto r = static_cast<std::int32_t>(begin); r < end; ++r) {
      const std::int32_t sr0 = move.r0 + r * move.drR, sc0 = move.c0 + r * move.dcR;
      pieces.clear();
      if (move.drC == 0) {
        // One input row: its runs, turned round when the columns run backwards.
        if (sr0 >= 0 && sr0 < image->height) {
          const auto piece = [&](const Run& run) {
            const std::int32_t a = (run.begin - sc0) * move.dcC, b = (run.end - sc0) * move.dcC;
            const std::int32_t lo = std::max(std::min(a, b), 0),
                               hi = std::min(std::max(a, b), width - 1);
            if (lo <= hi) pieces.push_back(Run{r, lo, hi});
          };
          if (domain.full()) {
            piece(Run{sr0, 0, image->width - 1});
          } else if (move.dcC > 0) {
            for (const Run* run = domain.begin(sr0); run != domain.end(sr0); ++run) piece(*run);
          } else {
            for (const Run* run = domain.end(sr0); run != domain.begin(sr0);) piece(*--run);
          }
        }
      } else {
        // One input column, walked down or up its rows.
        for (std::int32_t c = 0; c < width; ++c) {
          if (!domain.contains(sr0 + c * move.drC, sc0)) continue;
          if (!pieces.empty() && pieces.back().end + 1 == c) {
            pieces.back().end = c;
          } else {
            pieces.push_back(Run{r, c, c});
          }
        }
      }
      const std::size_t out = static_cast<std::size_t>(r) * static_cast<std::size_t>(width);
      for (std::size_t ch = 0; ch < planes.size(); ++ch) {
        std::uint8_t* q = planes[ch]->data() + out;
        const std::uint8_t* p = image->pixels(ch);
        std::int32_t c = 0;
        for (const Run& piece : pieces) {
          std::fill(q + c, q + piece.begin, std::uint8_t{0});
          const std::ptrdiff_t at =
              static_cast<std::ptrdiff_t>(sr0 + piece.begin * move.drC) * image->width +
              (sc0 + piece.begin * move.dcC);
          const std::ptrdiff_t step = std::ptrdiff_t{move.drC} * image->width + move.dcC;
          const std::uint8_t* s = p + at;
          const std::int32_t n = piece.end - piece.begin + 1;
          if (step == 1) {
            std::copy(s, s + n, q + piece.begin);
          } else {
            for (std::int32_t i = 0; i < n; ++i) q[piece.begin + i] = s[i * step];
          }
          c = piece.end + 1;
        }
        std::fill(q + c, q + width, std::uint8_t{0});
      }
      runs.insert(runs.end(), pieces.begin(), pieces.end());
    }
  });
  return joined(width, height, std::move(planes), bandRuns);
}

}  // namespace Standin
}  // namespace HalconCpp
