// The host's module loader refuses, with a message naming why, a module it cannot load, one
// without the entries Linux hosts require, and one whose ModuleEntry answers false.
#include <gtest/gtest.h>

#include <string>

#include "vst3_host.h"

TEST(Vst3Loader, RefusesModulesWithoutTheirEntries) {
    const struct {
        const char* module;
        const char* error;
    } cases[] = {{TZ_FAKE_DIR "/missing.so", "cannot load"},
                 {TZ_FAKE_DIR "/tz_fake_no_entry.so", "exports no ModuleEntry"},
                 {TZ_FAKE_DIR "/tz_fake_no_exit.so", "exports no ModuleExit"},
                 {TZ_FAKE_DIR "/tz_fake_refusing.so", "ModuleEntry refused"}};
    for (const auto& c : cases) {
        tzhost::Module module;
        std::string error;
        EXPECT_FALSE(module.Load(c.module, &error)) << c.module;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.module << ": " << error;
    }
}
