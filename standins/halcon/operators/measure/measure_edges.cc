// measure_projection, measure_pos, measure_pairs and measure_thresh (HALCON 11.0 reference,
// chapter "1D Measuring"). The profile is smoothed with a Gaussian of Sigma, mirrored at its
// ends; edges are the extrema of its derivative, placed between samples by the parabola
// through the extremum and its two neighbours.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsMeasure.h"
#include "operators/filters/image_kernels.h"
#include "operators/measure/measure_object.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr double kSqrtTwoPi = 2.50662827463100050242;

struct Edge {
  double s = 0;          // the axis coordinate
  double amplitude = 0;  // signed: positive from dark to bright along the axis
};

Profile profileFor(const HObject& Image, const HTuple& MeasureHandle, const char* op) {
  const ImagePtr image =
      oneImage(Image, op, 1, {PixelType::Byte, PixelType::Uint2, PixelType::Real});
  return profileOf(*image, measureOf(MeasureHandle, op, 1));
}

// The Gaussian's reach in samples: 4 Sigma, but never past twice the profile (the mirrored
// profile repeats every two lengths), so that a huge Sigma costs no more than the profile.
std::int32_t reachOf(double sigma, std::size_t length) {
  return static_cast<std::int32_t>(std::min(std::ceil(4 * sigma), 2 * double(length) + 2));
}

// The profile convolved with `kernel` (centred, of odd size), mirrored at both ends.
std::vector<double> convolved(const std::vector<double>& p, const std::vector<double>& kernel) {
  const auto n = static_cast<std::int32_t>(p.size());
  const auto reach = static_cast<std::int32_t>(kernel.size() / 2);
  std::vector<double> out(p.size());
  for (std::int32_t k = 0; k < n; ++k) {
    double sum = 0;
    for (std::int32_t m = -reach; m <= reach; ++m) {
      sum += p[static_cast<std::size_t>(mirroredIndex(k + m, n))] *
             kernel[static_cast<std::size_t>(m + reach)];
    }
    out[static_cast<std::size_t>(k)] = sum;
  }
  return out;
}

std::vector<double> smoothed(const std::vector<double>& p, double sigma) {
  if (sigma <= 0 || p.empty()) return p;
  const std::int32_t reach = reachOf(sigma, p.size());
  std::vector<double> kernel;
  double total = 0;
  for (std::int32_t m = -reach; m <= reach; ++m) {
    // m / sigma first: a tiny Sigma gives 0 off the centre rather than 0 / 0.
    const double x = m / sigma;
    kernel.push_back(std::exp(-x * x / 2));
    total += kernel.back();
  }
  for (double& w : kernel) w /= total;
  return convolved(p, kernel);
}

// The derivative of the Gaussian-smoothed profile, in grey values a pixel: the sampled
// derivative of the Gaussian, scaled so that a ramp of slope 1 gives 1.
std::vector<double> derivative(const std::vector<double>& p, double sigma) {
  const std::int32_t reach = std::max(1, reachOf(sigma, p.size()));
  std::vector<double> kernel;
  double moment = 0;
  for (std::int32_t m = -reach; m <= reach; ++m) {
    // Out[k] sums p[k + m] * kernel[m]: the weight grows with m.
    const double x = m / sigma;
    kernel.push_back(m * std::exp(-x * x / 2));
    moment += m * kernel.back();
  }
  for (double& w : kernel) w /= moment;
  return convolved(p, kernel);
}

std::vector<Edge> edgesOf(const Profile& profile, double sigma, double threshold) {
  std::vector<Edge> edges;
  if (profile.values.size() < 3) return edges;
  const std::vector<double> d = derivative(profile.values, sigma);
  for (std::size_t k = 1; k + 1 < d.size(); ++k) {
    const double a = std::fabs(d[k - 1]), b = std::fabs(d[k]), c = std::fabs(d[k + 1]);
    // Of equal neighbours the first is the extremum, so that a plateau gives one edge.
    if (!(b > a && b >= c)) continue;
    const double curvature = a - 2 * b + c;
    const double offset = curvature < 0 ? std::clamp(0.5 * (a - c) / curvature, -0.5, 0.5) : 0;
    const double peak = (b - 0.25 * (a - c) * offset) * sigma * kSqrtTwoPi;
    if (peak < threshold) continue;
    edges.push_back({profile.first + double(k) + offset, d[k] > 0 ? peak : -peak});
  }
  return edges;
}

enum class Transition { All, Positive, Negative };

