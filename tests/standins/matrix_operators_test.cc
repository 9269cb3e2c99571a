// Matrices through program lines, against values worked by hand from the HALCON 11.0 pages of
// the chapter "Matrix" (each row names its operator). A is [[1, 2], [3, 4]] unless a row says
// otherwise; values run row by row.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

Lines mat(const std::string& name, int rows, int cols, const std::string& values) {
  return {"create_matrix (" + std::to_string(rows) + ", " + std::to_string(cols) + ", [" + values +
          "], " + name + ")"};
}

Lines full(const std::string& name) {
  return {"get_full_matrix (" + name + ", R)"};
}

const Lines kA = mat("A", 2, 2, "1, 2, 3, 4");
const Lines kB = mat("B", 2, 2, "5, 6, 7, 8");
// The example matrix of the mean_matrix page, 2 x 3.
const Lines kM = mat("M", 2, 3, "8, 4, -3, -6, 2, 7");
const double kS = std::sqrt(0.5);

// create_matrix and the access operators, HALCON 11.0: one value fills the matrix, as many
// values as elements fill it row by row, as many as the diagonal is long fill the diagonal,
// 'identity' makes the unit matrix; indices count from 0.
TEST(MatrixOperators, CreatesAndAccesses) {
  expectCases({
      {"create_matrix, one value", mat("X", 2, 2, "7") + full("X"), "[7.0, 7.0, 7.0, 7.0]"},
      {"create_matrix, all values", kM + full("M"), "[8.0, 4.0, -3.0, -6.0, 2.0, 7.0]"},
      {"create_matrix, the diagonal", mat("X", 2, 2, "2, 3") + full("X"), "[2.0, 0.0, 0.0, 3.0]"},
      {"create_matrix, 'identity'", Lines{"create_matrix (2, 2, 'identity', X)"} + full("X"),
       "[1.0, 0.0, 0.0, 1.0]"},
      {"get_size_matrix", kM + Lines{"get_size_matrix (M, Rs, Cs)", "R := [Rs, Cs]"}, "[2, 3]"},
      {"get_value_matrix, pairs of indices", kM + Lines{"get_value_matrix (M, [0, 1], [2, 0], R)"},
       "[-3.0, -6.0]"},
      {"set_value_matrix", kA + Lines{"set_value_matrix (A, [1, 0], [0, 1], [9, 8])"} + full("A"),
       "[1.0, 8.0, 9.0, 4.0]"},
      {"set_full_matrix, one value", kA + Lines{"set_full_matrix (A, 5)"} + full("A"),
       "[5.0, 5.0, 5.0, 5.0]"},
      {"get_sub_matrix", kM + Lines{"get_sub_matrix (M, 0, 1, 2, 2, S)"} + full("S"),
       "[4.0, -3.0, 2.0, 7.0]"},
      {"set_sub_matrix", kM + kA + Lines{"set_sub_matrix (M, A, 0, 1)"} + full("M"),
       "[8.0, 1.0, 2.0, -6.0, 3.0, 4.0]"},
      // diagonal 1 of M: (0, 1) and (1, 2); diagonal -1: (1, 0)
      {"get_diagonal_matrix above",
       kM + Lines{"get_diagonal_matrix (M, 1, D)", "get_size_matrix (D, Rs, Cs)"} + full("D") +
           Lines{"R := [Rs, Cs, R]"},
       "[2, 1, 4.0, 7.0]"},
      {"get_diagonal_matrix below", kM + Lines{"get_diagonal_matrix (M, -1, D)"} + full("D"),
       "-6.0"},
      {"set_diagonal_matrix",
       kA + mat("V", 1, 2, "0, 0") + Lines{"set_diagonal_matrix (A, V, 0)"} + full("A"),
       "[0.0, 2.0, 3.0, 0.0]"},
      {"repeat_matrix", mat("X", 1, 2, "1, 2") + Lines{"repeat_matrix (X, 2, 2, Y)"} + full("Y"),
       "[1.0, 2.0, 1.0, 2.0, 1.0, 2.0, 1.0, 2.0]"},
      {"copy_matrix is independent",
       kA + Lines{"copy_matrix (A, C)", "set_full_matrix (C, 0)"} + full("A"),
       "[1.0, 2.0, 3.0, 4.0]"},
  });
}

