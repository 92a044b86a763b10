#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "list/ListEdit.h"

namespace tomefuse {

// Undo and redo over list edits. Past the limit the oldest edits are forgotten.
class UndoStack {
  public:
    explicit UndoStack(size_t limit = 100) : limit_(limit) {}

    // A new edit forgets whatever could have been redone.
    void push(ListEdit edit);
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < edits_.size(); }
    // Empty when there is nothing to undo or redo.
    std::string undoActionName() const { return canUndo() ? edits_[done_ - 1].name() : std::string(); }
    std::string redoActionName() const { return canRedo() ? edits_[done_].name() : std::string(); }
    // Takes the last edit back (makes the next one again) in entries, and puts the selection of
    // the other side in place of selection. False when there is none.
    bool undo(std::vector<PdfEntry>& entries, IndexSet& selection);
    bool redo(std::vector<PdfEntry>& entries, IndexSet& selection);

  private:
    std::vector<ListEdit> edits_;
    size_t done_ = 0;  // edits_[0, done_) are done, the rest undone
    size_t limit_;
};

}  // namespace tomefuse
