#include "evaluator.h"

#include <variant>

#include "engine_errors.h"
#include "functions.h"
#include "run_limits.h"

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
  return integerIndex(index.Elements()[0]);
}

HTuple select(const HTuple& base, const HTuple& indices) {
  HTuple result;
  for (const HTuple::Element& element : indices.Elements()) {
    const Hlong index = integerIndex(element);
    if (index < 0 || index >= base.Length()) {
      throw HException::ForOperator("tuple_select", HalconCpp::H_ERR_TUPLE_INDEX);
    }
    result.Append(HTuple(base[index]));
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

HTuple binary(BinaryOp op, const HTuple& a, const HTuple& b) {
  switch (op) {
    case BinaryOp::Add:
      return a + b;
    case BinaryOp::Subtract:
      return a - b;
    case BinaryOp::Multiply:
      return a * b;
    case BinaryOp::Divide:
      return a / b;
    case BinaryOp::Modulo:
      return a % b;
    case BinaryOp::Equal:
      return flag(a == b);
    case BinaryOp::NotEqual:
      return flag(a != b);
    case BinaryOp::Less:
      return flag(a < b);
    case BinaryOp::Greater:
      return flag(a > b);
    case BinaryOp::LessEqual:
      return flag(a <= b);
    case BinaryOp::GreaterEqual:
      return flag(a >= b);
    case BinaryOp::And:
      return flag(truthOf(a, "and") && truthOf(b, "and"));
    case BinaryOp::Or:
      return flag(truthOf(a, "or") || truthOf(b, "or"));
    case BinaryOp::Xor:
      return flag(truthOf(a, "xor") != truthOf(b, "xor"));
  }
  throw RunError{kErrInternal, "unknown operator"};
}

}  // namespace

bool truthOf(const HTuple& value, const char* what) {
  if (value.Length() == 1) {
    const HTuple::Element& element = value.Elements()[0];
    if (const auto* integer = std::get_if<Hlong>(&element)) return *integer != 0;
    if (const auto* real = std::get_if<double>(&element)) return *real != 0.0;
  }
  throw RunError{kErrCondition,
                 std::string(what) + " needs one number, not " + value.ToString().str()};
}

HTuple evaluate(const Expr& expr, const Frame& frame) {
  switch (expr.kind) {
    case ExprKind::Literal:
      return expr.value;
    case ExprKind::Variable:
      if (!frame.ctrlSet[expr.slot]) throw RunError{kErrUnsetVariable, expr.name};
      return frame.ctrl[expr.slot];
    case ExprKind::Tuple: {
      HTuple result;
      for (const ExprPtr& operand : expr.operands) {
        bounded(result.Append(evaluate(*operand, frame)));
      }
      return result;
    }
    case ExprKind::Negate:
      return -evaluate(*expr.operands[0], frame);
    case ExprKind::Not:
      return flag(!truthOf(evaluate(*expr.operands[0], frame), "not"));
    case ExprKind::Binary: {
      // Both operands are evaluated, also for and/or: the language does not short-circuit.
      const HTuple left = evaluate(*expr.operands[0], frame);
      HTuple result = binary(expr.op, left, evaluate(*expr.operands[1], frame));
      bounded(result);
      return result;
    }
    case ExprKind::Length:
      return HTuple(evaluate(*expr.operands[0], frame).Length());
    case ExprKind::Index: {
      const HTuple base = evaluate(*expr.operands[0], frame);
      return select(base, evaluate(*expr.operands[1], frame));
    }
    case ExprKind::Slice: {
      const HTuple base = evaluate(*expr.operands[0], frame);
      const Hlong from = singleIndex(evaluate(*expr.operands[1], frame));
      return selectRange(base, from, singleIndex(evaluate(*expr.operands[2], frame)));
    }
    case ExprKind::Function:
      return applyFunction(expr.function, evaluate(*expr.operands[0], frame));
  }
  throw RunError{kErrInternal, "unknown expression"};
}

}  // namespace Standin
}  // namespace HDevEngineCpp