Transition transitionOf(const std::string& name, const char* op, int n) {
  if (name == "all") return Transition::All;
  if (name == "positive") return Transition::Positive;
  if (name == "negative") return Transition::Negative;
  fail(op, 1300 + n);
}

enum class Select { All, First, Last };

Select selectOf(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "all") return Select::All;
  if (name == "first") return Select::First;
  if (name == "last") return Select::Last;
  fail(op, 1300 + n);
}

template <typename T>
std::vector<T> selected(std::vector<T> items, Select select) {
  if (items.empty() || select == Select::All) return items;
  return {select == Select::First ? items.front() : items.back()};
}

double sigmaOf(const HTuple& value, const char* op, double least) {
  const double sigma = oneNumber(value, op, 2);
  if (!std::isfinite(sigma) || sigma < least) fail(op, 1302);
  return sigma;
}

double thresholdOf(const HTuple& value, const char* op) {
  const double threshold = oneNumber(value, op, 3);
  if (std::isnan(threshold)) fail(op, 1303);
  return threshold;
}

struct PointTuples {
  HTuple rows, columns;
};

PointTuples pointsOf(const MeasureShape& shape, const std::vector<double>& positions) {
  PointTuples out;
  out.rows = HTuple();
  out.columns = HTuple();
  for (const double s : positions) {
    double row, column;
    pointOnAxis(shape, s, &row, &column);
    out.rows.Append(HTuple(row));
    out.columns.Append(HTuple(column));
  }
  return out;
}

HTuple distancesOf(const std::vector<double>& positions) {
  HTuple out = HTuple();
  for (std::size_t i = 1; i < positions.size(); ++i) {
    out.Append(HTuple(std::fabs(positions[i] - positions[i - 1])));
  }
  return out;
}

}  // namespace

void MeasureProjection(const HObject& Image, const HTuple& MeasureHandle, HTuple* GrayValues) {
  ApiScope scope("MeasureProjection");
  const Profile profile = profileFor(Image, MeasureHandle, "measure_projection");
  HTuple values = HTuple();
  for (const double v : profile.values) values.Append(HTuple(v));
  setOutput(GrayValues, values);
}

void MeasurePos(const HObject& Image, const HTuple& MeasureHandle, const HTuple& Sigma,
                const HTuple& Threshold, const HTuple& Transition, const HTuple& Select,
                HTuple* RowEdge, HTuple* ColumnEdge, HTuple* Amplitude, HTuple* Distance) {
  ApiScope scope("MeasurePos");
  const char* op = "measure_pos";
  const double sigma = sigmaOf(Sigma, op, 0.4);
  const double threshold = thresholdOf(Threshold, op);
  const auto transition = transitionOf(oneString(Transition, op, 4), op, 4);
  const auto select = selectOf(Select, op, 5);
  const MeasureShape shape = measureOf(MeasureHandle, op, 1);
  const Profile profile = profileFor(Image, MeasureHandle, op);
  std::vector<Edge> edges;
  for (const Edge& e : edgesOf(profile, sigma, threshold)) {
    if (transition == Transition::Positive && e.amplitude < 0) continue;
    if (transition == Transition::Negative && e.amplitude > 0) continue;
    edges.push_back(e);
  }
  edges = selected(edges, select);
  std::vector<double> positions;
  HTuple amplitudes = HTuple();
  for (const Edge& e : edges) {
    positions.push_back(e.s);
    amplitudes.Append(HTuple(e.amplitude));
  }
  PointTuples points = pointsOf(shape, positions);
  setOutput(RowEdge, points.rows);
  setOutput(ColumnEdge, points.columns);
  setOutput(Amplitude, amplitudes);
  setOutput(Distance, distancesOf(positions));
}

