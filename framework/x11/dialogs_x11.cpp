// IGraphicsWin on Linux: the services a plug-in calls through its editor — message boxes and the file
// and colour choosers (shown by the desktop's dialog program, zenity or else kdialog, as desktop
// programs do; "nothing chosen" when neither is installed), opening a web address (xdg-open) and the
// well-known folders by the XDG rules. Callers get the results the Windows dialogs give them. All run
// on the editor window's thread; the dialogs are modal: the call waits for the program. Programs are
// started without a shell, every text one argument of its own.
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "framework/igraphicswin.h"

namespace {
// The Windows message box codes callers pass and get back.
enum : int { kTypeOk = 0, kTypeYesNo = 4, kIconError = 0x10, kIconWarning = 0x30, kIconMask = 0xF0 };
enum : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAbort = 3,
    kIdRetry = 4,
    kIdIgnore = 5,
    kIdYes = 6,
    kIdNo = 7,
    kIdTryAgain = 10,
    kIdContinue = 11,
};

// The buttons of each box type (its low four bits): first the one the dialog's OK gives, last the one
// closing it gives, any other between them.
struct Buttons {
    int count;
    const char* labels[3];
    int ids[3];
};
const Buttons kButtons[] = {
    {1, {"OK"}, {kIdOk}},
    {2, {"OK", "Cancel"}, {kIdOk, kIdCancel}},
    {3, {"Retry", "Ignore", "Abort"}, {kIdRetry, kIdIgnore, kIdAbort}},
    {3, {"Yes", "No", "Cancel"}, {kIdYes, kIdNo, kIdCancel}},
    {2, {"Yes", "No"}, {kIdYes, kIdNo}},
    {2, {"Retry", "Cancel"}, {kIdRetry, kIdCancel}},
    {3, {"Try Again", "Continue", "Cancel"}, {kIdTryAgain, kIdContinue, kIdCancel}},
};

using Args = std::vector<std::string>;
enum class Tool { None, Zenity, Kdialog };

bool OnPath(const char* name) {
    const char* path = std::getenv("PATH");
    for (const char* p = path; p && *p;) {
        const char* end = std::strchr(p, ':');
        const std::string dir(p, end ? static_cast<size_t>(end - p) : std::strlen(p));
        if (access(((dir.empty() ? "." : dir) + "/" + name).c_str(), X_OK) == 0) return true;
        p = end ? end + 1 : nullptr;
    }
    return false;
}

Tool DialogTool() {
    if (OnPath("zenity")) return Tool::Zenity;
    return OnPath("kdialog") ? Tool::Kdialog : Tool::None;
}

// In a new child: stdin and stderr from null, stdout to out, no other descriptor of the host, then
// args[0] found on PATH. Only calls that are safe between fork and exec.
[[noreturn]] void ExecChild(char* const* argv, int out, int null) {
    dup2(null, 0);
    dup2(out, 1);
    dup2(null, 2);
    for (int fd = 0; fd < 3; ++fd) fcntl(fd, F_SETFD, 0);  // a dup2 onto itself keeps close-on-exec
    if (syscall(SYS_close_range, 3u, ~0u, 0u) != 0)
        for (int fd = 3; fd < 1024; ++fd) close(fd);
    execvp(argv[0], argv);
    _exit(127);
}

