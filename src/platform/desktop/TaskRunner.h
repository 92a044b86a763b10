#pragma once

#include <functional>

namespace tomefuse {

// Runs long work off the event loop, so the window stays alive, and brings what the work reports
// back to the main thread in the order it was reported.
class TaskRunner {
  public:
    virtual ~TaskRunner() = default;
    // Starts work; done runs on the main thread after everything work delivered. One task at a
    // time.
    virtual void run(std::function<void()> work, std::function<void()> done) = 0;
    // From inside work: runs f on the main thread, after everything delivered before it.
    virtual void deliver(std::function<void()> f) = 0;
};

// Runs the work in place, on the caller's thread: the command line's, and the tests'.
class InlineTaskRunner final : public TaskRunner {
  public:
    void run(std::function<void()> work, std::function<void()> done) override {
        work();
        done();
    }
    void deliver(std::function<void()> f) override { f(); }
};

}  // namespace tomefuse
