#include "operators/morphology/bit_morphology.h"

#include <algorithm>
#include <cstdint>

#include "core/threads.h"

namespace HalconCpp {
namespace Standin {

namespace {

using Word = std::uint64_t;
constexpr Word kAll = ~Word{0};

// Inclusive bounds of rows and columns; first > last: empty.
struct Bounds {
  std::int64_t row1, col1, row2, col2;
  bool empty() const { return row1 > row2 || col1 > col2; }
};

struct ElementReach {
  std::int64_t minDy, maxDy, minBegin, maxEnd;
};

ElementReach reachOf(const Element& element) {
  ElementReach r{element.front().dy, element.front().dy, element.front().begin,
                 element.front().end};
  for (const Span& s : element) {
    r.minDy = std::min<std::int64_t>(r.minDy, s.dy);
    r.maxDy = std::max<std::int64_t>(r.maxDy, s.dy);
    r.minBegin = std::min<std::int64_t>(r.minBegin, s.begin);
    r.maxEnd = std::max<std::int64_t>(r.maxEnd, s.end);
  }
  return r;
}

// Where a step's result can lie: a dilation reaches as far as the element, an erosion keeps
// the centres whose element stays inside the box.
Bounds boxAfter(const Bounds& in, const ElementReach& r, bool dilate) {
  if (dilate)
    return {in.row1 + r.minDy, in.col1 + r.minBegin, in.row2 + r.maxDy, in.col2 + r.maxEnd};
  return {in.row1 - r.minDy, in.col1 - r.minBegin, in.row2 - r.maxDy, in.col2 - r.maxEnd};
}

// The element's rows grouped by their span, as run_sets.cc groups them.
struct Group {
  std::int64_t begin, end;
  std::vector<std::int64_t> dys;
};

std::vector<Group> groupsOf(const Element& element) {
  std::vector<Group> groups;
  for (const Span& span : element) {
    auto it = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
      return g.begin == span.begin && g.end == span.end;
    });
    if (it == groups.end()) {
      groups.push_back(Group{span.begin, span.end, {}});
      it = groups.end() - 1;
    }
    it->dys.push_back(span.dy);
  }
  return groups;
}

// Rows row1 ... row2 of bits over the frame's columns: bit i of word w is column
// frameCol + 64 w + i.
struct Bits {
  std::int64_t row1 = 0, row2 = -1;
  std::size_t words = 0;
  std::vector<Word> data;

