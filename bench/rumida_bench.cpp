// SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
// SPDX-License-Identifier: MIT
// Measures the game against floors measured in the same run and ends with one
// line per figure: "BENCH <name> <value> <goal>". Usage: rumida_bench
// (the other arguments are the modes it runs itself in, in fresh processes).
#include "bench/ProcessStats.h"
#include "platform/BeepService.h"
#include "platform/Fonts.h"
#include "platform/FramePacer.h"
#include "platform/GameLocale.h"
#include "platform/MessageService.h"
#include "platform/NumberText.h"
#include "platform/PictureBox.h"
#include "platform/RandomGenerator.h"
#include "race/frmRumida.h"
#include "race/rules.h"
#include "windows/Program.h"
#include "windows/SideWindows.h"
#include "windows/frmCopy.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <array>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr double FramePeriod = 1.0 / 60.0;
constexpr double SplashTime = 3.0;

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(p * double(values.size()))) - 1;
    return values[std::min(rank, values.size() - 1)];
}

double secondsSince(Clock::time_point start)
{
    return Seconds(Clock::now() - start).count();
}

// Message boxes never come up in the measured runs; if one did, it is
// answered at once so nothing waits for a player.
class NoMessages final : public MessageService {
public:
    Answer ask(QWidget *, const QString &, const QString &, Buttons buttons, Icon, int) override
    {
        return buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No;
    }
};

class SilentBeep final : public BeepService {
public:
    void beep() override {}
};

// The game's own pacing, noting when each frame is handed back to the race.
class TimedPacer final : public FramePacer {
public:
    void start() override
    {
        display_.start();
        frames.push_back(Clock::now());
    }
    void frame() override
    {
        display_.frame();
        frames.push_back(Clock::now());
    }
    std::vector<Clock::time_point> frames;

private:
    DisplayPacer display_;
};

// What main() sets up before the first window.
void setUpLikeMain()
{
    setUpApplication(gameLocale());
}

// ---- Start-up: a fresh process from its start to its first paint ----

struct ChildRun {
    bool ok = false;
    QByteArray output;
    double seconds = 0; // from just before the start to the reported first paint
};

// Runs a program and reads "<key> <number>" lines from its output.
ChildRun runChild(const QString &program, const QStringList &arguments,
                  const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const auto started = Clock::now();
    process.start(program, arguments);
    ChildRun run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        std::fprintf(stderr, "bench: %s did not finish: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return run;
    }
    run.output = process.readAllStandardOutput();
    run.ok = process.exitCode() == 0;
    const auto startedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               started.time_since_epoch())
                               .count();
    for (const QByteArray &line : run.output.split('\n')) {
        if (line.startsWith("first-paint "))
            run.seconds = double(line.mid(12).toLongLong() - startedNs) * 1e-9;
    }
    return run;
}

long valueOf(const QByteArray &output, const char *key)
{
    const QByteArray prefix = QByteArray(key) + ' ';
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).toLong();
    }
    return -1;
}

QProcessEnvironment childEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

struct StartTimes {
    double game = 0;
    double bare = 0;
    double gameCpu = 0; // CPU time the process used until its first paint
    double bareCpu = 0;
};

// Programs started so report their first paint, then end: the first_paint
// library, preloaded, watches them from inside without either carrying code for
// it. `window` says which top-level window's first paint: 1, the first shown (the
// splash), or 2, the game's main window.
QProcessEnvironment firstPaintEnvironment(int window = 1,
                                          QProcessEnvironment environment = childEnvironment())
{
    QString preload = QStringLiteral(RUMIDA_FIRST_PAINT_PATH);
    const QString others = environment.value(QStringLiteral("LD_PRELOAD"));
    if (!others.isEmpty())
        preload += QLatin1Char(':') + others;
    environment.insert(QStringLiteral("LD_PRELOAD"), preload);
    if (window > 1)
        environment.insert(QStringLiteral("FIRST_PAINT_WINDOW"), QString::number(window));
    return environment;
}

