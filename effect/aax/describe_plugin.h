#pragma once
// The product's AAX module: the effect description the registration export runs, the process
// procedure through which the host renders every instance, and the two factories.
#include <cstdint>

#include "aax-library/acf_exports.h"

// The stem format word of a channel count (0xFF9C0000 for counts without one).
uint32_t StemFormatOfChannels(int channels);

// One component: the context fields, the property map and the process procedure.
struct AAXIOConfig {
    int inputs, outputs;
    bool globalMidi, localMidi, transport;
    uint32_t inputStem, outputStem;
    uint32_t manufacturerId, productId, nativeTypeId, secondTypeId;
};
int32_t DescribeIOConfig(AAX_IEffectDescriptor* effect, const AAXIOConfig& config);

extern "C" {
// Renders each instance whose private data holds its object. [first, end) is an array of
// context pointers.
// [audio thread, takes the plug-in lock] of each instance in turn (RenderBlock)
void ACF_CALL ProcessAllInstances(void* const* first, const void* end);
// A new plug-in (its effect-parameters part) or GUI object, with no reference taken; null when
// it could not be made.
// [main thread, takes the module's creation lock]
void* ACF_CALL NewEffectParametersInstance();
// [main thread]
void* ACF_CALL NewEffectGuiInstance();
}
