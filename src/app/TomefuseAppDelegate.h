#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "combine/SaveSession.h"
#include "list/DocumentList.h"
#include "list/EntryReader.h"
#include "list/FileIntake.h"
#include "list/ListSorting.h"
#include "list/PdfEntry.h"
#include "platform/desktop/DesktopServices.h"
#include "platform/desktop/Dragging.h"
#include "platform/desktop/ProgressSheet.h"
#include "platform/desktop/TableDataSource.h"
#include "platform/desktop/TableView.h"
#include "platform/pdf/PDFDocument.h"

namespace tomefuse {

// Whatever sent a command; commands never look at it.
class Sender;

// Observable: a combine is running (its will/did-change surround its start and its end).
inline constexpr const char* isCombiningKey = "isCombining";

// The one controller: every command, the table's data source and delegate, the drag-and-drop
// calls and the write-progress handlers, each handed to the room that does the work: the document
// list and its edits (DocumentList), reading files into entries (EntryReader, FileIntake), saving
// (combine/). It keeps the outlets and tells the table and the observers what changed.
class TomefuseAppDelegate final : public TableDataSource {
  public:
    using Action = void (TomefuseAppDelegate::*)(Sender*);

    explicit TomefuseAppDelegate(DesktopServices services);
    TomefuseAppDelegate(const TomefuseAppDelegate&) = delete;
    TomefuseAppDelegate& operator=(const TomefuseAppDelegate&) = delete;

    // Outlets, set by the main interface; not owned.
    Window* window() const { return outlets_.window; }
    void setWindow(Window* window) { outlets_.window = window; }
    TableView* tableView() const override { return outlets_.tableView; }
    void setTableView(TableView* tableView) { outlets_.tableView = tableView; }
    Panel* saveProgressPanel() const { return outlets_.saveProgressPanel; }
    void setSaveProgressPanel(Panel* panel) { outlets_.saveProgressPanel = panel; }
    ProgressIndicator* saveProgressBar() const { return outlets_.saveProgressBar; }
    void setSaveProgressBar(ProgressIndicator* bar) { outlets_.saveProgressBar = bar; }

    const std::vector<PdfEntry>& pdfsList() const { return list_.entries(); }
    const std::shared_ptr<PDFDocument>& newpdf() const { return save_.newpdf(); }

    // Observes will/did-change of "pdfsList" (prior is true for will-change).
    using KeyValueObserver = std::function<void(const std::string& key, bool prior)>;
    void addKeyValueObserver(KeyValueObserver observer);

    // Application delegate (app/).
    void applicationDidFinishLaunching();
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }
    bool validateUserInterfaceItem(Action action) const;
    void showHelp(Sender* sender);
    // Where the help page is looked for; set by the front end.
    void setHelpPagePath(std::string path) { helpPagePath_ = std::move(path); }

    // Adding and removing (list/).
    void addToTable(Sender* sender);
    void removeFromTable(Sender* sender);
    void tableViewDoubleClicked(Sender* sender);
    bool openFile(const std::string& path);
    void openFiles(const std::vector<std::string>& paths);
    // Asks again for the passwords of the selected files that were skipped or not opened.
    void enterPassword(Sender* sender);
    // Reads again every listed file changed or gone since it was read; answers whether any was.
    bool refreshEntries();

    // Table data source and delegate (list/). Rows outside the list are ignored.
    int64_t numberOfRowsInTableView() const override;
    CellValue objectValueForTableColumn(const std::string& identifier, int64_t row) const override;
    bool shouldEditTableColumn(const std::string& identifier, int64_t row) const override;
    void setObjectValue(const std::string& value, const std::string& identifier, int64_t row) override;
    bool acceptsObjectValue(const std::string& value, const std::string& identifier, int64_t row) const override;
    std::optional<RowFile> fileAtRow(int64_t row) const override;
    std::optional<RowFile> previewFileAtRow(int64_t row) const override { return previewFileOf(pdfsList(), row); }
    std::optional<std::vector<uint64_t>> pagesTakenAtRow(int64_t row) const override;
    // Takes the pages a text names from the file at the row, as one edit; a text that names no
    // pages of it is refused with the reason, and the pages taken stay as they were.
    void choosePages(int64_t row, const std::string& text);

    // Drag and drop (list/).
    bool writeRowsWithIndexes(const IndexSet& rows, Pasteboard& pasteboard) override;
    NSDragOperation validateDrop(DraggingInfo& info, int64_t row, NSTableViewDropOperation operation) override;
    bool acceptDrop(DraggingInfo& info, int64_t row, NSTableViewDropOperation operation) override;

