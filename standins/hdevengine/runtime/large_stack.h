// Runs a piece of work on a thread of its own with a stack of a chosen size, for work whose
// recursion depth grows with its input (libstdc++'s regular expression matching), so that a
// long input cannot overflow the caller's stack, which may be a 1 MB thread stack.
#ifndef QUORVEX_STANDINS_HDEVENGINE_LARGE_STACK_H
#define QUORVEX_STANDINS_HDEVENGINE_LARGE_STACK_H

#include <cstddef>
#include <exception>

namespace HDevEngineCpp {
namespace Standin {

// Runs work(context) on a new thread with `stackBytes` of stack and waits for it; an
// exception the work throws is rethrown here. Returns false when no such thread could be
// started, without running the work.
bool runOnLargeStack(std::size_t stackBytes, void (*work)(void* context), void* context);

}  // namespace Standin
}  // namespace HDevEngineCpp

#endif
