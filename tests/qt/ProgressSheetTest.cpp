#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "QtTestSupport.h"
#include "platform/qt/QtProgressSheet.h"

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
        EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
        EXPECT_EQ(sheet.parentWidget(), &window);

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

// Passes everything on to the sheet's bar, and after each redraw looks at what the screen shows.
class ScreenWatchingIndicator final : public ProgressIndicator {
  public:
    explicit ScreenWatchingIndicator(QtProgressSheet& sheet) : sheet_(sheet), inner_(sheet.indicator()) {}
    void setMaxValue(double value) override { inner_.setMaxValue(value); }
    void setDoubleValue(double value) override { inner_.setDoubleValue(value); }
    double maxValue() const override { return inner_.maxValue(); }
    double doubleValue() const override { return inner_.doubleValue(); }
    void displayIfNeeded() override {
        inner_.displayIfNeeded();
        shownFractions.emplace_back(doubleValue() / maxValue(), filledFractionOnScreen());
    }

    std::vector<std::pair<double, double>> shownFractions;  // asked for, seen on screen

  private:
    // The share of the bar's middle line drawn in the highlight colour.
    double filledFractionOnScreen() const {
        QProgressBar* bar = sheet_.progressBar();
        const QPoint origin = bar->mapToGlobal(QPoint(0, 0));
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, origin.x(), origin.y(), bar->width(), bar->height())
                                .toImage();
        const QColor highlight = bar->palette().color(QPalette::Highlight);
        int filled = 0;
        for (int x = 0; x < shot.width(); ++x) {
            const QColor pixel = shot.pixelColor(x, shot.height() / 2);
            const int distance = std::abs(pixel.red() - highlight.red()) + std::abs(pixel.green() - highlight.green()) +
                                 std::abs(pixel.blue() - highlight.blue());
            filled += distance < 90;
        }
        return shot.width() ? double(filled) / shot.width() : 0;
    }

    QtProgressSheet& sheet_;
    ProgressIndicator& inner_;
};

TEST(ProgressSheet, ReachesTheScreenWhileTheCombineHoldsTheMainThread) {
    WindowHarness harness;
    harness.addPdfs({12, 8});
    QtProgressSheet& sheet = *harness.window().progressSheet();
    ScreenWatchingIndicator watcher(sheet);
    harness.controller().setSaveProgressBar(&watcher);
    TempDir out;

    harness.controller().writeCombinedPDF(out.file("combined.pdf"));
    harness.controller().setSaveProgressBar(&sheet.indicator());

    ASSERT_EQ(watcher.shownFractions.size(), 20u);
    for (size_t page = 0; page < watcher.shownFractions.size(); ++page) {
        const auto [asked, seen] = watcher.shownFractions[page];
        EXPECT_NEAR(seen, asked, 0.06) << "page " << page;
    }
    EXPECT_FALSE(sheet.isVisible());
}

}  // namespace
}  // namespace tomefuse::test
