// Lines given by their end points (HALCON 11.0 "Tools / Lines" and "Legacy"): selected and
// partitioned by their length, centre and orientation, the longest kept, and two lines
// intersected.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsTools.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct LineSet {
  const HTuple* ends[4];  // row and column of the begins, then of the ends
  Hlong count;
};

LineSet linesOf(const HTuple& rb, const HTuple& cb, const HTuple& re, const HTuple& ce,
                const char* op) {
  LineSet set{{&rb, &cb, &re, &ce}, rb.Length()};
  for (int k = 0; k < 4; ++k) {
    requireLength(*set.ends[k], set.count, op, k + 1);
    for (Hlong i = 0; i < set.count; ++i) numberAt(*set.ends[k], i, op, k + 1);
  }
  return set;
}

enum class Feature { Length, Row, Column, Phi };

double featureOf(const LineSet& set, Hlong i, Feature feature) {
  const double r1 = (*set.ends[0])[i].D(), c1 = (*set.ends[1])[i].D();
  const double r2 = (*set.ends[2])[i].D(), c2 = (*set.ends[3])[i].D();
  switch (feature) {
    case Feature::Length:
      return std::hypot(r2 - r1, c2 - c1);
    case Feature::Row:
      return (r1 + r2) / 2;
    case Feature::Column:
      return (c1 + c2) / 2;
    case Feature::Phi:
      break;
  }
  // A line has no direction: its angle to the column axis (rows grow downwards) folded
  // into (-pi/2, pi/2].
  double phi = std::atan2(r1 - r2, c2 - c1);
  if (phi > kPi / 2) phi -= kPi;
  if (phi <= -kPi / 2) phi += kPi;
  return phi;
}

struct Condition {
  Feature feature;
  double min, max;
};

// 'min' and 'max' stand for no bound on that side.
double boundOf(const HTuple& value, Hlong i, const char* op, int n) {
  if (value[i].Type() == eElementTypeString) {
    const std::string word = value[i].S().Text();
    if (word == "min") return -std::numeric_limits<double>::infinity();
    if (word == "max") return std::numeric_limits<double>::infinity();
    fail(op, 1300 + n);
  }
  return numberAt(value, i, op, n);
}

std::vector<Condition> conditionsOf(const HTuple& Feature_, const HTuple& Min, const HTuple& Max,
                                    const char* op) {
  if (Feature_.Length() < 1) fail(op, 1405);
  requireLength(Min, Feature_.Length(), op, 7);
  requireLength(Max, Feature_.Length(), op, 8);
  std::vector<Condition> conditions;
  for (Hlong i = 0; i < Feature_.Length(); ++i) {
    if (Feature_[i].Type() != eElementTypeString) fail(op, 1205);
    const std::string name = Feature_[i].S().Text();
    Feature feature;
    if (name == "length") {
      feature = Feature::Length;
    } else if (name == "row") {
      feature = Feature::Row;
    } else if (name == "column") {
      feature = Feature::Column;
    } else if (name == "phi") {
      feature = Feature::Phi;
    } else {
      fail(op, 1305);
    }
    conditions.push_back({feature, boundOf(Min, i, op, 7), boundOf(Max, i, op, 8)});
  }
  return conditions;
}

bool conjunctionOf(const HTuple& Operation, const char* op) {
  const std::string operation = oneString(Operation, op, 6);
  if (operation == "and") return true;
  if (operation != "or") fail(op, 1306);
  return false;
}

bool passes(const LineSet& set, Hlong i, const std::vector<Condition>& conditions, bool all) {
  for (const Condition& c : conditions) {
    const double value = featureOf(set, i, c.feature);
    const bool inside = c.min <= value && value <= c.max;
    if (inside != all) return inside;
  }
  return all;
}

struct LineOutputs {
  HTuple ends[4];
  void add(const LineSet& set, Hlong i) {
    for (int k = 0; k < 4; ++k) ends[k].Append(HTuple((*set.ends[k])[i]));
  }
  void write(HTuple* a, HTuple* b, HTuple* c, HTuple* d) {
    setOutput(a, ends[0]);
    setOutput(b, ends[1]);
    setOutput(c, ends[2]);
    setOutput(d, ends[3]);
  }
};

}  // namespace

void SelectLines(const HTuple& RowBeginIn, const HTuple& ColBeginIn, const HTuple& RowEndIn,
                 const HTuple& ColEndIn, const HTuple& Feature, const HTuple& Operation,
                 const HTuple& Min, const HTuple& Max, HTuple* RowBeginOut, HTuple* ColBeginOut,
                 HTuple* RowEndOut, HTuple* ColEndOut) {
  ApiScope scope("SelectLines");
  const char* op = "select_lines";
  const LineSet set = linesOf(RowBeginIn, ColBeginIn, RowEndIn, ColEndIn, op);
  const std::vector<Condition> conditions = conditionsOf(Feature, Min, Max, op);
  const bool all = conjunctionOf(Operation, op);
  LineOutputs kept;
  for (Hlong i = 0; i < set.count; ++i) {
    if (passes(set, i, conditions, all)) kept.add(set, i);
  }
  kept.write(RowBeginOut, ColBeginOut, RowEndOut, ColEndOut);
}

