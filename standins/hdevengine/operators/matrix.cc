// Matrix operators a program line can call; each calls the image-processing stand-in's
// function of the same name.
#include "operators/binding.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

namespace H = HalconCpp;

constexpr OperatorSpec kMatrixOperators[] = {
    bind<&H::CreateMatrix>("create_matrix"),
    bind<&H::ClearMatrix>("clear_matrix"),
    bind<&H::ClearAllMatrices>("clear_all_matrices"),
    bind<&H::CopyMatrix>("copy_matrix"),
    bind<&H::GetSizeMatrix>("get_size_matrix"),
    bind<&H::GetFullMatrix>("get_full_matrix"),
    bind<&H::SetFullMatrix>("set_full_matrix"),
    bind<&H::GetValueMatrix>("get_value_matrix"),
    bind<&H::SetValueMatrix>("set_value_matrix"),
    bind<&H::GetSubMatrix>("get_sub_matrix"),
    bind<&H::SetSubMatrix>("set_sub_matrix"),
    bind<&H::GetDiagonalMatrix>("get_diagonal_matrix"),
    bind<&H::SetDiagonalMatrix>("set_diagonal_matrix"),
    bind<&H::RepeatMatrix>("repeat_matrix"),
    bind<&H::AddMatrix>("add_matrix"),
    bind<&H::AddMatrixMod>("add_matrix_mod"),
    bind<&H::SubMatrix>("sub_matrix"),
    bind<&H::SubMatrixMod>("sub_matrix_mod"),
    bind<&H::MultMatrix>("mult_matrix"),
    bind<&H::MultMatrixMod>("mult_matrix_mod"),
    bind<&H::ScaleMatrix>("scale_matrix"),
    bind<&H::ScaleMatrixMod>("scale_matrix_mod"),
    bind<&H::TransposeMatrix>("transpose_matrix"),
    bind<&H::TransposeMatrixMod>("transpose_matrix_mod"),
    bind<&H::AbsMatrix>("abs_matrix"),
    bind<&H::AbsMatrixMod>("abs_matrix_mod"),
    bind<&H::SqrtMatrix>("sqrt_matrix"),
    bind<&H::SqrtMatrixMod>("sqrt_matrix_mod"),
    bind<&H::PowElementMatrix>("pow_element_matrix"),
    bind<&H::PowElementMatrixMod>("pow_element_matrix_mod"),
    bind<&H::PowScalarElementMatrix>("pow_scalar_element_matrix"),
    bind<&H::PowScalarElementMatrixMod>("pow_scalar_element_matrix_mod"),
    bind<&H::MultElementMatrix>("mult_element_matrix"),
    bind<&H::MultElementMatrixMod>("mult_element_matrix_mod"),
    bind<&H::DivElementMatrix>("div_element_matrix"),
    bind<&H::DivElementMatrixMod>("div_element_matrix_mod"),
    bind<&H::InvertMatrix>("invert_matrix"),
    bind<&H::InvertMatrixMod>("invert_matrix_mod"),
    bind<&H::SolveMatrix>("solve_matrix"),
    bind<&H::DeterminantMatrix>("determinant_matrix"),
    bind<&H::PowMatrix>("pow_matrix"),
    bind<&H::PowMatrixMod>("pow_matrix_mod"),
    bind<&H::NormMatrix>("norm_matrix"),
    bind<&H::MeanMatrix>("mean_matrix"),
    bind<&H::SumMatrix>("sum_matrix"),
    bind<&H::MaxMatrix>("max_matrix"),
    bind<&H::MinMatrix>("min_matrix"),
    bind<&H::DecomposeMatrix>("decompose_matrix"),
    bind<&H::OrthogonalDecomposeMatrix>("orthogonal_decompose_matrix"),
    bind<&H::SvdMatrix>("svd_matrix"),
    bind<&H::EigenvaluesSymmetricMatrix>("eigenvalues_symmetric_matrix"),
    bind<&H::EigenvaluesGeneralMatrix>("eigenvalues_general_matrix"),
    bind<&H::GeneralizedEigenvaluesSymmetricMatrix>("generalized_eigenvalues_symmetric_matrix"),
    bind<&H::GeneralizedEigenvaluesGeneralMatrix>("generalized_eigenvalues_general_matrix"),
    bind<&H::ReadMatrix>("read_matrix"),
    bind<&H::WriteMatrix>("write_matrix"),
    bind<&H::SerializeMatrix>("serialize_matrix"),
    bind<&H::DeserializeMatrix>("deserialize_matrix"),
};

}  // namespace

OperatorGroup matrixOperators() {
  return {kMatrixOperators, sizeof kMatrixOperators / sizeof kMatrixOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
