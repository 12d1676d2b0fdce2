// The desktop's dialogs through a stand-in dialog program alone on PATH (it logs its name and every
// argument it gets, and answers as each case says), the nothing-chosen results without one, and the
// folders by the XDG rules.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "framework/igraphicswin.h"

namespace {
// xdg-open exits with $TZ_OPEN; the dialog program prints $TZ_OUT and exits with $TZ_STATUS.
const char kStandIn[] =
    "#!/bin/sh\n"
    "{ echo \"[${0##*/}]\"; printf '%s\\n' \"$@\"; } >> \"$TZ_LOG\"\n"
    "[ \"${0##*/}\" = xdg-open ] && exit \"$TZ_OPEN\"\n"
    "printf '%s' \"$TZ_OUT\"\n"
    "exit \"$TZ_STATUS\"\n";

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tz-dialogs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::filesystem::create_directory(dir + "/kde");
        for (const char* tool : {"/zenity", "/xdg-open", "/kde/kdialog"}) {
            Write(dir + tool, kStandIn);
            chmod((dir + tool).c_str(), 0755);
        }
        setenv("TZ_LOG", (dir + "/log").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string TakeLog() {
        std::stringstream log;
        log << std::ifstream(dir + "/log").rdbuf();
        std::filesystem::remove(dir + "/log");
        return log.str();
    }

    std::string dir;
    IGraphicsWin editor{nullptr, 100, 100, 0};
};

using Call = std::function<std::string(IGraphicsWin&)>;
Call File(int action, const char* extensions) {
    return [=](IGraphicsWin& g) {
        GrowString file("my $(id) 'p'.fxp"), folder("/tmp/a b");
        g.AskForFile(&file, action, &folder, extensions);
        return std::string(file.Get()) + "|" + folder.Get();
    };
}
std::string Colour(IGraphicsWin& g) {
    IArgb start{255, 10, 20, 30};
    if (!g.AskForColour(&start, "Pick")) return "none";
    const IArgb& c = g.ChosenColour();
    return std::to_string(c.R) + "," + std::to_string(c.G) + "," + std::to_string(c.B);
}
Call Box(int type) {
    return [=](IGraphicsWin& g) { return std::to_string(g.ShowMessageBox("Sure? <b>", "Box", type)); };
}
std::string Url(IGraphicsWin& g) {
    return std::to_string(g.OpenUrl("https://example.org/a b", "Web", "Go?", "Failed"));
}

const std::string kOpen =
    "[zenity]\n--file-selection\n--title=Open\n--filename=/tmp/a b/my $(id) 'p'.fxp\n"
    "--file-filter=*.fxp *.fxb | *.fxp *.fxb\n";
const std::string kColour = "[zenity]\n--color-selection\n--color=#0a141e\n--title=Pick\n";
const std::string kYesNoCancel =
    "[zenity]\n--question\n--text=Sure? <b>\n--no-markup\n--title=Box\n--ok-label=Yes\n"
    "--cancel-label=Cancel\n--extra-button=No\n";
const std::string kGo =
    "[zenity]\n--question\n--text=Go?\n--no-markup\n--title=Web\n--ok-label=Yes\n--cancel-label=No\n";
const std::string kOpened = "[xdg-open]\nhttps://example.org/a b\n";

TEST_F(Dialogs, ResultsAreWhatTheProgramAnswered) {
    const struct {
        Call call;
        const char* out;
        int status, open;
        std::string result, log;
        bool kde = false;  // kdialog instead of zenity
    } cases[] = {
        {File(0, "fxp fxb"), "/home/u/x y.fxp\n", 0, 0, "/home/u/x y.fxp|/home/u/", kOpen},
        {File(0, "fxp fxb"), "", 1, 0, "|/tmp/a b", kOpen},
        {File(0, "fxp fxb"), "/home/u/x.fxp", 255, 0, "|/tmp/a b", kOpen},
        {File(1, "fxb"), "/tmp/new\n", 0, 0, "/tmp/new.fxb|/tmp/",
         "[zenity]\n--file-selection\n--title=Save As\n--filename=/tmp/a b/my $(id) 'p'.fxp\n--save\n"
         "--confirm-overwrite\n--file-filter=*.fxb | *.fxb\n"},
        {Colour, "rgb(255,128,0)\n", 0, 0, "255,128,0", kColour},
        {Colour, "#00ff80", 0, 0, "0,255,128", kColour},
        {Colour, "", 1, 0, "none", kColour},
        {Colour, "rgb(1,2,3)", 1, 0, "none", kColour},
        {Box(3), "No\n", 1, 0, "7", kYesNoCancel},
        {Box(3), "", 1, 0, "2", kYesNoCancel},
        {Box(3), "", 0, 0, "6", kYesNoCancel},
        {Box(0x10), "", 0, 0, "1", "[zenity]\n--error\n--text=Sure? <b>\n--no-markup\n--title=Box\n"},
        {Url, "", 0, 0, "1", kGo + kOpened},
        {Url, "", 1, 0, "0", kGo},
        {Url, "", 0, 3, "0", kGo + kOpened + "[zenity]\n--info\n--text=Failed\n--no-markup\n--title=Web\n"},
        {Box(3), "", 1, 0, "7",
         "[kdialog]\n--yesnocancel=Sure? <b>\n--title=Box\n--yes-label=Yes\n--no-label=No\n--cancel-label=Cancel\n",
         true},
        {Box(3), "", 2, 0, "2",
         "[kdialog]\n--yesnocancel=Sure? <b>\n--title=Box\n--yes-label=Yes\n--no-label=No\n--cancel-label=Cancel\n",
         true},
        {File(1, "fxb"), "/tmp/new\n", 0, 0, "/tmp/new.fxb|/tmp/",
         "[kdialog]\n--title=Save As\n--getsavefilename=/tmp/a b/my $(id) 'p'.fxp\n*.fxb\n", true},
        {Colour, "#0a0B0c\n", 0, 0, "10,11,12", "[kdialog]\n--getcolor\n--default=#0a141e\n--title=Pick\n", true},
    };
    for (const auto& c : cases) {
        setenv("PATH", (c.kde ? dir + "/kde" : dir).c_str(), 1);
        setenv("TZ_OUT", c.out, 1);
        setenv("TZ_STATUS", std::to_string(c.status).c_str(), 1);
        setenv("TZ_OPEN", std::to_string(c.open).c_str(), 1);
        EXPECT_EQ(c.call(editor), c.result) << c.log;
        EXPECT_EQ(TakeLog(), c.log);
    }

    setenv("PATH", (dir + "/none").c_str(), 1);  // no dialog program, no xdg-open
    const struct {
        Call call;
        std::string result;
    } nothing[] = {{File(0, "fxp"), "|/tmp/a b"}, {Colour, "none"}, {Box(3), "0"}, {Url, "0"}};
    for (const auto& c : nothing) EXPECT_EQ(c.call(editor), c.result);
    EXPECT_EQ(TakeLog(), "");
}

TEST_F(Dialogs, FoldersFollowTheXdgRules) {
    const std::string home = dir + "/home";
    std::filesystem::create_directories(home + "/.config");
    std::filesystem::create_directories(dir + "/cfg");
    Write(home + "/.config/user-dirs.dirs", "# the desktop\n  XDG_DESKTOP_DIR=\"/data/Desk \\\"top\\\"\"\n");
    Write(dir + "/cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"/old\"\nXDG_DESKTOP_DIR=\"$HOME/Bureau/\"\n");
    setenv("HOME", home.c_str(), 1);
    const struct {
        std::string configHome;  // "": unset
        const char* configDirs;  // null: unset
        std::string appData, allUsers, desktop;
    } cases[] = {
        {"", nullptr, home + "/.config", "/etc/xdg", "/data/Desk \"top\""},
        {dir + "/cfg/", "/opt/xdg/:/etc/xdg", dir + "/cfg", "/opt/xdg", home + "/Bureau"},
        {"relative/cfg", "relative:/etc/b", home + "/.config", "/etc/xdg", "/data/Desk \"top\""},
        {dir + "/empty", "", dir + "/empty", "/etc/xdg", home + "/Desktop"},
    };
    for (const auto& c : cases) {
        c.configHome.empty() ? unsetenv("XDG_CONFIG_HOME") : setenv("XDG_CONFIG_HOME", c.configHome.c_str(), 1);
        c.configDirs ? setenv("XDG_CONFIG_DIRS", c.configDirs, 1) : unsetenv("XDG_CONFIG_DIRS");
        GrowString appData, allUsers, desktop;
        editor.GetUserAppDataFolder(&appData);
        editor.GetAppDataFolder(&allUsers, true);
        editor.GetDesktopFolder(&desktop);
        EXPECT_EQ(appData.Get(), c.appData);
        EXPECT_EQ(allUsers.Get(), c.allUsers);
        EXPECT_EQ(desktop.Get(), c.desktop);
    }

    // The test program holds this code: host and plug-in are the program's folder.
    GrowString host, plugin;
    editor.GetHostFolder(&host);
    editor.GetPluginFolder(&plugin);
    EXPECT_EQ(host.Get(), std::string(TZ_TEST_PROGRAM_DIR "/"));
    EXPECT_EQ(plugin.Get(), std::string(TZ_TEST_PROGRAM_DIR "/"));
}
}  // namespace
