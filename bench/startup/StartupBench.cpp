// Times the start of Velmora against the barest Qt Widgets window (bench_bare_window) on one X
// display, alternating the two. Each start runs from the moment the process is spawned until its
// first window is mapped on the display, until it starts painting (the "first paint" mark both
// programs write under VELMORA_STARTUP_TRACE), and until its first picture reaches the display
// (the first damage the X server reports on the window): the window is visible, with its content.
// The last is the measure that counts; the first two show where the time goes.
// Velmora starts from a fresh program folder each time, with data files a first start created.
// Prints both medians, their ratio, the median and middle half of the start-by-start ratios, and
// the median time of each start-up step Velmora marks.
// Given several bin folders (builds of Velmora that differ in one start-up step), it starts them
// by turns in every round, each after a bare start of its own, and compares each build with the
// first round by round: that tells whether a step's gain stands out of the machine's noise.
// Not a test: run  xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_startup [starts]
// [bin folder...]

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace {

constexpr long long kTimeoutNs = 20'000'000'000LL;
constexpr long long kAfterDrawnNs = 50'000'000LL;

long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Start
{
    double mappedMs = -1;
    double paintMs = -1; // the program's own mark: its first window starts painting
    double drawnMs = -1; // the first picture reached the display
    std::vector<std::pair<std::string, double>> steps; // in the order marked
};

// What the display saw of the started program's windows since the last look.
struct Seen
{
    bool mapped = false;
    bool drawn = false;
};

class Display
{
public:
    Display()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            return;
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        std::free(xcb_damage_query_version_reply(
            m_connection,
            xcb_damage_query_version(m_connection, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr));
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        // Top-level windows are children of the root: their creation and mapping reach us as
        // CreateNotify and MapNotify.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ok = true;
    }
    ~Display() { xcb_disconnect(m_connection); }
    bool ok() const { return m_ok; }
    int fd() const { return xcb_get_file_descriptor(m_connection); }

    Seen take()
    {
        Seen seen;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const uint8_t type = event->response_type & ~0x80;
            if (type == XCB_CREATE_NOTIFY) {
                // Watched from its creation, before anything can be drawn into it. Qt gives its
                // windows no background, so the first damage is the program's first picture.
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                xcb_damage_create(m_connection, xcb_generate_id(m_connection), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(m_connection);
            } else if (type == XCB_MAP_NOTIFY) {
                seen.mapped = true;
            } else if (type == m_damageEvent) {
                seen.drawn = true;
            }
            std::free(event);
        }
        return seen;
    }

private:
    xcb_connection_t* m_connection = nullptr;
    uint8_t m_damageEvent = 0;
    bool m_ok = false;
};

// Starts the program in its folder, waits until its first window is drawn, then kills it.
Start startOnce(Display& display, const std::string& program)
{
    Start result;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    environment.emplace_back("VELMORA_STARTUP_TRACE=1");
    environment.emplace_back("QT_QPA_PLATFORM=xcb");
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string programCopy = program;
    char* argv[] = {programCopy.data(), nullptr};

    (void)display.take();
    const long long started = nowNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return result;
    }
    std::string pending;
    // Once the window is mapped and drawn, the marks of the next moments still come in: the steps
    // after the first picture, when the program has seen it reach the display.
    long long shownAt = 0;
    while (nowNs() - started < kTimeoutNs && (shownAt == 0 || nowNs() - shownAt < kAfterDrawnNs)) {
        if (shownAt == 0 && result.mappedMs >= 0 && result.drawnMs >= 0)
            shownAt = nowNs();
        pollfd fds[2] = {{display.fd(), POLLIN, 0}, {pipeFds[0], POLLIN, 0}};
        poll(fds, 2, shownAt == 0 ? 100 : 5);
        const Seen seen = display.take();
        const double now = static_cast<double>(nowNs() - started) / 1e6;
        if (result.mappedMs < 0 && seen.mapped)
            result.mappedMs = now;
        if (result.drawnMs < 0 && seen.drawn)
            result.drawnMs = now;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buffer[4096];
            const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
            if (got <= 0 && result.mappedMs < 0)
                break; // the program ended without a window
            pending.append(buffer, got > 0 ? static_cast<size_t>(got) : 0);
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                long long at = 0;
                int consumed = 0;
                if (std::sscanf(line.c_str(), "startup %lld %n", &at, &consumed) != 1 || consumed == 0)
                    continue;
                const std::string step = line.substr(static_cast<size_t>(consumed));
                const double ms = static_cast<double>(at - started) / 1e6;
                result.steps.emplace_back(step, ms);
                if (step == "first paint" && result.paintMs < 0)
                    result.paintMs = ms;
            }
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(pipeFds[0]);
    return result;
}

