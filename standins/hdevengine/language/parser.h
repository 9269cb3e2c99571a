// Parses one program line into a statement: assignments, calls, control statements and
// comments, with expressions in HDevelop syntax. Variables stay names here; the compiler
// binds them to slots and resolves the calls.
#ifndef QUORVEX_STANDINS_HDEVENGINE_PARSER_H
#define QUORVEX_STANDINS_HDEVENGINE_PARSER_H

#include <string>

#include "language/syntax.h"

namespace HDevEngineCpp {
namespace Standin {

// Throws LoadError (syntax) for a line that does not parse.
Stmt parseLine(const std::string& text);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
