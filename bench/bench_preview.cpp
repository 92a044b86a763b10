// tomefuse-bench-preview FILE [WIDTH HEIGHT]: times the preview pane over one PDF file.
//
// 1. First screen: from showing the file until every page on screen is drawn, once with the
//    worker process started by that very request (cold) and once with it already running (warm);
//    and when the bookmark tree is filled.
// 2. Scrolling: the grid is scrolled from top to bottom at a steady speed (the scroll bar moved
//    every 16 ms) while a 4 ms timer measures how long the event loop went without turning; the
//    longest gap is the longest frame, and the window thread's processor time in it is its own
//    share. Thumbnail memory is the cache's size, sampled all along.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/qt/preview/PageGrid.h"
#include "platform/qt/preview/PreviewPane.h"
#include "platform/qt/preview/Thumbnails.h"

using namespace tomefuse;

namespace {

bool waitUntil(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

bool screenDrawn(PreviewPane& pane, Thumbnails& thumbnails) {
    if (pane.state() != PreviewPane::State::Pages) {
        return false;
    }
    const std::vector<int> pages = pane.grid()->visiblePages();
    return !pages.empty() && std::all_of(pages.begin(), pages.end(), [&](int page) {
        const ThumbnailKey key{pane.source()->path, page, pane.pages()->box()};
        return thumbnails.cache().find(key) || thumbnails.cache().failed(key);
    });
}

// Resident memory of a process in KiB, "VmRSS" or "VmHWM" (its peak).
long statusKiB(pid_t pid, const char* field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

std::vector<pid_t> children() {
    std::vector<pid_t> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == getpid()) {
            pids.push_back(pid);
        }
    }
    return pids;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TOMEFUSE_PREVIEW_WORKER")) {
        qputenv("TOMEFUSE_PREVIEW_WORKER", TOMEFUSE_PREVIEW_WORKER);
    }
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tomefuse-bench-preview FILE [WIDTH HEIGHT]\n");
        return 2;
    }
    const QString path = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int width = argc > 3 ? std::atoi(argv[2]) : 620;
    const int height = argc > 3 ? std::atoi(argv[3]) : 800;

    Thumbnails thumbnails(PreviewWorker::defaultProgram());
    PreviewPane pane(thumbnails);
    pane.resize(width, height);
    pane.show();
    QCoreApplication::processEvents();

    QElapsedTimer sinceShown;
    auto firstScreen = [&](const char* what) {
        QElapsedTimer clock;
        clock.start();
        sinceShown.start();
        pane.showSource({path, {}, {}}, QStringLiteral("bench"));
        if (!waitUntil([&] { return screenDrawn(pane, thumbnails); }, 30000)) {
            std::fprintf(stderr, "the first screen was not drawn within 30 s (state %d, %s)\n",
                         static_cast<int>(pane.state()), qPrintable(pane.message()));
            return false;
        }
        std::printf("first screen, %s: %lld ms (%zu thumbnails, %d pages)\n", what,
                    static_cast<long long>(clock.elapsed()), pane.grid()->visiblePages().size(),
                    pane.pages()->rowCount());
        return true;
    };
    if (!firstScreen("worker started by the request")) {
        return 1;
    }
    QElapsedTimer outline;
    outline.start();
    waitUntil([&] { return pane.bookmarkModel()->rowCount() > 0; }, 30000);
    std::printf("bookmarks shown after another %lld ms, %lld ms after the file was shown (%d at the top)\n",
                static_cast<long long>(outline.elapsed()), static_cast<long long>(sinceShown.elapsed()),
                pane.bookmarkModel()->rowCount());

    // Warm: the worker runs, nothing of the file is cached.
    thumbnails.release(path);
    pane.showNothing();
    if (!firstScreen("worker already running")) {
        return 1;
    }

    // Scroll to the end while the event loop's turns are timed.
    QScrollBar* bar = pane.grid()->verticalScrollBar();
    const int step = std::max(1, bar->singleStep() * 3);
    qint64 longest = 0;
    int over50 = 0;
    qsizetype peakBytes = 0;
    int peakCount = 0;
    QElapsedTimer sinceTick;
    QElapsedTimer clock;
    qint64 lastCpu = 0;
    qint64 longestCpu = 0;  // microseconds of the window thread's own work in one frame
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 gap = sinceTick.restart();
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        const qint64 cpuNow = qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
        const qint64 cpu = cpuNow - lastCpu;
        lastCpu = cpuNow;
        longestCpu = std::max(longestCpu, cpu);
        longest = std::max(longest, gap);
        over50 += gap > 50 ? 1 : 0;
        peakBytes = std::max(peakBytes, thumbnails.cache().bytes());
        peakCount = std::max(peakCount, thumbnails.cache().count());
    });
    QTimer scroller;
    scroller.setTimerType(Qt::PreciseTimer);
    QObject::connect(&scroller, &QTimer::timeout, [&] { bar->setValue(bar->value() + step); });

    clock.start();
    sinceTick.start();
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        lastCpu = qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
    }
    ticker.start(4);
    scroller.start(16);
    waitUntil([&] { return bar->value() >= bar->maximum(); }, 600000);
    const qint64 scrolled = clock.elapsed();
    scroller.stop();
    waitUntil([&] { return screenDrawn(pane, thumbnails); }, 30000);
    const qint64 settled = clock.elapsed();
    ticker.stop();

    std::printf("scrolled %d px in %lld ms (%d px every 16 ms); last screen drawn at %lld ms\n", bar->maximum(),
                static_cast<long long>(scrolled), step, static_cast<long long>(settled));
    std::printf("longest event-loop frame while scrolling: %lld ms; frames over 50 ms: %d\n",
                static_cast<long long>(longest), over50);
    // On a machine shared with other work a frame also waits for a core: the window's own work
    // in a frame is its thread's processor time.
    std::printf("longest processor time of the window thread in one frame: %.1f ms\n", longestCpu / 1000.0);
    double load[1] = {0};
    if (getloadavg(load, 1) == 1) {
        std::printf("load average at the end: %.2f on %ld cores\n", load[0], sysconf(_SC_NPROCESSORS_ONLN));
    }
    std::printf("thumbnail cache: peak %.1f MiB in %d thumbnails (budget %.0f MiB)\n", peakBytes / 1048576.0, peakCount,
                thumbnails.cache().budget() / 1048576.0);
    std::printf("resident memory: window process %.1f MiB (peak %.1f MiB)\n", statusKiB(getpid(), "VmRSS:") / 1024.0,
                statusKiB(getpid(), "VmHWM:") / 1024.0);
    for (pid_t child : children()) {
        std::printf("                 worker %d: %.1f MiB (peak %.1f MiB)\n", static_cast<int>(child),
                    statusKiB(child, "VmRSS:") / 1024.0, statusKiB(child, "VmHWM:") / 1024.0);
    }
    return 0;
}
