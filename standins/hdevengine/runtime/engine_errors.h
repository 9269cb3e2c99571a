// The engine's own error numbers and the exceptions built from them. Every failure the engine
// reports itself carries one of these numbers, so that a caller can look its text up with
// GetErrorText like any operator error.
#ifndef QUORVEX_STANDINS_HDEVENGINE_ENGINE_ERRORS_H
#define QUORVEX_STANDINS_HDEVENGINE_ENGINE_ERRORS_H

#include <string>

#include "hdevengine/HDevEngineCpp.h"

namespace HDevEngineCpp {
namespace Standin {

enum EngineError : Hlong {
  kErrFileNotFound = 21001,       // no file of that name, or it cannot be read
  kErrProcedureNotFound = 21002,  // no procedure of that name in the paths or the program
  kErrMalformedXml = 21003,       // the file is not well-formed XML
  kErrMalformedFile = 21004,      // well-formed XML, but not an HDevelop program or procedure
  kErrSyntax = 21010,             // a program line does not parse
  kErrUnknownCall = 21011,        // a line calls no known operator or procedure
  kErrArgumentCount = 21012,      // a call with the wrong number of arguments
  kErrOutputNotVariable = 21013,  // an output argument (or iconic argument) that is no variable
  kErrBlockStructure = 21014,     // if/for/while/... without its partner, break outside a loop
  kErrVariableKind = 21015,       // one variable used as iconic and as control variable
  kErrNestingDepth = 21016,       // an expression nested too deeply
  kErrUnknownFunction = 21017,    // an expression calls no known function
  kErrLaterRelease = 21018,       // a construct of a later HDevelop release
  kErrUserException = 21019,      // a thrown exception that no catch handled
  kErrUnsetVariable = 21020,      // a variable read before it has a value
  kErrCallDepth = 21021,          // procedure calls nested beyond the engine's limit
  kErrUnresolvedAtRun = 21022,    // a call left unresolved at load time is reached
  kErrCondition = 21023,          // a condition that is not one number
  kErrLoopBounds = 21024,         // for-loop bounds or step that are not single numbers, or step 0
  kErrIndexValue = 21025,         // a tuple index that is no integer, or a bad element value
  kErrFunctionArgument = 21026,   // a function applied to a value it does not take
  kErrStepLimit = 21027,          // a run executed more lines than the engine's step limit
  kErrValueSize = 21028,          // a value with more elements or text than a run may build
  kErrOutOfMemory = 21029,        // memory ran out while a line ran
  kErrParameterIndex = 21030,     // a parameter index out of range
  kErrParameterName = 21031,      // no parameter of that name
  kErrInputNotSet = 21032,        // Execute with an input parameter never set
  kErrUnknownVariable = 21033,    // a program variable of that name does not exist
  kErrNotLoaded = 21034,          // the object holds no program or procedure
  kErrNotImplemented = 21035,     // a line calls an operator the stand-in does not implement
  kErrUnknownAttribute = 21040,   // no engine attribute of that name
  kErrAttributeValue = 21041,     // a value the attribute does not take
  kErrInternal = 21099,           // an unexpected failure inside the engine
};

// The registered text of an engine error number.
const char* engineErrorText(Hlong number);

// Where a failure happened: the procedure, its file when it has one, the line and the
// operator, procedure or keyword of that line.
struct ErrorPlace {
  std::string procedure;
  std::string file;
  int line = -1;
  std::string lineName;
};

// "<text> in procedure 'P' (file 'F'), line N: <detail>", each part only when known.
std::string describeError(Hlong number, const ErrorPlace& place, const std::string& detail);

HDevEngineException engineError(Hlong number, ExceptionCategory category, const ErrorPlace& place,
                                const std::string& detail);
HDevEngineException engineError(Hlong number, ExceptionCategory category,
                                const std::string& detail);

// A failure while loading, thrown by the readers, parser and compiler before the place is
// fully known; the loader completes the place and turns it into HDevEngineException.
struct LoadError {
  Hlong number;
  ExceptionCategory category;
  std::string detail;
  ErrorPlace place;
};

// A failure of the engine's own while a line runs; the interpreter adds the place.
struct RunError {
  Hlong number;
  std::string detail;
};

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
