// The tuple operations of the vendor's tuple_* operators, one function each, shared by the
// expression functions and the operator lines. Each raises HException under the operator's
// name, with the vendor's error number, for an input it does not take.
#ifndef QUORVEX_STANDINS_HDEVENGINE_TUPLE_FUNCTIONS_H
#define QUORVEX_STANDINS_HDEVENGINE_TUPLE_FUNCTIONS_H

#include "runtime/tuple_elements.h"

namespace HDevEngineCpp {
namespace Standin {

void tupleAbs(TupleArgs args, std::size_t count, HTuple* result);
void tupleAcos(TupleArgs args, std::size_t count, HTuple* result);
void tupleAdd(TupleArgs args, std::size_t count, HTuple* result);
void tupleAnd(TupleArgs args, std::size_t count, HTuple* result);
void tupleAsin(TupleArgs args, std::size_t count, HTuple* result);
void tupleAtan(TupleArgs args, std::size_t count, HTuple* result);
void tupleAtan2(TupleArgs args, std::size_t count, HTuple* result);
void tupleBand(TupleArgs args, std::size_t count, HTuple* result);
void tupleBnot(TupleArgs args, std::size_t count, HTuple* result);
void tupleBor(TupleArgs args, std::size_t count, HTuple* result);
void tupleBxor(TupleArgs args, std::size_t count, HTuple* result);
void tupleCeil(TupleArgs args, std::size_t count, HTuple* result);
void tupleChr(TupleArgs args, std::size_t count, HTuple* result);
void tupleChrt(TupleArgs args, std::size_t count, HTuple* result);
void tupleConcat(TupleArgs args, std::size_t count, HTuple* result);
void tupleCos(TupleArgs args, std::size_t count, HTuple* result);
void tupleCosh(TupleArgs args, std::size_t count, HTuple* result);
void tupleCumul(TupleArgs args, std::size_t count, HTuple* result);
void tupleDeg(TupleArgs args, std::size_t count, HTuple* result);
void tupleDeviation(TupleArgs args, std::size_t count, HTuple* result);
void tupleDifference(TupleArgs args, std::size_t count, HTuple* result);
void tupleDiv(TupleArgs args, std::size_t count, HTuple* result);
void tupleEnvironment(TupleArgs args, std::size_t count, HTuple* result);
void tupleEqual(TupleArgs args, std::size_t count, HTuple* result);
void tupleFindLast(TupleArgs args, std::size_t count, HTuple* result);
void tupleFindFirst(TupleArgs args, std::size_t count, HTuple* result);
void tupleGreaterEqualElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleLessEqualElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleGreaterElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleLessElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleNotEqualElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleEqualElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleExp(TupleArgs args, std::size_t count, HTuple* result);
void tupleFabs(TupleArgs args, std::size_t count, HTuple* result);
void tupleFind(TupleArgs args, std::size_t count, HTuple* result);
void tupleFirstN(TupleArgs args, std::size_t count, HTuple* result);
void tupleFloor(TupleArgs args, std::size_t count, HTuple* result);
void tupleFmod(TupleArgs args, std::size_t count, HTuple* result);
void tupleGenConst(TupleArgs args, std::size_t count, HTuple* result);
void tupleGenSequence(TupleArgs args, std::size_t count, HTuple* result);
void tupleGreater(TupleArgs args, std::size_t count, HTuple* result);
void tupleGreaterEqual(TupleArgs args, std::size_t count, HTuple* result);
void tupleInsert(TupleArgs args, std::size_t count, HTuple* result);
void tupleInt(TupleArgs args, std::size_t count, HTuple* result);
void tupleIntersection(TupleArgs args, std::size_t count, HTuple* result);
void tupleInverse(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsInt(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsIntElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsMixed(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsNumber(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsReal(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsRealElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsString(TupleArgs args, std::size_t count, HTuple* result);
void tupleIsStringElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleLastN(TupleArgs args, std::size_t count, HTuple* result);
void tupleLdexp(TupleArgs args, std::size_t count, HTuple* result);
void tupleLength(TupleArgs args, std::size_t count, HTuple* result);
void tupleLess(TupleArgs args, std::size_t count, HTuple* result);
void tupleLessEqual(TupleArgs args, std::size_t count, HTuple* result);
void tupleLog(TupleArgs args, std::size_t count, HTuple* result);
void tupleLog10(TupleArgs args, std::size_t count, HTuple* result);
void tupleLsh(TupleArgs args, std::size_t count, HTuple* result);
void tupleMax(TupleArgs args, std::size_t count, HTuple* result);
void tupleMax2(TupleArgs args, std::size_t count, HTuple* result);
void tupleMean(TupleArgs args, std::size_t count, HTuple* result);
void tupleMedian(TupleArgs args, std::size_t count, HTuple* result);
void tupleMin(TupleArgs args, std::size_t count, HTuple* result);
void tupleMin2(TupleArgs args, std::size_t count, HTuple* result);
void tupleMod(TupleArgs args, std::size_t count, HTuple* result);
void tupleMult(TupleArgs args, std::size_t count, HTuple* result);
void tupleNeg(TupleArgs args, std::size_t count, HTuple* result);
void tupleNot(TupleArgs args, std::size_t count, HTuple* result);
void tupleNotEqual(TupleArgs args, std::size_t count, HTuple* result);
void tupleNumber(TupleArgs args, std::size_t count, HTuple* result);
void tupleOr(TupleArgs args, std::size_t count, HTuple* result);
void tupleOrd(TupleArgs args, std::size_t count, HTuple* result);
void tupleOrds(TupleArgs args, std::size_t count, HTuple* result);
void tuplePow(TupleArgs args, std::size_t count, HTuple* result);
void tupleRad(TupleArgs args, std::size_t count, HTuple* result);
void tupleRand(TupleArgs args, std::size_t count, HTuple* result);
void tupleReal(TupleArgs args, std::size_t count, HTuple* result);
void tupleRegexpMatch(TupleArgs args, std::size_t count, HTuple* result);
void tupleRegexpReplace(TupleArgs args, std::size_t count, HTuple* result);
void tupleRegexpSelect(TupleArgs args, std::size_t count, HTuple* result);
void tupleRegexpTest(TupleArgs args, std::size_t count, HTuple* result);
void tupleRemove(TupleArgs args, std::size_t count, HTuple* result);
void tupleReplace(TupleArgs args, std::size_t count, HTuple* result);
void tupleRound(TupleArgs args, std::size_t count, HTuple* result);
void tupleRsh(TupleArgs args, std::size_t count, HTuple* result);
void tupleSelect(TupleArgs args, std::size_t count, HTuple* result);
void tupleSelectMask(TupleArgs args, std::size_t count, HTuple* result);
void tupleSelectRange(TupleArgs args, std::size_t count, HTuple* result);
void tupleSelectRank(TupleArgs args, std::size_t count, HTuple* result);
void tupleSgn(TupleArgs args, std::size_t count, HTuple* result);
void tupleSin(TupleArgs args, std::size_t count, HTuple* result);
void tupleSinh(TupleArgs args, std::size_t count, HTuple* result);
void tupleSort(TupleArgs args, std::size_t count, HTuple* result);
void tupleSortIndex(TupleArgs args, std::size_t count, HTuple* result);
void tupleSplit(TupleArgs args, std::size_t count, HTuple* result);
void tupleSqrt(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrBitSelect(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrFirstN(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrLastN(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrchr(TupleArgs args, std::size_t count, HTuple* result);
void tupleString(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrlen(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrrchr(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrrstr(TupleArgs args, std::size_t count, HTuple* result);
void tupleStrstr(TupleArgs args, std::size_t count, HTuple* result);
void tupleSub(TupleArgs args, std::size_t count, HTuple* result);
void tupleSubstr(TupleArgs args, std::size_t count, HTuple* result);
void tupleSum(TupleArgs args, std::size_t count, HTuple* result);
void tupleSymmdiff(TupleArgs args, std::size_t count, HTuple* result);
void tupleTan(TupleArgs args, std::size_t count, HTuple* result);
void tupleTanh(TupleArgs args, std::size_t count, HTuple* result);
void tupleType(TupleArgs args, std::size_t count, HTuple* result);
void tupleTypeElem(TupleArgs args, std::size_t count, HTuple* result);
void tupleUnion(TupleArgs args, std::size_t count, HTuple* result);
void tupleUniq(TupleArgs args, std::size_t count, HTuple* result);
void tupleXor(TupleArgs args, std::size_t count, HTuple* result);

// The syntax operators that are functions underneath: [A:B] and [A:S:B]; S{A} and S{A:B}.
void rangeFunction(TupleArgs args, std::size_t count, HTuple* result);
void substringFunction(TupleArgs args, std::size_t count, HTuple* result);
// tuple_histo_range has two outputs.
void tupleHistoRange(TupleArgs args, HTuple* histogram, HTuple* binSize);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
