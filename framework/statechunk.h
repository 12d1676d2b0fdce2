#pragma once
// The state chunk that the VST3 and LV2 bindings hand their hosts, byte for byte the same so a
// setting moves between the formats: the core's parameter block, then the bypass flag as a
// little-endian int32.
#include "base/byteblock.h"

class IFxBase;

// Appends the chunk to block; false when the parameter block could not be written.
// [any thread, takes the plug-in lock]
bool TakeStateChunk(IFxBase* plug, IByteBlock* block);
// Applies a chunk from the start of block: the position just after it, or -1 when the parameter
// block or the flag after it is missing or bad. The flag is applied only when it is there; what a
// bad parameter block applies is the core's reader's rule.
// [any thread, takes the plug-in lock]
int ApplyStateChunk(IFxBase* plug, IByteBlock* block);