    // Arranging the list (list/). Every change of the list is one edit that Undo takes back;
    // moves and sorts take the row move's path, with its will/did-change of "pdfsList".
    void addFolder(Sender* sender);
    void moveUp(Sender* sender);
    void moveDown(Sender* sender);
    void moveToTop(Sender* sender);
    void moveToBottom(Sender* sender);
    void sortByName(Sender* sender);
    void sortByDateModified(Sender* sender);
    void sortByPages(Sender* sender);
    void reverseOrder(Sender* sender);
    // A click on a column's header sorts by it, a second click the other way (ListSorting).
    void didClickTableColumn(const std::string& identifier) override;
    const std::optional<SortIndicator>& sortIndicator() const { return sorting_.indicator(); }
    void renameFile(Sender* sender);
    void undo(Sender* sender);
    void redo(Sender* sender);
    // What Undo and Redo would do ("Remove 2 Files"); empty when nothing.
    std::string undoActionName() const { return list_.undoActionName(); }
    std::string redoActionName() const { return list_.redoActionName(); }

    // Pages (TomefuseAppDelegate_pages.cpp). Rotate Right and Left turn every page of the
    // selected rows; the others some pages of one row, counted in its pages (0-based), as the
    // preview's chosen thumbnails give them.
    void rotateRight(Sender* sender);
    void rotateLeft(Sender* sender);
    void turnPages(int64_t row, const std::vector<uint64_t>& pages, int degrees);
    void takeOnlyPages(int64_t row, const std::vector<uint64_t>& pages);
    void leaveOutPages(int64_t row, const std::vector<uint64_t>& pages);
    // The selected row and the next as one entry, their pages in turn (A1 B1 A2 B2 …), or with
    // the next file's last page first.
    void interleaveWithNext(Sender* sender);
    void interleaveWithNextReversed(Sender* sender);

    // Job files (TomefuseAppDelegate_jobs.cpp): the list and the combine's options kept in a
    // ".tomefuse" file, and read back in place of the list, asking for passwords again. Each
    // answers whether it did; what went wrong the window is told.
    bool saveJob(const std::string& path);
    bool openJob(const std::string& path);

    // Combining and saving (combine/). The combine runs through the task runner, off the event
    // loop where there is one; writeCombinedPDF returns once it has started.
    void writeCombinedPDF(const std::string& path);
    void saveToDisk(Sender* sender);
    void saveToTemporaryFile(Sender* sender);
    void cancelCombine(Sender* sender);
    bool isCombining() const { return save_.isCombining(); }
    // How the last combine ended; none before the first has finished.
    const std::optional<CombineOutcome>& lastCombineOutcome() const { return save_.lastOutcome(); }
    // A file that cannot be read while combining is left out and named, or makes it write nothing.
    void setLeavesOutUnreadableFiles(bool flag) { save_.setLeavesOutUnreadableFiles(flag); }

    // Write progress (combine/).
    void documentBeginWrite(const Notification& notification);
    void documentEndPageWrite(const Notification& notification);
    void documentEndWrite(const Notification& notification);
    void saveProgressSheetDidEnd(Panel* sheet, int returnCode);
    void combineWillReadFile(size_t index, size_t count, const std::string& name);
    void combineWillFinish();

  private:
    // The table's selected rows that are rows of the list.
    IndexSet selectedRowsInList() const;
    // Puts what was read in at the row, saying what was left out; answers how many.
    size_t insertEntries(Intake intake, uint64_t row);
    // Puts what the open dialog chose at the end; nothing when it was cancelled.
    void append(std::optional<Intake> chosen);
    void listChanged(const ListChange& change);
    void reloadTable();
    void changeValueForKey(const std::string& key, bool prior);
    bool isRowMove(const DraggingInfo& info) const;
    void moveSelection(MoveDirection direction);
    void turnSelection(int degrees);
    void interleaveSelection(bool reversed);
    void choosePagesOf(int64_t row, PageSelection pages);
    // The row's pages chosen by thumbnail; none, with a beep, when they name none of its pages.
    std::optional<PageSelection> chosenPages(int64_t row, const std::vector<uint64_t>& pages);
    void showStatusMessage(const std::string& message);

    DesktopServices services_;
    Outlets outlets_;
    // Exists from construction, so early open requests are kept.
    DocumentList list_;
    EntryReader reader_;
    FileIntake intake_;
    ListSorting sorting_;
    std::vector<KeyValueObserver> keyValueObservers_;
    std::string helpPagePath_;
    SaveSession save_;
};

}  // namespace tomefuse