// add_matrix, sub_matrix, mult_matrix (its four kinds), scale_matrix, transpose_matrix and
// the element operators, HALCON 11.0; a _mod form overwrites its first matrix.
TEST(MatrixOperators, Arithmetic) {
  const Lines ab = kA + kB;
  expectCases({
      {"add_matrix", ab + Lines{"add_matrix (A, B, C)"} + full("C"), "[6.0, 8.0, 10.0, 12.0]"},
      {"sub_matrix_mod", ab + Lines{"sub_matrix_mod (B, A)"} + full("B"), "[4.0, 4.0, 4.0, 4.0]"},
      {"mult_matrix AB", ab + Lines{"mult_matrix (A, B, 'AB', C)"} + full("C"),
       "[19.0, 22.0, 43.0, 50.0]"},
      {"mult_matrix ATB", ab + Lines{"mult_matrix (A, B, 'ATB', C)"} + full("C"),
       "[26.0, 30.0, 38.0, 44.0]"},
      {"mult_matrix ABT", ab + Lines{"mult_matrix (A, B, 'ABT', C)"} + full("C"),
       "[17.0, 23.0, 39.0, 53.0]"},
      {"mult_matrix_mod ATBT", ab + Lines{"mult_matrix_mod (A, B, 'ATBT')"} + full("A"),
       "[23.0, 31.0, 34.0, 46.0]"},
      {"mult_matrix, 2 x 3 by 3 x 2", kM + Lines{"mult_matrix (M, M, 'ABT', C)"} + full("C"),
       "[89.0, -61.0, -61.0, 89.0]"},
      {"scale_matrix", kA + Lines{"scale_matrix (A, -2, C)"} + full("C"),
       "[-2.0, -4.0, -6.0, -8.0]"},
      {"transpose_matrix", kM + Lines{"transpose_matrix (M, T)"} + full("T"),
       "[8.0, -6.0, 4.0, 2.0, -3.0, 7.0]"},
      {"abs_matrix_mod", kM + Lines{"abs_matrix_mod (M)"} + full("M"),
       "[8.0, 4.0, 3.0, 6.0, 2.0, 7.0]"},
      {"sqrt_matrix", mat("X", 1, 3, "0, 4, 2.25") + Lines{"sqrt_matrix (X, Y)"} + full("Y"),
       "[0.0, 2.0, 1.5]"},
      {"mult_element_matrix", ab + Lines{"mult_element_matrix (A, B, C)"} + full("C"),
       "[5.0, 12.0, 21.0, 32.0]"},
      {"div_element_matrix", ab + Lines{"div_element_matrix (B, A, C)"} + full("C"),
       "[5.0, 3.0, 2.3333333333333335, 2.0]"},
      {"pow_element_matrix", ab + Lines{"pow_element_matrix (A, A, C)"} + full("C"),
       "[1.0, 4.0, 27.0, 256.0]"},
      {"pow_scalar_element_matrix_mod",
       kA + Lines{"pow_scalar_element_matrix_mod (A, 2)"} + full("A"), "[1.0, 4.0, 9.0, 16.0]"},
  });
}

// mean_matrix, sum_matrix, max_matrix and min_matrix, HALCON 11.0: 'columns' gives one row of
// a value per column, 'rows' one column of a value per row, 'full' one value.
TEST(MatrixOperators, Features) {
  std::vector<ProgramCase> cases;
  const char* kinds[] = {"columns", "rows", "full"};
  const char* expected[4][3] = {{"[1.0, 3.0, 2.0]", "[3.0, 1.0]", "2.0"},
                                {"[2.0, 6.0, 4.0]", "[9.0, 3.0]", "12.0"},
                                {"[8.0, 4.0, 7.0]", "[8.0, 7.0]", "8.0"},
                                {"[-6.0, 2.0, -3.0]", "[-3.0, -6.0]", "-6.0"}};
  const char* ops[] = {"mean_matrix", "sum_matrix", "max_matrix", "min_matrix"};
  for (int o = 0; o < 4; ++o) {
    for (int k = 0; k < 3; ++k) {
      cases.push_back({ops[o],
                       kM + Lines{std::string(ops[o]) + " (M, '" + kinds[k] + "', F)"} + full("F"),
                       expected[o][k]});
    }
  }
  expectCases(cases);
  // norm_matrix, HALCON 11.0: sqrt(1 + 4 + 9 + 16); the largest absolute row sum and column
  // sum; the largest singular value, sqrt(15 + sqrt(221)) from A^T A = [[10, 14], [14, 20]].
  expectReals({
      {kA + Lines{"norm_matrix (A, 'frobenius-norm', R)"}, {std::sqrt(30.0)}},
      {kA + Lines{"norm_matrix (A, 'infinity-norm', R)"}, {7}},
      {kA + Lines{"norm_matrix (A, '1-norm', R)"}, {6}},
      {kA + Lines{"norm_matrix (A, '2-norm', R)"}, {std::sqrt(15 + std::sqrt(221.0))}},
  });
}

