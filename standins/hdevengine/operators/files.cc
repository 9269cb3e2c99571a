// File and folder operators a program line can call: list_files, file_exists, and iconic
// objects in files and serialized items, XLD in ARC/INFO and DXF files. read_image and write_image
// are among the iconic operators.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kFileOperators[] = {
    bind<&H::ListFiles>("list_files"),
    bind<&H::FileExists>("file_exists"),
    bind<&H::WriteObject>("write_object"),
    bind<&H::ReadObject>("read_object"),
    bind<&H::WriteRegion>("write_region"),
    bind<&H::ReadRegion>("read_region"),
    bind<&H::SerializeObject>("serialize_object"),
    bind<&H::DeserializeObject>("deserialize_object"),
    bind<&H::SerializeImage>("serialize_image"),
    bind<&H::DeserializeImage>("deserialize_image"),
    bind<&H::SerializeRegion>("serialize_region"),
    bind<&H::DeserializeRegion>("deserialize_region"),
    bind<&H::SerializeXld>("serialize_xld"),
    bind<&H::DeserializeXld>("deserialize_xld"),
    bind<&H::ClearSerializedItem>("clear_serialized_item"),
    bind<&H::SerializeTuple>("serialize_tuple"),
    bind<&H::DeserializeTuple>("deserialize_tuple"),
    bind<&H::FwriteSerializedItem>("fwrite_serialized_item"),
    bind<&H::FreadSerializedItem>("fread_serialized_item"),
    bind<&H::CreateSerializedItemPtr>("create_serialized_item_ptr"),
    bind<&H::GetSerializedItemPtr>("get_serialized_item_ptr"),
    bind<&H::WriteContourXldArcInfo>("write_contour_xld_arc_info"),
    bind<&H::ReadContourXldArcInfo>("read_contour_xld_arc_info"),
    bind<&H::WritePolygonXldArcInfo>("write_polygon_xld_arc_info"),
    bind<&H::ReadPolygonXldArcInfo>("read_polygon_xld_arc_info"),
    bind<&H::WriteContourXldDxf>("write_contour_xld_dxf"),
    bind<&H::ReadContourXldDxf>("read_contour_xld_dxf"),
    bind<&H::WritePolygonXldDxf>("write_polygon_xld_dxf"),
    bind<&H::ReadPolygonXldDxf>("read_polygon_xld_dxf"),
};

}  // namespace

OperatorGroup fileOperators() {
  return {kFileOperators, sizeof kFileOperators / sizeof kFileOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
