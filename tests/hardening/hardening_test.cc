// Misuse and races a caller can bring about through the C interface, each of which once
// crashed or misreported: a window resized while the logo overlay works on it, a host
// locale that groups digits, and NULL where an export expects a pointer.
#include <cstdint>
#include <functional>
#include <locale>
#include <string>

#include "display/display_fixture.h"
#include "support/test_data.h"

namespace quorvex::test {

int hinitMode() {
  return 1;
}

namespace {

using HalconCpp::HTuple;

class Hardening : public DisplayTest {};

// Another thread may set a window's extents while the overlay works on it; the stand-in
// control does so deterministically, between the overlay's reading of the extents and its
// dump. A smaller dump was once blended past its end, a larger one garbled.
TEST_F(Hardening, OverlayLeavesAWindowResizedUnderItAlone) {
  const struct { std::size_t width, height; } sizes[] = {{130, 60}, {200, 100}, {1200, 900}};
  for (const auto& size : sizes) {
    const Snippet open = Snippet::ran({"dev_open_window (0, 0, 640, 480, 'black', W)"}, {"W"});
    HTuple resize(static_cast<HalconCpp::Hlong>(size.width));
    setControl("standin_resize_at_dump",
               resize.Append(HTuple(static_cast<HalconCpp::Hlong>(size.height))));
    Snippet::ran({"dev_clear_window ()"});
    const WindowPixels shown = windowPixels(open.longAt("W"));
    EXPECT_EQ(shown.width, size.width);
    EXPECT_EQ(shown.height, size.height);
    const std::vector<std::uint8_t> black(shown.red.size(), 0);
    EXPECT_TRUE(shown.red == black && shown.green == black && shown.blue == black) << size.width;
    closeRegisteredWindows();
  }
}

struct DotGrouping : std::numpunct<char> {
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST_F(Hardening, MessagesWriteNumbersInTheClassicLocale) {
  const std::locale host =
      std::locale::global(std::locale(std::locale::classic(), new DotGrouping));
  MessageCapture capture;
  injectFault("OpenWindow", 5100);
  EXPECT_OK(hopenDefaultWindow());
  std::locale::global(host);
  ASSERT_FALSE(MessageCapture::err().empty());
  EXPECT_EQ(MessageCapture::err()[0], "Opened default window failed: error 5100");
}

// One row per export and pointer argument; the other arguments are valid.
TEST_F(Hardening, NullArgumentsGiveRecordsOrFailureValues) {
  useTestProcedures();
  Tuple tuple = longs({7});
  ProcedureHandle procedure = nullptr;
  ASSERT_OK(hcreateProcedure("add", &procedure));
  Procedure procedureOwner(procedure);
  ProcedureCallHandle call = nullptr;
  ASSERT_OK(hcreateProcedureCall(procedure, &call));
  ProcedureCall callOwner(call);
  TupleHandle t = tuple.get();
  TupleHandle outTuple = nullptr;
  ProgramHandle outProgram = nullptr;
  ProgramCallHandle outProgramCall = nullptr;
  ProcedureHandle outProcedure = nullptr;
  ProcedureCallHandle outCall = nullptr;
  int32_t count = 0;
  const char* name = nullptr;

  const struct {
    const char* message;
    std::function<ErrorMsg*()> call;
  } records[] = {
      {"hcreateTuple: tuple is NULL", [] { return hcreateTuple(nullptr); }},
      {"hcreateProgram: file is NULL", [&] { return hcreateProgram(nullptr, &outProgram); }},
      {"hcreateProgram: program is NULL", [] { return hcreateProgram("x.hdev", nullptr); }},
      {"hcreateProgramCall: program is NULL",
       [&] { return hcreateProgramCall(nullptr, &outProgramCall); }},
      {"hcreateProgramCall: call is NULL", [] { return hcreateProgramCall(nullptr, nullptr); }},
      {"hprogramcallExecute: call is NULL", [] { return hprogramcallExecute(nullptr); }},
      {"hcreateProcedure: name is NULL", [&] { return hcreateProcedure(nullptr, &outProcedure); }},
      {"hcreateProcedure: procedure is NULL", [] { return hcreateProcedure("add", nullptr); }},
      {"hcreateProcedureCall: procedure is NULL",
       [&] { return hcreateProcedureCall(nullptr, &outCall); }},
      {"hcreateProcedureCall: call is NULL",
       [&] { return hcreateProcedureCall(procedure, nullptr); }},
      {"hprocedurecallSetInputCtrlParamTuple: call is NULL",
       [&] { return hprocedurecallSetInputCtrlParamTuple(nullptr, 1, t); }},
      {"hprocedurecallSetInputCtrlParamTuple: tuple is NULL",
       [&] { return hprocedurecallSetInputCtrlParamTuple(call, 1, nullptr); }},
      {"hprocedurecallExecute: call is NULL", [] { return hprocedurecallExecute(nullptr); }},
      {"hprocedurecallGetOutputCtrlParamTuple: call is NULL",
       [&] { return hprocedurecallGetOutputCtrlParamTuple(nullptr, 1, &outTuple); }},
      {"hprocedurecallGetOutputCtrlParamTuple: tuple is NULL",
       [&] { return hprocedurecallGetOutputCtrlParamTuple(call, 1, nullptr); }},
      {"hprocedureGetInputCtrlParamCount: procedure is NULL",
       [&] { return hprocedureGetInputCtrlParamCount(nullptr, &count); }},
      {"hprocedureGetInputIconicParamCount: count is NULL",
       [&] { return hprocedureGetInputIconicParamCount(procedure, nullptr); }},
      {"hprocedureGetOutputCtrlParamCount: count is NULL",
       [&] { return hprocedureGetOutputCtrlParamCount(procedure, nullptr); }},
      {"hprocedureGetOutputIconicParamCount: procedure is NULL",
       [&] { return hprocedureGetOutputIconicParamCount(nullptr, &count); }},
      {"hprocedureGetInputCtrlParamName: paramName is NULL",
       [&] { return hprocedureGetInputCtrlParamName(procedure, 1, nullptr); }},
      {"hprocedureGetInputIconicParamName: procedure is NULL",
       [&] { return hprocedureGetInputIconicParamName(nullptr, 1, &name); }},
      {"hprocedureGetOutputCtrlParamName: paramName is NULL",
       [&] { return hprocedureGetOutputCtrlParamName(procedure, 1, nullptr); }},
      {"hprocedureGetOutputIconicParamName: procedure is NULL",
       [&] { return hprocedureGetOutputIconicParamName(nullptr, 1, &name); }},
      {"hsetEngineAttribute: name is NULL", [] { return hsetEngineAttribute(nullptr, "v"); }},
      {"hsetEngineAttribute: value is NULL", [] { return hsetEngineAttribute("n", nullptr); }},
      {"hsetEngineAttributeInt: name is NULL", [] { return hsetEngineAttributeInt(nullptr, 1); }},
      {"haddProcedurePath: path is NULL", [] { return haddProcedurePath(nullptr); }},
      {"hgetsystem: query is NULL", [&] { return hgetsystem(nullptr, &outTuple); }},
      {"hgetsystem: tuple is NULL", [] { return hgetsystem("width", nullptr); }},
  };
  for (const auto& row : records) {
    outTuple = nullptr;
    Record record(row.call());
    ASSERT_NE(record, nullptr) << row.message;
    EXPECT_EQ(describe(record.get()),
              "kind 0, errorCode -1, procName null, progLineName null, "
              "progLineNum -1, message \"" +
                  std::string(row.message) + "\", errorText null");
    EXPECT_EQ(outTuple, nullptr) << row.message;
  }
  EXPECT_EQ(count, 0);
  EXPECT_EQ(name, nullptr);
  for (void* out : {static_cast<void*>(outProgramCall), static_cast<void*>(outProcedure),
                    static_cast<void*>(outCall)}) {
    EXPECT_EQ(out, nullptr);
  }

  happendTupleLong(nullptr, 1);
  happendTupleDouble(nullptr, 1.0);
  happendTupleString(nullptr, "x");
  happendTupleString(t, nullptr);
  EXPECT_EQ(hgetTupleLength(t), 1);
  EXPECT_EQ(hgetTupleLength(nullptr), 0);
  EXPECT_EQ(hgetTupleElemType(nullptr, 0), 0);
  EXPECT_EQ(hgetTupleElemLong(nullptr, 0), 0);
  EXPECT_EQ(hgetTupleElemDouble(nullptr, 0), 0.0);
  EXPECT_EQ(hgetTupleElemString_TO_BE_FREED(nullptr, 0), nullptr);
}

}  // namespace
}  // namespace quorvex::test