std::vector<char*> Argv(const Args& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

int ExitCode(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs args and waits for it: its exit code (-1 when it could not run or was killed), its output in out
// without the line feeds that end it.
int Run(const Args& args, std::string* out) {
    out->clear();
    std::vector<char*> argv = Argv(args);
    int pipeFds[2];
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null < 0 || pipe2(pipeFds, O_CLOEXEC) != 0) {
        if (null >= 0) close(null);
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) ExecChild(argv.data(), pipeFds[1], null);
    close(pipeFds[1]);
    close(null);
    char chunk[4096];
    for (ssize_t n; pid > 0 && ((n = read(pipeFds[0], chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR));)
        if (n > 0 && out->size() < 65536) out->append(chunk, static_cast<size_t>(n));
    close(pipeFds[0]);
    while (!out->empty() && out->back() == '\n') out->pop_back();
    return pid > 0 ? ExitCode(pid) : -1;
}

// Starts args without waiting for more than kLaunchWaitMs: true when it exits with 0 in that time or
// still runs then (a browser started in the foreground). A middle process does the waiting and
// leaves the program to the system, so no child of ours is left behind.
bool Launch(const Args& args) {
    constexpr int kLaunchWaitMs = 2000, kStepMs = 20;
    std::vector<char*> argv = Argv(args);
    const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null < 0) return false;
    const pid_t middle = fork();
    if (middle == 0) {
        const pid_t child = fork();
        if (child == 0) ExecChild(argv.data(), null, null);
        const timespec step{0, kStepMs * 1000000L};
        int status = 0;
        for (int waited = 0; child > 0 && waited < kLaunchWaitMs; waited += kStepMs) {
            if (waitpid(child, &status, WNOHANG) == child) _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
            nanosleep(&step, nullptr);
        }
        _exit(child > 0 ? 0 : 1);
    }
    close(null);
    return middle > 0 && ExitCode(middle) == 0;
}

// A text as an argument; "" for null.
std::string Text(const char* text) { return text ? text : ""; }

// Which button of b closed the box, from the program's exit code and output; -1 when none did.
int ButtonIndex(Tool tool, const Buttons& b, int code, const std::string& out) {
    if (code == 0) return 0;
    if (b.count == 1) return code == 1 ? 0 : -1;
    if (tool == Tool::Kdialog) return code > 0 && code < b.count ? code : -1;
    if (code != 1) return -1;
    return b.count == 3 && out == b.labels[1] ? 1 : b.count - 1;
}

Args MessageArgs(Tool tool, const Buttons& b, const char* text, const char* caption, int type) {
    const int icon = type & kIconMask;
    if (tool == Tool::Zenity) {
        const char* kind = b.count > 1 ? "--question"
                                       : (icon == kIconError     ? "--error"
                                          : icon == kIconWarning ? "--warning"
                                                                 : "--info");
        Args args{"zenity", kind, "--text=" + Text(text), "--no-markup"};
        if (caption) args.push_back("--title=" + Text(caption));
        if (b.count > 1) {
            args.push_back(std::string("--ok-label=") + b.labels[0]);
            args.push_back(std::string("--cancel-label=") + b.labels[b.count - 1]);
        }
        if (b.count == 3) args.push_back(std::string("--extra-button=") + b.labels[1]);
        return args;
    }
    const char* kind = b.count == 3   ? "--yesnocancel="
                       : b.count == 2 ? "--yesno="
                                      : (icon == kIconError     ? "--error="
                                         : icon == kIconWarning ? "--sorry="
                                                                : "--msgbox=");
    Args args{"kdialog", kind + Text(text)};
    if (caption) args.push_back("--title=" + Text(caption));
    static const char* const kLabelOptions[] = {"--yes-label=", "--no-label=", "--cancel-label="};
    for (int i = 0; b.count > 1 && i < b.count; ++i) args.push_back(kLabelOptions[i] + std::string(b.labels[i]));
    return args;
}

// "#rrggbb", "#rrrrggggbbbb" (16 bits a channel), "rgb(r,g,b)" or "rgba(r,g,b,a)" with 0..255.
bool ParseColour(const std::string& s, IArgb* colour) {
    int r = -1, g = -1, b = -1, end = 0;
    const size_t digits = s.size() - 1;
    if (s[0] == '#' && (digits == 6 || digits == 12) &&
        s.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos) {
        const int width = static_cast<int>(digits / 3);
        auto channel = [&](int i) { return std::stoi(s.substr(1 + i * width, 2), nullptr, 16); };
        r = channel(0), g = channel(1), b = channel(2);
    } else if (std::sscanf(s.c_str(), "rgb(%d,%d,%d)%n", &r, &g, &b, &end) != 3 || end != static_cast<int>(s.size())) {
        if (std::sscanf(s.c_str(), "rgba(%d,%d,%d,", &r, &g, &b) != 3) return false;
    }
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return false;
    colour->R = r, colour->G = g, colour->B = b;
    return true;
}

// "fxp fxb" → {"*.fxp", "*.fxb"}.
std::vector<std::string> Patterns(const char* extensions) {
    std::vector<std::string> patterns;
    for (const char* p = extensions; p && *p;) {
        while (*p == ' ') ++p;
        const char* end = std::strchr(p, ' ');
        const size_t n = end ? static_cast<size_t>(end - p) : std::strlen(p);
        if (n) patterns.push_back("*." + std::string(p, n));
        p += n;
    }
    return patterns;
}

void SetFolder(const std::string& folder, GrowString* path) {
    std::string f = folder;
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    path->Set(0, f.c_str(), static_cast<int>(f.size()));
}

// Keeps everything up to and including the last slash; "" when there is none or nothing follows.
void ContainingFolder(const char* file, GrowString* path) {
    const char* slash = std::strrchr(file, '/');
    path->Set(0, file, slash && slash[1] ? static_cast<int>(slash - file + 1) : 0);
}

// An environment variable holding an absolute path (the XDG rules ignore relative ones); "" otherwise.
std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : "";
}