// The game and the bare program in turn, after one unmeasured start of each
// (which warms the file cache); medians of the rest.
StartTimes measureStart(int runs)
{
    const QProcessEnvironment environment = firstPaintEnvironment();
    const QString game = QStringLiteral(RUMIDA_GAME_PATH);
    const QString bare = QStringLiteral(RUMIDA_BARE_PATH);
    std::vector<double> gameTimes, bareTimes, gameCpu, bareCpu;
    for (int i = 0; i <= runs; ++i) {
        const ChildRun g = runChild(game, {}, environment);
        const ChildRun b = runChild(bare, {}, environment);
        if (!g.ok || !b.ok || g.seconds <= 0 || b.seconds <= 0)
            return {};
        if (i == 0)
            continue;
        gameTimes.push_back(g.seconds);
        bareTimes.push_back(b.seconds);
        gameCpu.push_back(double(valueOf(g.output, "cpu-ns")) * 1e-9);
        bareCpu.push_back(double(valueOf(b.output, "cpu-ns")) * 1e-9);
    }
    return {median(gameTimes), median(bareTimes), median(gameCpu), median(bareCpu)};
}

// From the process start to the first paint of the main window, less the
// splash's three seconds: what the start costs the player beyond the card's
// own time. Medians of `runs` after one unmeasured start.
double measureMainWindow(int runs)
{
    const QProcessEnvironment environment = firstPaintEnvironment(2);
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) {
        const ChildRun run = runChild(QStringLiteral(RUMIDA_GAME_PATH), {}, environment);
        if (!run.ok || run.seconds <= 0)
            return 0;
        if (i > 0)
            times.push_back(run.seconds - SplashTime);
    }
    return median(times);
}

void printStart(const StartTimes &times, int runs)
{
    std::printf("  game %.1f ms, bare Qt %.1f ms to the first paint (medians of %d)\n",
                times.game * 1e3, times.bare * 1e3, runs);
    // CPU time leaves out waiting for a CPU, which a busy machine adds to both.
    if (times.bareCpu > 0)
        std::printf("  CPU time until then: game %.1f ms, bare Qt %.1f ms, ratio %.2f\n",
                    times.gameCpu * 1e3, times.bareCpu * 1e3, times.gameCpu / times.bareCpu);
}

// ---- Child modes ----

// The main window's construction, the first in a fresh process, set up as
// main() does. By the splash's load step the splash has measured its own
// captions, so the font database is loaded; that is done here first.
int childLoad()
{
    QLabel caption(QStringLiteral("ルミダ"));
    caption.adjustSize();
    NoMessages messages;
    SilentBeep beep;
    SystemRandom random;
    NullPacer pacer;
    const auto started = Clock::now();
    auto window = std::make_unique<frmRumida>(GameServices{messages, beep, random, pacer});
    const double seconds = secondsSince(started);
    const auto finishing = Clock::now();
    window->finishBuilding();
    const double finish = secondsSince(finishing);
    std::printf("load-ns %lld\nfinish-ns %lld\n", static_cast<long long>(seconds * 1e9),
                static_cast<long long>(finish * 1e9));
    return 0;
}

// Every window of the game open and painted: the splash (its timer held back),
// the main window and the three side windows.
int childMemory()
{
    NoMessages messages;
    SilentBeep beep;
    SystemRandom random;
    NullPacer pacer;
    Program program({messages, beep, random, pacer});
    program.start(std::chrono::hours(1));
    program.mainWindow().show();
    program.sideWindows().openGallery();
    program.sideWindows().openHelp();
    program.sideWindows().openVersion();
    const auto started = Clock::now();
    while (secondsSince(started) < 0.3)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::printf("rss-kb %ld\n", bench::residentKilobytes());
    return 0;
}

