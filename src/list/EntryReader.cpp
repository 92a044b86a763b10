#include "list/EntryReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <numeric>
#include <tuple>
#include <utility>

#include "platform/desktop/Translation.h"

namespace tomefuse {

EntryReader::Batch::Batch(const EntryReader& reader) : reader_(reader) { reader_.batch_.emplace(Passwords{}); }

EntryReader::Batch::~Batch() { reader_.batch_.reset(); }

namespace {

std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') {
        return path;
    }
    std::error_code error;
    auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

// The file's size and modification time now; size -1 when it is not there.
std::pair<int64_t, int64_t> stampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {-1, 0};
    }
    return {static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

bool isImageFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char head[12];
    const ssize_t n = ::pread(fd, head, sizeof head, 0);
    ::close(fd);
    return n > 0 && imageFormatOf(std::string_view(head, static_cast<size_t>(n))) != ImageFormat::none;
}

constexpr std::pair<ImagePageSize, const char*> imageSizeNames[] = {
    {ImagePageSize::natural, "natural"}, {ImagePageSize::a4, "a4"}, {ImagePageSize::letter, "letter"}};

}  // namespace

std::string imagePageSizeName(ImagePageSize size) {
    for (const auto& [value, name] : imageSizeNames) {
        if (value == size) {
            return name;
        }
    }
    return "natural";
}

std::optional<ImagePageSize> imagePageSizeNamed(const std::string& name) {
    for (const auto& [value, known] : imageSizeNames) {
        if (name == known) {
            return value;
        }
    }
    return std::nullopt;
}

ImagePageSize imagePageSizeSetting(const UserDefaults& defaults) {
    return imagePageSizeNamed(defaults.stringForKey(imagePageSizeKey)).value_or(ImagePageSize::natural);
}

// The password that opened the file is left in password (cleared when none did).
PDFFileSummary EntryReader::summarize(const std::string& path, const std::string& name, std::string& password) const {
    PDFFileSummary summary = PDFDocument::summaryOfFile(path, password, parses_.get(), imagePages());
    if (triedKnownPasswords(path, summary, password)) {
        return summary;
    }
    // A protected file: ask, again while the password given is wrong, until the user skips it.
    bool wrong = !password.empty();
    while (summary.failure == PDFOpenFailure::needsPassword && passwordPanel_ && !(batch_ && batch_->skipsAll)) {
        auto panel = passwordPanel_();
        if (!panel) {
            break;
        }
        panel->setFile(path, name);
        panel->setPasswordWasWrong(wrong);
        const int response = panel->runModal();
        if (response != NSModalResponseOK) {
            if (response == PasswordResponseSkipAll && batch_) {
                batch_->skipsAll = true;
            }
            break;
        }
        password = panel->password();
        summary = PDFDocument::summaryOfFile(path, password, parses_.get(), imagePages());
        wrong = true;
        if (summary.failure == PDFOpenFailure::none && batch_) {
            batch_->opened.push_back(password);
        }
    }
    if (summary.failure != PDFOpenFailure::none) {
        password.clear();
    }
    return summary;
}

// Files added together are often protected alike: the passwords that opened the batch's earlier
// files are tried before the user is asked.
bool EntryReader::triedKnownPasswords(const std::string& path, PDFFileSummary& summary, std::string& password) const {
    if (summary.failure != PDFOpenFailure::needsPassword || !batch_) {
        return false;
    }
    for (const std::string& known : batch_->opened) {
        if (known == password) {
            continue;
        }
        PDFFileSummary tried = PDFDocument::summaryOfFile(path, known, parses_.get(), imagePages());
        if (tried.failure != PDFOpenFailure::needsPassword) {
            summary = tried;
            password = tried.failure == PDFOpenFailure::none ? known : std::string();
            return true;
        }
    }
    return false;
}

