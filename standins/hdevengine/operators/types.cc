// Operators on images of every pixel type a program line can call. Each calls the
// image-processing stand-in's function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kTypeOperators[] = {
    bind<&H::GetImageType>("get_image_type"),
    bind<&H::GetImagePointer1>("get_image_pointer1"),
    bind<&H::CopyImage>("copy_image"),
    bind<&H::GenImageProto>("gen_image_proto"),
    bind<&H::FullDomain>("full_domain"),
    bind<&H::AbsImage>("abs_image"),
    bind<&H::MaxImage>("max_image"),
    bind<&H::MinImage>("min_image"),
    bind<&H::GetImagePointer3>("get_image_pointer3"),
    bind<&H::GetImagePointer1Rect>("get_image_pointer1_rect"),
};

}  // namespace

OperatorGroup typeOperators() {
  return {kTypeOperators, sizeof kTypeOperators / sizeof kTypeOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