std::string ConfigHome() {
    const std::string config = AbsoluteEnv("XDG_CONFIG_HOME"), home = AbsoluteEnv("HOME");
    return !config.empty() ? config : home.empty() ? "" : home + "/.config";
}

// The desktop's entry in the user's folder list: a quoted "$HOME/..." or absolute path, the last such
// line counting; "" when there is none.
std::string ListedDesktop(const std::string& home) {
    FILE* list = std::fopen((ConfigHome() + "/user-dirs.dirs").c_str(), "r");
    if (!list) return "";
    std::string found;
    char line[4096];
    const char kKey[] = "XDG_DESKTOP_DIR=\"";
    while (std::fgets(line, sizeof line, list)) {
        const char* p = line;
        while (*p == ' ' || *p == '\t') ++p;
        if (std::strncmp(p, kKey, sizeof kKey - 1) != 0) continue;
        std::string value;
        for (p += sizeof kKey - 1; *p && *p != '"'; ++p) value += *p == '\\' && p[1] ? *++p : *p;
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
            found = home + value.substr(5);
        else if (value[0] == '/')
            found = value;
    }
    std::fclose(list);
    return found;
}
}  // namespace

int IGraphicsWin::ShowMessageBox(const char* text, const char* caption, int type) {
    const size_t kind = static_cast<size_t>(type & 0xF);
    const Tool tool = DialogTool();
    if (kind >= sizeof kButtons / sizeof kButtons[0] || tool == Tool::None) return 0;
    const Buttons& b = kButtons[kind];
    std::string out;
    const int code = Run(MessageArgs(tool, b, text, caption, type), &out);
    const int index = ButtonIndex(tool, b, code, out);
    return index < 0 ? 0 : b.ids[index];
}

