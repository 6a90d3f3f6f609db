// Start-up benchmark: the game against a trivial Qt window, from launch to the main menu on the screen.
//
// Runs on its own X server (xvfb-run). For every start it measures, from just
// before the program is spawned: the first map of a top-level window (a
// MapNotify, seen by watching the root window's children; no polling), the
// first paint (both programs put their window in the middle of the screen, so
// the moment the screen's centre stops showing the root window's colour), the
// processor time used until then, and the resident memory while the window sits
// idle. GNOME Sudoku and KSudoku join the run when they are installed (time to
// map and memory only: they place their windows themselves). Last, the game's
// windows are shown one by one in a program of their own
// (bench_startup_window_shows), for what each window's first show costs.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
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
// Programs that place their windows themselves are left longer before their memory is read.
constexpr auto SettleTimeUnplaced = std::chrono::seconds(2);
// Often enough for the figures, rarely enough not to keep the X server busy
// while the program under test talks to it.
constexpr auto PollInterval = std::chrono::milliseconds(2);

struct Sample {
    double mapMilliseconds = 0;
    double paintMilliseconds = 0;
    double cpuMilliseconds = 0;  // on the processor until the first paint (the map, for others), all threads
    long rssKiB = 0;
    long peakKiB = 0;
};

struct Program {
    std::string label;
    std::string path;
    bool paintsCentre = true;  // puts its window in the middle of the screen
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

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The player's own environment, with a hive of the benchmark's own.
std::vector<std::string> environmentFor(const std::filesystem::path &scratch)
{
    std::vector<std::string> variables;
    for (char **entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "XDG_CONFIG_HOME=", 16) != 0 && std::strncmp(*entry, "XDG_RUNTIME_DIR=", 16) != 0 &&
            std::strncmp(*entry, "QT_QPA_PLATFORM=", 16) != 0)
            variables.emplace_back(*entry);
    variables.push_back("XDG_CONFIG_HOME=" + (scratch / "config").string());
    variables.push_back("XDG_RUNTIME_DIR=" + (scratch / "runtime").string());
    variables.push_back("QT_QPA_PLATFORM=xcb");
    return variables;
}

pid_t spawn(const std::string &path, const std::filesystem::path &scratch, int standardOutput = -1)
{
    std::vector<std::string> variables = environmentFor(scratch);
    std::vector<char *> environment;
    for (std::string &variable : variables)
        environment.push_back(variable.data());
    environment.push_back(nullptr);
    std::string program = path;
    char *arguments[] = {program.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&actions, standardOutput, STDOUT_FILENO);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, arguments, environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        std::fprintf(stderr, "cannot start %s: %s\n", path.c_str(), std::strerror(failed));
        return -1;
    }
    return pid;
}

