#pragma once
// Programming-error reports and the trace hook. An assertion never stops the host: the default handler writes the
// text to standard error and the caller continues on its safe path. The text is the stable part,
// which logs and tests match; source (a file's name without extension, or a function's) and line
// (__LINE__) say where it was raised.

using IFxAssertHandler = void (*)(const char* text, const char* source, int line);

// Installs a handler (null restores the default); returns the previous one.
IFxAssertHandler SetAssertHandler(IFxAssertHandler handler);
void IFxAssert(const char* text, const char* source, int line);

// Trace hook of the framework: takes what a trace line would need and writes nothing, so the
// audio paths may call it on every block.
inline void IFxTrace(const char* /*function*/, int /*line*/, const char* /*format*/, ...) {}
