#include "framework/fxassert.h"

#include <cstdio>

namespace {
void WriteToStderr(const char* text, const char* source, int line) {
    std::fprintf(stderr, "assertion failed: %s (%s:%d)\n", text, source, line);
}
IFxAssertHandler gHandler = WriteToStderr;
}  // namespace

IFxAssertHandler SetAssertHandler(IFxAssertHandler handler) {
    IFxAssertHandler previous = gHandler;
    gHandler = handler ? handler : WriteToStderr;
    return previous;
}

void IFxAssert(const char* text, const char* source, int line) { gHandler(text, source, line); }
