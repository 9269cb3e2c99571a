// Points of 3-D space between Cartesian and spherical coordinates (angles in radians).
#include <cmath>
#include <string>

#include "core/params.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/pose_math.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct Frame {
  double north[3], meridian[3], east[3];
};

bool axisOf(const std::string& name, double axis[3]) {
  const bool negative = name.size() == 2 && name[0] == '-';
  const char letter = name.empty() ? '\0' : name.back();
  if (name.size() != (negative ? 2u : 1u) || letter < 'x' || letter > 'z') return false;
  axis[0] = axis[1] = axis[2] = 0;
  axis[letter - 'x'] = negative ? -1 : 1;
  return true;
}

// The north pole's axis, the zero meridian's, and the axis at longitude +pi/2, so that the
// longitude turns right-handed about the north pole. The meridian must lie in the equator.
Frame frameOf(const HTuple& normal, const HTuple& meridian, const char* op, int n) {
  Frame f;
  if (!axisOf(oneString(normal, op, n), f.north)) fail(op, 1300 + n);
  if (!axisOf(oneString(meridian, op, n + 1), f.meridian)) fail(op, 1301 + n);
  const double* a = f.north;
  const double* b = f.meridian;
  if (a[0] * b[0] + a[1] * b[1] + a[2] * b[2] != 0) fail(op, 1301 + n);
  f.east[0] = a[1] * b[2] - a[2] * b[1];
  f.east[1] = a[2] * b[0] - a[0] * b[2];
  f.east[2] = a[0] * b[1] - a[1] * b[0];
  return f;
}

double dot(const double a[3], const double b[3]) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

}  // namespace

void ConvertPoint3dCartToSpher(const HTuple& X, const HTuple& Y, const HTuple& Z,
                               const HTuple& EquatPlaneNormal, const HTuple& ZeroMeridian,
                               HTuple* Longitude, HTuple* Latitude, HTuple* Radius) {
  ApiScope scope("ConvertPoint3dCartToSpher");
  const char* op = "convert_point_3d_cart_to_spher";
  requireLength(Y, X.Length(), op, 2);
  requireLength(Z, X.Length(), op, 3);
  const Frame f = frameOf(EquatPlaneNormal, ZeroMeridian, op, 4);
  HTuple lon, lat, rad;
  for (Hlong i = 0; i < X.Length(); ++i) {
    const double p[3] = {numberAt(X, i, op, 1), numberAt(Y, i, op, 2), numberAt(Z, i, op, 3)};
    const double r = std::sqrt(dot(p, p));
    // The origin has no direction: longitude and latitude 0.
    lon.Append(HTuple(r > 0 ? std::atan2(dot(p, f.east), dot(p, f.meridian)) : 0.0));
    lat.Append(
        HTuple(r > 0 ? std::asin(std::fmax(-1.0, std::fmin(1.0, dot(p, f.north) / r))) : 0.0));
    rad.Append(HTuple(r));
  }
  setOutput(Longitude, lon);
  setOutput(Latitude, lat);
  setOutput(Radius, rad);
}

void ConvertPoint3dSpherToCart(const HTuple& Longitude, const HTuple& Latitude,
                               const HTuple& Radius, const HTuple& EquatPlaneNormal,
                               const HTuple& ZeroMeridian, HTuple* X, HTuple* Y, HTuple* Z) {
  ApiScope scope("ConvertPoint3dSpherToCart");
  const char* op = "convert_point_3d_spher_to_cart";
  requireLength(Latitude, Longitude.Length(), op, 2);
  requireLength(Radius, Longitude.Length(), op, 3);
  const Frame f = frameOf(EquatPlaneNormal, ZeroMeridian, op, 4);
  HTuple out[3];
  for (Hlong i = 0; i < Longitude.Length(); ++i) {
    const double lon = numberAt(Longitude, i, op, 1), lat = numberAt(Latitude, i, op, 2);
    const double r = numberAt(Radius, i, op, 3);
    if (!(std::fabs(lat) <= kPi / 2)) fail(op, 1302);
    const double c = std::cos(lat);
    for (int k = 0; k < 3; ++k) {
      out[k].Append(HTuple(r * (c * (std::cos(lon) * f.meridian[k] + std::sin(lon) * f.east[k]) +
                                std::sin(lat) * f.north[k])));
    }
  }
  setOutput(X, out[0]);
  setOutput(Y, out[1]);
  setOutput(Z, out[2]);
}

}  // namespace HalconCpp
