#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "list/PdfEntry.h"
#include "platform/desktop/Panels.h"
#include "platform/desktop/UserDefaults.h"
#include "platform/pdf/ImagePages.h"
#include "platform/pdf/PDFParseCache.h"

namespace tomefuse {

// How image files become pages, as stored: "a4" or "letter" fits each image to that sheet;
// anything else, or nothing, leaves it at its own size.
inline constexpr const char* imagePageSizeKey = "imagePageSize";
ImagePageSize imagePageSizeSetting(const UserDefaults& defaults);
std::string imagePageSizeName(ImagePageSize size);
std::optional<ImagePageSize> imagePageSizeNamed(const std::string& name);

// Reads what the list shows of a file: its pages and bookmarks, or why it cannot be read, asking
// for the password of a protected file while it needs one (none asked without a panel). With
// parses, each file's parse is left there for the combine that may follow. Images are made
// pages at the size the settings say, when given.
class EntryReader {
  public:
    using PasswordPanelFactory = std::function<std::unique_ptr<PasswordPanel>()>;
    explicit EntryReader(PasswordPanelFactory passwordPanel, std::shared_ptr<PDFParseCache> parses = nullptr,
                         const UserDefaults* settings = nullptr)
        : passwordPanel_(std::move(passwordPanel)), parses_(std::move(parses)), settings_(settings) {}

    const std::shared_ptr<PDFParseCache>& parses() const { return parses_; }
    ImagePageSize imagePages() const { return settings_ ? imagePageSizeSetting(*settings_) : ImagePageSize::natural; }

    // The entry of the file at path, named after it. A file that cannot be read gets an entry
    // of 0 pages and 0 bookmarks, saying why, when keepUnreadable; else none.
    std::optional<PdfEntry> entryFor(const std::string& path, bool keepUnreadable) const;
    // Reads the entry's file again: counts, why it cannot be read, the file's size and time.
    void read(PdfEntry& entry) const;
    // Reads it again only when the file changed or went since it was read, or its images were
    // made at another size; answers whether.
    bool readIfChanged(PdfEntry& entry) const;
    // Reads it again, asking for its password, only when it was skipped or not opened for want
    // of one; answers whether.
    bool readIfLocked(PdfEntry& entry) const;
    // Before a save, the pages a readable entry takes are copied to nowhere, as the combine
    // would, once while the file stays as read and the same pages are taken. Whether it needs it:
    static bool needsCopyCheck(const PdfEntry& entry);
    // What the copy loses (a stream cut short), or empty; works on a copy of the entry, on any
    // thread.
    static std::string lossOfCopy(const PdfEntry& entry);
    // Takes that verdict on entry, when it is still the file and choice that was checked: data
    // lost makes it one that cannot be read. Answers whether the row changed.
    static bool takeCopyCheck(PdfEntry& entry, const PdfEntry& checked, const std::string& loss);

    // While a batch lives, files are read as one adding: a password that opened one file is tried
    // on the next before asking, and Skip All skips every protected file after it.
    class [[nodiscard]] Batch {
      public:
        explicit Batch(const EntryReader& reader);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        const EntryReader& reader_;
    };
    Batch batch() const { return Batch(*this); }

  private:
    struct Passwords {
        std::vector<std::string> opened;  // in the order they first opened a file
        bool skipsAll = false;
    };
    bool triedKnownPasswords(const std::string& path, PDFFileSummary& summary, std::string& password) const;

    void readPartner(PdfEntry& entry) const;
    PDFFileSummary summarize(const std::string& path, const std::string& name, std::string& password) const;

    PasswordPanelFactory passwordPanel_;
    std::shared_ptr<PDFParseCache> parses_;
    const UserDefaults* settings_;
    mutable std::optional<Passwords> batch_;
};

}  // namespace tomefuse
