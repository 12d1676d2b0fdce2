// The AAX render allocates nothing, whatever frame count each block brings: shorter and longer
// than the size prepared at construction, alternating. Its own program, as it replaces operator
// new (counted_allocation.cpp).
#include <gtest/gtest.h>

#include <vector>

#include "counted_allocation.h"
#include "framework/igraphicswin.h"
#include "linked_exports.h"

using namespace aaxhost;

namespace {
// Before any instance loads them: the headless editor reads the images from the source tree.
const bool kImageFolderSet = (IGraphicsWin::SetImageFolder(TZ_SOURCE_DIR), true);
}  // namespace

TEST(AaxRender, BlocksOfChangingSizeAllocateNothing) {
    Host host;
    host.recording = false;  // the host's own record would allocate
    Session session(host, aaxtest::Linked());
    ASSERT_EQ(session.Register(), 0);
    Instance instance(session);
    ASSERT_TRUE(instance.Valid());
    std::vector<float> in[2] = {std::vector<float>(8192, 0.25f), std::vector<float>(8192, -0.5f)};
    std::vector<float> out[2] = {std::vector<float>(8192), std::vector<float>(8192)};
    float* ip[] = {in[0].data(), in[1].data()};
    float* op[] = {out[0].data(), out[1].data()};
    const int sizes[] = {512, 2048, 100, 8192, 1024, 1};
    for (bool bypass : {false, true}) {
        instance.Update("", bypass ? 1.0 : 0.0);
        const long made = CountAllocations([&] {
            for (int b = 0; b < 50; ++b) instance.Render(ip, op, sizes[b % 6]);
        });
        EXPECT_EQ(made, 0) << (bypass ? "bypassed" : "processing");
    }
}
