#include "runtime/engine_errors.h"

#include "standin/controls.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

struct ErrorText {
  Hlong number;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {kErrFileNotFound, "HDevelop file not found or not readable"},
    {kErrProcedureNotFound, "HDevelop procedure not found"},
    {kErrMalformedXml, "HDevelop file is not well-formed XML"},
    {kErrMalformedFile, "File is not an HDevelop program or procedure"},
    {kErrSyntax, "Syntax error in program line"},
    {kErrUnknownCall, "Unknown operator or procedure"},
    {kErrArgumentCount, "Wrong number of arguments in call"},
    {kErrOutputNotVariable, "Argument must be a variable"},
    {kErrBlockStructure, "Control statement without its matching statement"},
    {kErrVariableKind, "Variable used both as iconic and as control variable"},
    {kErrNestingDepth, "Expression nested too deeply"},
    {kErrUnknownFunction, "Unknown function in expression"},
    {kErrLaterRelease, "Construct of a later HDevelop release"},
    {kErrUserException, "User-defined exception"},
    {kErrUnsetVariable, "Variable has no value"},
    {kErrCallDepth, "Procedure call depth limit exceeded"},
    {kErrUnresolvedAtRun, "Call of an unresolved procedure"},
    {kErrCondition, "Condition is not a single number"},
    {kErrLoopBounds, "Invalid for-loop bounds or step"},
    {kErrIndexValue, "Invalid tuple index or element value"},
    {kErrFunctionArgument, "Invalid argument of a function"},
    {kErrStepLimit, "Step limit exceeded"},
    {kErrValueSize, "Value too large"},
    {kErrOutOfMemory, "Out of memory"},
    {kErrParameterIndex, "Parameter index out of range"},
    {kErrParameterName, "Unknown parameter name"},
    {kErrInputNotSet, "Input parameter not set"},
    {kErrUnknownVariable, "Unknown program variable"},
    {kErrNotLoaded, "No program or procedure loaded"},
    {kErrNotImplemented, "Operator not implemented by the stand-in"},
    {kErrUnknownAttribute, "Unknown engine attribute"},
    {kErrAttributeValue, "Invalid value for engine attribute"},
    {kErrInternal, "Internal error of the HDevelop engine"},
};

// GetErrorText must know the engine's numbers as soon as the library is loaded.
struct RegisterTexts {
  RegisterTexts() {
    for (const ErrorText& entry : kTexts) {
      HalconCpp::Standin::registerErrorText(entry.number, entry.text);
    }
  }
} registerTexts;

}  // namespace

const char* engineErrorText(Hlong number) {
  for (const ErrorText& entry : kTexts) {
    if (entry.number == number) return entry.text;
  }
  return "HDevelop engine error";
}

std::string describeError(Hlong number, const ErrorPlace& place, const std::string& detail) {
  std::string message = engineErrorText(number);
  if (!place.procedure.empty()) message += " in procedure '" + place.procedure + "'";
  if (!place.file.empty()) {
    message += place.procedure.empty() ? " in file '" : " (file '";
    message += place.file + (place.procedure.empty() ? "'" : "')");
  }
  if (place.line > 0) message += ", line " + std::to_string(place.line);
  if (!detail.empty()) message += ": " + detail;
  return message;
}

HDevEngineException engineError(Hlong number, ExceptionCategory category, const ErrorPlace& place,
                                const std::string& detail) {
  return HDevEngineException(describeError(number, place, detail).c_str(), category,
                             place.procedure.c_str(), place.line, place.lineName.c_str(),
                             static_cast<Herror>(number));
}

HDevEngineException engineError(Hlong number, ExceptionCategory category,
                                const std::string& detail) {
  return engineError(number, category, ErrorPlace{}, detail);
}

}  // namespace Standin
}  // namespace HDevEngineCpp
