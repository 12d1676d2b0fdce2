#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "base/byteblock.h"
#include "base/growbuffer.h"
#include "base/growstring.h"
#include "base/pointerlist.h"

namespace {
void* FailingRealloc(void*, unsigned long) { return nullptr; }
void* FailingMalloc(unsigned long) { return nullptr; }

// Makes every allocation fail for the lifetime of the object.
struct OutOfMemory {
    OutOfMemory() { GrowBuffer::SetAllocatorForTesting(FailingRealloc, FailingMalloc); }
    ~OutOfMemory() { GrowBuffer::SetAllocatorForTesting(nullptr, nullptr); }
};

struct Counted {
    static int alive;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};
int Counted::alive = 0;
}  // namespace

TEST(GrowBuffer, CapacitiesFollowTheGrowthRule) {
    GrowBuffer pages(4096);
    const int sizes[] = {8, 4000, 4001, 20000}, pageCapacities[] = {4000, 4000, 8096, 24480};
    for (int i = 0; i < 4; ++i) {
        pages.Resize(sizes[i], false);
        EXPECT_EQ(pages.GetCapacity(), pageCapacities[i]) << sizes[i];
    }
    GrowBuffer text(128);
    text.Resize(6, false);
    EXPECT_EQ(text.GetCapacity(), 134);
    text.Resize(300, false);
    EXPECT_EQ(text.GetCapacity(), 450);
}

TEST(GrowBuffer, ShrinkingKeepsOrFreesMemoryAsAsked) {
    GrowBuffer buffer(4096);
    buffer.Resize(100, false);
    buffer.Resize(0, false);
    EXPECT_EQ(buffer.GetSize(), 0);
    EXPECT_EQ(buffer.GetCapacity(), 4000);
    EXPECT_EQ(buffer.Get(), nullptr);

    buffer.Resize(100, false);
    EXPECT_EQ(buffer.Resize(-5, true), nullptr);
    EXPECT_EQ(buffer.GetCapacity(), 0);

    // Below 16384 bytes of capacity a page-granular buffer never moves to smaller memory.
    buffer.Resize(12000, false);
    const int capacity = buffer.GetCapacity();
    buffer.Resize(10, true);
    EXPECT_EQ(buffer.GetCapacity(), capacity);
    buffer.Resize(100000, false);
    buffer.Resize(10, true);
    EXPECT_EQ(buffer.GetCapacity(), 4000);
}

TEST(GrowBuffer, FailedGrowthKeepsContents) {
    GrowBuffer buffer(128);
    std::memcpy(buffer.Resize(4, false), "abc", 4);
    const int capacity = buffer.GetCapacity();
    {
        OutOfMemory oom;
        buffer.Resize(10000, false);
        buffer.Resize(0x7FFFFFF0, false);  // its capacity is computed without overflowing
    }
    EXPECT_EQ(buffer.GetSize(), 4);
    EXPECT_EQ(buffer.GetCapacity(), capacity);
    EXPECT_STREQ(static_cast<char*>(buffer.Get()), "abc");
}

TEST(GrowString, EmptyNullAndOffsets) {
    GrowString none(nullptr);
    EXPECT_STREQ(none.Get(), "");
    EXPECT_EQ(none.GetCapacity(), 0);

    GrowString s;
    s.Set(3, "xyz", 0);
    EXPECT_EQ(s.GetSize(), 0);
    s.Set(0, "xyz", 0);
    EXPECT_EQ(s.GetSize(), 1);
    EXPECT_STREQ(s.Get(), "");

    GrowString cut("abcdef", 3);
    EXPECT_STREQ(cut.Get(), "abc");
    cut.Set(1, "Z", 1);
    EXPECT_STREQ(cut.Get(), "aZ");
    EXPECT_EQ(cut.GetSize(), 3);
    cut.Set(-1, "Z", 1);
    EXPECT_STREQ(cut.Get(), "aZ");
}

TEST(GrowString, SetFromItsOwnTextWhileTheMemoryMoves) {
    GrowString s("0123456789");
    // Appending the string to itself needs more memory than it has, so the text pointer must follow.
    s.Set(s.GetSize() - 1, s.Get(), 10);
    EXPECT_STREQ(s.Get(), "01234567890123456789");
    std::string longer(200, 'q');
    s.Set(0, longer.c_str(), 200);
    s.Set(150, s.Get(), 200);
    EXPECT_EQ(std::string(s.Get()), std::string(350, 'q'));
}

TEST(GrowString, SetFormattedCutsToMaxLen) {
    GrowString s;
    EXPECT_STREQ(s.SetFormatted(5, "%d", 12345678), "12345");
    EXPECT_STREQ(s.SetFormatted(20, "%s-%d", "ab", 7), "ab-7");
    EXPECT_EQ(s.GetSize(), 5);
    GrowString kept("keep");
    {
        OutOfMemory oom;
        kept.SetFormatted(500, "%s", "lost");
        kept.Set(0, std::string(400, 'x').c_str(), 400);
    }
    EXPECT_STREQ(kept.Get(), "keep");
}

TEST(PointerList, AddInsertDeleteOwnership) {
    {
        PointerList<Counted> list;
        Counted* a = new Counted;
        Counted* c = new Counted;
        list.Add(a);
        list.Add(c);
        list.Insert(99, new Counted);  // clamped to the end
        ASSERT_EQ(list.GetSize(), 3);
        EXPECT_EQ(list.Get(3), nullptr);
        EXPECT_EQ(list.Get(-1), nullptr);
        list.DeleteAt(3);
        list.DeleteAt(0);
        EXPECT_EQ(list.Get(0), c);
        EXPECT_EQ(Counted::alive, 2);
    }
    EXPECT_EQ(Counted::alive, 0);

    PointerList<Counted> list;
    Counted kept;
    OutOfMemory oom;
    EXPECT_FALSE(list.Add(&kept));
    EXPECT_FALSE(list.Insert(0, &kept));
    EXPECT_EQ(list.GetSize(), 0);
}

TEST(ByteBlock, LittleEndianAppendsAndBoundedReads) {
    IByteBlock block;
    block.PutInt32(0x01020304);
    block.PutDouble(1.0);
    block.PutByte(7);
    ASSERT_EQ(block.Size(), 13);
    const unsigned char expected[] = {4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 7};
    EXPECT_EQ(std::memcmp(block.GetBytes(), expected, 13), 0);

    int32_t i = 0;
    double d = 0;
    uint8_t b = 0;
    EXPECT_EQ(block.GetInt32(&i, 0), 4);
    EXPECT_EQ(block.GetDouble(&d, 4), 12);
    EXPECT_EQ(block.GetByte(&b, 12), 13);
    EXPECT_EQ(i, 0x01020304);
    EXPECT_EQ(d, 1.0);
    EXPECT_EQ(b, 7);

    d = 5.0;
    EXPECT_EQ(block.GetDouble(&d, 6), -1);  // only 7 bytes remain
    EXPECT_EQ(block.GetDouble(&d, -1), -1);
    EXPECT_EQ(block.GetDouble(&d, 0x7FFFFFF0), -1);
    EXPECT_EQ(d, 5.0);

    block.Clear();
    EXPECT_EQ(block.Size(), 0);
    EXPECT_EQ(block.GetCapacity(), 0);
}
