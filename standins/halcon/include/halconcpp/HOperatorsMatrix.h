#ifndef HALCONCPP_HOPERATORSMATRIX_H
#define HALCONCPP_HOPERATORSMATRIX_H

#include "halconcpp/HTuple.h"

// Matrices (HALCON 11.0 chapter "Matrix"): dense matrices of reals behind handles, their
// arithmetic, decompositions, eigenvalues and files.
namespace HalconCpp {

HALCONCPP_API void CreateMatrix(const HTuple& Rows, const HTuple& Columns, const HTuple& Value,
                                HTuple* MatrixID);
HALCONCPP_API void ClearMatrix(const HTuple& MatrixID);
HALCONCPP_API void ClearAllMatrices();
HALCONCPP_API void CopyMatrix(const HTuple& MatrixID, HTuple* MatrixCopyID);
HALCONCPP_API void GetSizeMatrix(const HTuple& MatrixID, HTuple* Rows, HTuple* Columns);
HALCONCPP_API void GetFullMatrix(const HTuple& MatrixID, HTuple* Values);
HALCONCPP_API void SetFullMatrix(const HTuple& MatrixID, const HTuple& Values);
HALCONCPP_API void GetValueMatrix(const HTuple& MatrixID, const HTuple& Row, const HTuple& Column,
                                  HTuple* Value);
HALCONCPP_API void SetValueMatrix(const HTuple& MatrixID, const HTuple& Row, const HTuple& Column,
                                  const HTuple& Value);
HALCONCPP_API void GetSubMatrix(const HTuple& MatrixID, const HTuple& Row, const HTuple& Column,
                                const HTuple& RowsSub, const HTuple& ColumnsSub,
                                HTuple* MatrixSubID);
HALCONCPP_API void SetSubMatrix(const HTuple& MatrixID, const HTuple& MatrixSubID,
                                const HTuple& Row, const HTuple& Column);
HALCONCPP_API void GetDiagonalMatrix(const HTuple& MatrixID, const HTuple& Diagonal,
                                     HTuple* VectorID);
HALCONCPP_API void SetDiagonalMatrix(const HTuple& MatrixID, const HTuple& VectorID,
                                     const HTuple& Diagonal);
HALCONCPP_API void AddMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID, HTuple* MatrixSumID);
HALCONCPP_API void SubMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID,
                             HTuple* MatrixDifferenceID);
HALCONCPP_API void MultMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID,
                              const HTuple& MultType, HTuple* MatrixMultID);
HALCONCPP_API void ScaleMatrix(const HTuple& MatrixID, const HTuple& Factor,
                               HTuple* MatrixScaledID);
HALCONCPP_API void TransposeMatrix(const HTuple& MatrixID, HTuple* MatrixTransposedID);
HALCONCPP_API void InvertMatrix(const HTuple& MatrixID, const HTuple& MatrixType,
                                const HTuple& Epsilon, HTuple* MatrixInvID);
HALCONCPP_API void SolveMatrix(const HTuple& MatrixLHSID, const HTuple& MatrixLHSType,
                               const HTuple& Epsilon, const HTuple& MatrixRHSID,
                               HTuple* MatrixResultID);
HALCONCPP_API void DeterminantMatrix(const HTuple& MatrixID, const HTuple& MatrixType,
                                     HTuple* Value);
HALCONCPP_API void NormMatrix(const HTuple& MatrixID, const HTuple& NormType, HTuple* Value);
HALCONCPP_API void MeanMatrix(const HTuple& MatrixID, const HTuple& MeanType, HTuple* MatrixMeanID);
HALCONCPP_API void SumMatrix(const HTuple& MatrixID, const HTuple& SumType, HTuple* MatrixSumID);
HALCONCPP_API void MaxMatrix(const HTuple& MatrixID, const HTuple& MaxType, HTuple* MatrixMaxID);
HALCONCPP_API void MinMatrix(const HTuple& MatrixID, const HTuple& MinType, HTuple* MatrixMinID);
HALCONCPP_API void EigenvaluesSymmetricMatrix(const HTuple& MatrixID,
                                              const HTuple& ComputeEigenvectors,
                                              HTuple* EigenvaluesID, HTuple* EigenvectorsID);
HALCONCPP_API void SvdMatrix(const HTuple& MatrixID, const HTuple& SVDType,
                             const HTuple& ComputeSingularVectors, HTuple* MatrixUID,
                             HTuple* MatrixSID, HTuple* MatrixVID);
