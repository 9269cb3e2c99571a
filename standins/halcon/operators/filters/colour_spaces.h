// The colour spaces of trans_from_rgb and trans_to_rgb, shared with the colour tables of
// create_color_trans_lut, which must give exactly what the two operators give.
#ifndef QUORVEX_STANDINS_HALCON_COLOUR_SPACES_H
#define QUORVEX_STANDINS_HALCON_COLOUR_SPACES_H

#include <string>

#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

// Whether the space is computed in the direction asked (toRgb: trans_to_rgb's).
bool hasColourSpace(const std::string& name, bool toRgb);

// trans_from_rgb (toRgb false) or trans_to_rgb on three inputs, raising in `op`; an unknown
// space is 1301.
void convertColours(const HObject& input1, const HObject& input2, const HObject& input3,
                    HObject* output1, HObject* output2, HObject* output3, const HTuple& ColorSpace,
                    bool toRgb, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
