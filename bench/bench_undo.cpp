// The memory that Undo keeps: the heap in use after 100 edits of a list of 2,000 files, less the
// heap in use before them. tomefuse-bench-undo [FILES [EDITS]]
// The edits go round renaming a file, moving one to the top, reversing the order, choosing pages
// and sorting by name, each remembered for Undo (which keeps the last 100).
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/TomefuseAppDelegate.h"
#include "support/Fixtures.h"

using namespace tomefuse;

namespace {

class Settings final : public UserDefaults {
  public:
    void registerDefaults(const std::map<std::string, bool>&) override {}
    bool boolForKey(const std::string&) const override { return true; }
    void setBool(const std::string&, bool) override {}
    std::string stringForKey(const std::string&) const override { return {}; }
    void setString(const std::string&, const std::string&) override {}
};

class Desktop final : public Workspace, public System {
  public:
    void openFile(const std::string&, Done) override {}
    void selectFile(const std::string&, const std::string&, Done) override {}
    void openURL(const std::string&, Done) override {}
    uint64_t currentEventModifierFlags() const override { return 0; }
    void beep() override {}
    void log(const std::string&) override {}
    std::string temporaryDirectory() const override { return "/tmp"; }
};

// The rows the user selected; nothing is drawn.
class Table final : public TableView {
  public:
    void reloadData() override {}
    int64_t selectedRow() const override { return rows.empty() ? -1 : static_cast<int64_t>(*rows.begin()); }
    IndexSet selectedRowIndexes() const override { return rows; }
    void selectRowIndexes(const IndexSet& indexes, bool extending) override {
        if (!extending) {
            rows.clear();
        }
        rows.insert(indexes.begin(), indexes.end());
    }
    void registerForDraggedTypes(const std::vector<std::string>&) override {}
    void setDoubleAction(std::function<void()>) override {}
    void scrollRowToVisible(int64_t) override {}
    void editColumn(const std::string&, int64_t) override {}
    void setSortIndicator(const std::optional<SortIndicator>&) override {}

    IndexSet rows;
};

size_t heapInUse() { return mallinfo2().uordblks; }

}  // namespace

int main(int argc, char** argv) {
    const size_t files = argc > 1 ? std::stoul(argv[1]) : 2000;
    const size_t edits = argc > 2 ? std::stoul(argv[2]) : 100;
    test::TempDir dir;
    const std::string original = test::makePdf(dir, "original.pdf", 12);
    std::vector<std::string> paths;
    for (size_t i = 0; i < files; ++i) {
        // Names as long as real ones, each file a link to the same one.
        paths.push_back(dir.file("Chapter " + std::to_string(files - i) + " of the field handbook.pdf"));
        std::filesystem::create_hard_link(original, paths.back());
    }

    Settings settings;
    Desktop desktop;
    Table table;
    TomefuseAppDelegate controller(
        DesktopServices{settings, NotificationCenter::defaultCenter(), desktop, desktop, nullptr, nullptr});
    controller.setTableView(&table);
    controller.applicationDidFinishLaunching();
    controller.openFiles(paths);
    if (controller.pdfsList().size() != files) {
        std::fprintf(stderr, "not every file was listed\n");
        return 1;
    }

    const size_t before = heapInUse();
    for (size_t i = 0; i < edits; ++i) {
        const auto row = static_cast<int64_t>((i * 37) % files);
        table.rows = {static_cast<uint64_t>(row)};
        switch (i % 5) {
            case 0:
                controller.setObjectValue("Renamed " + std::to_string(i), "filename", row);
                break;
            case 1:
                controller.moveToTop(nullptr);
                break;
            case 2:
                controller.reverseOrder(nullptr);
                break;
            case 3:
                controller.choosePages(row, std::to_string(i % 12 + 1) + "-z");
                break;
            default:
                controller.sortByName(nullptr);
                break;
        }
    }
    const size_t after = heapInUse();
    std::printf("%zu files, %zu edits: %.2f MiB kept for Undo (%.1f KiB an edit)\n", files, edits,
                static_cast<double>(after - before) / (1 << 20),
                static_cast<double>(after - before) / 1024 / static_cast<double>(edits));
    return controller.undoActionName().empty() ? 1 : 0;
}
