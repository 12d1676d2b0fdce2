#pragma once

// Oversampling factor for a host sample rate in Hz: 4 below 88200, 2 below 192000, else 1
// (also for a rate that is not a number).
int OversamplingForSampleRate(double sampleRate);