int childStart(int runs, int mainWindowRuns)
{
    const StartTimes times = measureStart(runs);
    const double mainWindow = measureMainWindow(mainWindowRuns);
    std::printf("start-game-ns %lld\nstart-bare-ns %lld\nstart-game-cpu-ns %lld\n"
                "start-bare-cpu-ns %lld\nstart-main-ns %lld\n",
                static_cast<long long>(times.game * 1e9), static_cast<long long>(times.bare * 1e9),
                static_cast<long long>(times.gameCpu * 1e9),
                static_cast<long long>(times.bareCpu * 1e9),
                static_cast<long long>(mainWindow * 1e9));
    return times.game > 0 ? 0 : 1;
}

// The game's pacing, noting the CPU time each frame's repaint takes: the event
// loop's pass that paints what the horses' moves exposed, as the race's own
// pacer runs it, before the pacer sleeps until the next frame.
class RepaintTimingPacer final : public FramePacer {
public:
    void start() override { display_.start(); }
    void frame() override
    {
        painted = 0;
        const double before = bench::threadCpuSeconds();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        repaints.push_back(bench::threadCpuSeconds() - before);
        areas.push_back(double(painted));
        display_.frame(); // nothing left to paint: it only sleeps until the frame is due
    }
    std::vector<double> repaints;
    std::vector<double> areas; // pixels of the course repainted in each frame
    long painted = 0;

private:
    DisplayPacer display_;
};

// Adds up the area of the paints the course receives.
class PaintedArea final : public QObject {
public:
    PaintedArea(QWidget *course, long &total) : total_(total) { course->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect &rect : static_cast<QPaintEvent *>(event)->region())
                total_ += long(rect.width()) * rect.height();
        }
        return false;
    }

private:
    long &total_;
};

int childRaceFrames(int races)
{
    NoMessages messages;
    SilentBeep beep;
    SystemRandom random;
    RepaintTimingPacer pacer;
    frmRumida window(GameServices{messages, beep, random, pacer});
    window.show();
    window.activateWindow();
    const auto started = Clock::now();
    while (secondsSince(started) < 0.3)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const auto click = [&](const char *name) {
        window.findChild<QAbstractButton *>(QLatin1String(name))->click();
    };
    PaintedArea area(window.findChild<QWidget *>(QStringLiteral("client")), pacer.painted);
    std::vector<double> frames, areas;
    for (int race = 0; race < races; ++race) {
        if (race > 0)
            click("cmdNext");
        click("cmdEndBet");
        QCoreApplication::processEvents();
        pacer.repaints.clear();
        pacer.areas.clear();
        click("cmdStart");
        // The first frame also repaints the buttons and menus the race locks.
        frames.insert(frames.end(), pacer.repaints.begin() + 1, pacer.repaints.end());
        areas.insert(areas.end(), pacer.areas.begin() + 1, pacer.areas.end());
    }
    std::printf("frame-median-ns %lld\nframe-p99-ns %lld\nframes %zu\narea-median %lld\n"
                "area-max %lld\n",
                static_cast<long long>(median(frames) * 1e9),
                static_cast<long long>(percentile(frames, 0.99) * 1e9), frames.size(),
                static_cast<long long>(median(areas)), static_cast<long long>(percentile(areas, 1.0)));
    return 0;
}

// ---- In-process figures ----

// Races per second over the rate of the draws and reseeds those races need.
double raceCoreRatio()
{
    SystemRandom random;
    volatile float sink = 0;
    std::vector<double> ratios;
    for (int round = 0; round < 7; ++round) {
        long steps = 0;
        int races = 0;
        auto started = Clock::now();
        while (secondsSince(started) < 0.15) {
            for (int i = 0; i < 20; ++i) {
                rules::ArrayHorses horses;
                steps += rules::runRace(horses, random, rules::FullSpeed{});
                sink = horses.positions[0];
                ++races;
            }
        }
        const double raceTime = secondsSince(started);

        started = Clock::now();
        float sum = 0;
        for (long step = 0; step < steps; ++step) {
            random.reseedFromClock();
            sum += random.next();
            sum += random.next();
            sum += random.next();
            sum += random.next();
        }
        sink = sum;
        const double floorTime = secondsSince(started);
        ratios.push_back(floorTime / raceTime);
        if (round == 0)
            std::printf("  race core: %.0f races/s, %.0f steps a race\n", races / raceTime,
                        double(steps) / races);
    }
    (void)sink;
    return median(ratios);
}

