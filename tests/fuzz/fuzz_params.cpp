// The parameter block as the core reads it (the state every binding and preset restores), from
// any start position. Every value read lands inside its range, and the block written back reads
// to the same values.
#include <cstdint>

#include "fuzz_check.h"
#include "host_doubles.h"

// First byte: the start position (values from 128 on stand for -1); then the block.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static testhost::Plugin* p = new testhost::Plugin;
    TavrelZel4* plug = p->plug;
    const int start = data[0] < 128 ? data[0] : -1;
    IByteBlock block;
    block.Put(data + 1, static_cast<int>(size - 1));

    const int end = plug->ReadState(&block, start);
    const bool whole = start >= 0 && start + 8 * plug->NParams() <= block.Size();
    FUZZ_CHECK(end == (whole ? start + 8 * plug->NParams() : -1));
    for (int i = 0; i < plug->NParams(); ++i) {
        const IFxParam* param = plug->GetParam(i);
        FUZZ_CHECK(param->Value() >= param->Min() && param->Value() <= param->Max());
    }

    IByteBlock saved;
    FUZZ_CHECK(plug->WriteState(&saved) && saved.Size() == 8 * plug->NParams());
    double before[TavrelZel4::kNumParams];
    for (int i = 0; i < plug->NParams(); ++i) before[i] = plug->GetParam(i)->Value();
    FUZZ_CHECK(plug->ReadState(&saved, 0) == saved.Size());
    for (int i = 0; i < plug->NParams(); ++i) FUZZ_CHECK(plug->GetParam(i)->Value() == before[i]);
    return 0;
}
