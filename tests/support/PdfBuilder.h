#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tomefuse::test {

// A page of a fixture. Its content draws its label, so a copy can be told from its source.
struct PageSpec {
    double width = 612;
    double height = 792;
    double originX = 0;
    double originY = 0;
    int rotate = 0;
    std::optional<std::vector<double>> cropBox;  // x1 y1 x2 y2
    std::string label;                           // drawn on the page; "Page N" when empty
};

// An outline item of a fixture. The destination is written as [page /XYZ left top null] unless
// dest gives another form verbatim (PDF syntax, with PAGE standing for the page reference), or
// named gives the name of a destination in the /Dests dictionary.
struct OutlineSpec {
    std::optional<std::string> title = std::string();  // nullopt: no /Title at all
    std::optional<int> page;                           // nullopt: no destination
    double left = 0;
    double top = 0;
    std::string dest;
    std::vector<OutlineSpec> children;
};

// Writes fixture PDFs with libqpdf, deterministically.
class PdfBuilder {
  public:
    PdfBuilder& addPage(PageSpec page = {});
    PdfBuilder& addPages(int count, PageSpec page = {});
    PdfBuilder& setOutline(std::vector<OutlineSpec> items);
    // Puts MediaBox, Rotate and Resources on the /Pages node instead of the pages.
    PdfBuilder& inheritAttributes(bool flag = true);
    // Adds a named destination (to /Dests) leading to a page.
    PdfBuilder& addNamedDestination(const std::string& name, int page, double left = 0, double top = 0);

    // In the PDF syntax taken below, "@N" stands for the reference to page N (0-based).
    // Adds a link annotation to a page: target is its /A action when it starts with "<<", else its
    // /Dest, e.g. "[@2 /FitH 500]", "(chapter.1)", "<< /S /GoTo /D /intro >>".
    PdfBuilder& addLink(int page, const std::string& target);
    // Adds a destination to the /Names /Dests tree (string keys), e.g. "[@1 /Fit]".
    PdfBuilder& addNameTreeDestination(const std::string& name, const std::string& value);
    // Adds a text field with one widget on a page, holding value, with an appearance showing it.
    PdfBuilder& addTextField(const std::string& name, int page, const std::string& value);
    // Starts a page label range at a page, e.g. addPageLabel(0, "<< /S /r >>").
    PdfBuilder& addPageLabel(int page, const std::string& label);

    void write(const std::string& path) const;

  private:
    std::vector<PageSpec> pages_;
    std::vector<OutlineSpec> outline_;
    std::vector<std::pair<std::string, std::vector<double>>> namedDests_;
    std::vector<std::pair<int, std::string>> links_;
    std::vector<std::pair<std::string, std::string>> treeDests_;
    struct TextField {
        std::string name;
        int page;
        std::string value;
    };
    std::vector<TextField> fields_;
    std::vector<std::pair<int, std::string>> labels_;
    bool inherit_ = false;
};

// A temporary folder removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Writes a text file.
void writeTextFile(const std::string& path, const std::string& contents);
std::string readTextFile(const std::string& path);

}  // namespace tomefuse::test
