#include "list/UndoStack.h"

namespace tomefuse {

std::string editName(const std::string& verb, size_t files) {
    return files == 1 ? verb + " File" : verb + " " + std::to_string(files) + " Files";
}

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

bool UndoStack::undo(ListSnapshot& current) {
    if (!canUndo()) {
        return false;
    }
    edits_[--done_].swap(current);
    return true;
}

bool UndoStack::redo(ListSnapshot& current) {
    if (!canRedo()) {
        return false;
    }
    edits_[done_++].swap(current);
    return true;
}

}  // namespace tomefuse
