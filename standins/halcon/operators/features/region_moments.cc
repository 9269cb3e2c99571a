// The region moments of the HALCON 11.0 reference's moments_region_2nd, _2nd_invar,
// _2nd_rel_invar, _3rd, _3rd_invar, _central and _central_invar, as operators and as
// region_features / select_shape features.
#include "operators/features/region_moments.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/empty_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/region_geometry.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

CentralMoments centralMomentsOf(const Runs& runs) {
  CentralMoments m;
  const Moments centre = momentsOf(runs);
  m.area = centre.area;
  if (m.area == 0) return m;
  for (const Run& run : runs) {
    // A run's columns lie symmetrically about its middle, so its sums of powers of the
    // column offsets follow from the middle's offset and the run's length alone: the odd
    // powers about the middle cancel, sum t^2 over the run is n (n^2 - 1) / 12.
    const double n = static_cast<double>(run.end) - run.begin + 1;
    const double middle = (static_cast<double>(run.begin) + run.end) / 2 - centre.col;
    const double spread = n * (n * n - 1) / 12;
    const double sum1 = n * middle;
    const double sum2 = n * middle * middle + spread;
    const double sum3 = n * middle * middle * middle + 3 * middle * spread;
    const double d = run.row - centre.row;
    m.mu20 += n * d * d;
    m.mu02 += sum2;
    m.mu11 += d * sum1;
    m.mu30 += n * d * d * d;
    m.mu21 += d * d * sum1;
    m.mu12 += d * sum2;
    m.mu03 += sum3;
  }
  return m;
}

namespace {

struct Invariants {
  double i1, i2, i3, i4;
};

// I1 .. I4 of moments_region_central (HALCON 11.0) from the moments given.
Invariants invariantsOf(double m20, double m02, double m11, double m30, double m21, double m12,
                        double m03) {
  Invariants v;
  v.i1 = m20 * m02 - m11 * m11;
  const double a = m30 * m03 - m21 * m12;
  v.i2 = a * a - 4 * (m30 * m12 - m21 * m21) * (m21 * m03 - m12 * m12);
  v.i3 =
      m20 * (m21 * m03 - m12 * m12) - m11 * (m30 * m03 - m21 * m12) + m02 * (m30 * m12 - m21 * m21);
  v.i4 = m30 * m30 * m02 * m02 * m02 - 6 * m30 * m21 * m11 * m02 * m02 +
         6 * m30 * m12 * m02 * (2 * m11 * m11 - m20 * m02) +
         m30 * m03 * (6 * m20 * m11 * m02 - 8 * m11 * m11 * m11) + 9 * m21 * m21 * m20 * m02 * m02 -
         18 * m21 * m12 * m20 * m11 * m02 + 6 * m21 * m03 * m20 * (2 * m11 * m11 - m20 * m02) +
         9 * m12 * m12 * m20 * m20 * m02 - 6 * m12 * m03 * m11 * m20 * m20 +
         m03 * m03 * m20 * m20 * m20;
  return v;
}

Invariants centralOf(const CentralMoments& m) {
  return invariantsOf(m.mu20, m.mu02, m.mu11, m.mu30, m.mu21, m.mu12, m.mu03);
}

// PSIk = Ik / F^(4, 10, 7, 11): each Ik is homogeneous in the moments, so it equals Ik of the
// moments scaled by F^((p + q) / 2 + 1), which keeps a large region's powers in range.
Invariants affineOf(const CentralMoments& m) {
  const double f = m.area, f2 = f * f, f25 = f2 * std::sqrt(f);
  return invariantsOf(m.mu20 / f2, m.mu02 / f2, m.mu11 / f2, m.mu30 / f25, m.mu21 / f25,
                      m.mu12 / f25, m.mu03 / f25);
}

}  // namespace

double momentOf(const CentralMoments& m, Moment moment) {
  if (m.area == 0) return 0;
  const double f = m.area, f2 = f * f, f3 = f2 * f;
  // Ia and Ib: the covariance sums' eigenvalues, h +- sqrt(h^2 - M20 M02 + M11^2).
  const double h = (m.mu20 + m.mu02) / 2;
  const double root = std::sqrt(std::max(0.0, h * h - m.mu20 * m.mu02 + m.mu11 * m.mu11));
  const double v20 = m.mu20 / f2, v02 = m.mu02 / f2, v11 = m.mu11 / f2;
  switch (moment) {
    case Moment::M11:
      return m.mu11;
    case Moment::M20:
      return m.mu20;
    case Moment::M02:
      return m.mu02;
    case Moment::Ia:
      return h + root;
    case Moment::Ib:
      return std::max(0.0, h - root);
    case Moment::M11Invar:
      return v11;
    case Moment::M20Invar:
      return v20;
    case Moment::M02Invar:
      return v02;
    case Moment::Phi1:
      return v20 + v02;
    case Moment::Phi2:
      return (v20 + v02) * (v20 + v02) + v11 * v11;
    case Moment::M21:
      return m.mu21;
    case Moment::M12:
      return m.mu12;
    case Moment::M03:
      return m.mu03;
    case Moment::M30:
      return m.mu30;
    case Moment::M21Invar:
      return m.mu21 / f3;
    case Moment::M12Invar:
      return m.mu12 / f3;
    case Moment::M03Invar:
      return m.mu03 / f3;
    case Moment::M30Invar:
      return m.mu30 / f3;
    case Moment::I1:
      return centralOf(m).i1;
    case Moment::I2:
      return centralOf(m).i2;
    case Moment::I3:
      return centralOf(m).i3;
    case Moment::I4:
      return centralOf(m).i4;
    case Moment::Psi1:
      return affineOf(m).i1;
    case Moment::Psi2:
      return affineOf(m).i2;
    case Moment::Psi3:
      return affineOf(m).i3;
    case Moment::Psi4:
      return affineOf(m).i4;
  }
  return 0;
}

}  // namespace Standin

