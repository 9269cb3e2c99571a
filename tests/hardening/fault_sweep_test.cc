// The fault sweep: every road a caller takes through the interface, with each operation it
// reaches failed at its first, second, ... call until a run no longer reaches it. A run is
// made once with a fault armed for a name nothing calls, which lists the operations it
// reaches. Every case must end in records or documented fallbacks, never a crash; leave the
// live-object monitors at their baseline; and leave a plain add call working.
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "api/test_data.h"
#include "display/display_fixture.h"

namespace quorvex::test {

int hinitMode() {
  return 1;
}

namespace {

using HalconCpp::HTuple;

// Form of a record, then released; true for success.
bool ok(ErrorMsg* record) {
  if (!record) return true;
  EXPECT_TRUE(record->kind >= 0 && record->kind <= 2) << describe(record);
  EXPECT_NE(record->message, nullptr);
  hclearErrorMsg(record);
  return false;
}

// A create call: on failure its out-parameter must be NULL.
template <typename Handle>
Handle made(ErrorMsg* record, Handle* out) {
  if (ok(record)) return *out;
  EXPECT_EQ(*out, nullptr);
  return nullptr;
}

TupleHandle tupleOf(int32_t value) {
  TupleHandle tuple = nullptr;
  tuple = made(hcreateTuple(&tuple), &tuple);
  if (tuple) happendTupleLong(tuple, value);
  return tuple;
}

void tuples() {
  TupleHandle t = tupleOf(1);
  if (!t) return;
  happendTupleDouble(t, 2.5);
  happendTupleString(t, "abc");
  for (int32_t i = 0; i < hgetTupleLength(t); ++i) {
    if (hgetTupleElemType(t, i) == TupleElemString) {
      hfreeTupleElemString(hgetTupleElemString_TO_BE_FREED(t, i));
    } else {
      hgetTupleElemDouble(t, i);
    }
  }
  TupleHandle width = nullptr;
  ok(hgetsystem("width", &width));
  hfreeTuple(width);
  hfreeTuple(t);
}

void procedure() {
  ProcedureHandle p = nullptr;
  if (!(p = made(hcreateProcedure("add", &p), &p))) return;
  int32_t count = -7;
  if (!ok(hprocedureGetInputCtrlParamCount(p, &count))) {
    EXPECT_EQ(count, -7);
  }
  const char* name = nullptr;
  if (!ok(hprocedureGetOutputCtrlParamName(p, 1, &name))) {
    EXPECT_EQ(name, nullptr);
  }
  ProcedureCallHandle c = nullptr;
  if ((c = made(hcreateProcedureCall(p, &c), &c))) {
    TupleHandle a = tupleOf(2), b = tupleOf(3);
    if (a && b && ok(hprocedurecallSetInputCtrlParamTuple(c, 1, a)) &&
        ok(hprocedurecallSetInputCtrlParamTuple(c, 2, b)) && ok(hprocedurecallExecute(c))) {
      TupleHandle sum = nullptr;
      if (!ok(hprocedurecallGetOutputCtrlParamTuple(c, 1, &sum))) {
        EXPECT_EQ(sum, nullptr);
      }
      hfreeTuple(sum);
    }
    hfreeTuple(a);
    hfreeTuple(b);
    hfreeProcedureCall(c);
  }
  hfreeProcedure(p);
}

void program() {
  ProgramHandle p = nullptr;
  if (!(p = made(hcreateProgram(testData("programs/set_marker.hdev").c_str(), &p), &p))) return;
  ProgramCallHandle c = nullptr;
  if ((c = made(hcreateProgramCall(p, &c), &c))) ok(hprogramcallExecute(c));
  hfreeProgramCall(c);
  hfreeProgram(p);
}

void defaultWindowFullscreen() {
  MessageCapture capture;
  hsetFullscreen(1);
  ok(hopenDefaultWindow());
  hsetFullscreen(0);
}

// Snippets are made once: each new one is another procedure in the engine's cache.
void display() {
  static Snippet lines({"gen_image_const (Image, 'byte', 320, 240)",
                        "dev_open_window (0, 0, 400, 300, 'black', W)", "dev_display (Image)",
                        "dev_clear_window ()", "dev_close_window ()"});
  ok(lines.run().release());
}

void handlersAndVerbosity() {
  MessageCapture capture;
  ok(hsetVerbosity(1));
  {
    HalconCpp::Standin::InsideScope inside;  // the text too is the stand-ins' own work
    setControl("standin_low_level_error", HTuple("sweep"));
  }
  ok(hsetVerbosity(0));
}

void unloading() {
  if (ok(hunloadAllProcedures())) procedure();
}

long addStillWorks() {
  static Snippet sum({"S := 2 + 3"}, {"S"});
  return sum.run() ? -1 : sum.longAt("S");
}

// Back to the state a case starts from: no window open and "add" loaded, whatever the case
// closed or unloaded.
void settle() {
  clearFaults();
  static Snippet closeAll({"dev_get_window (Window)", "while (Window # -1)", "dev_close_window ()",
                           "dev_get_window (Window)", "endwhile"});
  EXPECT_EQ(closeAll.run(), nullptr);
  closeNativeWindows();
  ProcedureHandle add = nullptr;
  EXPECT_OK(hcreateProcedure("add", &add));
  hfreeProcedure(add);
}

const char* const kMonitors[] = {"tuples",     "objects",         "programs", "program_calls",
                                 "procedures", "procedure_calls", "windows"};

std::vector<long> monitors() {
  std::vector<long> counts;
  for (const char* kind : kMonitors) counts.push_back(liveCount(kind));
  return counts;
}

class FaultSweep : public DisplayTest {};

TEST_F(FaultSweep, EveryReachedOperationFailsCleanlyAtEveryCall) {
  useTestProcedures();
  // hinit keeps every display-operator instance it makes (the engine may still hold one),
  // and with it the instance's remembered settings: its monitors grow by design.
  const struct {
    const char* name;
    std::function<void()> run;
    bool steady;
  } scenarios[] = {
      {"tuples", tuples, true},
      {"procedure", procedure, true},
      {"program", program, true},
      {"hinit with the logo", [] { ok(hinit(1)); }, false},
      {"default window, fullscreen", defaultWindowFullscreen, true},
      {"display with the logo", display, true},
      {"handlers and verbosity", handlersAndVerbosity, true},
      {"unloading procedures", unloading, true},
  };
  int cases = 0, fired = 0;
  for (const auto& scenario : scenarios) {
    setControl("standin_fail_seen", HTuple());
    setControl("standin_fail", [] {
      HTuple never("NoSuchOperation");
      never.Append(HTuple(1));
      return never;
    }());
    scenario.run();
    const HTuple reached = control("standin_fail_seen");
    settle();
    for (HalconCpp::Hlong i = 0; i < reached.Length(); ++i) {
      const std::string operation = reached[i].S().str();
      for (HalconCpp::Hlong n = 1;; ++n) {
        SCOPED_TRACE(std::string(scenario.name) + ": " + operation + " #" + std::to_string(n));
        // Each case runs twice: the first run may fill the stand-ins' lazy caches, so only
        // the second shows whether a failure path leaks.
        bool reachedIt = false;
        std::vector<long> counts[2];
        for (auto& after : counts) {
          HTuple arm(operation.c_str());
          arm.Append(HTuple(6001));
          arm.Append(HTuple(n));
          setControl("standin_fail_nth", arm);
          scenario.run();
          reachedIt = control("standin_fail").Length() == 0;
          settle();
          ASSERT_EQ(addStillWorks(), 5);
          after = monitors();
        }
        if (scenario.steady) {
          EXPECT_EQ(counts[1], counts[0]);
        }
        ++cases;
        if (!reachedIt || n >= 500) break;
        ++fired;
      }
    }
  }
  std::cout << "fault sweep: " << std::size(scenarios) << " scenarios, " << cases << " cases, "
            << fired << " faults fired\n";
  EXPECT_GT(fired, 100);
}

}  // namespace
}  // namespace quorvex::test