HALCONCPP_API void DecomposeMatrix(const HTuple& MatrixID, const HTuple& MatrixType,
                                   HTuple* Matrix1ID, HTuple* Matrix2ID);
HALCONCPP_API void ReadMatrix(const HTuple& FileName, HTuple* MatrixID);
HALCONCPP_API void WriteMatrix(const HTuple& MatrixID, const HTuple& FileFormat,
                               const HTuple& FileName);
HALCONCPP_API void AbsMatrix(const HTuple& MatrixID, HTuple* MatrixAbsID);
HALCONCPP_API void AbsMatrixMod(const HTuple& MatrixID);
HALCONCPP_API void AddMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID);
HALCONCPP_API void SubMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID);
HALCONCPP_API void MultMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID,
                                 const HTuple& MultType);
HALCONCPP_API void ScaleMatrixMod(const HTuple& MatrixID, const HTuple& Factor);
HALCONCPP_API void TransposeMatrixMod(const HTuple& MatrixID);
HALCONCPP_API void InvertMatrixMod(const HTuple& MatrixID, const HTuple& MatrixType,
                                   const HTuple& Epsilon);
HALCONCPP_API void SqrtMatrix(const HTuple& MatrixID, HTuple* MatrixSqrtID);
HALCONCPP_API void SqrtMatrixMod(const HTuple& MatrixID);
HALCONCPP_API void PowMatrix(const HTuple& MatrixID, const HTuple& MatrixType, const HTuple& Power,
                             HTuple* MatrixPowID);
HALCONCPP_API void PowMatrixMod(const HTuple& MatrixID, const HTuple& MatrixType,
                                const HTuple& Power);
HALCONCPP_API void PowElementMatrix(const HTuple& MatrixID, const HTuple& MatrixExpID,
                                    HTuple* MatrixPowID);
HALCONCPP_API void PowElementMatrixMod(const HTuple& MatrixID, const HTuple& MatrixExpID);
HALCONCPP_API void PowScalarElementMatrix(const HTuple& MatrixID, const HTuple& Power,
                                          HTuple* MatrixPowID);
HALCONCPP_API void PowScalarElementMatrixMod(const HTuple& MatrixID, const HTuple& Power);
HALCONCPP_API void MultElementMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID,
                                     HTuple* MatrixMultID);
HALCONCPP_API void MultElementMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID);
HALCONCPP_API void DivElementMatrix(const HTuple& MatrixAID, const HTuple& MatrixBID,
                                    HTuple* MatrixDivID);
HALCONCPP_API void DivElementMatrixMod(const HTuple& MatrixAID, const HTuple& MatrixBID);
HALCONCPP_API void RepeatMatrix(const HTuple& MatrixID, const HTuple& Rows, const HTuple& Columns,
                                HTuple* MatrixRepeatedID);
HALCONCPP_API void SerializeMatrix(const HTuple& MatrixID, HTuple* SerializedItemHandle);
HALCONCPP_API void DeserializeMatrix(const HTuple& SerializedItemHandle, HTuple* MatrixID);
HALCONCPP_API void OrthogonalDecomposeMatrix(
    const HTuple& MatrixID, const HTuple& DecompositionType, const HTuple& OutputMatricesType,
    const HTuple& ComputeOrthogonal, HTuple* MatrixOrthogonalID, HTuple* MatrixTriangularID);
HALCONCPP_API void GeneralizedEigenvaluesSymmetricMatrix(const HTuple& MatrixAID,
                                                         const HTuple& MatrixBID,
                                                         const HTuple& ComputeEigenvectors,
                                                         HTuple* EigenvaluesID,
                                                         HTuple* EigenvectorsID);

HALCONCPP_API void EigenvaluesGeneralMatrix(const HTuple& MatrixID,
                                            const HTuple& ComputeEigenvectors,
                                            HTuple* EigenvaluesRealID, HTuple* EigenvaluesImagID,
                                            HTuple* EigenvectorsRealID, HTuple* EigenvectorsImagID);
HALCONCPP_API void GeneralizedEigenvaluesGeneralMatrix(
    const HTuple& MatrixAID, const HTuple& MatrixBID, const HTuple& ComputeEigenvectors,
    HTuple* EigenvaluesRealID, HTuple* EigenvaluesImagID, HTuple* EigenvectorsRealID,
    HTuple* EigenvectorsImagID);

}  // namespace HalconCpp

#endif
