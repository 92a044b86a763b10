#pragma once

#include <QObject>
#include <thread>

#include "platform/desktop/TaskRunner.h"

namespace tomefuse {

// Runs a task on a thread of its own; what it delivers arrives through the main thread's event
// loop, in order, and done after the last of it. Destroying the runner waits for the task.
class QtTaskRunner final : public TaskRunner {
  public:
    QtTaskRunner();
    ~QtTaskRunner() override;
    QtTaskRunner(const QtTaskRunner&) = delete;
    QtTaskRunner& operator=(const QtTaskRunner&) = delete;

    void run(std::function<void()> work, std::function<void()> done) override;
    void deliver(std::function<void()> f) override;
    // Waits for the task's thread to end; what it delivered is dropped with the runner.
    void waitForTask();

  private:
    QObject receiver_;  // lives on the main thread: queued calls to it run there
    std::thread thread_;
};

}  // namespace tomefuse