struct GameWindow {
    NoMessages messages;
    SilentBeep beep;
    SystemRandom random;
    TimedPacer pacer;
    std::unique_ptr<frmRumida> window;

    GameWindow() : window(std::make_unique<frmRumida>(GameServices{messages, beep, random, pacer}))
    {
        window->show();
        window->activateWindow();
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }

    void click(const char *name)
    {
        window->findChild<QAbstractButton *>(QLatin1String(name))->click();
    }
};

struct RepaintTimes {
    double cpu = 0;  // median CPU time of one repaint, seconds
    double wall = 0; // median wall time
};

// The course with the four horses redrawn into images at device pixel ratios
// 1 and 2, in turn, so that both see the same machine. The figure is the CPU
// time: on a machine shared with other work the wall clock also counts the
// time others hold the CPU; both are shown.
std::array<RepaintTimes, 2> repaintTimes(frmRumida &window)
{
    QWidget *client = window.findChild<QWidget *>(QStringLiteral("client"));
    std::array<QImage, 2> images;
    std::array<std::vector<double>, 2> cpu, wall;
    for (int ratio : {1, 2}) {
        QImage &image = images[std::size_t(ratio - 1)];
        image = QImage(client->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        for (int i = 0; i < 50; ++i)
            client->render(&image);
    }
    for (int i = 0; i < 1000; ++i) {
        for (std::size_t k = 0; k < 2; ++k) {
            const auto started = Clock::now();
            const double cpuBefore = bench::threadCpuSeconds();
            client->render(&images[k]);
            cpu[k].push_back(bench::threadCpuSeconds() - cpuBefore);
            wall[k].push_back(secondsSince(started));
        }
    }
    return {RepaintTimes{median(cpu[0]), median(wall[0])},
            RepaintTimes{median(cpu[1]), median(wall[1])}};
}

struct PaceFigures {
    double p99Ratio = 0;
    double lengthRatio = 0; // whole races against their frames of 1/60 s
    double cpuShare = 0;
    double medianInterval = 0;
    std::size_t frames = 0;
};

// Paced races in the shown main window, as the player sees them.
PaceFigures paceRaces(GameWindow &game, int races)
{
    std::vector<double> intervals;
    double cpu = 0, wall = 0;
    for (int race = 0; race < races; ++race) {
        if (race > 0)
            game.click("cmdNext");
        game.click("cmdEndBet");
        game.pacer.frames.clear();
        const double cpuBefore = bench::processCpuSeconds();
        const auto started = Clock::now();
        game.click("cmdStart");
        wall += secondsSince(started);
        cpu += bench::processCpuSeconds() - cpuBefore;
        const auto &frames = game.pacer.frames;
        for (std::size_t i = 1; i < frames.size(); ++i)
            intervals.push_back(Seconds(frames[i] - frames[i - 1]).count());
    }
    PaceFigures figures;
    figures.p99Ratio = percentile(intervals, 0.99) / FramePeriod;
    figures.lengthRatio = intervals.empty() ? 0 : wall / (double(intervals.size()) * FramePeriod);
    figures.cpuShare = wall > 0 ? cpu / wall : 0;
    figures.medianInterval = median(intervals);
    figures.frames = intervals.size();
    return figures;
}

// How the time to read an amount grows with its length: texts of 100000
// characters against texts of 10000 in the same shapes, for both readers.
// Linear work makes that 10; work that goes back over the text makes it 100.
// The figure is the largest ratio over the shapes, from CPU time.
double numberTextScaling()
{
    using Shape = std::function<QString(qsizetype)>;
    const std::vector<Shape> leading = {
        [](qsizetype n) { return QString(n, u'9'); },
        [](qsizetype n) { return "0." + QString(n, u'0') + "1e" + QString::number(n + 5); },
        [](qsizetype n) { return QString(n, u' ') + "5"; },
        [](qsizetype n) { return QString(n, QChar(0x3000)) + "5"; },
        [](qsizetype n) { return QString("1 ").repeated(n / 2); },
        [](qsizetype n) { return "1e" + QString(n, u'9'); },
        [](qsizetype n) { return QString::fromUtf8("１").repeated(n); },
    };
    const std::vector<Shape> converted = {
        [](qsizetype n) { return QString(n, u'9'); },
        [](qsizetype n) { return "1" + QString(",000").repeated(n / 4); },
        [](qsizetype n) { return QString("1,").repeated(n / 2) + "x"; },
        [](qsizetype n) { return "0." + QString(n, u'0') + "5"; },
        [](qsizetype n) { return QString(n, u' ') + "5" + QString(n, u' '); },
        [](qsizetype n) { return "(" + QString(n, u'(') + "1" + QString(n, u')'); },
        [](qsizetype n) { return QString(n, u',') + "1"; },
    };
    volatile double sink = 0;
    // CPU time of one reading: the median of batches of at least 2 ms.
    const auto timeOf = [&](const std::function<double()> &read) {
        std::vector<double> perRead;
        for (int batch = 0; batch < 9; ++batch) {
            long reads = 0;
            const double started = bench::threadCpuSeconds();
            double spent = 0;
            do {
                sink = sink + read();
                ++reads;
                spent = bench::threadCpuSeconds() - started;
            } while (spent < 0.002);
            perRead.push_back(spent / double(reads));
        }
        return median(perRead);
    };
    const auto worst = [&](const std::vector<Shape> &shapes,
                           const std::function<double(const QString &)> &read) {
        double ratio = 0;
        for (const Shape &shape : shapes) {
            const QString small = shape(10000), large = shape(100000);
            const double t1 = timeOf([&] { return read(small); });
            const double t2 = timeOf([&] { return read(large); });
            ratio = std::max(ratio, t2 / t1);
        }
        return ratio;
    };
    const double leadingRatio =
        worst(leading, [](const QString &text) { return readLeadingNumber(text); });
    const double convertedRatio =
        worst(converted, [](const QString &text) { return convertNumber(text).value_or(0.0); });
    std::printf("  100000 against 10000 characters, the shape that grows most: leading-number reader "
                "%.1f, number conversion %.1f\n",
                leadingRatio, convertedRatio);
    return std::max(leadingRatio, convertedRatio);
}

struct Figure {
    const char *name;
    double value;
    const char *goal;
};

QString machine()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    QString model = QStringLiteral("unknown CPU");
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                model = QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
        }
    }
    return QStringLiteral("%1 CPUs, %2").arg(QThread::idealThreadCount()).arg(model);
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