// invert_matrix, solve_matrix, determinant_matrix and pow_matrix, HALCON 11.0. The type says
// which elements count: a symmetric matrix its upper triangle, a triangular one its triangle,
// a tridiagonal one its three middle diagonals. Epsilon > 0 gives the pseudo inverse.
TEST(MatrixOperators, InvertsAndSolves) {
  // [[1, 2, 3], [0, 1, 4], [5, 6, 0]]: determinant 1, its inverse the adjugate.
  const Lines k3 = mat("C", 3, 3, "1, 2, 3, 0, 1, 4, 5, 6, 0");
  expectReals({
      {mat("X", 2, 2, "4, 7, 2, 6") + Lines{"invert_matrix (X, 'general', 0, Y)"} + full("Y"),
       {0.6, -0.7, -0.2, 0.4}},
      {k3 + Lines{"invert_matrix_mod (C, 'general', 0)"} + full("C"),
       {-24, 18, 5, 20, -15, -4, -5, 4, 1}},
      {k3 + Lines{"determinant_matrix (C, 'general', R)"}, {1}},
      // 1/8 [[3, -2], [-2, 4]]; the lower element 99 is not read
      {mat("X", 2, 2, "4, 2, 99, 3") + Lines{"invert_matrix (X, 'positive_definite', 0, Y)"} +
           full("Y"),
       {0.375, -0.25, -0.25, 0.5}},
      {mat("X", 2, 2, "2, 1, 99, 3") + Lines{"determinant_matrix (X, 'symmetric', R)"}, {5}},
      {mat("X", 2, 2, "2, 5, 7, 3") + Lines{"determinant_matrix (X, 'upper_triangular', R)"}, {6}},
      // [[1, 2, 0], [3, 4, 5], [0, 6, 7]]: 1 (28 - 30) - 2 (21 - 0)
      {mat("X", 3, 3, "1, 2, 9, 3, 4, 5, 9, 6, 7") +
           Lines{"determinant_matrix (X, 'tridiagonal', R)"},
       {-44}},
      {mat("X", 2, 2, "1, 2, 2, 4") + Lines{"determinant_matrix (X, 'general', R)"}, {0}},
      // [[2, 1], [1, 3]] x = [3, 5]: 1/5 [[3, -1], [-1, 2]] [3, 5]
      {mat("X", 2, 2, "2, 1, 1, 3") + mat("Y", 2, 1, "3, 5") +
           Lines{"solve_matrix (X, 'general', 0, Y, Z)"} + full("Z"),
       {0.8, 1.4}},
      // least squares of x = 1 and x = 3
      {mat("X", 2, 1, "1, 1") + mat("Y", 2, 1, "1, 3") +
           Lines{"solve_matrix (X, 'general', 0, Y, Z)"} + full("Z"),
       {2}},
      {mat("X", 2, 1, "1, 1") + Lines{"invert_matrix (X, 'general', 1e-10, Y)"} + full("Y"),
       {0.5, 0.5}},
      // singular values 1 and 1e-12: the second is below 1e-10 times the first
      {mat("X", 2, 2, "1, 0, 0, 1e-12") + Lines{"invert_matrix (X, 'general', 1e-10, Y)"} +
           full("Y"),
       {1, 0, 0, 0}},
      // [[1, 1], [0, 1]]^n = [[1, n], [0, 1]]; the square root of diag(4, 9) is diag(2, 3)
      {mat("X", 2, 2, "1, 1, 0, 1") + Lines{"pow_matrix (X, 'general', 3, Y)"} + full("Y"),
       {1, 3, 0, 1}},
      {mat("X", 2, 2, "1, 1, 0, 1") + Lines{"pow_matrix_mod (X, 'general', -1)"} + full("X"),
       {1, -1, 0, 1}},
      {mat("X", 2, 2, "4, 0, 0, 9") + Lines{"pow_matrix (X, 'symmetric', 0.5, Y)"} + full("Y"),
       {2, 0, 0, 3}},
  });
}

