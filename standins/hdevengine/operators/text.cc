// Text and font operators a program line can call; each calls the image-processing
// stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

// bind<&Function>(name) reads the counts off the function (operator_binding.h); a row of its
// own: name, iconic inputs, iconic outputs, control inputs, control outputs, adapter.
constexpr OperatorSpec kTextOperators[] = {
    bind<&H::SetTposition>("set_tposition"),
    bind<&H::GetTposition>("get_tposition"),
    bind<&H::WriteString>("write_string"),
    bind<&H::NewLine>("new_line"),
    bind<&H::SetFont>("set_font"),
    bind<&H::GetFont>("get_font"),
    bind<&H::QueryFont>("query_font"),
    bind<&H::GetStringExtents>("get_string_extents"),
    bind<&H::GetFontExtents>("get_font_extents"),
};

}  // namespace

OperatorGroup textOperators() {
  return {kTextOperators, sizeof kTextOperators / sizeof kTextOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
