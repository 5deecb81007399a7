#pragma once
// Runs code that should raise the runtime's error and hands back what came.
#include "platform/runtime/Error.h"

#include <utility>

namespace arc::test {

// The RuntimeError the code raised; number 0 when none came.
template <typename F>
RuntimeError Raised(F&& code) {
    try {
        std::forward<F>(code)();
    } catch (const RuntimeError& e) {
        return e;
    }
    return RuntimeError(0, L"");
}

// The number of the RuntimeError the code raised; 0 when none came.
template <typename F>
long ErrorOf(F&& code) {
    return Raised(std::forward<F>(code)).Number();
}

}  // namespace arc::test
