#include "list/ListEdit.h"

#include <algorithm>
#include <iterator>

#include "platform/desktop/Translation.h"

namespace tomefuse {

RowRuns::RowRuns(const IndexSet& rows) {
    for (uint64_t row : rows) {
        append(row, 1);
    }
}

void RowRuns::append(uint64_t first, uint64_t count) {
    if (count == 0) {
        return;
    }
    if (!runs_.empty() && runs_.back().first + runs_.back().second == first) {
        runs_.back().second += count;
    } else {
        runs_.emplace_back(first, count);
    }
}

IndexSet RowRuns::rows() const {
    IndexSet rows;
    for (const auto& [first, count] : runs_) {
        for (uint64_t i = 0; i < count; ++i) {
            rows.insert(rows.end(), first + i);
        }
    }
    return rows;
}

ListEdit ListEdit::insertion(std::string name, uint64_t at, std::vector<PdfEntry> entries) {
    Splice splice;
    splice.rows.append(at, entries.size());
    splice.entries = std::move(entries);
    splice.putsIn = true;
    return ListEdit(std::move(name), std::move(splice));
}

ListEdit ListEdit::removal(std::string name, const IndexSet& rows, size_t listSize) {
    Splice splice;
    for (uint64_t row : rows) {
        if (row < listSize) {
            splice.rows.append(row, 1);
        }
    }
    return ListEdit(std::move(name), std::move(splice));
}

ListEdit ListEdit::reordering(std::string name, const Order& order) {
    Reorder reorder;
    size_t first = 0;
    size_t end = order.size();
    while (first < end && order[first] == first) {
        ++first;
    }
    while (end > first && order[end - 1] == end - 1) {
        --end;
    }
    // Outside [first, end) every row keeps its entry, so the entries inside come from inside.
    reorder.first = first;
    reorder.order.reserve(end - first);
    for (size_t i = first; i < end; ++i) {
        reorder.order.push_back(static_cast<uint32_t>(order[i] - first));
    }
    return ListEdit(std::move(name), std::move(reorder));
}

ListEdit ListEdit::choice(std::string name, uint64_t row, std::string filename, PageSelection pages) {
    return ListEdit(std::move(name), Choice{row, std::move(filename), std::move(pages)});
}

ListEdit ListEdit::turning(std::string name, std::vector<std::pair<uint64_t, PageRotation>> rotations) {
    return ListEdit(std::move(name), Turn{std::move(rotations)});
}

ListEdit ListEdit::replacement(std::string name, uint64_t at, uint64_t count, std::vector<PdfEntry> entries) {
    return ListEdit(std::move(name), Replace{at, count, std::move(entries)});
}

bool ListEdit::changesNothing() const {
    const auto* reorder = std::get_if<Reorder>(&change_);
    return reorder && reorder->order.empty();
}

void ListEdit::swapSplice(Splice& splice, std::vector<PdfEntry>& entries) {
    const auto& runs = splice.rows.runs();
    std::vector<PdfEntry> result;
    std::vector<PdfEntry> other;
    auto run = runs.begin();
    // Walks the rows of the longer list, the one with the block in: a row in a run is one of the
    // block's, any other row one of the rest.
    const size_t blockSize = splice.putsIn ? splice.entries.size() : 0;
    const size_t longer = entries.size() + blockSize;
    auto block = splice.entries.begin();
    auto rest = entries.begin();
    result.reserve(splice.putsIn ? longer : entries.size());
    for (uint64_t row = 0; row < longer; ++row) {
        while (run != runs.end() && row >= run->first + run->second) {
            ++run;
        }
        const bool inBlock = run != runs.end() && row >= run->first;
        if (splice.putsIn) {
            result.push_back(std::move(inBlock ? *block++ : *rest++));
        } else {
            (inBlock ? other : result).push_back(std::move(*rest++));
        }
    }
    entries = std::move(result);
    splice.entries = std::move(other);
    splice.putsIn = !splice.putsIn;
}

void ListEdit::swapOrder(Reorder& reorder, std::vector<PdfEntry>& entries) {
    const size_t count = reorder.order.size();
    std::vector<PdfEntry> span;
    span.reserve(count);
    std::vector<uint32_t> inverse(count);
    for (size_t i = 0; i < count; ++i) {
        span.push_back(std::move(entries[reorder.first + reorder.order[i]]));
        inverse[reorder.order[i]] = static_cast<uint32_t>(i);
    }
    std::move(span.begin(), span.end(), entries.begin() + static_cast<std::ptrdiff_t>(reorder.first));
    reorder.order = std::move(inverse);
}

void ListEdit::swapReplace(Replace& replace, std::vector<PdfEntry>& entries) {
    const uint64_t at = std::min<uint64_t>(replace.at, entries.size());
    const uint64_t count = std::min<uint64_t>(replace.count, entries.size() - at);
    const auto first = entries.begin() + static_cast<std::ptrdiff_t>(at);
    std::vector<PdfEntry> taken(std::make_move_iterator(first),
                                std::make_move_iterator(first + static_cast<std::ptrdiff_t>(count)));
    entries.erase(first, first + static_cast<std::ptrdiff_t>(count));
    replace.count = replace.entries.size();
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(replace.entries.begin()),
                   std::make_move_iterator(replace.entries.end()));
    replace.entries = std::move(taken);
}

void ListEdit::swap(std::vector<PdfEntry>& entries) {
    if (auto* splice = std::get_if<Splice>(&change_)) {
        swapSplice(*splice, entries);
    } else if (auto* reorder = std::get_if<Reorder>(&change_)) {
        swapOrder(*reorder, entries);
    } else if (auto* choice = std::get_if<Choice>(&change_); choice && choice->row < entries.size()) {
        std::swap(entries[choice->row].filename, choice->filename);
        std::swap(entries[choice->row].pages, choice->pages);
    } else if (auto* replace = std::get_if<Replace>(&change_)) {
        swapReplace(*replace, entries);
    } else if (auto* turn = std::get_if<Turn>(&change_)) {
        for (auto& [row, rotation] : turn->rotations) {
            if (row < entries.size()) {
                std::swap(entries[row].rotation, rotation);
            }
        }
    }
}

void ListEdit::swapSelection(IndexSet& selection) {
    IndexSet other = otherSelection_.rows();
    otherSelection_ = RowRuns(selection);
    selection = std::move(other);
}

namespace {

// An edit's name for one file and for several, by FilesEdit. The several's count is the %n of a
// plural form, so that each language can inflect it.
struct EditName {
    const char* one;
    const char* several;
};

constexpr EditName editNames[] = {
    {QT_TRANSLATE_NOOP("tomefuse::ListEdit", "Add File"), QT_TRANSLATE_N_NOOP("tomefuse::ListEdit", "Add %n Files")},
    {QT_TRANSLATE_NOOP("tomefuse::ListEdit", "Remove File"),
     QT_TRANSLATE_N_NOOP("tomefuse::ListEdit", "Remove %n Files")},
    {QT_TRANSLATE_NOOP("tomefuse::ListEdit", "Move File"), QT_TRANSLATE_N_NOOP("tomefuse::ListEdit", "Move %n Files")},
};

}  // namespace

std::string editName(FilesEdit edit, size_t files) {
    const EditName& name = editNames[static_cast<size_t>(edit)];
    return files == 1 ? translate("tomefuse::ListEdit", name.one)
                      : translate("tomefuse::ListEdit", name.several, nullptr, static_cast<int>(files));
}

}  // namespace tomefuse
