#include "combine/CombineJob.h"

#include <new>

#include "list/PdfEntry.h"
#include "toc/TableOfContents.h"

namespace tomefuse {

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
    document_ = PDFDocument::initWritingToFile(std::move(write));
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

CombineJob::Next CombineJob::leaveOut(const CombineFile& file, const std::string& reason) {
    outcome_.leftOut.push_back({file.path, reason});
    if (settings_.leaveOutUnreadable) {
        return Next::goOn;
    }
    outcome_.status = CombineOutcome::Status::unreadable;
    outcome_.error = file.path + ": " + reason;
    return Next::stop;
}

CombineJob::Next CombineJob::combineFile(size_t index, PDFOutline& root) {
    const CombineFile& file = files_[index];
    observer_.willReadFile(index, files_.size(), file.filename);
    PDFOpenFailure failure = PDFOpenFailure::none;
    auto source = PDFDocument::initWithURL(file.path, file.password, &failure, parses_);
    if (stop_) {
        return Next::stop;
    }
    if (failure == PDFOpenFailure::outOfMemory) {
        // Not the file's fault: the combine cannot go on.
        outcome_.status = CombineOutcome::Status::failed;
        outcome_.error = "not enough memory to read " + file.path;
        return Next::stop;
    }
    if (!source) {
        // Leads nowhere, so it gets no bookmark.
        return leaveOut(file, describeOpenFailure(failure));
    }
    const std::optional<std::vector<uint64_t>> chosen = file.pages.pages(source->pageCount());
    if (!chosen) {
        const uint64_t count = source->pageCount();
        return leaveOut(file, "the pages chosen, " + file.pages.text() + ", are not all there: it now has " +
                                  std::to_string(count) + (count == 1 ? " page" : " pages"));
    }
    const std::vector<uint64_t>& pages = *chosen;
    std::vector<TocEntry> toc;
    if (settings_.keepBookmarks || contents_.wantsBookmarks()) {
        toc = arrayFromOutline(*source);
        if (!file.pages.isAll()) {
            toc = selectOutlineEntries(toc, pages);
        }
    }
    const PDFInsertResult result = document_->insertPages(*source, pages);
    document_->finishPagesFrom(*source);
    source.reset();
    if (result == PDFInsertResult::inserted && !document_->lastRepair().empty()) {
        outcome_.repaired.push_back({file.path, "repaired: " + document_->lastRepair()});
    }
    switch (result) {
        case PDFInsertResult::inserted:
            break;
        case PDFInsertResult::sourceDamaged:
            return leaveOut(file, document_->lastError());
        case PDFInsertResult::cancelled:
            return Next::stop;
        case PDFInsertResult::writeFailed:
        case PDFInsertResult::refused:
            outcome_.status = CombineOutcome::Status::failed;
            outcome_.error = document_->lastError();
            return Next::stop;
    }

    pageOffset_ += rightHand_.fileInserted(*document_, pageOffset_, pages.size());
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
    pageOffset_ += pages.size();
    return Next::goOn;
}

void CombineJob::run() {
    if (!target_ || !document_) {
        end(CombineOutcome::Status::failed, "the file could not be written");
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
        end(CombineOutcome::Status::failed, "not enough memory");
    } catch (const std::exception& e) {
        end(CombineOutcome::Status::failed, e.what());
    }
}

}  // namespace tomefuse
