// The process-wide bitmap cache from several threads at once (editors of several instances), for
// ThreadSanitizer in the tsan preset: every entry one thread adds, the others find.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/igraphics.h"
#include "raster/bitmap.h"

TEST(GuiCaches, BitmapsAddedAndFoundFromFourThreads) {
    constexpr int kThreads = 4, kEach = 50, kFirstId = 90000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kEach; ++i) {
                bool found = true;
                const int id = kFirstId + t * kEach + i;
                EXPECT_EQ(FindCachedBitmap(id, &found), nullptr);
                EXPECT_FALSE(found);
                CacheBitmap(id, new PIX_MemBitmap(1, 1));
                FindCachedBitmap(kFirstId + ((t + 1) % kThreads) * kEach + i, &found);  // another thread's
            }
        });
    }
    for (std::thread& t : threads) t.join();
    for (int id = kFirstId; id < kFirstId + kThreads * kEach; ++id) {
        bool found = false;
        EXPECT_NE(FindCachedBitmap(id, &found), nullptr) << id;
    }
}
