// The Hough transform for lines: hough_line_trans and hough_lines on the pixels of a region,
// hough_line_trans_dir and hough_lines_dir on the domain of an edge direction image, each pixel
// voting only for the normal angles near its gradient's.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/empty_results.h"
#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsFilters.h"
#include "halconcpp/HOperatorsTools.h"
#include "operators/tools/hough_space.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The one region of a region input; null when there is none to work on (no object or an
// empty region under the system's settings), which leaves every output empty.
const Runs* oneRegion(const HObject& object, const char* op) {
  checkNoObjects(object, op, 1);
  const std::vector<const Runs*> regions = regionsOf(object, op, 1);
  if (regions.empty()) return nullptr;
  if (regions.size() > 1) fail(op, 1501);
  if (skipEmptyRegions(regions, op)) return nullptr;
  return regions.front();
}

// The accumulator as an image of the given type, votes above the type's range held at its top.
ImagePtr houghImage(const HoughSpace& space, PixelType type, const char* op) {
  ImagePtr image = newImage(space.width, space.height, 1, op, type);
  const std::uint32_t top = type == PixelType::Int2 ? 32767u : 65535u;
  for (std::size_t i = 0; i < space.votes.size(); ++i) {
    const std::uint32_t v = std::min(space.votes[i], top);
    if (type == PixelType::Int2) {
      image->channels[0]->as<std::int16_t>()[i] = static_cast<std::int16_t>(v);
    } else {
      image->channels[0]->as<std::uint16_t>()[i] = static_cast<std::uint16_t>(v);
    }
  }
  return image;
}

std::int32_t nonNegative(const HTuple& value, const char* op, int n) {
  const Hlong v = oneInteger(value, op, n);
  if (v < 0) fail(op, 1300 + n);
  return static_cast<std::int32_t>(std::min<Hlong>(v, 1 << 30));
}

void linesOf(const std::vector<HoughMaximum>& maxima, const HoughSpace& space, HTuple* Angle,
             HTuple* Dist) {
  HTuple angles, dists;
  for (const HoughMaximum& m : maxima) {
    angles.Append(HTuple(space.degrees(m.column) * kPi / 180.0));
    dists.Append(HTuple(m.row));
  }
  setOutput(Angle, std::move(angles));
  setOutput(Dist, std::move(dists));
}

std::vector<double> votesAsValues(const HoughSpace& space) {
  return std::vector<double>(space.votes.begin(), space.votes.end());
}

// The normal angle, in the accumulator's sense (from the column axis towards the rows), of a
// gradient direction stored as half degrees counterclockwise; how far an angle of the
// accumulator lies from it as lines, that is modulo 180 degrees.
double angleApart(double degrees, double normal) {
  const double d = std::fmod(std::fabs(degrees - normal), 180.0);
  return std::min(d, 180.0 - d);
}

struct DirectionVotes {
  HoughSpace space;
  const ImageObject* image = nullptr;
};

// The edge direction image's domain voting; pixels of no direction (above 179) vote not.
DirectionVotes directionVotes(const HObject& ImageDir, std::int32_t uncertainty,
                              std::int32_t resolution, const char* op) {
  DirectionVotes result;
  checkNoObjects(ImageDir, op, 1);
  const std::vector<ImagePtr> images = imagesOf(ImageDir, op, 1, {PixelType::Direction});
  if (images.empty()) return result;
  if (images.size() > 1) fail(op, 1501);
  const ImageObject& image = *images.front();
  const Runs domain = clipRuns(*image.domain, image.height, image.width);
  result.space = houghSpaceFor(domain, resolution, op);
  result.image = &image;
  const std::uint8_t* dirs = image.pixels(0);
  for (const Run& run : domain) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      const std::uint8_t v = dirs[image.offset(run.row, c)];
      if (v > 179) continue;
      const double normal = -2.0 * v;
      voteLines(result.space, run.row, c, [&](std::int32_t a) {
        return angleApart(result.space.degrees(a), normal) <= uncertainty;
      });
    }
  }
  return result;
}

}  // namespace

void HoughLineTrans(const HObject& Region, HObject* HoughImage, const HTuple& AngleResolution) {
  ApiScope scope("HoughLineTrans");
  const char* op = "hough_line_trans";
  const std::int32_t resolution = angleResolutionOf(AngleResolution, op, 1);
  checkNoObjects(Region, op, 1);
  std::vector<const Runs*> regions = regionsOf(Region, op, 1);
  if (skipEmptyRegions(regions, op)) regions.clear();
  std::vector<HObject::Item> images;
  for (const Runs* runs : regions) {
    HoughSpace space = houghSpaceFor(*runs, resolution, op);
    for (const Run& run : *runs) {
      for (std::int32_t c = run.begin; c <= run.end; ++c) {
        voteLines(space, run.row, c, [](std::int32_t) { return true; });
      }
    }
    images.push_back(houghImage(space, PixelType::Int2, op));
  }
  setOutput(HoughImage, objectOf(images));
}

