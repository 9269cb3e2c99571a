// The tuple_* operators a program line can call. They share the expression functions' code,
// so that tuple_add(A, B, C) and C := A + B agree element for element.
#include "functions/tuple_functions.h"
#include "operators/table.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

// The output may be one of the inputs' variables: the value is complete before it is stored.
template <TupleFunction kFunction>
void run(const OperatorArgs& args) {
  HTuple value;
  kFunction(args.ctrlIn.data(), args.ctrlIn.size(), &value);
  *args.ctrlOut[0] = std::move(value);
}

void runHistoRange(const OperatorArgs& args) {
  HTuple histogram, binSize;
  tupleHistoRange(args.ctrlIn.data(), &histogram, &binSize);
  *args.ctrlOut[0] = std::move(histogram);
  *args.ctrlOut[1] = std::move(binSize);
}

constexpr OperatorSpec kTupleOperators[] = {
    {"tuple_add", 0, 0, 2, 1, run<tupleAdd>},
    {"tuple_sub", 0, 0, 2, 1, run<tupleSub>},
    {"tuple_mult", 0, 0, 2, 1, run<tupleMult>},
    {"tuple_div", 0, 0, 2, 1, run<tupleDiv>},
    {"tuple_mod", 0, 0, 2, 1, run<tupleMod>},
    {"tuple_neg", 0, 0, 1, 1, run<tupleNeg>},
    {"tuple_abs", 0, 0, 1, 1, run<tupleAbs>},
    {"tuple_fabs", 0, 0, 1, 1, run<tupleFabs>},
    {"tuple_ceil", 0, 0, 1, 1, run<tupleCeil>},
    {"tuple_floor", 0, 0, 1, 1, run<tupleFloor>},
    {"tuple_round", 0, 0, 1, 1, run<tupleRound>},
    {"tuple_int", 0, 0, 1, 1, run<tupleInt>},
    {"tuple_real", 0, 0, 1, 1, run<tupleReal>},
    {"tuple_sgn", 0, 0, 1, 1, run<tupleSgn>},
    {"tuple_sqrt", 0, 0, 1, 1, run<tupleSqrt>},
    {"tuple_exp", 0, 0, 1, 1, run<tupleExp>},
    {"tuple_log", 0, 0, 1, 1, run<tupleLog>},
    {"tuple_log10", 0, 0, 1, 1, run<tupleLog10>},
    {"tuple_sin", 0, 0, 1, 1, run<tupleSin>},
    {"tuple_cos", 0, 0, 1, 1, run<tupleCos>},
    {"tuple_tan", 0, 0, 1, 1, run<tupleTan>},
    {"tuple_asin", 0, 0, 1, 1, run<tupleAsin>},
    {"tuple_acos", 0, 0, 1, 1, run<tupleAcos>},
    {"tuple_atan", 0, 0, 1, 1, run<tupleAtan>},
    {"tuple_sinh", 0, 0, 1, 1, run<tupleSinh>},
    {"tuple_cosh", 0, 0, 1, 1, run<tupleCosh>},
    {"tuple_tanh", 0, 0, 1, 1, run<tupleTanh>},
    {"tuple_deg", 0, 0, 1, 1, run<tupleDeg>},
    {"tuple_rad", 0, 0, 1, 1, run<tupleRad>},
    {"tuple_atan2", 0, 0, 2, 1, run<tupleAtan2>},
    {"tuple_pow", 0, 0, 2, 1, run<tuplePow>},
    {"tuple_ldexp", 0, 0, 2, 1, run<tupleLdexp>},
    {"tuple_fmod", 0, 0, 2, 1, run<tupleFmod>},
    {"tuple_min2", 0, 0, 2, 1, run<tupleMin2>},
    {"tuple_max2", 0, 0, 2, 1, run<tupleMax2>},
    {"tuple_band", 0, 0, 2, 1, run<tupleBand>},
    {"tuple_bor", 0, 0, 2, 1, run<tupleBor>},
    {"tuple_bxor", 0, 0, 2, 1, run<tupleBxor>},
    {"tuple_bnot", 0, 0, 1, 1, run<tupleBnot>},
    {"tuple_lsh", 0, 0, 2, 1, run<tupleLsh>},
    {"tuple_rsh", 0, 0, 2, 1, run<tupleRsh>},
    {"tuple_and", 0, 0, 2, 1, run<tupleAnd>},
    {"tuple_or", 0, 0, 2, 1, run<tupleOr>},
    {"tuple_xor", 0, 0, 2, 1, run<tupleXor>},
    {"tuple_not", 0, 0, 1, 1, run<tupleNot>},
    {"tuple_equal", 0, 0, 2, 1, run<tupleEqual>},
    {"tuple_not_equal", 0, 0, 2, 1, run<tupleNotEqual>},
    {"tuple_less", 0, 0, 2, 1, run<tupleLess>},
    {"tuple_greater", 0, 0, 2, 1, run<tupleGreater>},
    {"tuple_less_equal", 0, 0, 2, 1, run<tupleLessEqual>},
    {"tuple_greater_equal", 0, 0, 2, 1, run<tupleGreaterEqual>},
    {"tuple_equal_elem", 0, 0, 2, 1, run<tupleEqualElem>},
    {"tuple_not_equal_elem", 0, 0, 2, 1, run<tupleNotEqualElem>},
    {"tuple_less_elem", 0, 0, 2, 1, run<tupleLessElem>},
    {"tuple_greater_elem", 0, 0, 2, 1, run<tupleGreaterElem>},
    {"tuple_less_equal_elem", 0, 0, 2, 1, run<tupleLessEqualElem>},
    {"tuple_greater_equal_elem", 0, 0, 2, 1, run<tupleGreaterEqualElem>},
    {"tuple_sum", 0, 0, 1, 1, run<tupleSum>},
    {"tuple_mean", 0, 0, 1, 1, run<tupleMean>},
    {"tuple_min", 0, 0, 1, 1, run<tupleMin>},
    {"tuple_max", 0, 0, 1, 1, run<tupleMax>},
    {"tuple_median", 0, 0, 1, 1, run<tupleMedian>},
    {"tuple_deviation", 0, 0, 1, 1, run<tupleDeviation>},
    {"tuple_cumul", 0, 0, 1, 1, run<tupleCumul>},
    {"tuple_select_rank", 0, 0, 2, 1, run<tupleSelectRank>},
    {"tuple_sort", 0, 0, 1, 1, run<tupleSort>},
    {"tuple_sort_index", 0, 0, 1, 1, run<tupleSortIndex>},
    {"tuple_histo_range", 0, 0, 4, 2, runHistoRange},
    {"tuple_concat", 0, 0, 2, 1, run<tupleConcat>},
    {"tuple_select", 0, 0, 2, 1, run<tupleSelect>},
    {"tuple_select_range", 0, 0, 3, 1, run<tupleSelectRange>},
    {"tuple_select_mask", 0, 0, 2, 1, run<tupleSelectMask>},
    {"tuple_first_n", 0, 0, 2, 1, run<tupleFirstN>},
    {"tuple_last_n", 0, 0, 2, 1, run<tupleLastN>},
    {"tuple_remove", 0, 0, 2, 1, run<tupleRemove>},
    {"tuple_find", 0, 0, 2, 1, run<tupleFind>},
    {"tuple_find_first", 0, 0, 2, 1, run<tupleFindFirst>},
    {"tuple_find_last", 0, 0, 2, 1, run<tupleFindLast>},
    {"tuple_uniq", 0, 0, 1, 1, run<tupleUniq>},
    {"tuple_inverse", 0, 0, 1, 1, run<tupleInverse>},
    {"tuple_gen_const", 0, 0, 2, 1, run<tupleGenConst>},
    {"tuple_gen_sequence", 0, 0, 3, 1, run<tupleGenSequence>},
    {"tuple_rand", 0, 0, 1, 1, run<tupleRand>},
    {"tuple_insert", 0, 0, 3, 1, run<tupleInsert>},
    {"tuple_replace", 0, 0, 3, 1, run<tupleReplace>},
    {"tuple_union", 0, 0, 2, 1, run<tupleUnion>},
    {"tuple_intersection", 0, 0, 2, 1, run<tupleIntersection>},
    {"tuple_difference", 0, 0, 2, 1, run<tupleDifference>},
    {"tuple_symmdiff", 0, 0, 2, 1, run<tupleSymmdiff>},
    {"tuple_type", 0, 0, 1, 1, run<tupleType>},
    {"tuple_type_elem", 0, 0, 1, 1, run<tupleTypeElem>},
    {"tuple_is_int", 0, 0, 1, 1, run<tupleIsInt>},
    {"tuple_is_real", 0, 0, 1, 1, run<tupleIsReal>},
    {"tuple_is_string", 0, 0, 1, 1, run<tupleIsString>},
    {"tuple_is_mixed", 0, 0, 1, 1, run<tupleIsMixed>},
    {"tuple_is_int_elem", 0, 0, 1, 1, run<tupleIsIntElem>},
    {"tuple_is_real_elem", 0, 0, 1, 1, run<tupleIsRealElem>},
    {"tuple_is_string_elem", 0, 0, 1, 1, run<tupleIsStringElem>},
    {"tuple_number", 0, 0, 1, 1, run<tupleNumber>},
    {"tuple_is_number", 0, 0, 1, 1, run<tupleIsNumber>},
    {"tuple_string", 0, 0, 2, 1, run<tupleString>},
    {"tuple_strlen", 0, 0, 1, 1, run<tupleStrlen>},
    {"tuple_strchr", 0, 0, 2, 1, run<tupleStrchr>},
    {"tuple_strrchr", 0, 0, 2, 1, run<tupleStrrchr>},
    {"tuple_strstr", 0, 0, 2, 1, run<tupleStrstr>},
    {"tuple_strrstr", 0, 0, 2, 1, run<tupleStrrstr>},
    {"tuple_str_first_n", 0, 0, 2, 1, run<tupleStrFirstN>},
    {"tuple_str_last_n", 0, 0, 2, 1, run<tupleStrLastN>},
    {"tuple_substr", 0, 0, 3, 1, run<tupleSubstr>},
    {"tuple_str_bit_select", 0, 0, 2, 1, run<tupleStrBitSelect>},
    {"tuple_split", 0, 0, 2, 1, run<tupleSplit>},
    {"tuple_chr", 0, 0, 1, 1, run<tupleChr>},
    {"tuple_chrt", 0, 0, 1, 1, run<tupleChrt>},
    {"tuple_ord", 0, 0, 1, 1, run<tupleOrd>},
    {"tuple_ords", 0, 0, 1, 1, run<tupleOrds>},
    {"tuple_environment", 0, 0, 1, 1, run<tupleEnvironment>},
    {"tuple_regexp_match", 0, 0, 2, 1, run<tupleRegexpMatch>},
    {"tuple_regexp_replace", 0, 0, 3, 1, run<tupleRegexpReplace>},
    {"tuple_regexp_select", 0, 0, 2, 1, run<tupleRegexpSelect>},
    {"tuple_regexp_test", 0, 0, 2, 1, run<tupleRegexpTest>},
};

}  // namespace

OperatorGroup tupleOperators() {
  return {kTupleOperators, sizeof kTupleOperators / sizeof kTupleOperators[0]};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
