#pragma once
// The rules of the in-place text entry that do not depend on the window system: which typed
// characters a parameter accepts, the text an entry opens with, and the value a committed text
// stands for.
#include "framework/fxparam.h"

// True when the entry of param keeps the typed character ch (a null param keeps everything).
bool TextEntryAccepts(const IFxParam* param, unsigned ch);
// The plain value shown for editing: negated for display when the parameter asks for it, with its
// display precision (or truncated to an integer). out holds kParamTextSize bytes.
void TextEntryInitialText(const IFxParam& param, char* out);
// The plain value a committed text stands for. Bool and list parameters take the value of the
// first value text equal to text; any other text is read as a number (0 when it is none).
double TextEntryValue(const IFxParam& param, const char* text);
