#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/TomefuseAppDelegate.h"
#include "platform/desktop/TaskRunner.h"
#include "platform/qt/PdfTableModel.h"
#include "platform/qt/PdfTableView.h"
#include "platform/qt/QtSystem.h"
#include "platform/qt/QtUserDefaults.h"
#include "support/PdfBuilder.h"

namespace tomefuse::test {

// The folder that QSettings writes the application's own settings to during the tests.
QString testSettingsDir();

// A PDF of the given pages in dir, with an outline of outlineItems top-level items.
std::string writePdf(const TempDir& dir, const std::string& name, int pages, int outlineItems = 0);

// Watches for a modal widget while it lives.
class ModalWatch {
  public:
    ~ModalWatch() { delete timer_; }
    // Whether the widget came and was acted on.
    bool done() const { return done_; }

  private:
    template <class T>
    friend std::unique_ptr<ModalWatch> whenModal(std::function<void(T*)> act);
    QTimer* timer_ = nullptr;
    QPointer<QWidget> acted_;
    bool done_ = false;
    int ticks_ = 0;
};

// Runs act on the first modal widget of type T to appear within a few seconds, from inside the
// modal loop that shows it. Should act leave it open, it is rejected a few seconds later, so a
// failing test fails instead of hanging.
template <class T>
std::unique_ptr<ModalWatch> whenModal(std::function<void(T*)> act) {
    auto watch = std::make_unique<ModalWatch>();
    ModalWatch* w = watch.get();
    w->timer_ = new QTimer;
    QObject::connect(w->timer_, &QTimer::timeout, [w, act] {
        ++w->ticks_;
        if (w->done_) {
            if (!w->acted_ || !w->acted_->isVisible()) {
                w->timer_->stop();
            } else if (w->ticks_ > 300) {
                w->timer_->stop();
                QMetaObject::invokeMethod(w->acted_, "reject");
            }
        } else if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget()); widget && widget->isVisible()) {
            w->done_ = true;
            w->acted_ = widget;
            w->ticks_ = 0;
            act(widget);
        } else if (w->ticks_ > 500) {
            w->timer_->stop();
        }
    });
    w->timer_->start(10);
    return watch;
}

// Sets an environment variable for one scope, restoring or removing it afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnvironment() {
        if (wasSet_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

class RecordingWorkspace final : public Workspace {
  public:
    void openFile(const std::string& path, Done done) override {
        opened.push_back(path);
        succeed(done);
    }
    void selectFile(const std::string& path, const std::string&, Done done) override {
        revealed.push_back(path);
        succeed(done);
    }
    void openURL(const std::string& url, Done done) override {
        urls.push_back(url);
        succeed(done);
    }
    static void succeed(const Done& done) {
        if (done) {
            done(true);
        }
    }
    std::vector<std::string> opened;
    std::vector<std::string> revealed;
    std::vector<std::string> urls;
};

// Holds a task until the test lets it run; what it delivers arrives at once, as the work runs on
// the test's thread.
class HeldTaskRunner final : public TaskRunner {
  public:
    void run(std::function<void()> work, std::function<void()> done) override {
        work_ = std::move(work);
        done_ = std::move(done);
    }
    void deliver(std::function<void()> f) override { f(); }
    bool holding() const { return static_cast<bool>(work_); }
    // Runs the task held, and then its end.
    void finish() {
        auto work = std::move(work_);
        auto done = std::move(done_);
        work_ = nullptr;
        done_ = nullptr;
        if (work) {
            work();
            done();
        }
    }

  private:
    std::function<void()> work_;
    std::function<void()> done_;
};

// A launched controller with its window, over real Qt services except the workspace, which
// records instead of starting other programs. Combines run where the runner given runs them;
// by default they run at once.
class WindowHarness {
  public:
    explicit WindowHarness(TaskRunner* runner = nullptr);
    ~WindowHarness();

    TomefuseAppDelegate& controller() { return *controller_; }
    MainWindow& window() { return *window_; }
    PdfTableView& table() { return *window_->table(); }
    PdfTableModel& model() { return *window_->tableModel(); }

    // Adds PDFs of the given page counts, named a.pdf, b.pdf, ...; answers their paths.
    std::vector<std::string> addPdfs(const std::vector<int>& pageCounts);

    TempDir dir;
    QtUserDefaults userDefaults;
    RecordingWorkspace workspace;
    QtSystem system;

  private:
    std::unique_ptr<TomefuseAppDelegate> controller_;
    std::unique_ptr<MainWindow> window_;
    int added_ = 0;
};

// Collects the complaints of QAbstractItemModelTester while it lives.
class ModelTestWarnings {
  public:
    ModelTestWarnings();
    ~ModelTestWarnings();
    std::vector<std::string> take();
};

}  // namespace tomefuse::test
