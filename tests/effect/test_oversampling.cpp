#include "effect/oversampling.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(OversamplingForSampleRate, FactorsAndExactBoundaries)
{
    EXPECT_EQ(OversamplingForSampleRate(8000), 4);
    EXPECT_EQ(OversamplingForSampleRate(44100), 4);
    EXPECT_EQ(OversamplingForSampleRate(48000), 4);
    EXPECT_EQ(OversamplingForSampleRate(88199.999), 4);
    EXPECT_EQ(OversamplingForSampleRate(88200), 2);
    EXPECT_EQ(OversamplingForSampleRate(96000), 2);
    EXPECT_EQ(OversamplingForSampleRate(191999.999), 2);
    EXPECT_EQ(OversamplingForSampleRate(192000), 1);
    EXPECT_EQ(OversamplingForSampleRate(384000), 1);
    EXPECT_EQ(OversamplingForSampleRate(NAN), 1);
}