// eigenvalues_symmetric_matrix, generalized_eigenvalues_symmetric_matrix, svd_matrix,
// decompose_matrix and orthogonal_decompose_matrix, HALCON 11.0. Eigenvalues ascend and
// singular values descend (LAPACK's order); each eigenvector and right singular vector has
// its largest component positive, R of a QR its diagonal non-negative.
TEST(MatrixOperators, Decomposes) {
  // [[2, 0, 0], [0, 3, 4], [0, 4, 9]]: 2, and 6 -+ 5 from the lower block, with the vectors
  // [0, 2, -1]/sqrt 5, [1, 0, 0] and [0, 1, 2]/sqrt 5.
  const double r5 = 1 / std::sqrt(5.0);
  const Lines eig3 = mat("X", 3, 3, "2, 0, 0, 0, 3, 4, 0, 4, 9") +
                     Lines{"eigenvalues_symmetric_matrix (X, 'true', L, V)"};
  // [[0, -2], [3, 0]] = R(90 deg) diag(3, 2): U = R(90 deg), S = [3, 2], V = I.
  const Lines svd2 =
      mat("X", 2, 2, "0, -2, 3, 0") + Lines{"svd_matrix (X, 'full', 'both', U, S, V)"};
  // [[3, 0], [0, 4], [0, 0]]: S = [4, 3], V = [[0, 1], [1, 0]], full U adds e3.
  const Lines svd3 =
      mat("X", 3, 2, "3, 0, 0, 4, 0, 0") + Lines{"svd_matrix (X, 'full', 'both', U, S, V)"};
  expectReals({
      {mat("X", 2, 2, "2, 1, 1, 2") + Lines{"eigenvalues_symmetric_matrix (X, 'true', L, V)"} +
           Lines{"get_full_matrix (L, Ls)", "get_full_matrix (V, Vs)", "R := [Ls, Vs]"},
       {1, 3, kS, kS, -kS, kS}},
      {eig3 + full("L"), {1, 2, 11}},
      {eig3 + full("V"), {0, 1, 0, 2 * r5, 0, r5, -r5, 0, 2 * r5}},
      // A x = l B x with B = diag(1, 4): l = 2 and 0.5; x^T B x = 1 gives x = [1, 0], [0, 0.5]
      {mat("X", 2, 2, "2, 0, 0, 2") + mat("Y", 2, 2, "1, 0, 0, 4") +
           Lines{"generalized_eigenvalues_symmetric_matrix (X, Y, 'true', L, V)",
                 "get_full_matrix (L, Ls)", "get_full_matrix (V, Vs)", "R := [Ls, Vs]"},
       {0.5, 2, 0, 1, 0.5, 0}},
      {svd2 + full("U"), {0, -1, 1, 0}},
      {svd2 + full("S"), {3, 2}},
      {svd2 + full("V"), {1, 0, 0, 1}},
      {svd3 + full("S"), {4, 3}},
      {svd3 + full("U"), {0, 1, 0, 1, 0, 0, 0, 0, 1}},
      {svd3 + full("V"), {0, 1, 1, 0}},
      // a = (P^T L) U: pivot 3, L = [[1, 0], [1/3, 1]], U = [[3, 4], [0, 2/3]]
      {kA + Lines{"decompose_matrix (A, 'general', P, Q)", "get_full_matrix (P, Ps)",
                  "get_full_matrix (Q, Qs)", "R := [Ps, Qs]"},
       {1.0 / 3, 1, 1, 0, 3, 4, 0, 2.0 / 3}},
      {mat("X", 2, 2, "4, 2, 2, 3") + Lines{"decompose_matrix (X, 'positive_definite', L, U)"} +
           full("L"),
       {2, 0, 1, std::sqrt(2.0)}},
      // [[3, 0], [4, 5]]: q1 = [3, 4]/5, R = [[5, 4], [0, 3]], q2 = [-4, 3]/5
      {mat("X", 2, 2, "3, 0, 4, 5") +
           Lines{"orthogonal_decompose_matrix (X, 'qr', 'full', 'true', Q, T)",
                 "get_full_matrix (Q, Qs)", "get_full_matrix (T, Ts)", "R := [Qs, Ts]"},
       {0.6, -0.8, 0.8, 0.6, 5, 4, 0, 3}},
  });
  // Each factorization multiplies back to its matrix.
  expectReals({
      {kM +
           Lines{"orthogonal_decompose_matrix (M, 'lq', 'reduced', 'true', Q, L)",
                 "mult_matrix (L, Q, 'AB', P)"} +
           full("P"),
       {8, 4, -3, -6, 2, 7}},
      {kM +
           Lines{"orthogonal_decompose_matrix (M, 'rq', 'full', 'true', Q, T)",
                 "mult_matrix (T, Q, 'AB', P)", "get_value_matrix (T, [1], [0], Z)"} +
           full("P") + Lines{"R := [Z, R]"},
       {0, 8, 4, -3, -6, 2, 7}},
      {kA +
           Lines{"orthogonal_decompose_matrix (A, 'ql', 'full', 'true', Q, T)",
                 "mult_matrix (Q, T, 'AB', P)", "get_value_matrix (T, [0], [1], Z)"} +
           full("P") + Lines{"R := [Z, R]"},
       {0, 1, 2, 3, 4}},
  });
}

