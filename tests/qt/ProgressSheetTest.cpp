#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <filesystem>

#include "QtTestSupport.h"
#include "platform/qt/QtProgressSheet.h"
#include "platform/qt/QtTaskRunner.h"

namespace tomefuse::test {
namespace {

TEST(ProgressSheet, ShowsOnTheWindowFollowsTheValuesAndEndsThroughTheWindow) {
    WindowHarness harness;
    MainWindow& window = harness.window();
    QtProgressSheet& sheet = *window.progressSheet();
    Panel* panel = harness.controller().saveProgressPanel();
    ProgressIndicator* bar = harness.controller().saveProgressBar();
    ASSERT_EQ(panel, &sheet.panel());
    ASSERT_EQ(bar, &sheet.indicator());

    // Twice: the same sheet serves every combine.
    for (int round = 0; round < 2; ++round) {
        int ended = 0;
        bar->setMaxValue(3);
        bar->setDoubleValue(0);
        EXPECT_EQ(sheet.label()->text(), "Preparing…");
        window.beginSheet(panel, [&](Panel* ending, int returnCode) {
            ++ended;
            EXPECT_EQ(ending, panel);
            EXPECT_EQ(returnCode, 0);
            ending->close();
        });
        EXPECT_TRUE(panel->isVisible());
        // A bar in the window, not a dialog over it: the list keeps its input during a save.
        EXPECT_FALSE(sheet.isWindow());
        EXPECT_TRUE(window.isAncestorOf(&sheet));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(sheet.cancelButton()->isVisibleTo(&sheet));
        EXPECT_FALSE(sheet.openButton()->isVisibleTo(&sheet));

        const struct {
            double value;
            int bar;
            const char* label;
        } steps[] = {
            {0, 0, "Writing page 1 of 3"},
            {1, 3333, "Writing page 2 of 3"},
            {2, 6667, "Writing page 3 of 3"},
        };
        for (const auto& step : steps) {
            bar->setDoubleValue(step.value);
            bar->displayIfNeeded();
            EXPECT_EQ(bar->doubleValue(), step.value);
            EXPECT_EQ(sheet.progressBar()->value(), step.bar);
            EXPECT_EQ(sheet.label()->text(), step.label);
        }

        window.endSheet(panel);
        EXPECT_EQ(ended, 1);
        EXPECT_FALSE(panel->isVisible());
        window.endSheet(panel);
        EXPECT_EQ(ended, 1) << "a sheet ends once";
    }
}

TEST(ProgressSheet, OddMaximaKeepTheBarInRange) {
    WindowHarness harness;
    QtProgressSheet& sheet = *harness.window().progressSheet();
    ProgressIndicator& bar = sheet.indicator();
    const struct {
        double max;
        double value;
        int expected;
    } cases[] = {{0, 0, 0}, {0, 5, 0}, {2, 7, QtProgressSheet::barResolution}, {1e12, 5e11, 5000}, {4, -1, 0}};
    for (const auto& c : cases) {
        bar.setMaxValue(c.max);
        bar.setDoubleValue(c.value);
        EXPECT_EQ(sheet.progressBar()->value(), c.expected) << c.max << " " << c.value;
        EXPECT_EQ(bar.maxValue(), c.max);
    }
}

// Passes everything on to the sheet's bar, noting the values and whether each call came on the
// main thread.
class ThreadWatchingIndicator final : public ProgressIndicator {
  public:
    explicit ThreadWatchingIndicator(ProgressIndicator& inner) : inner_(inner) {}
    void setMaxValue(double value) override {
        note();
        inner_.setMaxValue(value);
    }
    void setDoubleValue(double value) override {
        note();
        values.push_back(value);
        inner_.setDoubleValue(value);
    }
    double maxValue() const override { return inner_.maxValue(); }
    double doubleValue() const override { return inner_.doubleValue(); }
    void displayIfNeeded() override { inner_.displayIfNeeded(); }

    std::vector<double> values;
    bool offMainThread = false;

  private:
    void note() { offMainThread = offMainThread || QThread::currentThread() != QCoreApplication::instance()->thread(); }
    ProgressIndicator& inner_;
};

// A combine on the application's own runner: it works on another thread while everything the
// sheet is told arrives on the main thread, in order, and the keys go back to the list after.
TEST(ProgressSheet, FollowsACombineOnAnotherThread) {
    QtTaskRunner runner;
    WindowHarness harness(&runner);
    harness.addPdfs({12, 8});
    QtProgressSheet& sheet = *harness.window().progressSheet();
    ThreadWatchingIndicator watcher(sheet.indicator());
    harness.controller().setSaveProgressBar(&watcher);
    TempDir out;
    harness.controller().writeCombinedPDF(out.file("combined.pdf"));
    EXPECT_TRUE(harness.controller().isCombining());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.controller().isCombining(); }, 10000));
    harness.controller().setSaveProgressBar(&sheet.indicator());

    EXPECT_FALSE(watcher.offMainThread);
    std::vector<double> expected{0};
    for (int page = 0; page < 20; ++page) {
        expected.push_back(page);
    }
    EXPECT_EQ(watcher.values, expected);
    EXPECT_FALSE(sheet.panel().isVisible());
    EXPECT_TRUE(sheet.isShowingSaved());
    EXPECT_EQ(sheet.label()->text().toStdString(), "Saved “combined.pdf” in " + out.path());
    EXPECT_EQ(harness.controller().lastCombineOutcome()->status, CombineOutcome::Status::written);
    EXPECT_EQ(harness.workspace.opened, std::vector<std::string>{out.file("combined.pdf")});
    EXPECT_EQ(QApplication::focusWidget(), &harness.table());
}

// Escape in the list, Stop Saving, or the bar's Cancel; the list takes edits meanwhile.
TEST(ProgressSheet, CancelAsksTheControllerAndWaitsForTheCombine) {
    for (int way = 0; way < 3; ++way) {
        HeldTaskRunner runner;
        WindowHarness harness(&runner);
        harness.addPdfs({2, 2});
        MainWindow& window = harness.window();
        window.show();
        QApplication::setActiveWindow(&window);
        harness.table().setFocus();
        TempDir out;
        harness.controller().writeCombinedPDF(out.file("combined.pdf"));
        QtProgressSheet& sheet = *window.progressSheet();
        sheet.panel().open();  // as the combine's first news does
        EXPECT_EQ(QApplication::focusWidget(), &harness.table()) << "the bar takes no keys";

        harness.table().selectRowIndexes({1}, false);
        harness.controller().moveUp(nullptr);
        EXPECT_EQ(harness.controller().pdfsList()[0].filename, "b") << way;

        if (way == 0) {
            QTest::keyClick(&harness.table(), Qt::Key_Escape);
        } else if (way == 1) {
            window.stopSavingAction()->trigger();
        } else {
            sheet.cancelButton()->click();
        }
        EXPECT_TRUE(sheet.panel().isVisible()) << "until the combine has stopped";
        EXPECT_FALSE(sheet.cancelButton()->isEnabled()) << way;
        runner.finish();
        EXPECT_EQ(harness.controller().lastCombineOutcome()->status, CombineOutcome::Status::cancelled);
        EXPECT_FALSE(std::filesystem::exists(out.file("combined.pdf")));
    }
}

}  // namespace
}  // namespace tomefuse::test
