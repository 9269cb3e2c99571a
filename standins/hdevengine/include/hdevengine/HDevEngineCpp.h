// Stand-in for the vendor's HDevelop engine library: it loads HDevelop programs (.hdev) and
// external procedures (.hdvp), runs them, and calls a registered display implementation for
// the dev_* operators. Same names, types and calling shapes as the vendor's.
#ifndef HDEVENGINE_HDEVENGINECPP_H
#define HDEVENGINE_HDEVENGINECPP_H

#include <memory>

#include "halconcpp/HalconCpp.h"

// Exported while the engine library is built, imported by everyone else (Windows only).
#if defined(_WIN32)
#if defined(HDEVENGINECPP_BUILDING)
#define HDEVENGINECPP_API __declspec(dllexport)
#else
#define HDEVENGINECPP_API __declspec(dllimport)
#endif
#else
#define HDEVENGINECPP_API
#endif

namespace HDevEngineCpp {

using HalconCpp::Herror;
using HalconCpp::Hlong;
using HalconCpp::HObject;
using HalconCpp::HTuple;

enum ExceptionCategory {
  ExceptionGeneral = 0,
  ExceptionFile = 1,       // a file or procedure could not be found or read
  ExceptionSyntax = 2,     // a program line does not parse or names no known operator
  ExceptionRuntime = 3,    // an error while a program runs
  ExceptionParameter = 4,  // a parameter index or name out of range, or an unset input
  ExceptionAttribute = 5,  // an unknown engine attribute or a wrong value for one
};

// The engine's error: where it happened (procedure, line text and number) and the
// image-processing error number behind it, 0 when there is none.
class HDEVENGINECPP_API HDevEngineException {
 public:
  HDevEngineException(const char* message, ExceptionCategory category = ExceptionGeneral,
                      const char* execProcedureName = "", int progLineNum = -1,
                      const char* progLineName = "", Herror halconErrNum = 0);
  HDevEngineException(const HDevEngineException& other);
  HDevEngineException& operator=(const HDevEngineException& other);
  virtual ~HDevEngineException();

  ExceptionCategory Category() const;
  const char* Message() const;
  const char* ExecProcedureName() const;
  const char* ProgLineName() const;
  int ProgLineNum() const;
  Herror HalconErrNum() const;

 private:
  struct Data;
  std::unique_ptr<Data> data_;
};

// The interface through which the engine runs a program's display operators. Every default
// does nothing and returns 2, the success code; any other result fails the program line with
// that error number.
class HDEVENGINECPP_API HDevOperatorImplCpp {
 public:
  HDevOperatorImplCpp();
  virtual ~HDevOperatorImplCpp();
  virtual int DevClearWindow();
  virtual int DevCloseWindow();
  virtual int DevSetWindow(const HTuple& win_id);
  virtual int DevGetWindow(HTuple* win_id);
  virtual int DevDisplay(const HObject& obj);
  virtual int DevSetWindowExtents(const HTuple& row, const HTuple& col, const HTuple& width,
                                  const HTuple& height);
  virtual int DevSetDraw(const HTuple& draw);
  virtual int DevSetShape(const HTuple& shape);
  virtual int DevSetColored(const HTuple& colored);
  virtual int DevSetColor(const HTuple& color);
  virtual int DevSetLut(const HTuple& lut);
  virtual int DevSetPaint(const HTuple& paint);
  virtual int DevSetPart(const HTuple& row1, const HTuple& col1, const HTuple& row2,
                         const HTuple& col2);
  virtual int DevSetLineWidth(const HTuple& width);
  virtual int DevOpenWindow(const HTuple& row, const HTuple& col, const HTuple& width,
                            const HTuple& height, const HTuple& background, HTuple* win_id);
};

// A facade over the one engine of the process: every instance reaches the same procedure
// paths, attributes, display implementation and loaded procedures. Thread-safe.
class HDEVENGINECPP_API HDevEngine {
 public:
  HDevEngine();
  virtual ~HDevEngine();