  Bits(std::int64_t first, std::int64_t last, std::size_t w)
      : row1(first), row2(last), words(w), data(static_cast<std::size_t>(last - first + 1) * w) {}
  bool has(std::int64_t row) const { return row >= row1 && row <= row2; }
  Word* row(std::int64_t r) { return data.data() + static_cast<std::size_t>(r - row1) * words; }
  const Word* row(std::int64_t r) const {
    return data.data() + static_cast<std::size_t>(r - row1) * words;
  }
};

// out(x) = in(x - k): towards higher columns for k > 0, lower for k < 0; zeros shifted in.
// The loops over whole words carry no bounds checks, so that the compiler vectorises them.
void shiftRow(const Word* in, std::size_t words, std::int64_t k, Word* out) {
  const std::size_t m = static_cast<std::size_t>(k >= 0 ? k : -k);
  const std::size_t ws = std::min(m >> 6, words);
  const int b = static_cast<int>(m & 63);
  const std::size_t moved = words - ws;  // words that receive bits of `in`
  if (k >= 0) {
    std::fill(out, out + ws, Word{0});
    Word* to = out + ws;
    if (b == 0) {
      std::copy(in, in + moved, to);
      return;
    }
    if (moved == 0) return;
    to[0] = in[0] << b;
    for (std::size_t i = 1; i < moved; ++i) to[i] = (in[i] << b) | (in[i - 1] >> (64 - b));
  } else {
    std::fill(out + moved, out + words, Word{0});
    const Word* from = in + ws;
    if (b == 0) {
      std::copy(from, from + moved, out);
      return;
    }
    if (moved == 0) return;
    for (std::size_t i = 0; i + 1 < moved; ++i) out[i] = (from[i] >> b) | (from[i + 1] << (64 - b));
    out[moved - 1] = from[moved - 1] >> b;
  }
}

// The scratch rows of one band.
struct Scratch {
  std::vector<Word> group, shifted, spare;
  explicit Scratch(std::size_t words) : group(words), shifted(words), spare(words) {}
};

// t = OR (dilation) or AND (erosion) of t(x - j) (dilation) or t(x + j) (erosion) for
// j = 0 ... length - 1, by doubling the covered length.
void spread(Word* t, std::size_t words, std::int64_t length, bool dilate, Word* spare) {
  std::int64_t covered = 1;
  while (covered < length) {
    const std::int64_t step = std::min(covered, length - covered);
    shiftRow(t, words, dilate ? step : -step, spare);
    if (dilate) {
      for (std::size_t i = 0; i < words; ++i) t[i] |= spare[i];
    } else {
      for (std::size_t i = 0; i < words; ++i) t[i] &= spare[i];
    }
    covered += step;
  }
}

// Output row y of a step into `acc`; false when the row is empty.
bool stepRow(const Bits& in, const std::vector<Group>& groups, bool dilate, std::int64_t y,
             Word* acc, Scratch& s) {
  const std::size_t words = in.words;
  bool first = true;
  for (const Group& g : groups) {
    bool any = false;
    for (const std::int64_t dy : g.dys) {
      const std::int64_t source = dilate ? y - dy : y + dy;
      if (!in.has(source)) {
        if (dilate) continue;
        return false;  // part of the element falls on no pixel of the region
      }
      const Word* row = in.row(source);
      if (!any) {
        std::copy(row, row + words, s.group.data());
        any = true;
      } else if (dilate) {
        for (std::size_t i = 0; i < words; ++i) s.group[i] |= row[i];
      } else {
        for (std::size_t i = 0; i < words; ++i) s.group[i] &= row[i];
      }
    }
    if (!any) continue;
    // Dilation: out(x) = OR over k in [begin, end] of group(x - k); erosion: AND of
    // group(x + k). A dilation shifts by `begin` before it spreads and an erosion after it
    // narrows, so that every bit the result needs is read from inside the frame (or is truly
    // 0 beyond it).
    const std::int64_t length = g.end - g.begin + 1;
    if (dilate) {
      shiftRow(s.group.data(), words, g.begin, s.shifted.data());
      spread(s.shifted.data(), words, length, true, s.spare.data());
    } else {
      spread(s.group.data(), words, length, false, s.spare.data());
      shiftRow(s.group.data(), words, -g.begin, s.shifted.data());
    }
    if (first) {
      std::copy(s.shifted.begin(), s.shifted.end(), acc);
      first = false;
    } else if (dilate) {
      for (std::size_t i = 0; i < words; ++i) acc[i] |= s.shifted[i];
    } else {
      for (std::size_t i = 0; i < words; ++i) acc[i] &= s.shifted[i];
    }
  }
  if (first) return false;
  for (std::size_t i = 0; i < words; ++i) {
    if (acc[i] != 0) return true;
  }
  return false;
}

void appendRowRuns(const Word* bits, std::size_t words, std::int64_t frameCol, std::int32_t row,
                   Runs& out) {
  bool inRun = false;
  std::int64_t start = 0;
  for (std::size_t i = 0; i < words; ++i) {
    const Word w = bits[i];
    if ((!inRun && w == 0) || (inRun && w == kAll)) continue;
    int p = 0;
    while (p < 64) {
      const Word from = kAll << p;
      const Word look = inRun ? ~w & from : w & from;
      if (look == 0) break;
      const int edge = __builtin_ctzll(look);
      const std::int64_t x = frameCol + static_cast<std::int64_t>(i) * 64 + edge;
      if (inRun) {
        out.push_back(Run{row, static_cast<std::int32_t>(start), static_cast<std::int32_t>(x - 1)});
      } else {
        start = x;
      }
      inRun = !inRun;
      p = edge;
    }
  }
  if (inRun) {
    const std::int64_t end = frameCol + static_cast<std::int64_t>(words) * 64 - 1;
    out.push_back(Run{row, static_cast<std::int32_t>(start), static_cast<std::int32_t>(end)});
  }
}

void setBits(Word* row, std::int64_t a, std::int64_t b) {
  const std::int64_t wa = a >> 6, wb = b >> 6;
  const Word low = kAll << (a & 63), high = kAll >> (63 - (b & 63));
  if (wa == wb) {
    row[wa] |= low & high;
    return;
  }
  row[wa] |= low;
  for (std::int64_t i = wa + 1; i < wb; ++i) row[i] = kAll;
  row[wb] |= high;
}

// Beyond these coordinates, or for frames this large beside the runs, the runs' own
// functions do the work.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 30;
constexpr std::int64_t kLargestFrameWords = std::int64_t{1} << 23;

Runs byRuns(const Runs& region, const std::vector<MorphologyStep>& steps) {
  Runs current;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Runs& in = i == 0 ? region : current;
    current =
        steps[i].dilate ? dilateRuns(in, *steps[i].element) : erodeRuns(in, *steps[i].element);
  }
  return current;
}

}  // namespace