std::optional<Sample> measureOnce(Display *display, const Program &program, const std::filesystem::path &scratch)
{
    const Window root = DefaultRootWindow(display);
    const int centreX = DisplayWidth(display, DefaultScreen(display)) / 2;
    const int centreY = DisplayHeight(display, DefaultScreen(display)) / 2;
    if (centrePixel(display, root, centreX, centreY) != RootColour) {
        std::fprintf(stderr, "the screen's centre is covered before the start\n");
        return std::nullopt;
    }
    // Forget the maps and unmaps of the previous run.
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn(program.path, scratch);
    if (pid < 0)
        return std::nullopt;

    Sample sample;
    bool mapped = false;
    bool painted = false;
    bool ended = false;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() - start < PaintTimeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !mapped && !event.xmap.override_redirect) {
                mapped = true;
                sample.mapMilliseconds = millisecondsSince(start);
                if (!program.paintsCentre)
                    sample.cpuMilliseconds = cpuMilliseconds(pid);
            }
        }
        if (program.paintsCentre && !painted && centrePixel(display, root, centreX, centreY) != RootColour) {
            sample.cpuMilliseconds = cpuMilliseconds(pid);
            sample.paintMilliseconds = millisecondsSince(start);
            painted = true;
        }
        if (mapped && (painted || !program.paintsCentre))
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "%s ended before showing its window\n", program.path.c_str());
            ended = true;
            break;
        }
        // Woken by the X server's next event, or in time for the next look at the centre.
        poll(&connection, 1, program.paintsCentre && !painted ? int(PollInterval.count()) : 100);
    }
    const bool shown = mapped && (painted || !program.paintsCentre);
    if (shown) {
        std::this_thread::sleep_for(program.paintsCentre ? SettleTime : SettleTimeUnplaced);
        sample.rssKiB = statusField(pid, "VmRSS");
        sample.peakKiB = statusField(pid, "VmHWM");
    }
    if (!ended) {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    // Wait for the window to go, so the next run starts on a bare screen.
    while (centrePixel(display, root, centreX, centreY) != RootColour)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!shown && !ended)
        std::fprintf(stderr, "%s showed nothing within %lld s\n", program.path.c_str(),
                     static_cast<long long>(PaintTimeout.count()));
    return shown ? std::optional<Sample>(sample) : std::nullopt;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <typename Value>
double median(const std::vector<Sample> &samples, Value value)
{
    std::vector<double> values;
    for (const Sample &sample : samples)
        values.push_back(static_cast<double>(value(sample)));
    return median(values);
}

std::string installed(const char *name)
{
    std::string directories = std::getenv("PATH") ? std::getenv("PATH") : "";
    directories += ":/usr/games";
    std::stringstream list(directories);
    std::string directory;
    while (std::getline(list, directory, ':'))
        if (!directory.empty() && access((directory + "/" + name).c_str(), X_OK) == 0)
            return directory + "/" + name;
    return {};
}

// One run of bench_startup_window_shows: per window, first show and later
// shows, wall and processor milliseconds.
std::map<std::string, std::array<double, 4>> windowShows(const std::string &path, const std::filesystem::path &scratch)
{
    std::map<std::string, std::array<double, 4>> shows;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return shows;
    const pid_t pid = spawn(path, scratch, pipeEnds[1]);
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, std::size_t(got));
    close(pipeEnds[0]);
    int status = 0;
    if (pid > 0)
        waitpid(pid, &status, 0);
    std::stringstream lines(output);
    std::string name;
    std::string line;
    while (std::getline(lines, line)) {
        std::stringstream fields(line);
        std::array<double, 4> values{};
        if (fields >> name >> values[0] >> values[1] >> values[2] >> values[3])
            shows[name] = values;
        else if (name == "reveal")
            shows[name] = values;   // one figure: milliseconds per given beyond the pauses
    }
    return shows;
}

}  // namespace