void IGraphicsWin::GetHostFolder(GrowString* path) {
    char name[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", name, sizeof name - 1);
    name[n > 0 ? n : 0] = 0;
    ContainingFolder(name, path);
}

// The module this code is linked into: the plug-in's shared object, or the program itself.
void IGraphicsWin::GetPluginFolder(GrowString* path) {
    Dl_info info{};
    link_map* module = nullptr;
    if (!dladdr1(reinterpret_cast<void*>(&ContainingFolder), &info, reinterpret_cast<void**>(&module),
                 RTLD_DL_LINKMAP) ||
        !module || !module->l_name || !module->l_name[0]) {
        GetHostFolder(path);
        return;
    }
    char* real = realpath(module->l_name, nullptr);
    ContainingFolder(real ? real : module->l_name, path);
    std::free(real);
}

void IGraphicsWin::GetDesktopFolder(GrowString* path) {
    const std::string home = AbsoluteEnv("HOME"), listed = home.empty() ? "" : ListedDesktop(home);
    SetFolder(!listed.empty() ? listed : home.empty() ? "" : home + "/Desktop", path);
}

void IGraphicsWin::GetAppDataFolder(GrowString* path, bool allUsers) {
    if (!allUsers) {
        SetFolder(ConfigHome(), path);
        return;
    }
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    const char* end = dirs ? std::strchr(dirs, ':') : nullptr;
    const std::string first = dirs ? std::string(dirs, end ? static_cast<size_t>(end - dirs) : std::strlen(dirs)) : "";
    SetFolder(first[0] == '/' ? first : "/etc/xdg", path);
}

void IGraphicsWin::AskForFile(GrowString* fileName, int action, GrowString* folder, const char* extensions) {
    const Tool tool = DialogTool();
    if (!folder->Get()[0]) GetDesktopFolder(folder);
    const std::string name = fileName->Get(), dir = folder->Get();
    const std::string start = name[0] == '/' ? name : dir + (dir.empty() || dir.back() == '/' ? "" : "/") + name;
    const std::vector<std::string> patterns = Patterns(extensions);
    std::string filter;
    for (const std::string& p : patterns) filter += (filter.empty() ? "" : " ") + p;
    const bool save = action == 1;
    Args args;
    if (tool == Tool::Zenity) {
        args = {"zenity", "--file-selection", save ? "--title=Save As" : "--title=Open", "--filename=" + start};
        if (save) args.insert(args.end(), {"--save", "--confirm-overwrite"});
        if (!filter.empty()) args.push_back("--file-filter=" + filter + " | " + filter);
    } else if (tool == Tool::Kdialog) {
        args = {"kdialog", save ? "--title=Save As" : "--title=Open",
                (save ? "--getsavefilename=" : "--getopenfilename=") + start};
        if (!filter.empty()) args.push_back(filter);
    }
    std::string chosen;
    if (args.empty() || Run(args, &chosen) != 0 || chosen.empty() || chosen.find('\n') != std::string::npos) {
        fileName->Set(0, "", 0);
        return;
    }
    // As on Windows, a saved name typed without an extension gets the first one (of up to 15 characters).
    const size_t base = chosen.rfind('/') + 1;
    if (save && !patterns.empty() && patterns[0].size() <= 2 + 15 && chosen.find('.', base) == std::string::npos)
        chosen += patterns[0].substr(1);
    fileName->Set(0, chosen.c_str(), static_cast<int>(chosen.size()));
    if (base > 0) folder->Set(0, chosen.c_str(), static_cast<int>(base));
}

bool IGraphicsWin::AskForColour(IArgb* start, const char* prompt) {
    const Tool tool = DialogTool();
    if (!start || tool == Tool::None) return false;
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", start->R & 255, start->G & 255, start->B & 255);
    Args args = tool == Tool::Zenity ? Args{"zenity", "--color-selection", std::string("--color=") + hex}
                                     : Args{"kdialog", "--getcolor", std::string("--default=") + hex};
    if (prompt) args.push_back("--title=" + Text(prompt));
    std::string out;
    return Run(args, &out) == 0 && !out.empty() && ParseColour(out, &mChosenColour);
}

bool IGraphicsWin::OpenUrl(const char* url, const char* caption, const char* confirm, const char* failure) {
    if (confirm && ShowMessageBox(confirm, caption, kTypeYesNo) != kIdYes) return false;
    if (url && Launch({"xdg-open", url})) return true;
    if (failure) ShowMessageBox(failure, caption, kTypeOk);
    return false;
}