// Copies the data files and skins afresh; the program and its module are linked, as an installed program
// is started from the same file each time (a new copy would be read in anew every start).
bool copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files | QDir::Hidden)) {
        const QString target = QDir(to).filePath(name);
        if (name == QLatin1String("Velmora") && link(QFile::encodeName(source.filePath(name)).constData(),
                                                     QFile::encodeName(target).constData()) == 0)
            continue;
        if (!QFile::copy(source.filePath(name), target))
            return false;
    }
    for (const QString& name : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!copyFolder(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}

// The value below which the given share of the values lie (0.5: the median); -1 for none.
double quantileOfAll(std::vector<double> values, double share)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5)];
}

// The same of times and ratios: a start that missed the measure (-1) does not count.
double quantile(std::vector<double> values, double share)
{
    std::erase_if(values, [](double value) { return value < 0; });
    return quantileOfAll(std::move(values), share);
}

double median(std::vector<double> values)
{
    return quantile(std::move(values), 0.5);
}

// Each Velmora start against the bare start just before it: the two share the machine's state of
// the moment, so the ratio drifts less with the machine's load than the ratio of the medians.
// With `keepMissed`, a pair that missed the measure stays in its place as -1.
std::vector<double> pairedRatios(const std::vector<double>& bare, const std::vector<double>& velmora,
                                 bool keepMissed = false)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < bare.size() && i < velmora.size(); ++i) {
        if (bare[i] > 0 && velmora[i] > 0)
            ratios.push_back(velmora[i] / bare[i]);
        else if (keepMissed)
            ratios.push_back(-1);
    }
    return ratios;
}

// Per measure, the bare window's starts and a Velmora build's, pair by pair.
struct Series
{
    std::vector<double> bare, velmora;
};

// One build of Velmora under test: its program folder to copy, and what its starts gave.
struct Variant
{
    explicit Variant(QString folder) : binFolder(std::move(folder)) {}
    QString binFolder;
    QString templateFolder;
    Series mapped, painting, drawn;
    std::map<std::string, std::vector<double>> steps;
    std::vector<std::string> stepOrder;
};

// A program folder with Velmora and its skins; a first start makes its data files.
bool makeTemplate(Display& display, const QString& binFolder, const QString& templateFolder)
{
    if (!QDir().mkpath(templateFolder) ||
        !QFile::copy(QDir(binFolder).filePath(QStringLiteral("Velmora")),
                     QDir(templateFolder).filePath(QStringLiteral("Velmora"))) ||
        !copyFolder(QDir(binFolder).filePath(QStringLiteral("skin")),
                    QDir(templateFolder).filePath(QStringLiteral("skin")))) {
        std::fprintf(stderr, "cannot copy Velmora from %s\n", qPrintable(binFolder));
        return false;
    }
    const Start first =
        startOnce(display, QDir(templateFolder).filePath(QStringLiteral("Velmora")).toStdString());
    QFile::remove(QDir(templateFolder).filePath(QStringLiteral(".Velmora.lock")));
    if (first.mappedMs < 0 || !QFile::exists(QDir(templateFolder).filePath(QStringLiteral("DABSH.skn")))) {
        std::fprintf(stderr, "Velmora from %s showed no window\n", qPrintable(binFolder));
        return false;
    }
    return true;
}

void printSummary(const Variant& variant, int starts)
{
    const Series* all[] = {&variant.mapped, &variant.painting, &variant.drawn};
    const auto row = [&](const char* title, const auto& value) {
        std::printf("%-30s", title);
        for (const Series* series : all)
            value(*series);
        std::printf("\n");
    };
    std::printf("\n%s\n", qPrintable(variant.binFolder));
    std::printf("medians of %d starts each      mapped       painting     drawn (visible)\n", starts);
    row("bare Qt window", [](const Series& s) { std::printf("%8.1f ms  ", median(s.bare)); });
    row("Velmora", [](const Series& s) { std::printf("%8.1f ms  ", median(s.velmora)); });
    row("ratio", [](const Series& s) { std::printf("%9.2fx   ", median(s.velmora) / median(s.bare)); });
    row("start by start: median",
        [](const Series& s) { std::printf("%9.2fx   ", median(pairedRatios(s.bare, s.velmora))); });
    row("  middle half", [](const Series& s) {
        const std::vector<double> ratios = pairedRatios(s.bare, s.velmora);
        std::printf("  %4.2f-%4.2fx ", quantile(ratios, 0.25), quantile(ratios, 0.75));
    });
    std::printf("Velmora's steps, median time since the process was spawned:\n");
    for (const std::string& step : variant.stepOrder)
        std::printf("  %7.1f ms  %s\n", median(variant.steps.at(step)), step.c_str());
}

