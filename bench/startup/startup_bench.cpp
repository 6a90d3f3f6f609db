// Start-up benchmark: time to the main menu's first paint and resident memory, against a trivial Qt window.
//
// Runs on its own X server (xvfb-run); both programs put their window in the
// middle of the screen, so the first paint is the moment the screen's centre
// pixel stops showing the root window's colour. Time runs from just before the
// program is spawned; memory is read from /proc while the window sits idle.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// Magenta: no window of the game paints its middle in it.
constexpr unsigned long RootColour = 0xFF00FF;
constexpr auto PaintTimeout = std::chrono::seconds(30);
constexpr auto SettleTime = std::chrono::milliseconds(500);
// Often enough for the figures, rarely enough not to keep the X server busy
// while the program under test talks to it.
constexpr auto PollInterval = std::chrono::milliseconds(2);

struct Sample {
    double milliseconds = 0;
    double cpuMilliseconds = 0;  // on the processor until the first paint, all threads
    long rssKiB = 0;
    long peakKiB = 0;
    unsigned long firstColour = 0;  // what the centre showed first, to tell a paint from a cleared window
};

struct Program {
    std::string label;
    std::string path;
    std::vector<Sample> samples;
};

long statusField(pid_t pid, const char *name)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::size_t length = std::strlen(name);
    while (std::getline(status, line))
        if (line.compare(0, length, name) == 0 && line.size() > length && line[length] == ':')
            return std::strtol(line.c_str() + length + 1, nullptr, 10);
    return -1;
}

// Time on the processor so far, summed over the process's threads: unlike the
// wall clock it hardly depends on what else the machine is doing.
double cpuMilliseconds(pid_t pid)
{
    double total = 0;
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double nanoseconds = 0;
        if (schedstat >> nanoseconds)
            total += nanoseconds / 1e6;
    }
    return total;
}

unsigned long centrePixel(Display *display, Window root, int x, int y)
{
    XImage *image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return RootColour;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

std::optional<Sample> measureOnce(Display *display, const std::string &path, const std::filesystem::path &scratch)
{
    const Window root = DefaultRootWindow(display);
    const int centreX = DisplayWidth(display, DefaultScreen(display)) / 2;
    const int centreY = DisplayHeight(display, DefaultScreen(display)) / 2;
    if (centrePixel(display, root, centreX, centreY) != RootColour) {
        std::fprintf(stderr, "the screen's centre is covered before the start\n");
        return std::nullopt;
    }

    // The player's own environment, with a hive of the benchmark's own.
    std::vector<std::string> variables;
    for (char **entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "XDG_CONFIG_HOME=", 16) != 0 && std::strncmp(*entry, "XDG_RUNTIME_DIR=", 16) != 0 &&
            std::strncmp(*entry, "QT_QPA_PLATFORM=", 16) != 0)
            variables.emplace_back(*entry);
    variables.push_back("XDG_CONFIG_HOME=" + (scratch / "config").string());
    variables.push_back("XDG_RUNTIME_DIR=" + (scratch / "runtime").string());
    variables.push_back("QT_QPA_PLATFORM=xcb");
    std::vector<char *> environment;
    for (std::string &variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);
    std::string program = path;
    char *arguments[] = {program.data(), nullptr};

    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, arguments, environment.data()) != 0) {
        std::perror("posix_spawn");
        return std::nullopt;
    }

    std::optional<Sample> sample;
    while (Clock::now() - start < PaintTimeout) {
        if (const unsigned long pixel = centrePixel(display, root, centreX, centreY); pixel != RootColour) {
            Sample measured;
            measured.firstColour = pixel;
            measured.cpuMilliseconds = cpuMilliseconds(pid);
            measured.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::this_thread::sleep_for(SettleTime);
            measured.rssKiB = statusField(pid, "VmRSS");
            measured.peakKiB = statusField(pid, "VmHWM");
            sample = measured;
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "%s ended before painting\n", path.c_str());
            return std::nullopt;
        }
        std::this_thread::sleep_for(PollInterval);
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    // Wait for the window to go, so the next run starts on a bare screen.
    while (centrePixel(display, root, centreX, centreY) != RootColour)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!sample)
        std::fprintf(stderr, "%s painted nothing within %lld s\n", path.c_str(),
                     static_cast<long long>(PaintTimeout.count()));
    return sample;
}

