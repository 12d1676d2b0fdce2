// The plug-in format's declarations beyond layout (their headers check that at compile time):
// the version rule and the ids a host looks extensions up by.
#include "sdk/clap/entry.h"
#include "sdk/clap/ext_audio_ports.h"
#include "sdk/clap/ext_audio_ports_config.h"
#include "sdk/clap/ext_gui.h"
#include "sdk/clap/ext_latency.h"
#include "sdk/clap/ext_misc.h"
#include "sdk/clap/ext_params.h"
#include "sdk/clap/ext_posix_fd.h"
#include "sdk/clap/ext_state.h"
#include "sdk/clap/ext_timer.h"
#include "sdk/clap/process.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(ClapVersion, OnlyPreReleasesAreIncompatible) {
    const struct {
        Clap::Version version;
        bool compatible;
    } cases[] = {
        {{0, 0, 0}, false}, {{0, 99, 99}, false}, {{1, 0, 0}, true}, {Clap::kVersion, true}, {{2, 0, 0}, true}};
    for (const auto& c : cases)
        EXPECT_EQ(Clap::isCompatible(c.version), c.compatible) << c.version.major << "." << c.version.minor;
}

TEST(ClapIds, EveryFactoryAndExtensionIdIsDistinct) {
    const char* ids[] = {Clap::kPluginFactoryId,    Clap::kExtParams,      Clap::kExtState, Clap::kExtAudioPorts,
                         Clap::kExtLatency,         Clap::kExtTail,        Clap::kExtGui,   Clap::kExtTimerSupport,
                         Clap::kExtPosixFdSupport,  Clap::kExtThreadCheck, Clap::kExtLog,   Clap::kExtRender,
                         Clap::kExtAudioPortsConfig};
    std::set<std::string> seen;
    for (const char* id : ids) EXPECT_TRUE(seen.insert(id).second) << id;
}
