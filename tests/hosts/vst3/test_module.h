#pragma once
// The built module under test, loaded once per test program.
#include <gtest/gtest.h>

#include <string>

#include "vst3_host.h"

inline tzhost::Module& TheModule() {
    static tzhost::Module module;
    static bool loaded = [] {
        std::string error;
        bool ok = module.Load(TZ_VST3_MODULE, &error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }();
    (void)loaded;
    return module;
}
