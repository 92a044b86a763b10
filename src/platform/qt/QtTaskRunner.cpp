#include "platform/qt/QtTaskRunner.h"

#include <QMetaObject>

namespace tomefuse {

QtTaskRunner::QtTaskRunner() = default;

QtTaskRunner::~QtTaskRunner() { waitForTask(); }

void QtTaskRunner::waitForTask() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void QtTaskRunner::run(std::function<void()> work, std::function<void()> done) {
    waitForTask();  // the last task has delivered its end already; its thread is ending
    thread_ = std::thread([this, work = std::move(work), done = std::move(done)]() mutable {
        work();
        deliver(std::move(done));
    });
}

void QtTaskRunner::deliver(std::function<void()> f) {
    // Calls queued from one thread to one receiver run in the order they were queued.
    QMetaObject::invokeMethod(&receiver_, std::move(f), Qt::QueuedConnection);
}

}  // namespace tomefuse
