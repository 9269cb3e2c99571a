#include "functions/functions.h"

#include "functions/tuple_functions.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

struct FunctionSpec {
  const char* name;
  int least;
  int most;
  TupleFunction apply;
};

// The expression functions of HDevelop with the tuple operation behind each. band, bor, bxor
// and bnot are operators in the syntax; the parser calls them here.
constexpr FunctionSpec kFunctions[] = {
    // Arithmetic and mathematics.
    {"abs", 1, 1, tupleAbs},
    {"fabs", 1, 1, tupleFabs},
    {"ceil", 1, 1, tupleCeil},
    {"floor", 1, 1, tupleFloor},
    {"sqrt", 1, 1, tupleSqrt},
    {"exp", 1, 1, tupleExp},
    {"log", 1, 1, tupleLog},
    {"log10", 1, 1, tupleLog10},
    {"sin", 1, 1, tupleSin},
    {"cos", 1, 1, tupleCos},
    {"tan", 1, 1, tupleTan},
    {"asin", 1, 1, tupleAsin},
    {"acos", 1, 1, tupleAcos},
    {"atan", 1, 1, tupleAtan},
    {"sinh", 1, 1, tupleSinh},
    {"cosh", 1, 1, tupleCosh},
    {"tanh", 1, 1, tupleTanh},
    {"deg", 1, 1, tupleDeg},
    {"rad", 1, 1, tupleRad},
    {"sgn", 1, 1, tupleSgn},
    {"int", 1, 1, tupleInt},
    {"real", 1, 1, tupleReal},
    {"round", 1, 1, tupleRound},
    {"atan2", 2, 2, tupleAtan2},
    {"pow", 2, 2, tuplePow},
    {"ldexp", 2, 2, tupleLdexp},
    {"fmod", 2, 2, tupleFmod},
    {"min2", 2, 2, tupleMin2},
    {"max2", 2, 2, tupleMax2},
    // Bits.
    {"lsh", 2, 2, tupleLsh},
    {"rsh", 2, 2, tupleRsh},
    {"band", 2, 2, tupleBand},
    {"bor", 2, 2, tupleBor},
    {"bxor", 2, 2, tupleBxor},
    {"bnot", 1, 1, tupleBnot},
    // Whole tuples.
    {"min", 1, 1, tupleMin},
    {"max", 1, 1, tupleMax},
    {"sum", 1, 1, tupleSum},
    {"mean", 1, 1, tupleMean},
    {"median", 1, 1, tupleMedian},
    {"deviation", 1, 1, tupleDeviation},
    {"cumul", 1, 1, tupleCumul},
    {"select_rank", 2, 2, tupleSelectRank},
    {"sort", 1, 1, tupleSort},
    {"sort_index", 1, 1, tupleSortIndex},
    {"inverse", 1, 1, tupleInverse},
    {"uniq", 1, 1, tupleUniq},
    {"find", 2, 2, tupleFind},
    {"remove", 2, 2, tupleRemove},
    {"subset", 2, 2, tupleSelect},
    {"select_mask", 2, 2, tupleSelectMask},
    {"gen_tuple_const", 2, 2, tupleGenConst},
    {"gen_sequence", 3, 3, tupleGenSequence},
    {"rand", 1, 1, tupleRand},
    {"insert", 3, 3, tupleInsert},
    {"replace", 3, 3, tupleReplace},
    {"union", 2, 2, tupleUnion},
    {"intersection", 2, 2, tupleIntersection},
    {"difference", 2, 2, tupleDifference},
    {"symmdiff", 2, 2, tupleSymmdiff},
    // Kinds.
    {"type", 1, 1, tupleType},
    {"type_elem", 1, 1, tupleTypeElem},
    {"is_int", 1, 1, tupleIsInt},
    {"is_real", 1, 1, tupleIsReal},
    {"is_string", 1, 1, tupleIsString},
    {"is_mixed", 1, 1, tupleIsMixed},
    {"is_int_elem", 1, 1, tupleIsIntElem},
    {"is_real_elem", 1, 1, tupleIsRealElem},
    {"is_string_elem", 1, 1, tupleIsStringElem},
    {"number", 1, 1, tupleNumber},
    {"is_number", 1, 1, tupleIsNumber},
    // Strings.
    {"strlen", 1, 1, tupleStrlen},
    {"strchr", 2, 2, tupleStrchr},
    {"strrchr", 2, 2, tupleStrrchr},
    {"strstr", 2, 2, tupleStrstr},
    {"strrstr", 2, 2, tupleStrrstr},
    {"str_firstn", 2, 2, tupleStrFirstN},
    {"str_lastn", 2, 2, tupleStrLastN},
    {"split", 2, 2, tupleSplit},
    {"chr", 1, 1, tupleChr},
    {"chrt", 1, 1, tupleChrt},
    {"ord", 1, 1, tupleOrd},
    {"ords", 1, 1, tupleOrds},
    {"environment", 1, 1, tupleEnvironment},
    {"regexp_match", 2, 2, tupleRegexpMatch},
    {"regexp_replace", 3, 3, tupleRegexpReplace},
    {"regexp_select", 2, 2, tupleRegexpSelect},
    {"regexp_test", 2, 2, tupleRegexpTest},
    // The syntax operators.
    {kFormatFunction, 2, 2, tupleString},
    {kSubstringFunction, 2, 3, substringFunction},
    {kRangeFunction, 2, 3, rangeFunction},
    {kRegexpTestFunction, 2, 2, tupleRegexpTest},
};

constexpr int kFunctionCount = static_cast<int>(sizeof kFunctions / sizeof kFunctions[0]);

}  // namespace

int findFunction(const std::string& name) {
  for (int i = 0; i < kFunctionCount; ++i) {
    if (name == kFunctions[i].name) return i;
  }
  return -1;
}

int functionMinArguments(int function) {
  return kFunctions[function].least;
}

int functionMaxArguments(int function) {
  return kFunctions[function].most;
}

const char* functionName(int function) {
  return kFunctions[function].name;
}

void applyFunction(int function, const HTuple* const* arguments, std::size_t count,
                   HTuple* result) {
  kFunctions[function].apply(arguments, count, result);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
