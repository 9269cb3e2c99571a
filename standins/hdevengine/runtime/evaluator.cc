#include "runtime/evaluator.h"

#include <utility>
#include <variant>
#include <vector>

#include "functions/functions.h"
#include "runtime/engine_errors.h"
#include "runtime/run_limits.h"

namespace HDevEngineCpp {
namespace Standin {
namespace {

using HalconCpp::HException;

HTuple flag(bool value) {
  return HTuple(static_cast<Hlong>(value ? 1 : 0));
}

Hlong integerIndex(const HTuple::Element& element) {
  if (const auto* index = std::get_if<Hlong>(&element)) return *index;
  throw RunError{kErrIndexValue, "a tuple index must be an integer"};
}

Hlong singleIndex(const HTuple& index) {
  if (index.Length() != 1) throw RunError{kErrIndexValue, "a tuple index must be one integer"};
  return integerIndex(index.At(0));
}

// T[I] may name one element many times: its size is known, and bounded, before it is built.
HTuple select(const HTuple& base, const HTuple& indices) {
  checkValueLength(indices.Length());
  TextTally text;
  for (Hlong i = 0; i < indices.Length(); ++i) {
    const Hlong index = integerIndex(indices.At(i));
    if (index < 0 || index >= base.Length()) {
      throw HException::ForOperator("tuple_select", HalconCpp::H_ERR_TUPLE_INDEX);
    }
    text.add(elementText(base, index));
  }
  HTuple result;
  for (Hlong i = 0; i < indices.Length(); ++i) {
    result.Append(HTuple(base[std::get<Hlong>(indices.At(i))]));
  }
  return result;
}

// Inclusive on both ends; an end before the start gives the empty tuple.
HTuple selectRange(const HTuple& base, Hlong from, Hlong to) {
  HTuple result;
  if (to < from) return result;
  if (from < 0 || to >= base.Length()) {
    throw HException::ForOperator("tuple_select_range", HalconCpp::H_ERR_TUPLE_INDEX);
  }
  for (Hlong i = from; i <= to; ++i) result.Append(HTuple(base[i]));
  return result;
}

// Writes a op b to `result`, which is neither operand. Arithmetic works in place: the
// result's storage is reused from the line's previous run.
void binary(BinaryOp op, const HTuple& a, const HTuple& b, HTuple* result) {
  switch (op) {
    case BinaryOp::Add:
      *result = a;
      *result += b;
      return;
    case BinaryOp::Subtract:
      *result = a;
      *result -= b;
      return;
    case BinaryOp::Multiply:
      *result = a;
      *result *= b;
      return;
    case BinaryOp::Divide:
      *result = a;
      *result /= b;
      return;
    case BinaryOp::Modulo:
      *result = a;
      *result %= b;
      return;
    case BinaryOp::Equal:
      *result = flag(a == b);
      return;
    case BinaryOp::NotEqual:
      *result = flag(a != b);
      return;
    case BinaryOp::Less:
      *result = flag(a < b);
      return;
    case BinaryOp::Greater:
      *result = flag(a > b);
      return;
    case BinaryOp::LessEqual:
      *result = flag(a <= b);
      return;
    case BinaryOp::GreaterEqual:
      *result = flag(a >= b);
      return;
    case BinaryOp::And:
      *result = flag(truthOf(a, "and") && truthOf(b, "and"));
      return;
    case BinaryOp::Or:
      *result = flag(truthOf(a, "or") || truthOf(b, "or"));
      return;
    case BinaryOp::Xor:
      *result = flag(truthOf(a, "xor") != truthOf(b, "xor"));
      return;
  }
  throw RunError{kErrInternal, "unknown operator"};
}

}  // namespace

bool truthOf(const HTuple& value, const char* what) {
  if (value.Length() == 1) {
    const HalconCpp::HTupleElement element = value[0];
    if (element.Type() == HalconCpp::eElementTypeLong) return element.L() != 0;
    if (element.Type() == HalconCpp::eElementTypeDouble) return element.D() != 0.0;
  }
  throw RunError{kErrCondition, std::string(what) + " needs one number, not " + shownValue(value)};
}

const HTuple& evaluateInto(const Expr& expr, const Frame& frame, Temps& temps) {
  if (expr.kind == ExprKind::Literal) return expr.value;
  if (expr.kind == ExprKind::Variable) {
    if (!frame.ctrlSet[expr.slot]) throw RunError{kErrUnsetVariable, expr.name};
    return frame.ctrl[expr.slot];
  }
  HTuple& result = temps[expr.temp];
  // Variables and literals, the most common operands, are read here without a call.
  const auto operand = [&](std::size_t i) -> const HTuple& {
    const Expr& e = *expr.operands[i];
    if (e.kind == ExprKind::Variable && frame.ctrlSet[e.slot]) return frame.ctrl[e.slot];
    if (e.kind == ExprKind::Literal) return e.value;
    return evaluateInto(e, frame, temps);
  };
  switch (expr.kind) {
    case ExprKind::Tuple: {
      // Bounded before it is built: [A, A, A, ...] of a large A fails without taking the memory.
      const std::size_t count = expr.operands.size();
      const HTuple* few[8];
      std::vector<const HTuple*> many;
      const HTuple** parts = few;
      if (count > 8) {
        many.resize(count);
        parts = many.data();
      }
      Hlong length = 0;
      unsigned long long text = 0;
      for (std::size_t i = 0; i < count; ++i) {
        parts[i] = &operand(i);
        length += parts[i]->Length();
        text += textBytes(*parts[i]);
      }
      checkValueLength(length);
      checkValueText(text);
      result.Clear();
      for (std::size_t i = 0; i < count; ++i) result.Append(*parts[i]);
      spendWork(length, static_cast<std::size_t>(text));
      return result;
    }
    case ExprKind::Negate:
      result = -operand(0);
      return result;
    case ExprKind::Not:
      result = flag(!truthOf(operand(0), "not"));
      return result;
    case ExprKind::Binary: {
      // Both operands are evaluated, also for and/or: the language does not short-circuit.
      const HTuple& a = operand(0);
      const HTuple& b = operand(1);
      if (expr.op == BinaryOp::Add) checkConcatenation(a, b);
      binary(expr.op, a, b, &result);
      return bounded(result);
    }
    case ExprKind::Length:
      result = HTuple(operand(0).Length());
      return result;
    case ExprKind::Index: {
      const HTuple& base = operand(0);
      result = select(base, operand(1));
      spendWork(result.Length(), textBytes(result));
      return result;
    }
    case ExprKind::Slice: {
      const HTuple& base = operand(0);
      const Hlong from = singleIndex(operand(1));
      result = selectRange(base, from, singleIndex(operand(2)));
      spendWork(result.Length(), textBytes(result));
      return result;
    }
    case ExprKind::Function: {
      // Few functions take more than three arguments; those few get a vector.
      const HTuple* small[4];
      std::vector<const HTuple*> many;
      const HTuple** arguments = small;
      if (expr.operands.size() > 4) {
        many.resize(expr.operands.size());
        arguments = many.data();
      }
      for (std::size_t i = 0; i < expr.operands.size(); ++i) arguments[i] = &operand(i);
      applyFunction(expr.function, arguments, expr.operands.size(), &result);
      return bounded(result);
    }
    default:
      break;
  }
  throw RunError{kErrInternal, "unknown expression"};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