void PartitionLines(const HTuple& RowBeginIn, const HTuple& ColBeginIn, const HTuple& RowEndIn,
                    const HTuple& ColEndIn, const HTuple& Feature, const HTuple& Operation,
                    const HTuple& Min, const HTuple& Max, HTuple* RowBeginOut, HTuple* ColBeginOut,
                    HTuple* RowEndOut, HTuple* ColEndOut, HTuple* FailRowBOut, HTuple* FailColBOut,
                    HTuple* FailRowEOut, HTuple* FailColEOut) {
  ApiScope scope("PartitionLines");
  const char* op = "partition_lines";
  const LineSet set = linesOf(RowBeginIn, ColBeginIn, RowEndIn, ColEndIn, op);
  const std::vector<Condition> conditions = conditionsOf(Feature, Min, Max, op);
  const bool all = conjunctionOf(Operation, op);
  LineOutputs kept, failed;
  for (Hlong i = 0; i < set.count; ++i) {
    (passes(set, i, conditions, all) ? kept : failed).add(set, i);
  }
  kept.write(RowBeginOut, ColBeginOut, RowEndOut, ColEndOut);
  failed.write(FailRowBOut, FailColBOut, FailRowEOut, FailColEOut);
}

void SelectLinesLongest(const HTuple& RowBeginIn, const HTuple& ColBeginIn, const HTuple& RowEndIn,
                        const HTuple& ColEndIn, const HTuple& Num, HTuple* RowBeginOut,
                        HTuple* ColBeginOut, HTuple* RowEndOut, HTuple* ColEndOut) {
  ApiScope scope("SelectLinesLongest");
  const char* op = "select_lines_longest";
  const LineSet set = linesOf(RowBeginIn, ColBeginIn, RowEndIn, ColEndIn, op);
  const Hlong num = oneInteger(Num, op, 5);
  if (num < 0) fail(op, 1305);
  std::vector<Hlong> order;
  for (Hlong i = 0; i < set.count; ++i) order.push_back(i);
  // Longest first; lines of equal length keep their order.
  std::stable_sort(order.begin(), order.end(), [&](Hlong a, Hlong b) {
    return featureOf(set, a, Feature::Length) > featureOf(set, b, Feature::Length);
  });
  LineOutputs kept;
  for (Hlong k = 0; k < std::min(num, set.count); ++k) kept.add(set, order[std::size_t(k)]);
  kept.write(RowBeginOut, ColBeginOut, RowEndOut, ColEndOut);
}

void IntersectionLl(const HTuple& RowA1, const HTuple& ColumnA1, const HTuple& RowA2,
                    const HTuple& ColumnA2, const HTuple& RowB1, const HTuple& ColumnB1,
                    const HTuple& RowB2, const HTuple& ColumnB2, HTuple* Row, HTuple* Column,
                    HTuple* IsParallel) {
  ApiScope scope("IntersectionLl");
  const char* op = "intersection_ll";
  const HTuple* in[8] = {&RowA1, &ColumnA1, &RowA2, &ColumnA2,
                         &RowB1, &ColumnB1, &RowB2, &ColumnB2};
  const Hlong count = RowA1.Length();
  for (int k = 0; k < 8; ++k) requireLength(*in[k], count, op, k + 1);
  HTuple rows, cols, parallel;
  for (Hlong i = 0; i < count; ++i) {
    double v[8];
    for (int k = 0; k < 8; ++k) v[k] = numberAt(*in[k], i, op, k + 1);
    const double dra = v[2] - v[0], dca = v[3] - v[1];
    const double drb = v[6] - v[4], dcb = v[7] - v[5];
    const double cross = dra * dcb - dca * drb;
    // Only exactly parallel directions have no intersection; a line of two equal points has
    // no direction and counts as parallel to any.
    if (cross == 0) {
      rows.Append(HTuple(0.0));
      cols.Append(HTuple(0.0));
      parallel.Append(HTuple(Hlong(1)));
      continue;
    }
    const double t = ((v[4] - v[0]) * dcb - (v[5] - v[1]) * drb) / cross;
    rows.Append(HTuple(v[0] + t * dra));
    cols.Append(HTuple(v[1] + t * dca));
    parallel.Append(HTuple(Hlong(0)));
  }
  setOutput(Row, rows);
  setOutput(Column, cols);
  setOutput(IsParallel, parallel);
}

}  // namespace HalconCpp
