#include "program_generator.h"

#include <algorithm>

namespace quorvex::fuzz {
namespace {

// Enough to nest every construct in every other, few enough that a program stays readable
// when a finding has to be understood.
constexpr int kMaxDepth = 3;
constexpr int kMaxExpressionDepth = 4;
constexpr std::size_t kMaxLines = 80;

const char* const kIntegers[] = {"0",   "1",    "2",    "3",   "5",          "10", "-1", "64",
                                 "255", "1000", "0x1F", "017", "2147483647", "-7", "32"};
const char* const kReals[] = {"0.5", "1.5", "-2.25", "1e10", ".5", "3.14159", "0.0", "1e-300"};
const char* const kStrings[] = {"''",      "'a'",      "'abc'",      "'it\\'s'",  "'x\\ny'",
                                "'%d'",    "'[a-z]+'", "'^(a|b)*$'", "'byte'",    "'red'",
                                "'true'",  "'false'",  "'margin'",   "'fill'",    "'area'",
                                "'width'", "'1.5'",    "'42'",       "'default'", "'\\\\'"};
const char* const kFormats[] = {"'d'", "'.2f'", "'10s'", "'-5d'", "'x'", "'.3e'", "'s'"};
// Loosest first, as the language binds them; every use is parenthesised.
const char* const kBinary[] = {"or", "xor", "and", "bor", "bxor", "band", "=", "==", "#", "!=",
                               "=~", "<",   ">",   "<=",  ">=",   "+",    "-", "*",  "/", "%"};
struct Function {
  const char* name;
  int arguments;
};
// clang-format off
const Function kFunctions[] = {
    {"abs", 1}, {"sqrt", 1}, {"exp", 1}, {"log", 1}, {"sin", 1}, {"atan2", 2}, {"pow", 2},
    {"fmod", 2}, {"min2", 2}, {"max2", 2}, {"lsh", 2}, {"rsh", 2}, {"int", 1}, {"real", 1},
    {"round", 1}, {"min", 1}, {"max", 1}, {"sum", 1}, {"mean", 1}, {"median", 1}, {"deviation", 1},
    {"cumul", 1}, {"select_rank", 2}, {"sort", 1}, {"sort_index", 1}, {"inverse", 1}, {"uniq", 1},
    {"find", 2}, {"remove", 2}, {"subset", 2}, {"select_mask", 2}, {"gen_tuple_const", 2},
    {"gen_sequence", 3}, {"rand", 1}, {"insert", 3}, {"replace", 3}, {"union", 2},
    {"difference", 2}, {"type", 1}, {"type_elem", 1}, {"is_number", 1}, {"number", 1},
    {"strlen", 1}, {"strstr", 2}, {"strrchr", 2}, {"str_firstn", 2}, {"split", 2}, {"chr", 1},
    {"chrt", 1}, {"ord", 1}, {"ords", 1}, {"regexp_match", 2}, {"regexp_replace", 3},
    {"regexp_select", 2}, {"regexp_test", 2}, {"environment", 1}};
// clang-format on

template <typename T, std::size_t N>
const T& pick(Choices& in, const T (&items)[N]) {
  return items[in.below(N)];
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The parameters of one group: "kind Name, kind Name".
std::vector<std::string> kindsOf(const std::string& group) {
  std::vector<std::string> kinds;
  std::size_t start = 0;
  while (start <= group.size()) {
    const std::size_t comma = group.find(',', start);
    const std::string parameter = trimmed(
        group.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!parameter.empty()) kinds.push_back(parameter.substr(0, parameter.find(' ')));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return kinds;
}

}  // namespace

bool parseSignature(const std::string& signature, GeneratedOperator* parsed) {
  const std::size_t open = signature.find('('), close = signature.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return false;
  parsed->name = trimmed(signature.substr(0, open));
  std::vector<std::vector<std::string>> groups;
  std::size_t start = open + 1;
  for (;;) {
    const std::size_t colon = signature.find(':', start);
    const std::size_t end = colon == std::string::npos || colon > close ? close : colon;
    groups.push_back(kindsOf(signature.substr(start, end - start)));
    if (end == close) break;
    start = end + 1;
  }
  if (groups.size() != 4 || parsed->name.empty()) return false;
  parsed->iconicInputs = static_cast<int>(groups[0].size());
  parsed->iconicOutputs = static_cast<int>(groups[1].size());
  parsed->controlInputKinds = groups[2];
  parsed->controlOutputs = static_cast<int>(groups[3].size());
  return true;
}

std::vector<std::string> ProgramGenerator::body(const Variables& variables,
                                                const std::string& subprocedure) {
  variables_ = variables;
  subprocedure_ = subprocedure;
  lines_.clear();
  // Objects to start from, so that iconic lines have something to work on.
  emit(0, "gen_image_const (" + variables_.iconic[0] + ", 'byte', 64, 48)");
  emit(0, "gen_rectangle1 (" + variables_.iconic[1] + ", 5, 5, 20, 30)");
  emit(0, variables_.definesGlobal ? "global def tuple G" : "global tuple G");
  if (variables_.definesGlobal) emit(0, "G := []");
  for (const std::string& name : variables_.control) {
    if (name == "G" || std::find(variables_.inputs.begin(), variables_.inputs.end(), name) !=
                           variables_.inputs.end()) {
      continue;
    }
    // Literals only: another variable named here may not have its value yet.
    emit(0, name + " := " + literal(in_.below(2) ? "number" : "string"));
  }
  block(0, false);
  return lines_;
}

void ProgramGenerator::emit(int depth, const std::string& line) {
  lines_.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + line);
}

void ProgramGenerator::block(int depth, bool inLoop) {
  // The first choice ends the block: spent bytes end every block.
  while (lines_.size() < kMaxLines && in_.below(6) != 0) statement(depth, inLoop);
}

const std::string& ProgramGenerator::control() {
  return variables_.control[in_.below(static_cast<unsigned>(variables_.control.size()))];
}

const std::string& ProgramGenerator::iconic() {
  return variables_.iconic[in_.below(static_cast<unsigned>(variables_.iconic.size()))];
}

void ProgramGenerator::statement(int depth, bool inLoop) {
  const bool nest = depth < kMaxDepth;
  switch (in_.below(16)) {
    case 0:
    case 1:
      emit(depth, control() + " := " + expression(0));
      break;
    case 2:
      emit(depth, control() + "[" + expression(1) + "] := " + expression(1));
      break;
    case 3:
      if (!nest) break;
      emit(depth, "if (" + expression(1) + ")");
      block(depth + 1, inLoop);
      if (in_.below(2)) {
        emit(depth, "elseif (" + expression(1) + ")");
        block(depth + 1, inLoop);
      }
      if (in_.below(2)) {
        emit(depth, "else");
        block(depth + 1, inLoop);
      }
      emit(depth, "endif");
      break;
    case 4:
      if (!nest) break;
      emit(depth, "for " + control() + " := " + expression(2) + " to " + expression(2) +
                      (in_.below(2) ? " by " + expression(2) : ""));
      block(depth + 1, true);
      emit(depth, "endfor");
      break;
    case 5:
      if (!nest) break;
      emit(depth, "while (" + expression(1) + ")");
      block(depth + 1, true);
      emit(depth, "endwhile");
      break;
    case 6:
      if (!nest) break;
      emit(depth, "repeat");
      block(depth + 1, true);
      emit(depth, "until (" + expression(1) + ")");
      break;
    case 7:
      if (!nest) break;
      emit(depth, "switch (" + control() + ")");
      for (unsigned n = in_.below(3); n < 3; ++n) {
        emit(depth, "case " + std::string(pick(in_, kIntegers)) + ":");
        block(depth + 1, inLoop);
        if (in_.below(2)) emit(depth + 1, "break");
      }
      if (in_.below(2)) {
        emit(depth, "default:");
        block(depth + 1, inLoop);
      }
      emit(depth, "endswitch");
      break;
    case 8:
      if (!nest) break;
      emit(depth, "try");
      ++insideTry_;
      block(depth + 1, inLoop);
      --insideTry_;
      emit(depth, "catch (E)");
      if (in_.below(2))
        emit(depth + 1, "dev_get_exception_data (E, " + atom() + ", " + control() + ")");
      block(depth + 1, inLoop);
      emit(depth, "endtry");
      break;
    case 9:
      // Mostly where a catch takes it: a throw nothing catches ends the run at once.
      if (insideTry_ > 0 || in_.below(4) == 0) {
        emit(depth, "throw (" + (in_.below(2) ? std::string("E") : expression(1)) + ")");
      }
      break;
    case 10:
    case 11:
    case 12:
      call(depth);
      break;
    case 13:
      emit(depth, subprocedure_ + " (" + iconic() + ", " + iconic() + ", " + expression(1) + ", " +
                      expression(1) + ", " + control() + ")");
      break;
    case 14:
      if (inLoop) {
        emit(depth, in_.below(2) ? "break" : "continue");
      } else if (in_.below(4) == 0) {
        emit(depth, in_.below(4) ? "return ()" : "exit ()");
      }
      break;
    default:
      switch (in_.below(4)) {
        case 0:
          emit(depth, "dev_set_check ('~give_error')");
          emit(depth, "dev_error_var (" + control() + ", 1)");
          break;
        case 1:
          emit(depth, "dev_set_check ('give_error')");
          break;
        case 2:
          emit(depth, "G := [G, " + expression(2) + "]");
          break;
        default:
          emit(depth, "insert (" + control() + ", " + expression(2) + ", " + expression(2) + ", " +
                          control() + ")");
          break;
      }
      break;
  }
}

// An operator line with its arguments in the vendor's order.
void ProgramGenerator::call(int depth) {
  if (operators_.empty()) return;
  // Two bytes: the table has more operators than one byte can name.
  const unsigned high = in_.below(256), low = in_.below(256);
  const GeneratedOperator& op = operators_[(high * 256 + low) % operators_.size()];
  std::vector<std::string> arguments;
  for (int i = 0; i < op.iconicInputs + op.iconicOutputs; ++i) arguments.push_back(iconic());
  // The display operators' generic inputs name variables (dev_error_var, dev_inspect_ctrl).
  const bool takesVariables = op.name.compare(0, 4, "dev_") == 0;
  for (const std::string& kind : op.controlInputKinds) {
    const bool variable = (takesVariables && kind == "any") || in_.below(4) == 0;
    arguments.push_back(variable ? control() : literal(kind));
  }
  for (int i = 0; i < op.controlOutputs; ++i) arguments.push_back(control());
  std::string line = op.name + " (";
  for (std::size_t i = 0; i < arguments.size(); ++i) line += (i ? ", " : "") + arguments[i];
  emit(depth, line + ")");
}

std::string ProgramGenerator::literal(const std::string& kind) {
  if (kind == "integer" || kind == "handle") return pick(in_, kIntegers);
  if (kind == "real") return pick(in_, kReals);
  if (kind == "number") return in_.below(2) ? pick(in_, kIntegers) : pick(in_, kReals);
  if (kind == "string") return pick(in_, kStrings);
  return expression(2);
}

std::string ProgramGenerator::atom() {
  switch (in_.below(5)) {
    case 0:
      return pick(in_, kIntegers);
    case 1:
      return pick(in_, kReals);
    case 2:
      return pick(in_, kStrings);
    default:
      return control();
  }
}

std::string ProgramGenerator::expression(int depth) {
  if (depth >= kMaxExpressionDepth) return atom();
  const int next = depth + 1;
  // Atoms weigh more the deeper the expression, so that most values stay of a kind the
  // operators above them take.
  const unsigned choice = in_.below(12 + 2 * static_cast<unsigned>(depth));
  if (choice >= 12) return atom();
  switch (choice) {
    case 0:
    case 1:
      return atom();
    case 2:
      return "[" + expression(next) + ", " + expression(next) + "]";
    case 3:
    case 4:
      return "(" + expression(next) + " " + pick(in_, kBinary) + " " + expression(next) + ")";
    case 5: {
      const char* const unary[] = {"-", "not ", "bnot "};
      return std::string(pick(in_, unary)) + "(" + expression(next) + ")";
    }
    case 6: {
      const Function& function = pick(in_, kFunctions);
      std::string text = std::string(function.name) + "(";
      for (int i = 0; i < function.arguments; ++i) text += (i ? ", " : "") + expression(next);
      return text + ")";
    }
    case 7:
      return "|" + control() + "|";
    case 8:
      return control() + "[" + expression(next) +
             (in_.below(2) ? ":" + expression(next) : std::string()) + "]";
    case 9:
      return control() + "{" + expression(next) + ":" + expression(next) + "}";
    case 10:
      return "(" + control() + "$" + pick(in_, kFormats) + ")";
    default:
      return "[" + expression(next) + ":" +
             (in_.below(2) ? expression(next) + ":" : std::string()) + expression(next) + "]";
  }
}

}  // namespace quorvex::fuzz