template <typename Value>
double median(std::vector<Sample> samples, Value value)
{
    std::vector<double> values;
    for (const Sample &sample : samples)
        values.push_back(static_cast<double>(value(sample)));
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char *argv[])
{
    int runs = 9;
    Program game{"game (main menu)", SUDOKU_GAME_PATH, {}};
    Program trivial{"trivial window", SUDOKU_TRIVIAL_WINDOW_PATH, {}};
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--game" && i + 1 < argc)
            game.path = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--runs N] [--game PROGRAM]   (on an X server of its own)\n", argv[0]);
            return 2;
        }
    }

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X server: run under xvfb-run -a -s \"-screen 0 1280x1024x24\"\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSetWindowBackground(display, root, RootColour);
    XClearWindow(display, root);
    XSync(display, False);

    char pattern[] = "/tmp/sudoku-startup-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path scratch = pattern;
    std::filesystem::create_directories(scratch / "config");
    std::filesystem::create_directories(scratch / "runtime");
    std::filesystem::permissions(scratch / "runtime", std::filesystem::perms::owner_all);

    // One unmeasured start each: the game writes its installation record on its
    // first start, and the file cache fills.
    for (Program *program : {&game, &trivial})
        if (!measureOnce(display, program->path, scratch))
            return 1;
    // Interleaved, so a busy moment on the machine hurts both alike.
    for (int run = 0; run < runs; ++run)
        for (Program *program : {&game, &trivial}) {
            std::optional<Sample> sample = measureOnce(display, program->path, scratch);
            if (!sample)
                return 1;
            program->samples.push_back(*sample);
        }
    std::filesystem::remove_all(scratch);
    XCloseDisplay(display);

    for (const Program *program : {&game, &trivial}) {
        std::printf("%-20s", program->label.c_str());
        for (const Sample &sample : program->samples)
            std::printf(" %6.1f ms #%06lx", sample.milliseconds, sample.firstColour);
        std::printf("\n");
    }
    std::printf("%d runs each, medians:\n", runs);
    std::printf("%-20s %12s %12s %12s %12s\n", "", "first paint", "CPU", "VmRSS", "VmHWM");
    for (const Program *program : {&game, &trivial})
        std::printf("%-20s %9.1f ms %9.1f ms %8.0f KiB %8.0f KiB\n", program->label.c_str(),
                    median(program->samples, [](const Sample &s) { return s.milliseconds; }),
                    median(program->samples, [](const Sample &s) { return s.cpuMilliseconds; }),
                    median(program->samples, [](const Sample &s) { return s.rssKiB; }),
                    median(program->samples, [](const Sample &s) { return s.peakKiB; }));
    const double timeRatio = median(game.samples, [](const Sample &s) { return s.milliseconds; }) /
                             median(trivial.samples, [](const Sample &s) { return s.milliseconds; });
    const double memoryRatio = median(game.samples, [](const Sample &s) { return s.rssKiB; }) /
                               median(trivial.samples, [](const Sample &s) { return s.rssKiB; });
    const double cpuRatio = median(game.samples, [](const Sample &s) { return s.cpuMilliseconds; }) /
                            median(trivial.samples, [](const Sample &s) { return s.cpuMilliseconds; });
    const double peakRatio = median(game.samples, [](const Sample &s) { return s.peakKiB; }) /
                             median(trivial.samples, [](const Sample &s) { return s.peakKiB; });
    std::printf("ratio to the trivial window: time %.2fx (target <= 1.5x), memory %.2fx (target <= 1.3x), "
                "processor time %.2fx, peak memory %.2fx\n",
                timeRatio, memoryRatio, cpuRatio, peakRatio);
    return 0;
}