void EntryReader::read(PdfEntry& entry) const {
    std::tie(entry.fileSize, entry.fileModified) = stampOf(entry.path);
    entry.copiesWholeTaking.reset();
    const PDFFileSummary summary = summarize(entry.path, entry.filename, entry.password);
    entry.failure = summary.failure;
    entry.problem = describeOpenFailure(summary.failure);
    entry.pagecount = summary.pageCount;
    entry.outlinecount = summary.outlineCount;
    if (entry.partner) {
        readPartner(entry);
    }
    entry.imagePages.reset();
    if (isImageFile(entry.path) || (entry.partner && isImageFile(entry.partner->path))) {
        entry.imagePages = imagePages();
    }
    if (entry.problem.empty() && !entry.pages.fits(entry.pagecount)) {
        entry.problem =
            withArguments(translate("tomefuse::EntryReader", "the pages chosen, %1, are not all there any more"),
                          {entry.pages.text()});
    }
}

// The pages of both files are the entry's; a second file that cannot be read makes the entry one
// that cannot be read, saying which file it is.
void EntryReader::readPartner(PdfEntry& entry) const {
    EntryPartner& partner = *entry.partner;
    std::tie(partner.fileSize, partner.fileModified) = stampOf(partner.path);
    const PDFFileSummary summary = summarize(partner.path, displayNameForPath(partner.path), partner.password);
    partner.pagecount = summary.pageCount;
    entry.pagecount += summary.pageCount;
    if (summary.failure != PDFOpenFailure::none && entry.problem.empty()) {
        entry.failure = summary.failure;
        entry.problem = withArguments(translate("tomefuse::EntryReader", "%1 (the file interleaved with it, “%2”)"),
                                      {describeOpenFailure(summary.failure), displayNameForPath(partner.path)});
    }
}

std::optional<PdfEntry> EntryReader::entryFor(const std::string& path, bool keepUnreadable) const {
    PdfEntry entry;
    entry.path = absolutePath(path);
    entry.filename = displayNameForPath(path);
    read(entry);
    if (!entry.problem.empty() && !keepUnreadable) {
        return std::nullopt;
    }
    return entry;
}

bool EntryReader::readIfChanged(PdfEntry& entry) const {
    if (stampOf(entry.path) == std::pair{entry.fileSize, entry.fileModified} &&
        (!entry.partner ||
         stampOf(entry.partner->path) == std::pair{entry.partner->fileSize, entry.partner->fileModified}) &&
        entry.imagePages.value_or(imagePages()) == imagePages()) {
        return false;
    }
    read(entry);
    return true;
}

bool EntryReader::readIfLocked(PdfEntry& entry) const {
    if (entry.failure != PDFOpenFailure::needsPassword) {
        return false;
    }
    read(entry);
    return true;
}

bool EntryReader::needsCopyCheck(const PdfEntry& entry) {
    return entry.problem.empty() && entry.copiesWholeTaking != entry.pages;
}

std::string EntryReader::lossOfCopy(const PdfEntry& entry) {
    // An interleaved pair takes each file whole.
    std::vector<uint64_t> pages;
    if (entry.partner) {
        pages.resize(entry.pagecount - entry.partner->pagecount);
        std::iota(pages.begin(), pages.end(), 0);
    } else {
        pages = entry.pages.pages(entry.pagecount).value_or(std::vector<uint64_t>());
    }
    std::string loss = PDFDocument::lossOfPages(entry.path, entry.password, pages);
    if (loss.empty() && entry.partner) {
        std::vector<uint64_t> partnerPages(entry.partner->pagecount);
        std::iota(partnerPages.begin(), partnerPages.end(), 0);
        loss = PDFDocument::lossOfPages(entry.partner->path, entry.partner->password, partnerPages);
    }
    return loss;
}

bool EntryReader::takeCopyCheck(PdfEntry& entry, const PdfEntry& checked, const std::string& loss) {
    const bool sameRead = entry == checked && entry.fileSize == checked.fileSize &&
                          entry.fileModified == checked.fileModified && needsCopyCheck(entry);
    if (!sameRead) {
        return false;
    }
    entry.copiesWholeTaking = entry.pages;
    if (loss.empty()) {
        return false;
    }
    entry.failure = PDFOpenFailure::damaged;
    entry.problem = describeOpenFailure(PDFOpenFailure::damaged);
    return true;
}

}  // namespace tomefuse