int main(int argc, char *argv[])
{
    int runs = 9;
    std::string windowShowsPath = SUDOKU_WINDOW_SHOWS_PATH;
    std::vector<Program> programs{{"game (main menu)", SUDOKU_GAME_PATH, true, {}},
                                  {"trivial window", SUDOKU_TRIVIAL_WINDOW_PATH, true, {}}};
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--game" && i + 1 < argc)
            programs[0].path = argv[++i];
        else if (argument == "--window-shows" && i + 1 < argc)
            windowShowsPath = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--runs N] [--game PROGRAM] [--window-shows PROGRAM]   (on an X server of its own)\n", argv[0]);
            return 2;
        }
    }
    for (const auto &[label, name] : {std::pair{"GNOME Sudoku", "gnome-sudoku"}, std::pair{"KSudoku", "ksudoku"}})
        if (const std::string path = installed(name); !path.empty())
            programs.push_back({label, path, false, {}});

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X server: run under xvfb-run -a -s \"-screen 0 1280x1024x24\"\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSetWindowBackground(display, root, RootColour);
    XClearWindow(display, root);
    // Every map of a top-level window reaches us as an event.
    XSelectInput(display, root, SubstructureNotifyMask);
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
    for (const Program &program : programs)
        if (!measureOnce(display, program, scratch))
            return 1;
    // Interleaved, so a busy moment on the machine hurts all alike.
    for (int run = 0; run < runs; ++run)
        for (Program &program : programs) {
            std::optional<Sample> sample = measureOnce(display, program, scratch);
            if (!sample)
                return 1;
            program.samples.push_back(*sample);
        }
    XCloseDisplay(display);

    std::map<std::string, std::vector<std::array<double, 4>>> shows;
    for (int run = 0; run < std::max(3, runs / 2); ++run)
        for (const auto &[window, values] : windowShows(windowShowsPath, scratch))
            shows[window].push_back(values);
    std::filesystem::remove_all(scratch);

    std::printf("%d interleaved runs each, medians (ratio to the trivial window):\n", runs);
    std::printf("%-18s %17s %17s %17s %19s %19s\n", "", "first map", "first paint", "CPU to paint", "VmRSS",
                "VmHWM");
    const Program &trivial = programs[1];
    const auto mapOf = [](const Sample &s) { return s.mapMilliseconds; };
    const auto paintOf = [](const Sample &s) { return s.paintMilliseconds; };
    const auto cpuOf = [](const Sample &s) { return s.cpuMilliseconds; };
    const auto rssOf = [](const Sample &s) { return double(s.rssKiB) / 1024; };
    const auto peakOf = [](const Sample &s) { return double(s.peakKiB) / 1024; };
    for (const Program &program : programs) {
        std::printf("%-18s", program.label.c_str());
        for (const auto &[value, unit] : {std::pair<double (*)(const Sample &), const char *>{mapOf, "ms"},
                                          {paintOf, "ms"}, {cpuOf, "ms"}, {rssOf, "MiB"}, {peakOf, "MiB"}}) {
            const double mine = median(program.samples, value);
            const double yardstick = median(trivial.samples, value);
            if (!program.paintsCentre && value == paintOf)
                std::printf(" %17s", "-");
            else
                std::printf(" %6.1f %-3s (%4.2fx)", mine, unit, yardstick > 0 ? mine / yardstick : 0.0);
        }
        std::printf("\n");
    }
    std::printf("targets: first paint <= 1.5x, CPU to paint <= 1.5x, VmRSS <= 1.3x\n\n");

    std::printf("each window's show, medians of %zu runs (ms; the later shows are the median of three):\n",
                shows.empty() ? std::size_t(0) : shows.begin()->second.size());
    std::printf("%-10s %12s %12s %12s %12s %12s\n", "", "first show", "later show", "extra", "first CPU",
                "later CPU");
    for (const char *window : {"Form1", "FPodglad", "FRady", "FPrzyklad", "FSudoku", "F_Wyniki"}) {
        const auto found = shows.find(window);
        if (found == shows.end())
            continue;
        std::array<std::vector<double>, 4> columns;
        for (const auto &values : found->second)
            for (std::size_t i = 0; i < 4; ++i)
                columns[i].push_back(values[i]);
        const double first = median(columns[0]), later = median(columns[1]);
        std::printf("%-10s %9.2f ms %9.2f ms %9.2f ms %9.2f ms %9.2f ms\n", window, first, later, first - later,
                    median(columns[2]), median(columns[3]));
    }
    std::printf("target: a first show at most 16 ms over the later ones\n");
    if (const auto reveal = shows.find("reveal"); reveal != shows.end()) {
        std::vector<double> perGiven;
        for (const auto &values : reveal->second)
            perGiven.push_back(values[0]);
        std::printf("\nreveal of a diagram: %.2f ms per given beyond the 40 ms pauses (median of %zu runs of three "
                    "deals; target <= 2 ms)\n",
                    median(perGiven), perGiven.size());
    }
    return 0;
}