Runs morphologySteps(const Runs& region, const std::vector<MorphologyStep>& steps) {
  if (!vectorPathsEnabled() || region.empty() || steps.empty()) return byRuns(region, steps);
  std::int32_t r1, c1, r2, c2;
  runsBox(region, &r1, &c1, &r2, &c2);
  std::vector<Bounds> boxes{Bounds{r1, c1, r2, c2}};
  Bounds frame = boxes.front();
  for (const MorphologyStep& step : steps) {
    if (step.element->empty()) return byRuns(region, steps);
    const Bounds next = boxAfter(boxes.back(), reachOf(*step.element), step.dilate);
    if (next.empty()) return {};
    boxes.push_back(next);
    frame.col1 = std::min(frame.col1, next.col1);
    frame.col2 = std::max(frame.col2, next.col2);
    for (const std::int64_t v : {next.row1, next.row2, next.col1, next.col2}) {
      if (v < -kCoordinateLimit || v > kCoordinateLimit) return byRuns(region, steps);
    }
  }
  const auto words = static_cast<std::size_t>((frame.col2 - frame.col1 + 64) / 64);
  std::int64_t frameWords = 0;
  for (const Bounds& box : boxes) frameWords += (box.row2 - box.row1 + 1) * std::int64_t(words);
  const auto runs = static_cast<std::int64_t>(region.size());
  if (frameWords > kLargestFrameWords || frameWords > 8 * (runs + (r2 - r1 + 1))) {
    return byRuns(region, steps);
  }

  Bits current(boxes[0].row1, boxes[0].row2, words);
  for (const Run& run : region) {
    setBits(current.row(run.row), run.begin - frame.col1, run.end - frame.col1);
  }
  Runs result;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const bool last = i + 1 == steps.size();
    const Bounds& out = boxes[i + 1];
    const std::vector<Group> groups = groupsOf(*steps[i].element);
    const bool dilate = steps[i].dilate;
    const std::int64_t rows = out.row2 - out.row1 + 1;
    const int bands = bandsFor(rows, rows * std::int64_t(words) * 16 *
                                         static_cast<std::int64_t>(steps[i].element->size()));
    Bits next(last ? 0 : out.row1, last ? -1 : out.row2, words);
    std::vector<Runs> parts(static_cast<std::size_t>(bands));
    forBands(rows, bands, [&](int band, std::int64_t begin, std::int64_t end) {
      Scratch scratch(words);
      std::vector<Word> acc(words);
      for (std::int64_t y = out.row1 + begin; y < out.row1 + end; ++y) {
        Word* target = last ? acc.data() : next.row(y);
        if (!stepRow(current, groups, dilate, y, target, scratch)) {
          if (!last) std::fill(target, target + words, Word{0});
          continue;
        }
        if (last) {
          appendRowRuns(target, words, frame.col1, static_cast<std::int32_t>(y),
                        parts[static_cast<std::size_t>(band)]);
        }
      }
    });
    if (last) {
      std::size_t total = 0;
      for (const Runs& part : parts) total += part.size();
      result.reserve(total);
      for (const Runs& part : parts) result.insert(result.end(), part.begin(), part.end());
    } else {
      current = std::move(next);
    }
  }
  return result;
}

}  // namespace Standin
}  // namespace HalconCpp
