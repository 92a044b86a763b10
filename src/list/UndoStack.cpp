#include "list/UndoStack.h"

namespace tomefuse {

void UndoStack::push(ListEdit edit) {
    if (limit_ == 0) {
        return;
    }
    edits_.erase(edits_.begin() + static_cast<std::ptrdiff_t>(done_), edits_.end());
    if (edits_.size() == limit_) {
        edits_.erase(edits_.begin());
    }
    edits_.push_back(std::move(edit));
    done_ = edits_.size();
}

bool UndoStack::undo(std::vector<PdfEntry>& entries, IndexSet& selection) {
    if (!canUndo()) {
        return false;
    }
    ListEdit& edit = edits_[--done_];
    edit.swap(entries);
    edit.swapSelection(selection);
    return true;
}

bool UndoStack::redo(std::vector<PdfEntry>& entries, IndexSet& selection) {
    if (!canRedo()) {
        return false;
    }
    ListEdit& edit = edits_[done_++];
    edit.swap(entries);
    edit.swapSelection(selection);
    return true;
}

}  // namespace tomefuse
