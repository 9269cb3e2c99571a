// The colour tables of create_color_trans_lut: a handle naming a space and a direction. The
// vendor tabulates every byte triple; the stand-in converts each pixel as trans_from_rgb and
// trans_to_rgb do, which gives the same bytes without 48 MB a table.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/handle_table.h"
#include "core/image.h"
#include "core/params.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/colour_spaces.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct ColourTable {
  std::string space;
  bool toRgb = false;
};

quorvex::common::HandleTable<Hlong, ColourTable>& tables() {
  static auto* table = new quorvex::common::HandleTable<Hlong, ColourTable>(1);  // never freed
  return *table;
}

ColourTable tableOf(const HTuple& handle, const char* op) {
  const Hlong key = oneInteger(handle, op, 1);
  return tables().with(
      key, [op] { fail(op, 1301); }, [](const ColourTable& table) { return table; });
}

}  // namespace

void CreateColorTransLut(const HTuple& ColorSpace, const HTuple& TransDirection,
                         const HTuple& NumBits, HTuple* ColorTransLUTHandle) {
  ApiScope scope("CreateColorTransLut");
  const char* op = "create_color_trans_lut";
  const std::string direction = oneString(TransDirection, op, 2);
  if (direction != "from_rgb" && direction != "to_rgb") fail(op, 1302);
  const bool toRgb = direction == "to_rgb";
  const std::string space = oneString(ColorSpace, op, 1);
  if (!hasColourSpace(space, toRgb)) fail(op, 1301);
  // 11.0 tabulates 8-bit channels only.
  if (oneInteger(NumBits, op, 3) != 8) fail(op, 1303);
  setOutput(ColorTransLUTHandle, HTuple(tables().add(ColourTable{space, toRgb})));
}

void ApplyColorTransLut(const HObject& Image1, const HObject& Image2, const HObject& Image3,
                        HObject* ImageResult1, HObject* ImageResult2, HObject* ImageResult3,
                        const HTuple& ColorTransLUTHandle) {
  ApiScope scope("ApplyColorTransLut");
  const char* op = "apply_color_trans_lut";
  const ColourTable table = tableOf(ColorTransLUTHandle, op);
  // Byte images only, processed where the three domains meet.
  const std::vector<ImagePtr> images[3] = {imagesOf(Image1, op, 1), imagesOf(Image2, op, 2),
                                           imagesOf(Image3, op, 3)};
  std::vector<HObject::Item> first;
  for (std::size_t k = 0; k < images[0].size(); ++k) {
    const ImagePtr& image = images[0][k];
    Runs domain = *image->domain;
    for (const std::vector<ImagePtr>& other : {images[1], images[2]}) {
      if (k < other.size()) domain = intersectRuns(domain, *other[k]->domain);
    }
    first.push_back(makeImage(image->width, image->height, image->channels,
                              std::make_shared<const Runs>(std::move(domain))));
  }
  convertColours(objectOf(first), Image2, Image3, ImageResult1, ImageResult2, ImageResult3,
                 HTuple(table.space.c_str()), table.toRgb, op);
}

void ClearColorTransLut(const HTuple& ColorTransLUTHandle) {
  ApiScope scope("ClearColorTransLut");
  const char* op = "clear_color_trans_lut";
  if (!tables().remove(oneInteger(ColorTransLUTHandle, op, 1))) fail(op, 1301);
}

void ClearAllColorTransLuts() {
  ApiScope scope("ClearAllColorTransLuts");
  tables().clear();
}

}  // namespace HalconCpp