  // The engine keeps every implementation it was given alive until the process ends, so a
  // program still running with an earlier one is never left with a dangling pointer.
  void SetHDevOperatorImpl(HDevOperatorImplCpp* impl, bool mem_free_intern = true);
  void SetEngineAttribute(const char* name, const HTuple& value);
  HTuple GetEngineAttribute(const char* name) const;
  void SetProcedurePath(const char* path);
  void AddProcedurePath(const char* path);
  void UnloadAllProcedures();
};

namespace Standin {
struct ProgramData;
struct ProcedureData;
struct CallData;
}  // namespace Standin

class HDevProgramCall;
class HDevProcedureCall;

// A loaded program (.hdev file) with its main procedure and local procedures.
class HDEVENGINECPP_API HDevProgram {
 public:
  HDevProgram();
  explicit HDevProgram(const char* file_name);
  HDevProgram(const HDevProgram& other);
  HDevProgram& operator=(const HDevProgram& other);
  virtual ~HDevProgram();

  void LoadProgram(const char* file_name);
  bool IsLoaded() const;
  const char* GetName() const;
  HDevProgramCall CreateCall() const;

  const std::shared_ptr<Standin::ProgramData>& Data() const { return data_; }

 private:
  std::shared_ptr<Standin::ProgramData> data_;
};

// One run of a program's main procedure; its variables stay readable after Execute.
class HDEVENGINECPP_API HDevProgramCall {
 public:
  HDevProgramCall();
  explicit HDevProgramCall(const HDevProgram& program);
  HDevProgramCall(const HDevProgramCall& other);
  HDevProgramCall& operator=(const HDevProgramCall& other);
  virtual ~HDevProgramCall();

  void Execute();
  HTuple GetCtrlVarTuple(const char* var_name) const;
  HObject GetIconicVarObject(const char* var_name) const;

 private:
  std::shared_ptr<Standin::CallData> data_;
};

// A procedure: an external one (NAME.hdvp found in the procedure paths) or a local one of a
// program. Parameter indices count from 1; an index out of range raises
// HDevEngineException. Name texts stay valid while the procedure object lives.
class HDEVENGINECPP_API HDevProcedure {
 public:
  HDevProcedure();
  explicit HDevProcedure(const char* proc_name);
  HDevProcedure(const HDevProgram& program, const char* proc_name);
  HDevProcedure(const HDevProcedure& other);
  HDevProcedure& operator=(const HDevProcedure& other);
  virtual ~HDevProcedure();

  void LoadProcedure(const char* proc_name);
  bool IsLoaded() const;
  const char* GetName() const;
  HDevProcedureCall CreateCall() const;

  int GetInputIconicParamCount() const;
  int GetOutputIconicParamCount() const;
  int GetInputCtrlParamCount() const;
  int GetOutputCtrlParamCount() const;
  const char* GetInputIconicParamName(int par_idx) const;
  const char* GetOutputIconicParamName(int par_idx) const;
  const char* GetInputCtrlParamName(int par_idx) const;
  const char* GetOutputCtrlParamName(int par_idx) const;

  const std::shared_ptr<Standin::ProcedureData>& Data() const { return data_; }

 private:
  std::shared_ptr<Standin::ProcedureData> data_;
};

// One call of a procedure: inputs set by index (from 1) or name, outputs read after Execute.
// Different call objects may execute at the same time on different threads.
class HDEVENGINECPP_API HDevProcedureCall {
 public:
  HDevProcedureCall();
  explicit HDevProcedureCall(const HDevProcedure& procedure);
  HDevProcedureCall(const HDevProcedureCall& other);
  HDevProcedureCall& operator=(const HDevProcedureCall& other);
  virtual ~HDevProcedureCall();

  void SetInputIconicParamObject(int par_idx, const HObject& obj);
  void SetInputIconicParamObject(const char* par_name, const HObject& obj);
  void SetInputCtrlParamTuple(int par_idx, const HTuple& tuple);
  void SetInputCtrlParamTuple(const char* par_name, const HTuple& tuple);
  void Execute();
  HObject GetOutputIconicParamObject(int par_idx) const;
  HObject GetOutputIconicParamObject(const char* par_name) const;
  HTuple GetOutputCtrlParamTuple(int par_idx) const;
  HTuple GetOutputCtrlParamTuple(const char* par_name) const;

 private:
  std::shared_ptr<Standin::CallData> data_;
};

}  // namespace HDevEngineCpp

#endif