int fullRun()
{
    std::vector<Figure> figures;
    std::printf("Rumida benchmarks (Release build; each figure against a floor measured now)\n");
    std::printf("%s, %s, load average %s\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)), qPrintable(machine()),
                qPrintable(loadAverage()));

    std::printf("race core...\n");
    figures.push_back({"race_core_ratio", raceCoreRatio(), ">=0.5"});

    std::printf("reading amounts...\n");
    figures.push_back({"number_text_scaling", numberTextScaling(), "<=15"});

    // Measured first: the start-up figures are read against it.
    std::printf("main window load step...\n");
    std::vector<double> loads;
    std::vector<double> finishes;
    for (int i = 0; i < 7; ++i) {
        const ChildRun run = runChild(QCoreApplication::applicationFilePath(),
                                      {QStringLiteral("--load")}, childEnvironment());
        loads.push_back(double(valueOf(run.output, "load-ns")) * 1e-9);
        finishes.push_back(double(valueOf(run.output, "finish-ns")) * 1e-9);
    }
    const double load = median(loads);
    std::printf("  first construction in a fresh process: %.2f ms (median of 7); the rest of\n"
                "  the build, done while the splash is up: %.2f ms\n",
                load * 1e3, median(finishes) * 1e3);
    figures.push_back({"load_share", load / SplashTime, "<0.01"});

    std::printf("start-up, offscreen...\n");
    constexpr int StartRuns = 9;
    const StartTimes offscreen = measureStart(StartRuns);
    printStart(offscreen, StartRuns);
    // The splash shows only after its load step has built the main window.
    if (offscreen.bare > 0)
        std::printf("  the game without the main window's load step would take %.2f times the floor\n",
                    (offscreen.game - load) / offscreen.bare);
    figures.push_back({"start_ratio", offscreen.bare > 0 ? offscreen.game / offscreen.bare : 0,
                       "<=1.25"});
    constexpr int MainWindowRuns = 5;
    const double mainWindow = measureMainWindow(MainWindowRuns);
    std::printf("  the main window's first paint %.1f ms after the start, less the splash's 3 s "
                "(median of %d)\n",
                mainWindow * 1e3, MainWindowRuns);
    if (offscreen.bare > 0 && mainWindow > 0)
        figures.push_back({"main_window_ratio", mainWindow / offscreen.bare, "report"});

    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (!xvfbRun.isEmpty()) {
        std::printf("start-up, Xvfb...\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        const ChildRun run = runChild(
            xvfbRun,
            {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
             QCoreApplication::applicationFilePath(), QStringLiteral("--start"),
             QString::number(StartRuns), QString::number(MainWindowRuns)},
            environment);
        const StartTimes xvfb{double(valueOf(run.output, "start-game-ns")) * 1e-9,
                              double(valueOf(run.output, "start-bare-ns")) * 1e-9,
                              double(valueOf(run.output, "start-game-cpu-ns")) * 1e-9,
                              double(valueOf(run.output, "start-bare-cpu-ns")) * 1e-9};
        const double xvfbMain = double(valueOf(run.output, "start-main-ns")) * 1e-9;
        if (run.ok && xvfb.game > 0 && xvfb.bare > 0) {
            printStart(xvfb, StartRuns);
            figures.push_back({"start_ratio_xvfb", xvfb.game / xvfb.bare, "<=1.25"});
            std::printf("  the main window's first paint %.1f ms after the start, less 3 s\n",
                        xvfbMain * 1e3);
            if (xvfbMain > 0)
                figures.push_back({"main_window_ratio_xvfb", xvfbMain / xvfb.bare, "report"});
        } else {
            std::printf("  Xvfb run failed; no figure\n");
        }
    }

    std::printf("resident memory...\n");
    {
        std::vector<double> game, bare;
        for (int i = 0; i < 3; ++i) {
            const ChildRun run = runChild(QCoreApplication::applicationFilePath(),
                                          {QStringLiteral("--memory")}, childEnvironment());
            game.push_back(double(valueOf(run.output, "rss-kb")));
            const ChildRun floor = runChild(QStringLiteral(RUMIDA_BARE_PATH), {}, firstPaintEnvironment());
            bare.push_back(double(valueOf(floor.output, "rss-kb")));
        }
        std::printf("  every window open %.0f kB, bare Qt %.0f kB (medians of 3)\n", median(game),
                    median(bare));
        figures.push_back({"rss_ratio", median(game) / median(bare), "<=1.4"});
    }

    std::printf("repaint and pacing (offscreen)...\n");
    {
        GameWindow game;
        std::vector<PictureBox *> horses;
        const float lefts[] = {2400, 3100, 2750, 4000}; // mid-course
        for (const char *name : {"imgAka", "imgCha", "imgKi", "imgShiro"})
            horses.push_back(game.window->findChild<PictureBox *>(QLatin1String(name)));
        for (std::size_t i = 0; i < horses.size(); ++i)
            horses[i]->setLeft(lefts[i]);
        const auto [at1, at2] = repaintTimes(*game.window);
        std::printf("  the whole client area redrawn, CPU (wall): %.3f (%.3f) ms at 1x, %.3f (%.3f) ms "
                    "at 2x (medians of 1000)\n",
                    at1.cpu * 1e3, at1.wall * 1e3, at2.cpu * 1e3, at2.wall * 1e3);
        figures.push_back({"window_repaint_share_1x", at1.cpu / FramePeriod, "<0.06"});
        figures.push_back({"window_repaint_share_2x", at2.cpu / FramePeriod, "<0.18"});
        for (PictureBox *horse : horses)
            horse->setLeft(rules::StartLeft);

        const PaceFigures pace = paceRaces(game, 2);
        std::printf("  two paced races: %zu frames, median interval %.2f ms\n", pace.frames,
                    pace.medianInterval * 1e3);
        figures.push_back({"pace_p99_ratio", pace.p99Ratio, "<=1.2"});
        // Each frame sleeps until a deadline on a fixed grid, so a race cannot
        // be shorter than its frames; longer means frames ran late.
        std::printf("  the races lasted %.3f times their frames\n", pace.lengthRatio);
        figures.push_back({"race_length_ratio", pace.lengthRatio, "1..1.2"});
        figures.push_back({"race_cpu_share", pace.cpuShare, "<0.15"});
    }

    std::printf("race frames (offscreen, paced)...\n");
    for (const char *scale : {"1", "2"}) {
        QProcessEnvironment environment = childEnvironment();
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale));
        const ChildRun run = runChild(QCoreApplication::applicationFilePath(),
                                      {QStringLiteral("--race-frames"), QStringLiteral("2")},
                                      environment);
        const double frameMedian = double(valueOf(run.output, "frame-median-ns")) * 1e-9;
        const double frameP99 = double(valueOf(run.output, "frame-p99-ns")) * 1e-9;
        if (!run.ok || frameMedian <= 0) {
            std::printf("  at %sx: the run failed; no figure\n", scale);
            continue;
        }
        std::printf("  one race frame's repaint at %sx, CPU: median %.4f ms, p99 %.4f ms (%ld frames "
                    "of two races); course area repainted: median %ld, at most %ld of %d pixels\n",
                    scale, frameMedian * 1e3, frameP99 * 1e3, valueOf(run.output, "frames"),
                    valueOf(run.output, "area-median"), valueOf(run.output, "area-max"), 495 * 408);
        const bool one = scale[0] == '1';
        figures.push_back({one ? "race_frame_share_1x" : "race_frame_share_2x",
                           frameMedian / FramePeriod, one ? "<0.01" : "report"});
        figures.push_back({one ? "race_frame_share_1x_p99" : "race_frame_share_2x_p99",
                           frameP99 / FramePeriod, "report"});
    }

    std::printf("load average at the end %s\n\n", qPrintable(loadAverage()));
    for (const Figure &figure : figures)
        std::printf("BENCH %s %.4g %s\n", figure.name, figure.value, figure.goal);
    return 0;
}

// Qt's notes about the headless session (no XDG_RUNTIME_DIR, window-manager
// hints the offscreen platform ignores) say nothing about the figures.
void quietHeadless(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || message.startsWith(QLatin1String("QStandardPaths:"))
        || message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quietHeadless);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The measured program takes no command line; the driver passes Qt nothing either.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    setUpLikeMain();
    setvbuf(stdout, nullptr, _IOLBF, 0);

    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--load")
        return childLoad();
    if (mode == "--memory")
        return childMemory();
    if (mode == "--start")
        return childStart(argc > 2 ? std::atoi(argv[2]) : 9, argc > 3 ? std::atoi(argv[3]) : 5);
    if (mode == "--race-frames")
        return childRaceFrames(argc > 2 ? std::atoi(argv[2]) : 2);
    if (!mode.isEmpty()) {
        std::fprintf(stderr, "usage: %s\n", argv[0]);
        return 2;
    }
    return fullRun();
}
