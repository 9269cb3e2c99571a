// The regression line of each contour, kept with the contour as global attributes, and
// read back with the projections of the contour's ends onto it.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

const char* const kRegressionAttribs[] = {"regr_norm_row", "regr_norm_col", "regr_mean_dist",
                                          "regr_dev_dist"};

std::vector<double> distancesTo(const std::vector<Point>& points, const Line& line) {
  std::vector<double> d;
  for (const Point& p : points)
    d.push_back(std::fabs(line.nr * p.row + line.nc * p.col - line.dist));
  return d;
}

// The weights of the next fit from the distances to the last one.
std::vector<double> reweighted(const std::vector<double>& d, const std::string& mode) {
  const double n = static_cast<double>(d.size());
  std::vector<double> w(d.size(), 1.0);
  if (mode == "drop") {
    double mean = 0;
    for (double v : d) mean += v / n;
    for (std::size_t i = 0; i < d.size(); ++i) w[i] = d[i] <= mean ? 1 : 0;
    return w;
  }
  double sigma = 0;
  if (mode == "gauss") {
    for (double v : d) sigma += v * v / n;
    sigma = std::sqrt(sigma);
  } else {
    std::vector<double> sorted = d;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(d.size() / 2),
                     sorted.end());
    sigma = sorted[d.size() / 2] / 0.6745;
  }
  // All points on the line already: nothing to reweight.
  if (!(sigma > 0)) return w;
  for (std::size_t i = 0; i < d.size(); ++i) {
    const double z = d[i] / sigma;
    // 'median' also drops the points beyond three deviations.
    w[i] = mode == "median" && z > 3 ? 0 : std::exp(-0.5 * z * z);
  }
  return w;
}

void setGlobal(ContourObject* c, const char* name, double value) {
  for (auto& entry : c->globalAttribs) {
    if (entry.first == name) {
      entry.second = value;
      return;
    }
  }
  c->globalAttribs.push_back({name, value});
}

double globalOf(const ContourObject& c, const char* name, const char* op) {
  for (const auto& entry : c.globalAttribs) {
    if (entry.first == name) return entry.second;
  }
  fail(op, 1101);
}

}  // namespace

void RegressContoursXld(const HObject& Contours, HObject* RegressContours, const HTuple& Mode,
                        const HTuple& Iterations) {
  ApiScope scope("RegressContoursXld");
  const char* op = "regress_contours_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "no" && mode != "drop" && mode != "gauss" && mode != "median") fail(op, 1301);
  const Hlong iterations = oneInteger(Iterations, op, 2);
  if (iterations < 0) fail(op, 1302);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    std::vector<Point> points;
    for (std::size_t i = 0; i < contour->size(); ++i) {
      points.push_back({contour->rows[i], contour->cols[i]});
    }
    Line line;
    std::vector<double> weights(points.size(), 1.0);
    if (!fitLine(points, weights, &line)) fail(op, kFitPointsError);
    for (Hlong k = 0; mode != "no" && k < iterations; ++k) {
      weights = reweighted(distancesTo(points, line), mode);
      // Weights that fix no line leave the last one standing.
      Line next;
      if (!fitLine(points, weights, &next)) break;
      line = next;
    }
    // The normal points from the origin towards the line.
    if (line.dist < 0) line = {-line.nr, -line.nc, -line.dist};
    const std::vector<double> d = distancesTo(points, line);
    const double n = static_cast<double>(d.size());
    double mean = 0, deviation = 0;
    for (double v : d) mean += v / n;
    for (double v : d) deviation += (v - mean) * (v - mean) / n;
    auto result = makeContour(contour->rows, contour->cols);
    result->attribs = contour->attribs;
    result->globalAttribs = contour->globalAttribs;
    const double values[] = {line.nr, line.nc, mean, std::sqrt(deviation)};
    for (std::size_t a = 0; a < 4; ++a) setGlobal(result.get(), kRegressionAttribs[a], values[a]);
    result->regressionDistance = line.dist;
    items.push_back(result);
  }
  setOutput(RegressContours, objectOf(items));
}

void GetRegressParamsXld(const HObject& Contours, HTuple* Length, HTuple* Nx, HTuple* Ny,
                         HTuple* Dist, HTuple* Fpx, HTuple* Fpy, HTuple* Lpx, HTuple* Lpy,
                         HTuple* Mean, HTuple* Deviation) {
  ApiScope scope("GetRegressParamsXld");
  const char* op = "get_regress_params_xld";
  HTuple out[10];
  for (const ContourObject* c : contoursOf(Contours, op, 1)) {
    const double nr = globalOf(*c, "regr_norm_row", op), nc = globalOf(*c, "regr_norm_col", op);
    const double dist = c->regressionDistance;
    if (c->size() == 0) fail(op, 1101);
    // x is the column and y the row, as the reference's point types name them.
    const auto project = [&](std::size_t i, HTuple* x, HTuple* y) {
      const double off = nr * c->rows[i] + nc * c->cols[i] - dist;
      x->Append(HTuple(c->cols[i] - off * nc));
      y->Append(HTuple(c->rows[i] - off * nr));
    };
    out[0].Append(HTuple(static_cast<Hlong>(c->size())));
    out[1].Append(HTuple(nc));
    out[2].Append(HTuple(nr));
    out[3].Append(HTuple(dist));
    project(0, &out[4], &out[5]);
    project(c->size() - 1, &out[6], &out[7]);
    out[8].Append(HTuple(globalOf(*c, "regr_mean_dist", op)));
    out[9].Append(HTuple(globalOf(*c, "regr_dev_dist", op)));
  }
  HTuple* outputs[] = {Length, Nx, Ny, Dist, Fpx, Fpy, Lpx, Lpy, Mean, Deviation};
  for (std::size_t k = 0; k < 10; ++k) setOutput(outputs[k], out[k]);
}

}  // namespace HalconCpp
