#pragma once

#include <string>
#include <vector>

#include "support/PdfBuilder.h"

namespace tomefuse::test {

// Writes a PDF of count pages labelled "<prefix>1", "<prefix>2", ... with the given outline.
std::string makePdf(const TempDir& dir, const std::string& name, int count, std::vector<OutlineSpec> outline = {},
                    const std::string& prefix = "Page ");

// Rewrites a PDF's outline root: an empty /Outlines dictionary when it has none, and a /Title on
// it when title is given.
void touchOutlineRoot(const std::string& path, const std::string* title = nullptr);

// An item with a title leading to a page at (left, top).
OutlineSpec item(const std::string& title, int page, double left = 72, double top = 700,
                 std::vector<OutlineSpec> children = {});

// An item leading to the top left of a US Letter page, as the example and benchmark documents use.
OutlineSpec headingItem(const std::string& title, int page, std::vector<OutlineSpec> children = {});

}  // namespace tomefuse::test
