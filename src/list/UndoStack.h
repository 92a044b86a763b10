#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "list/PdfEntry.h"
#include "platform/desktop/TableView.h"

namespace tomefuse {

// The list as one side of an edit leaves it: every entry whole, and the rows selected.
struct ListSnapshot {
    std::vector<PdfEntry> entries;
    IndexSet selection;

    bool operator==(const ListSnapshot&) const = default;
};

// One change of the list, named for the menu ("Remove 2 Files"). It keeps the list as it stands
// on the other side of the change, so undoing and redoing are the same swap, whatever the edit.
class ListEdit {
  public:
    ListEdit(std::string name, ListSnapshot other) : name_(std::move(name)), other_(std::move(other)) {}
    const std::string& name() const { return name_; }
    void swap(ListSnapshot& current) { std::swap(current, other_); }

  private:
    std::string name_;
    ListSnapshot other_;
};

// "Remove File", "Remove 2 Files".
std::string editName(const std::string& verb, size_t files);

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
    // Puts the list from before (after) the edit in place of current. False when there is none.
    bool undo(ListSnapshot& current);
    bool redo(ListSnapshot& current);

  private:
    std::vector<ListEdit> edits_;
    size_t done_ = 0;  // edits_[0, done_) are done, the rest undone
    size_t limit_;
};

}  // namespace tomefuse
