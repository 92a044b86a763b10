#pragma once

#include <string>
#include <vector>

namespace tomefuse::test {

// A written PDF as text, read back with libqpdf rather than with the code under test. Pages as
// "page 0: 612x792 r0 'Page 1'" (the size followed by "+x+y" for a box not at the origin), then
// the outline, one item a line, indented two spaces a level: "title -> page 3 (72, 700)", or
// "title -> none" for an item without a destination.
std::string dumpPdf(const std::string& path);

// Only the outline lines of dumpPdf.
std::string dumpOutline(const std::string& path);

// Each page's content streams, concatenated.
std::vector<std::string> pageContents(const std::string& path);

// Runs `qpdf --check`; answers its output when the file has errors or warnings, else empty.
std::string qpdfCheckProblems(const std::string& path);

}  // namespace tomefuse::test
