#include "combine/CombineJob.h"

#include <algorithm>
#include <new>

#include "list/PdfEntry.h"
#include "platform/desktop/Translation.h"
#include "platform/pdf/Interleave.h"
#include "toc/TableOfContents.h"

namespace tomefuse {

namespace {

// A count's plural form, marked here for the catalogues: a lookup with a count is not extracted.
constexpr const char* pagesNotAllThere =
    QT_TRANSLATE_N_NOOP("tomefuse::CombineJob", "the pages chosen, %1, are not all there: it now has %n pages");

}  // namespace

CombineJob::CombineJob(std::vector<CombineFile> files, const CombineSettings& settings,
                       std::unique_ptr<AtomicFile> target, CombineObserver& observer,
                       std::shared_ptr<PDFParseCache> parses)
    : files_(std::move(files)),
      settings_(settings),
      target_(std::move(target)),
      path_(target_ ? target_->target() : std::string()),
      observer_(observer),
      parses_(std::move(parses)),
      contents_(settings.contents),
      rightHand_(settings.startFilesOnRightHandPages) {
    PDFWriteTarget write;
    write.fd = target_ ? target_->fd() : -1;
    write.observer = &observer_;
    write.cancelled = &stop_;
    document_ = PDFDocument::initWritingToFile(write);
    if (document_) {
        document_->setDocumentAttributes(settings_.properties);
    }
}

CombineJob::~CombineJob() = default;

void CombineJob::end(CombineOutcome::Status status, std::string error) {
    outcome_.status = status;
    outcome_.error = std::move(error);
    if (status != CombineOutcome::Status::written && target_) {
        target_->discard();
    }
}

CombineJob::Next CombineJob::leaveOut(const std::string& path, const std::string& reason) {
    outcome_.leftOut.push_back({path, reason});
    if (settings_.leaveOutUnreadable) {
        return Next::goOn;
    }
    outcome_.status = CombineOutcome::Status::unreadable;
    outcome_.error = path + ": " + reason;
    return Next::stop;
}

// The files of one entry, open, and which of them each of the entry's pages comes from.
struct CombineJob::Opened {
    std::shared_ptr<PDFDocument> first;
    std::shared_ptr<PDFDocument> second;  // interleaved with the first
    std::vector<InterleavedPage> pages;   // of both, in the entry's order, when interleaved
    uint64_t pageCount() const { return second ? pages.size() : first->pageCount(); }
    // The page of the entry at index: its file, and its index there.
    std::pair<PDFDocument*, uint64_t> page(uint64_t index) const {
        if (!second) {
            return {first.get(), index};
        }
        return {pages[index].second ? second.get() : first.get(), pages[index].index};
    }
};

std::optional<CombineJob::Next> CombineJob::open(const std::string& path, const std::string& password,
                                                 std::shared_ptr<PDFDocument>& source) {
    PDFOpenFailure failure = PDFOpenFailure::none;
    source = PDFDocument::initWithURL(path, password, &failure, parses_, settings_.imagePages);
    if (stop_) {
        return Next::stop;
    }
    if (failure == PDFOpenFailure::outOfMemory) {
        // Not the file's fault: the combine cannot go on.
        outcome_.status = CombineOutcome::Status::failed;
        outcome_.error = withArguments(translate("tomefuse::CombineJob", "not enough memory to read %1"), {path});
        return Next::stop;
    }
    if (!source) {
        // Leads nowhere, so it gets no bookmark.
        return leaveOut(path, describeOpenFailure(failure));
    }
    return std::nullopt;
}

namespace {

// The bookmarks of one file of an entry, leading to the places its pages take among those taken.
std::vector<TocEntry> bookmarksOf(const PDFDocument& source, const std::vector<uint64_t>& places, bool all) {
    std::vector<TocEntry> toc = arrayFromOutline(source);
    return all ? toc : selectOutlineEntries(toc, places);
}

// Notes what a file of the entry gave, once a file: problems from `from` on are this entry's.
void noteOnce(std::vector<FileProblem>& problems, size_t from, const std::string& path, const std::string& reason) {
    if (!reason.empty() && std::none_of(problems.begin() + static_cast<std::ptrdiff_t>(from), problems.end(),
                                        [&path](const FileProblem& problem) { return problem.path == path; })) {
        problems.push_back({path, reason});
    }
}

}  // namespace

std::optional<CombineJob::Next> CombineJob::insert(const CombineFile& file, Opened& opened,
                                                   const std::vector<uint64_t>& taken) {
    const std::vector<int> turns = file.rotation.turnsFor(taken, opened.pageCount());
    const size_t repairedFrom = outcome_.repaired.size();
    const size_t leftOutFrom = outcome_.catalogLeftOut.size();
    // Pages from one file in a row go in one run, so that links among them lead to their copies.
    for (size_t start = 0, end = 0; start < taken.size(); start = end) {
        PDFDocument* const source = opened.page(taken[start]).first;
        std::vector<uint64_t> indices;
        std::vector<int> runTurns;
        for (end = start; end < taken.size() && opened.page(taken[end]).first == source; ++end) {
            indices.push_back(opened.page(taken[end]).second);
            if (!turns.empty()) {
                runTurns.push_back(turns[end]);
            }
        }
        const PDFInsertResult result = document_->insertPages(*source, indices, runTurns);
        const std::string& path = source == opened.first.get() ? file.path : file.interleave->path;
        if (result == PDFInsertResult::inserted) {
            if (!document_->lastRepair().empty()) {
                noteOnce(outcome_.repaired, repairedFrom, path,
                         withArguments(translate("tomefuse::CombineJob", "repaired: %1"), {document_->lastRepair()}));
            }
            noteOnce(outcome_.catalogLeftOut, leftOutFrom, path, document_->lastCatalogLeftOut());
        }
        switch (result) {
            case PDFInsertResult::inserted:
                continue;
            case PDFInsertResult::sourceDamaged:
                if (start == 0) {
                    return leaveOut(path, document_->lastError());
                }
                // The pages of the entry written before cannot be taken out again: the combine
                // fails rather than leave half an entry in.
                outcome_.status = CombineOutcome::Status::failed;
                outcome_.error = path + ": " + document_->lastError();
                return Next::stop;
            case PDFInsertResult::cancelled:
                return Next::stop;
            case PDFInsertResult::writeFailed:
            case PDFInsertResult::refused:
                outcome_.status = CombineOutcome::Status::failed;
                outcome_.error = document_->lastError();
                return Next::stop;
        }
    }
    for (const auto& source : {opened.first, opened.second}) {
        if (source) {
            document_->finishPagesFrom(*source);
        }
    }
    return std::nullopt;
}

CombineJob::Next CombineJob::combineFile(size_t index, PDFOutline& root) {
    const CombineFile& file = files_[index];
    observer_.willReadFile(index, files_.size(), file.filename);
    Opened opened;
    if (std::optional<Next> next = open(file.path, file.password, opened.first)) {
        return *next;
    }
    if (file.interleave) {
        if (std::optional<Next> next = open(file.interleave->path, file.interleave->password, opened.second)) {
            return *next;
        }
        opened.pages =
            interleavedPages(opened.first->pageCount(), opened.second->pageCount(), file.interleave->reversed);
    }
    const std::optional<std::vector<uint64_t>> chosen = file.pages.pages(opened.pageCount());
    if (!chosen) {
        const uint64_t count = opened.pageCount();
        const std::string reason =
            count == 1 ? translate("tomefuse::CombineJob", "the pages chosen, %1, are not all there: it now has 1 page")
                       : translate("tomefuse::CombineJob", pagesNotAllThere, nullptr, static_cast<int>(count));
        return leaveOut(file.path, withArguments(reason, {file.pages.text()}));
    }
    const std::vector<uint64_t>& pages = *chosen;
    std::vector<TocEntry> toc;
    if (settings_.keepBookmarks || contents_.wantsBookmarks()) {
        if (!opened.second) {
            toc = bookmarksOf(*opened.first, pages, file.pages.isAll());
        } else {
            // Each file's bookmarks lead to where its pages went among the other's.
            for (const auto& source : {opened.first, opened.second}) {
                std::vector<uint64_t> places;
                for (uint64_t page : pages) {
                    const auto [from, at] = opened.page(page);
                    places.push_back(from == source.get() ? at : NSNotFound);
                }
                std::vector<TocEntry> own = bookmarksOf(*source, places, false);
                toc.insert(toc.end(), own.begin(), own.end());
            }
        }
    }
    const std::optional<Next> stopped = insert(file, opened, pages);
    opened = Opened();
    if (stopped) {
        return *stopped;
    }
    addBookmarks(file, root, std::move(toc), pages.size());
    return Next::goOn;
}

void CombineJob::addBookmarks(const CombineFile& file, PDFOutline& root, std::vector<TocEntry> toc,
                              uint64_t pageCount) {
    pageOffset_ += rightHand_.fileInserted(*document_, pageOffset_, pageCount);
    contents_.addFile(*document_, file.filename, pageOffset_, toc);
    if (!settings_.keepBookmarks) {
        toc.clear();
    }

    if (settings_.fileBookmarks) {
        root.insertChild(outlineFromArray(*document_, &toc, file.filename, pageOffset_), root.numberOfChildren());
    } else {
        LevelBuckets buckets = outlineArrayFromArray(*document_, &toc, pageOffset_);
        for (auto& item : buckets[1]) {
            root.insertChild(std::move(item), root.numberOfChildren());
        }
    }
    pageOffset_ += pageCount;
}

void CombineJob::run() {
    if (!target_ || !document_) {
        end(CombineOutcome::Status::failed, translate("tomefuse::CombineJob", "the file could not be written"));
        return;
    }
    try {
        uint64_t expected = 0;
        for (const CombineFile& file : files_) {
            expected += file.expectedPages;
        }
        document_->beginWriting(expected);
        auto root = PDFOutline::init();
        outcome_.status = CombineOutcome::Status::written;
        for (size_t i = 0; i < files_.size(); ++i) {
            if (stop_ || combineFile(i, *root) == Next::stop) {
                break;
            }
        }
        // The contents pages stand first but are made last, when the pages they list are in.
        // Stopped meanwhile, it is a cancelled combine, not a failed one.
        if (outcome_.status == CombineOutcome::Status::written && !stop_ &&
            !contents_.insertInto(*document_, *root, settings_.startFilesOnRightHandPages, outcome_.error) && !stop_) {
            outcome_.status = CombineOutcome::Status::failed;
        }
        // A combine that stopped itself (a file that cannot be read, a failed write) ends the
        // document as a cancelled one does: nothing more is written, the end is posted.
        const bool failed = outcome_.status != CombineOutcome::Status::written;
        if (failed) {
            stop_ = true;
        } else if (!stop_) {
            observer_.willFinish();
            document_->setOutlineRoot(root);
        }
        root.reset();
        const bool finished = document_->finishWriting();
        if (failed) {
            end(outcome_.status, outcome_.error);
        } else if (stop_) {
            end(CombineOutcome::Status::cancelled, "cancelled");
        } else if (!finished) {
            end(CombineOutcome::Status::failed, document_->lastError());
        } else if (WriteResult written = target_->commit(); !written.ok) {
            end(CombineOutcome::Status::failed, written.error);
        } else {
            end(CombineOutcome::Status::written, {});
        }
    } catch (const std::bad_alloc&) {
        end(CombineOutcome::Status::failed, translate("tomefuse::CombineJob", "not enough memory"));
    } catch (const std::exception& e) {
        end(CombineOutcome::Status::failed, e.what());
    }
}

std::vector<std::string> CombineOutcome::logLines(const std::string& path) const {
    std::vector<std::string> lines;
    for (const FileProblem& file : repaired) {
        lines.push_back(file.path + " is damaged and was " + file.reason);
    }
    for (const FileProblem& file : catalogLeftOut) {
        lines.push_back(file.path + ": catalog entries left out of the combined file: " + file.reason);
    }
    for (const FileProblem& file : leftOut) {
        lines.push_back("Could not read " + file.path + " (" + file.reason + "); its pages are missing from " + path);
    }
    return lines;
}

std::string CombineOutcome::leftOutList() const {
    std::string list;
    for (const FileProblem& file : leftOut) {
        list += "\n" + file.path + ": " + file.reason;
    }
    return list;
}

}  // namespace tomefuse
