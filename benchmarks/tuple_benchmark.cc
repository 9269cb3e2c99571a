// The stand-in HTuple's costs: one-element construction, appending one element at a time to a
// long tuple (in C++ and through the C interface), beside a std::vector doing the same work,
// and the stand-ins' bookkeeping with a fault armed elsewhere against none armed.
#include <benchmark/benchmark.h>

#include <vector>

#include "halconcpp/HalconCpp.h"
#include "quorvex.h"
#include "standin/controls.h"

namespace {

using HalconCpp::Hlong;
using HalconCpp::HTuple;

// A fault for an operation no benchmark calls: every check then takes the armed path.
void armElsewhere(benchmark::State& state) {
  if (state.range(1) == 0) return;
  HTuple fault;
  fault.Append(HTuple("GenEmptyObj"));
  fault.Append(HTuple(Hlong{9999}));
  fault.Append(HTuple(Hlong{1000000000}));
  HalconCpp::Standin::armFaults(fault);
}

void disarm(benchmark::State& state) {
  if (state.range(1) != 0) HalconCpp::Standin::armFaults(HTuple());
}

void vectorPushBack(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<Hlong> values;
    for (Hlong i = 0; i < state.range(0); ++i) values.push_back(i);
    benchmark::DoNotOptimize(values.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// HTuple::Append(HTuple(i)): a one-element construction and an append per element.
void tupleAppend(benchmark::State& state) {
  armElsewhere(state);
  for (auto _ : state) {
    HTuple values;
    for (Hlong i = 0; i < state.range(0); ++i) values.Append(HTuple(i));
    benchmark::DoNotOptimize(values.Length());
  }
  disarm(state);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void tupleAppendReal(benchmark::State& state) {
  for (auto _ : state) {
    HTuple values;
    for (Hlong i = 0; i < state.range(0); ++i) values.Append(HTuple(0.5 * static_cast<double>(i)));
    benchmark::DoNotOptimize(values.Length());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Integers, then one string: the tuple stops being homogeneous halfway.
void tupleAppendMixed(benchmark::State& state) {
  for (auto _ : state) {
    HTuple values;
    for (Hlong i = 0; i < state.range(0); ++i) {
      if (i == state.range(0) / 2) values.Append(HTuple("half"));
      values.Append(HTuple(i));
    }
    benchmark::DoNotOptimize(values.Length());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A string first, then integers and reals in turn: every append lands in the mixed array.
// Run at N and 10 N, the times differ about tenfold when each append is amortised constant.
void tupleAppendAfterString(benchmark::State& state) {
  for (auto _ : state) {
    HTuple values("label");
    for (Hlong i = 0; i < state.range(0); ++i) {
      if (i % 2 == 0) {
        values.Append(HTuple(i));
      } else {
        values.Append(HTuple(0.5 * static_cast<double>(i)));
      }
    }
    benchmark::DoNotOptimize(values.Length());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}

// happendTupleLong through the exported function, as a C caller appends.
void cAppendLong(benchmark::State& state) {
  for (auto _ : state) {
    TupleHandle tuple = nullptr;
    hcreateTuple(&tuple);
    for (int32_t i = 0; i < static_cast<int32_t>(state.range(0)); ++i) happendTupleLong(tuple, i);
    benchmark::DoNotOptimize(hgetTupleLength(tuple));
    hfreeTuple(tuple);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// One element built and dropped: the constructor's fault check and the live count.
void tupleConstruct(benchmark::State& state) {
  armElsewhere(state);
  Hlong i = 0;
  for (auto _ : state) {
    HTuple value(i++);
    benchmark::DoNotOptimize(&value);
  }
  disarm(state);
  state.SetItemsProcessed(state.iterations());
}

// Second argument: 1 arms a fault for another operation.
BENCHMARK(vectorPushBack)->Args({1000000, 0});
BENCHMARK(tupleAppend)->Args({1000000, 0})->Args({1000000, 1});
BENCHMARK(tupleAppendReal)->Args({1000000, 0});
BENCHMARK(tupleAppendMixed)->Args({1000000, 0});
BENCHMARK(tupleAppendAfterString)->Args({40000, 0})->Args({400000, 0})->Complexity(benchmark::oN);
BENCHMARK(cAppendLong)->Args({1000000, 0});
BENCHMARK(tupleConstruct)->Args({1, 0})->Args({1, 1});

}  // namespace

BENCHMARK_MAIN();
