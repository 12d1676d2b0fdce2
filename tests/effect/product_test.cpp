#include "effect/product.h"

#include <gtest/gtest.h>

// The packed version the bindings report, from its text: each part in its own field.
TEST(Product, PackVersion) {
    const struct {
        const char* text;
        int32_t packed;
    } cases[] = {{"3.1.4", 0x30104}, {"2.10.3", 0x20A03}, {"12.0.255", 0xC00FF}, {"0.4", 0x400}};
    for (const auto& c : cases) EXPECT_EQ(Product::PackVersion(c.text), c.packed) << c.text;
}