namespace {

using Standin::CentralMoments;
using Standin::Moment;

// Each region's moments, one output per feature; every output empty when an empty region
// makes the operator return at once.
void momentOutputs(const HObject& regions, const char* op,
                   const std::vector<std::pair<Moment, HTuple*>>& outputs) {
  std::vector<const Standin::Runs*> runs = Standin::regionsOf(regions, op, 1, false);
  if (Standin::skipEmptyRegions(runs, op)) runs.clear();
  std::vector<HTuple> values(outputs.size());
  for (const Standin::Runs* region : runs) {
    const CentralMoments m = Standin::centralMomentsOf(*region);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
      values[i].Append(HTuple(Standin::momentOf(m, outputs[i].first)));
    }
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    Standin::setOutput(outputs[i].second, std::move(values[i]));
  }
}

}  // namespace

void MomentsRegion2nd(const HObject& Regions, HTuple* M11, HTuple* M20, HTuple* M02, HTuple* Ia,
                      HTuple* Ib) {
  Standin::ApiScope scope("MomentsRegion2nd");
  momentOutputs(Regions, "moments_region_2nd",
                {{Moment::M11, M11},
                 {Moment::M20, M20},
                 {Moment::M02, M02},
                 {Moment::Ia, Ia},
                 {Moment::Ib, Ib}});
}

void MomentsRegion2ndInvar(const HObject& Regions, HTuple* M11, HTuple* M20, HTuple* M02) {
  Standin::ApiScope scope("MomentsRegion2ndInvar");
  momentOutputs(Regions, "moments_region_2nd_invar",
                {{Moment::M11Invar, M11}, {Moment::M20Invar, M20}, {Moment::M02Invar, M02}});
}

void MomentsRegion2ndRelInvar(const HObject& Regions, HTuple* PHI1, HTuple* PHI2) {
  Standin::ApiScope scope("MomentsRegion2ndRelInvar");
  momentOutputs(Regions, "moments_region_2nd_rel_invar",
                {{Moment::Phi1, PHI1}, {Moment::Phi2, PHI2}});
}

void MomentsRegion3rd(const HObject& Regions, HTuple* M21, HTuple* M12, HTuple* M03, HTuple* M30) {
  Standin::ApiScope scope("MomentsRegion3rd");
  momentOutputs(Regions, "moments_region_3rd",
                {{Moment::M21, M21}, {Moment::M12, M12}, {Moment::M03, M03}, {Moment::M30, M30}});
}

void MomentsRegion3rdInvar(const HObject& Regions, HTuple* M21, HTuple* M12, HTuple* M03,
                           HTuple* M30) {
  Standin::ApiScope scope("MomentsRegion3rdInvar");
  momentOutputs(Regions, "moments_region_3rd_invar",
                {{Moment::M21Invar, M21},
                 {Moment::M12Invar, M12},
                 {Moment::M03Invar, M03},
                 {Moment::M30Invar, M30}});
}

void MomentsRegionCentral(const HObject& Regions, HTuple* I1, HTuple* I2, HTuple* I3, HTuple* I4) {
  Standin::ApiScope scope("MomentsRegionCentral");
  momentOutputs(Regions, "moments_region_central",
                {{Moment::I1, I1}, {Moment::I2, I2}, {Moment::I3, I3}, {Moment::I4, I4}});
}

void MomentsRegionCentralInvar(const HObject& Regions, HTuple* PSI1, HTuple* PSI2, HTuple* PSI3,
                               HTuple* PSI4) {
  Standin::ApiScope scope("MomentsRegionCentralInvar");
  momentOutputs(
      Regions, "moments_region_central_invar",
      {{Moment::Psi1, PSI1}, {Moment::Psi2, PSI2}, {Moment::Psi3, PSI3}, {Moment::Psi4, PSI4}});
}

}  // namespace HalconCpp
