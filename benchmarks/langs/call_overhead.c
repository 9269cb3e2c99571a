/* One round trip of add.hdvp straight through the C interface: two input tuples made and
 * set, the call executed, the output read (type, low bits and double, as quorvex.h tells a
 * caller to read an integer) and everything released; through one reused call, or (MODE fresh) a
 * call made and freed each time. Prints the median nanoseconds per round trip of ROUNDS rounds of
 * CALLS each, after whole rounds run for WARMUP_MS milliseconds at least (as in the other
 * languages' programs, whose JIT compilers need it). Usage: call_overhead PROCEDURE_DIR [CALLS
 * [ROUNDS [MODE [WARMUP_MS]]]] */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "quorvex.h"

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e9 + t.tv_nsec;
}

static void check(ErrorMsg* error) {
  if (error) {
    fprintf(stderr, "%s\n", error->message);
    hclearErrorMsg(error);
    exit(1);
  }
}

static int compare(const void* a, const void* b) {
  double x = *(const double*)a, y = *(const double*)b;
  return (x > y) - (x < y);
}

static long long roundTrip(ProcedureCallHandle call, int i) {
  TupleHandle a, b, sum;
  check(hcreateTuple(&a));
  happendTupleLong(a, i);
  check(hcreateTuple(&b));
  happendTupleLong(b, 1);
  check(hprocedurecallSetInputCtrlParamTuple(call, 1, a));
  check(hprocedurecallSetInputCtrlParamTuple(call, 2, b));
  hfreeTuple(a);
  hfreeTuple(b);
  check(hprocedurecallExecute(call));
  check(hprocedurecallGetOutputCtrlParamTuple(call, 1, &sum));
  long long value = hgetTupleElemType(sum, 0) == TupleElemLong ? hgetTupleElemLong(sum, 0) : -1;
  value += (long long)hgetTupleElemDouble(sum, 0) * 0;
  hfreeTuple(sum);
  return value;
}

static long long freshTrip(ProcedureHandle add, int i) {
  ProcedureCallHandle call;
  check(hcreateProcedureCall(add, &call));
  long long value = roundTrip(call, i);
  hfreeProcedureCall(call);
  return value;
}

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  int calls = argc > 2 ? atoi(argv[2]) : 20000, rounds = argc > 3 ? atoi(argv[3]) : 7;
  int fresh = argc > 4 && strcmp(argv[4], "fresh") == 0;
  double warmup = (argc > 5 ? atof(argv[5]) : 1000) * 1e6;
  ProcedureHandle add;
  ProcedureCallHandle call;
  check(hinit(0));
  check(haddProcedurePath(argv[1]));
  check(hcreateProcedure("add", &add));
  check(hcreateProcedureCall(add, &call));
  long long total = 0;
  for (double start = now(); now() - start < warmup;)
    for (int i = 0; i < calls; ++i) total += fresh ? freshTrip(add, i) : roundTrip(call, i);
  double* times = malloc(sizeof(double) * rounds);
  for (int r = 0; r < rounds; ++r) {
    double start = now();
    for (int i = 0; i < calls; ++i) total += fresh ? freshTrip(add, i) : roundTrip(call, i);
    times[r] = (now() - start) / calls;
  }
  qsort(times, rounds, sizeof(double), compare);
  printf("%.1f %lld\n", times[rounds / 2], total);
  free(times);
  hfreeProcedureCall(call);
  hfreeProcedure(add);
  return 0;
}