void HoughLines(const HObject& RegionIn, const HTuple& AngleResolution, const HTuple& Threshold,
                const HTuple& AngleGap, const HTuple& DistGap, HTuple* Angle, HTuple* Dist) {
  ApiScope scope("HoughLines");
  const char* op = "hough_lines";
  const std::int32_t resolution = angleResolutionOf(AngleResolution, op, 1);
  const Hlong threshold = oneInteger(Threshold, op, 2);
  const std::int32_t angleGap = nonNegative(AngleGap, op, 3);
  const std::int32_t distGap = nonNegative(DistGap, op, 4);
  const Runs* runs = oneRegion(RegionIn, op);
  if (!runs) {
    linesOf({}, HoughSpace{}, Angle, Dist);
    return;
  }
  HoughSpace space = houghSpaceFor(*runs, resolution, op);
  for (const Run& run : *runs) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      voteLines(space, run.row, c, [](std::int32_t) { return true; });
    }
  }
  linesOf(houghMaxima(votesAsValues(space), space.width, space.height,
                      double(std::max<Hlong>(threshold, 1)), angleGap, distGap),
          space, Angle, Dist);
}

void HoughLineTransDir(const HObject& ImageDir, HObject* HoughImage,
                       const HTuple& DirectionUncertainty, const HTuple& AngleResolution) {
  ApiScope scope("HoughLineTransDir");
  const char* op = "hough_line_trans_dir";
  const Hlong uncertainty = oneInteger(DirectionUncertainty, op, 1);
  if (uncertainty < 0 || uncertainty > 180) fail(op, 1301);
  const std::int32_t resolution = angleResolutionOf(AngleResolution, op, 2);
  const DirectionVotes votes =
      directionVotes(ImageDir, static_cast<std::int32_t>(uncertainty), resolution, op);
  setOutput(HoughImage, objectOf(votes.image ? std::vector<HObject::Item>{houghImage(
                                                   votes.space, PixelType::Uint2, op)}
                                             : std::vector<HObject::Item>{}));
}

void HoughLinesDir(const HObject& ImageDir, HObject* HoughImage, HObject* Lines,
                   const HTuple& DirectionUncertainty, const HTuple& AngleResolution,
                   const HTuple& Smoothing, const HTuple& FilterSize, const HTuple& Threshold,
                   const HTuple& AngleGap, const HTuple& DistGap, const HTuple& GenLines,
                   HTuple* Angle, HTuple* Dist) {
  ApiScope scope("HoughLinesDir");
  const char* op = "hough_lines_dir";
  const Hlong uncertainty = oneInteger(DirectionUncertainty, op, 1);
  if (uncertainty < 0 || uncertainty > 180) fail(op, 1301);
  const std::int32_t resolution = angleResolutionOf(AngleResolution, op, 2);
  const std::string smoothing = oneString(Smoothing, op, 3);
  if (smoothing != "mean" && smoothing != "gauss") fail(op, 1303);
  const Hlong size = oneInteger(FilterSize, op, 4);
  const bool gaussSize = size == 3 || size == 5 || size == 7 || size == 9 || size == 11;
  if (size < 3 || size > 201 || (smoothing == "gauss" && !gaussSize)) fail(op, 1304);
  const Hlong threshold = oneInteger(Threshold, op, 5);
  const std::int32_t angleGap = nonNegative(AngleGap, op, 6);
  const std::int32_t distGap = nonNegative(DistGap, op, 7);
  const std::string genLines = oneString(GenLines, op, 8);
  if (genLines != "true" && genLines != "false") fail(op, 1308);

  const DirectionVotes votes =
      directionVotes(ImageDir, static_cast<std::int32_t>(uncertainty), resolution, op);
  if (!votes.image) {
    setOutput(HoughImage, objectOf({}));
    setOutput(Lines, objectOf({}));
    linesOf({}, HoughSpace{}, Angle, Dist);
    return;
  }
  const HoughSpace& space = votes.space;
  const HObject counts = objectOf({houghImage(space, PixelType::Uint2, op)});
  HObject smoothed;
  if (smoothing == "mean") {
    MeanImage(counts, &smoothed, HTuple(size), HTuple(size));
  } else {
    GaussImage(counts, &smoothed, HTuple(size));
  }
  const ImagePtr image = oneImage(smoothed, op, 1, {PixelType::Uint2});
  const std::uint16_t* cells = image->channels[0]->as<std::uint16_t>();
  const std::vector<double> values(cells, cells + space.votes.size());
  const std::vector<HoughMaximum> maxima = houghMaxima(
      values, space.width, space.height, double(std::max<Hlong>(threshold, 1)), angleGap, distGap);
  linesOf(maxima, space, Angle, Dist);
  setOutput(HoughImage, std::move(smoothed));

  // Each line's points: the pixels of the domain within one pixel of it whose edge direction
  // lies within the uncertainty of its normal.
  std::vector<HObject::Item> regions;
  const ImageObject& dirImage = *votes.image;
  const Runs domain = clipRuns(*dirImage.domain, dirImage.height, dirImage.width);
  for (const HoughMaximum& m : genLines == "true" ? maxima : std::vector<HoughMaximum>{}) {
    const double degrees = space.degrees(m.column), phi = degrees * kPi / 180.0;
    const double cs = std::cos(phi), sn = std::sin(phi);
    Runs points;
    for (const Run& run : domain) {
      for (std::int32_t c = run.begin; c <= run.end; ++c) {
        const std::uint8_t v = dirImage.pixels(0)[dirImage.offset(run.row, c)];
        if (v > 179 || angleApart(degrees, -2.0 * v) > double(uncertainty)) continue;
        if (std::fabs(double(c) * cs + double(run.row) * sn - m.row) < 1.0) {
          points.push_back({run.row, c, c});
        }
      }
    }
    regions.push_back(makeRegion(normalizeRuns(std::move(points))));
  }
  setOutput(Lines, objectOf(regions));
}

}  // namespace HalconCpp