void MeasurePairs(const HObject& Image, const HTuple& MeasureHandle, const HTuple& Sigma,
                  const HTuple& Threshold, const HTuple& Transition, const HTuple& Select,
                  HTuple* RowEdgeFirst, HTuple* ColumnEdgeFirst, HTuple* AmplitudeFirst,
                  HTuple* RowEdgeSecond, HTuple* ColumnEdgeSecond, HTuple* AmplitudeSecond,
                  HTuple* IntraDistance, HTuple* InterDistance) {
  ApiScope scope("MeasurePairs");
  const char* op = "measure_pairs";
  const double sigma = sigmaOf(Sigma, op, 0.4);
  const double threshold = thresholdOf(Threshold, op);
  std::string mode = oneString(Transition, op, 4);
  const std::string suffix = "_strongest";
  const bool strongest = mode.size() > suffix.size() &&
                         mode.compare(mode.size() - suffix.size(), suffix.size(), suffix) == 0;
  if (strongest) mode.resize(mode.size() - suffix.size());
  const auto transition = transitionOf(mode, op, 4);
  const auto select = selectOf(Select, op, 5);
  const MeasureShape shape = measureOf(MeasureHandle, op, 1);
  const Profile profile = profileFor(Image, MeasureHandle, op);
  // Consecutive edges of one transition stand for one side of a pair: their first, or with
  // "_strongest" their strongest (the first of equals).
  std::vector<Edge> sides;
  bool sameRun = false;
  for (const Edge& e : edgesOf(profile, sigma, threshold)) {
    sameRun = !sides.empty() && (sides.back().amplitude > 0) == (e.amplitude > 0);
    if (!sameRun) {
      sides.push_back(e);
    } else if (strongest && std::fabs(e.amplitude) > std::fabs(sides.back().amplitude)) {
      sides.back() = e;
    }
  }
  std::size_t i = 0;
  if (!sides.empty() && transition != Transition::All) {
    const bool firstPositive = transition == Transition::Positive;
    if ((sides.front().amplitude > 0) != firstPositive) i = 1;
  }
  std::vector<std::pair<Edge, Edge>> pairs;
  for (; i + 1 < sides.size(); i += 2) pairs.emplace_back(sides[i], sides[i + 1]);
  pairs = selected(pairs, select);
  std::vector<double> first, second, chain;
  HTuple ampFirst = HTuple(), ampSecond = HTuple(), intra = HTuple();
  for (const auto& pair : pairs) {
    first.push_back(pair.first.s);
    second.push_back(pair.second.s);
    chain.push_back(pair.first.s);
    chain.push_back(pair.second.s);
    ampFirst.Append(HTuple(pair.first.amplitude));
    ampSecond.Append(HTuple(pair.second.amplitude));
    intra.Append(HTuple(std::fabs(pair.second.s - pair.first.s)));
  }
  HTuple inter = HTuple();
  for (std::size_t k = 1; k < pairs.size(); ++k) {
    inter.Append(HTuple(std::fabs(pairs[k].first.s - pairs[k - 1].second.s)));
  }
  PointTuples a = pointsOf(shape, first), b = pointsOf(shape, second);
  setOutput(RowEdgeFirst, a.rows);
  setOutput(ColumnEdgeFirst, a.columns);
  setOutput(AmplitudeFirst, ampFirst);
  setOutput(RowEdgeSecond, b.rows);
  setOutput(ColumnEdgeSecond, b.columns);
  setOutput(AmplitudeSecond, ampSecond);
  setOutput(IntraDistance, intra);
  setOutput(InterDistance, inter);
}

void MeasureThresh(const HObject& Image, const HTuple& MeasureHandle, const HTuple& Sigma,
                   const HTuple& Threshold, const HTuple& Select, HTuple* RowThresh,
                   HTuple* ColumnThresh, HTuple* Distance) {
  ApiScope scope("MeasureThresh");
  const char* op = "measure_thresh";
  const double sigma = sigmaOf(Sigma, op, 0);
  const double threshold = thresholdOf(Threshold, op);
  const std::string select = oneString(Select, op, 4);
  if (select != "all" && select != "first" && select != "last" && select != "first_last") {
    fail(op, 1304);
  }
  const MeasureShape shape = measureOf(MeasureHandle, op, 1);
  const Profile profile = profileFor(Image, MeasureHandle, op);
  const std::vector<double> q = smoothed(profile.values, sigma);
  // A sample equal to Threshold counts as above it.
  std::vector<double> crossings;
  for (std::size_t k = 0; k + 1 < q.size(); ++k) {
    if ((q[k] >= threshold) == (q[k + 1] >= threshold)) continue;
    crossings.push_back(profile.first + double(k) + (threshold - q[k]) / (q[k + 1] - q[k]));
  }
  if (!crossings.empty() && select != "all") {
    if (select == "first") crossings = {crossings.front()};
    if (select == "last") crossings = {crossings.back()};
    if (select == "first_last" && crossings.size() > 1) {
      crossings = {crossings.front(), crossings.back()};
    }
  }
  PointTuples points = pointsOf(shape, crossings);
  setOutput(RowThresh, points.rows);
  setOutput(ColumnThresh, points.columns);
  const bool distances = select == "all" || select == "first_last";
  setOutput(Distance, distances ? distancesOf(crossings) : HTuple());
}

}  // namespace HalconCpp