// eigenvalues_general_matrix and generalized_eigenvalues_general_matrix, HALCON 11.0: real
// and imaginary parts apart. The stand-in orders the eigenvalues by ascending real part, of a
// conjugate pair the positive imaginary part first, and scales each vector to unit length with
// its largest component real and positive.
TEST(MatrixOperators, GeneralEigenvalues) {
  const auto lines = [](Lines start, const std::string& call) {
    return start + Lines{call,
                         "get_full_matrix (Lr, A1)",
                         "get_full_matrix (Li, A2)",
                         "get_full_matrix (Vr, A3)",
                         "get_full_matrix (Vi, A4)",
                         "R := [A1, A2, A3, A4]"};
  };
  expectReals({
      // the rotation by 90 degrees: +-i, with the vectors [1, -+i]/sqrt 2
      {lines(mat("X", 2, 2, "0, -1, 1, 0"),
             "eigenvalues_general_matrix (X, 'true', Lr, Li, Vr, Vi)"),
       {0, 0, 1, -1, kS, kS, 0, 0, 0, 0, -kS, kS}},
      // [[1, 2], [0, 3]]: 1 with [1, 0], 3 with [1, 1]/sqrt 2
      {lines(mat("X", 2, 2, "1, 2, 0, 3"),
             "eigenvalues_general_matrix (X, 'true', Lr, Li, Vr, Vi)"),
       {1, 3, 0, 0, 1, kS, 0, kS, 0, 0, 0, 0}},
      // diag(2, 3) x = l diag(1, 2) x: 1.5 with [0, 1], 2 with [1, 0]
      {lines(mat("X", 2, 2, "2, 0, 0, 3") + mat("Y", 2, 2, "1, 0, 0, 2"),
             "generalized_eigenvalues_general_matrix (X, Y, 'true', Lr, Li, Vr, Vi)"),
       {1.5, 2, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0}},
  });
}

// write_matrix / read_matrix in both formats, and serialize_matrix / deserialize_matrix, give
// the matrix back (HALCON 11.0); an 'ascii' file is one matrix row a line.
TEST(MatrixOperators, FilesAndItems) {
  const std::string file = scratchFolder() + "/matrix_roundtrip";
  const std::string values = "[0.1, -2.5, 1e+300, 3.0, 4.0, 5.0]";
  const Lines m = mat("M", 3, 2, "0.1, -2.5, 1e300, 3, 4, 5");
  expectCases({
      {"binary",
       m +
           Lines{"write_matrix (M, 'binary', '" + file + "_b')",
                 "read_matrix ('" + file + "_b.mtx', N)"} +
           full("N"),
       values.c_str()},
      {"ascii",
       m + Lines{"write_matrix (M, 'ascii', '" + file + "_a.mtx')",
                 "read_matrix ('" + file + "_a', N)", "get_size_matrix (N, Rs, Cs)",
                 "get_full_matrix (N, V)", "R := [Rs, Cs, V]"},
       "[3, 2, 0.1, -2.5, 1e+300, 3.0, 4.0, 5.0]"},
      {"serialized", m + Lines{"serialize_matrix (M, S)", "deserialize_matrix (S, N)"} + full("N"),
       values.c_str()},
  });
  std::ofstream(file + "_t.mtx") << "1 2\n\n3 4\n";
  expectCases(
      {{"a hand-written ascii file", Lines{"read_matrix ('" + file + "_t.mtx', N)"} + full("N"),
        "[1.0, 2.0, 3.0, 4.0]"}});
  std::ofstream(file + "_bad.mtx") << "1 2\n3\n";
  expectErrorCases({
      {{"read_matrix ('" + file + "_bad.mtx', N)"}, 5202},
      {{"read_matrix ('" + file + "_none.mtx', N)"}, 5200},
      {{"serialize_tuple ([1], S)", "deserialize_matrix (S, N)"}, 1301},
  });
}

