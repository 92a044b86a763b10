#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "combine/CombineJob.h"
#include "combine/SaveProgress.h"
#include "list/DocumentList.h"
#include "list/EntryReader.h"
#include "platform/desktop/DesktopServices.h"
#include "platform/desktop/Outlets.h"

namespace tomefuse {

inline constexpr const char* quickSaveSuffix = " -TOMEFUSE.pdf";

// Where the quick save writes: the first file's display name made safe for a file name, with the
// suffix, in the temporary folder.
std::string quickSavePath(const std::string& temporaryDirectory, const std::string& firstName);

// The folder as a person reads it: under the home folder with "~".
std::string folderForDisplay(const std::string& folder, const std::string& home);
// What the window says once a file is written: "Saved “Report.pdf” in ~/Documents".
std::string savedMessage(const std::string& path, const std::string& home);

// Why the file at target may not be written over: it is one of the files to combine (the same
// file, by device and inode). Empty when it may.
std::string refusalToReplace(const std::string& target, const std::vector<CombineFile>& files);

// The save commands and the combine they start: where the file goes (the save dialog, or the
// quick save's name in the temporary folder), what refuses a save (too few files, a target that
// is one of the listed files), the question before files that cannot be read are left out, the
// job on its runner with the progress sheet, and opening or revealing the file afterwards.
class SaveSession {
  public:
    SaveSession(DesktopServices& services, const Outlets& outlets, DocumentList& list, const EntryReader& reader);
    // The observations of the last combined document name this object; none may outlive it.
    ~SaveSession();
    SaveSession(const SaveSession&) = delete;
    SaveSession& operator=(const SaveSession&) = delete;

    void saveToDisk();
    void saveToTemporaryFile();
    // Returns once the combine has started (or was refused).
    void writeCombinedPDF(const std::string& path);
    void cancel();

    // A save is under way from the check of the files to the end of the write.
    bool isCombining() const { return combine_ != nullptr || checkStop_ != nullptr; }
    const std::shared_ptr<PDFDocument>& newpdf() const { return newpdf_; }
    const std::optional<CombineOutcome>& lastOutcome() const { return lastOutcome_; }
    void setLeavesOutUnreadableFiles(bool flag) { leavesOutUnreadable_ = flag; }
    // Told before (prior) and after a combine starts, and again when it ends.
    void setCombiningObserver(std::function<void(bool prior)> observer) { combiningObserver_ = std::move(observer); }
    SaveProgress& progress() { return progress_; }

  private:
    class Relay;
    struct Running;
    // Reads the list as the files are now and checks beside the window that their pages copy
    // whole; files that cannot be read are named, and the user says whether to combine the others
    // without them. then runs once the save may go on, maybe after this returns.
    void whenReadyToSave(std::function<void()> then);
    bool askAboutUnreadable();
    void runSavePanel();
    TaskRunner& runner() const;
    void quickSave();
    std::string refusalToReplace(const std::string& path) const;
    std::vector<CombineFile> filesToCombine() const;
    void reportFailure(const std::string& path, std::string reason);
    void combiningChanged();
    void didFinish();
    // Open or show the written file; the window says so when the desktop cannot.
    void openSaved(const std::string& path);
    void revealSaved(const std::string& path);

    DesktopServices& services_;
    const Outlets& outlets_;
    DocumentList& list_;
    const EntryReader& reader_;
    SaveProgress progress_;
    std::shared_ptr<PDFDocument> newpdf_;
    std::shared_ptr<Running> combine_;              // shared: the type is the combine's own
    std::shared_ptr<std::atomic<bool>> checkStop_;  // while the files are checked: stops it
    std::optional<CombineOutcome> lastOutcome_;
    bool leavesOutUnreadable_ = true;
    std::function<void(bool prior)> combiningObserver_;
};

}  // namespace tomefuse