// Each build against the first, round by round: its start-by-start ratio to the bare window over
// the first build's, and the difference of the two builds' times in ms (the two Velmora starts of a
// round are seconds apart, the bare starts add noise of their own). Below 1, or below 0, the build
// is quicker. The middle half and the number of rounds it was quicker in show whether a
// difference stands out of the noise of the machine.
void printComparison(const std::vector<Variant>& variants)
{
    for (auto [title, measure] :
         {std::pair{"mapped", &Variant::mapped}, std::pair{"drawn (visible)", &Variant::drawn}}) {
        const Series& base = variants[0].*measure;
        std::printf("\n%s, against %s round by round:\n", title, qPrintable(variants[0].binFolder));
        std::printf("  %-28s %-30s %-28s\n", "build", "ratio to bare over the first's",
                    "difference of the times");
        for (std::size_t v = 1; v < variants.size(); ++v) {
            const Series& own = variants[v].*measure;
            const std::vector<double> mine = pairedRatios(own.bare, own.velmora, true);
            const std::vector<double> theirs = pairedRatios(base.bare, base.velmora, true);
            std::vector<double> relative, difference;
            int quickerRelative = 0;
            int quicker = 0;
            for (std::size_t i = 0; i < mine.size() && i < theirs.size(); ++i) {
                if (mine[i] < 0 || theirs[i] < 0)
                    continue;
                relative.push_back(mine[i] / theirs[i]);
                difference.push_back(own.velmora[i] - base.velmora[i]);
                quickerRelative += mine[i] < theirs[i] ? 1 : 0;
                quicker += own.velmora[i] < base.velmora[i] ? 1 : 0;
            }
            std::printf("  %-28s %5.3fx (%5.3f-%5.3fx) %3d/%-3zu %+6.1f ms (%+.1f to %+.1f) %3d/%zu\n",
                        qPrintable(variants[v].binFolder), median(relative), quantile(relative, 0.25),
                        quantile(relative, 0.75), quickerRelative, relative.size(),
                        quantileOfAll(difference, 0.5), quantileOfAll(difference, 0.25),
                        quantileOfAll(difference, 0.75), quicker, difference.size());
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    std::vector<Variant> variants;
    for (int arg = 2; arg < argc; ++arg)
        variants.emplace_back(QString::fromLocal8Bit(argv[arg]));
    if (variants.empty())
        variants.emplace_back(QStringLiteral(VELMORA_BIN_DIR));
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "no DISPLAY: run under xvfb-run -a -s \"-screen 0 1280x1024x24\"\n");
        return 2;
    }
    Display display;
    if (!display.ok()) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }

    QTemporaryDir base;
    for (std::size_t v = 0; v < variants.size(); ++v) {
        variants[v].templateFolder = base.filePath(QStringLiteral("template%1").arg(v));
        if (!makeTemplate(display, variants[v].binFolder, variants[v].templateFolder))
            return 1;
    }
    const std::string bare = BARE_WINDOW_PATH;
    (void)startOnce(display, bare); // warms the caches alike
    std::map<std::string, std::vector<double>> bareSteps;

    for (int run = 0; run < starts; ++run) {
        // Every build once a round, each after a bare start of its own; the order turns from round
        // to round, so that no build always follows the same one.
        for (std::size_t turn = 0; turn < variants.size(); ++turn) {
            const std::size_t v = (turn + static_cast<std::size_t>(run)) % variants.size();
            Variant& variant = variants[v];
            // The folder is made and written out before either start, so that neither pays for it.
            const QString folder = base.filePath(QStringLiteral("run%1-%2").arg(run).arg(v));
            if (!copyFolder(variant.templateFolder, folder))
                return 1;
            sync();
            const Start b = startOnce(display, bare);
            for (const auto& [step, ms] : b.steps)
                bareSteps[step].push_back(ms);

            const Start s =
                startOnce(display, QDir(folder).filePath(QStringLiteral("Velmora")).toStdString());
            for (const auto& [step, ms] : s.steps) {
                if (!variant.steps.count(step))
                    variant.stepOrder.push_back(step);
                variant.steps[step].push_back(ms);
            }
            for (auto [series, measure] :
                 {std::pair{&variant.mapped, &Start::mappedMs}, std::pair{&variant.painting, &Start::paintMs},
                  std::pair{&variant.drawn, &Start::drawnMs}}) {
                series->bare.push_back(b.*measure);
                series->velmora.push_back(s.*measure);
            }
            std::printf("start %2d%s: bare %6.1f / %6.1f / %6.1f ms, Velmora %6.1f / %6.1f / %6.1f ms\n",
                        run + 1, variants.size() > 1 ? qPrintable(QStringLiteral(" [%1]").arg(v + 1)) : "",
                        b.mappedMs, b.paintMs, b.drawnMs, s.mappedMs, s.paintMs, s.drawnMs);
            std::fflush(stdout);
        }
    }

    std::printf("\nthe bare window: main %.1f ms, application made %.1f ms (medians since spawned)\n",
                median(bareSteps["main"]), median(bareSteps["application made"]));
    for (const Variant& variant : variants)
        printSummary(variant, starts);
    if (variants.size() > 1)
        printComparison(variants);
    return 0;
}