// Errors: a cleared handle is a wrong value of its parameter (as every handle kind's); a
// matrix of the wrong size for its partner is a wrong value of the second one; a singular
// matrix is 9205; a size whose elements would not fit an int32 or the memory bound is 6001
// before anything is allocated.
TEST(MatrixOperators, RefusesWrongInput) {
  expectErrorCases({
      {kA + Lines{"clear_matrix (A)", "get_full_matrix (A, R)"}, 1301},
      {kA + Lines{"clear_all_matrices ()", "get_size_matrix (A, Rs, Cs)"}, 1301},
      {kA + Lines{"clear_matrix (A)", "clear_matrix (A)"}, 1301},
      {kA + kM + Lines{"add_matrix (A, M, C)"}, 1302},
      {kA + kM + Lines{"mult_matrix (M, A, 'AB', C)"}, 1302},
      {kA + Lines{"mult_matrix (A, A, 'BA', C)"}, 1303},
      {kM + Lines{"invert_matrix (M, 'general', 0, C)"}, 1301},
      {mat("X", 2, 2, "1, 2, 2, 4") + Lines{"invert_matrix (X, 'general', 0, C)"}, 9205},
      {mat("X", 2, 2, "1, 2, 2, 1") + Lines{"invert_matrix (X, 'positive_definite', 0, C)"}, 9205},
      {kA + Lines{"invert_matrix (A, 'symmetric', 0.1, C)"}, 1302},
      {kA + Lines{"invert_matrix (A, 'general', -1, C)"}, 1303},
      {kA + kM + Lines{"transpose_matrix (M, T)", "solve_matrix (A, 'general', 0, T, C)"}, 1304},
      {{"create_matrix (0, 2, 1, X)"}, 1301},
      {{"create_matrix (2, 2, [1, 2, 3], X)"}, 1403},
      {{"create_matrix (2, 3, 'identity', X)"}, 1303},
      {{"create_matrix (100000, 100000, 0, X)"}, 6001},
      {kA + Lines{"repeat_matrix (A, 40000, 40000, X)"}, 6001},
      {kA + Lines{"get_value_matrix (A, 2, 0, V)"}, 1302},
      {kA + Lines{"get_sub_matrix (A, 1, 0, 2, 1, S)"}, 1304},
      {kA + Lines{"get_diagonal_matrix (A, 2, D)"}, 1302},
      {kA + Lines{"mean_matrix (A, 'all', F)"}, 1302},
      {kA + mat("Y", 2, 2, "1, 2, 2, 4") +
           Lines{"generalized_eigenvalues_general_matrix (A, Y, 'false', Lr, Li, Vr, Vi)"},
       9205},
      {kA + Lines{"norm_matrix (A, 'max-norm', V)"}, 1302},
      // 0 / 0 is NaN: the general eigenvalues refuse it rather than iterate on it
      {mat("X", 2, 2, "0") + Lines{"div_element_matrix_mod (X, X)",
                                   "eigenvalues_general_matrix (X, 'true', Lr, Li, Vr, Vi)"},
       1301},
      // 1e308 * 10 overflows to infinity: a decomposition refuses it
      {mat("X", 2, 2, "1e308") +
           Lines{"scale_matrix_mod (X, 10)", "svd_matrix (X, 'full', 'none', U, S, V)"},
       1301},
  });
}

}  // namespace
