#pragma once

namespace Dsp {

// Asks the processor (CPUID, and XGETBV for the register state the system saves) what it
// offers. Runs once when the module loads; later calls probe again.
void ProbeCpuFeatures();

// SSE3 (CPUID leaf 1, ECX bit 0).
bool HasSse3();
// AVX2 with the 256-bit register state enabled by the system.
bool HasAvx2();
// AVX-512 F and VL with the 512-bit register state enabled by the system.
bool HasAvx512();

}  // namespace Dsp
