// The controller's part in saving: the save commands and the write-progress handlers, handed to
// the save session.

#include "app/TomefuseAppDelegate.h"

namespace tomefuse {

void TomefuseAppDelegate::writeCombinedPDF(const std::string& path) { save_.writeCombinedPDF(path); }
void TomefuseAppDelegate::saveToDisk(Sender*) { save_.saveToDisk(); }
void TomefuseAppDelegate::saveToTemporaryFile(Sender*) { save_.saveToTemporaryFile(); }
void TomefuseAppDelegate::cancelCombine(Sender*) { save_.cancel(); }

void TomefuseAppDelegate::documentBeginWrite(const Notification& note) { save_.progress().documentBeginWrite(note); }
void TomefuseAppDelegate::documentEndPageWrite(const Notification& note) {
    save_.progress().documentEndPageWrite(note);
}
void TomefuseAppDelegate::documentEndWrite(const Notification& note) { save_.progress().documentEndWrite(note); }

void TomefuseAppDelegate::saveProgressSheetDidEnd(Panel*, int) { save_.progress().sheetDidEnd(); }

void TomefuseAppDelegate::combineWillReadFile(size_t index, size_t count, const std::string& name) {
    save_.progress().willReadFile(index, count, name);
}

void TomefuseAppDelegate::combineWillFinish() { save_.progress().willFinish(); }

}  // namespace tomefuse
