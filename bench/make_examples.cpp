// Writes a few small documents with real bookmarks, so that a first run shows a list that is
// ready to combine: tomefuse-make-examples DIR
#include <filesystem>
#include <iostream>

#include "support/Fixtures.h"
#include "support/PdfBuilder.h"

using tomefuse::test::headingItem;
using tomefuse::test::PageSpec;
using tomefuse::test::PdfBuilder;

namespace {

PdfBuilder pages(std::initializer_list<const char*> labels, PageSpec size = {}) {
    PdfBuilder builder;
    for (const char* label : labels) {
        size.label = label;
        builder.addPage(size);
    }
    return builder;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tomefuse-make-examples DIR\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);

    pages({"Field Notes", "Spring: the marsh", "Spring: the heron", "Summer: the meadow", "Summer: the storm"})
        .setOutline({headingItem("Spring", 1, {headingItem("The marsh", 1), headingItem("The heron", 2)}),
                     headingItem("Summer", 3, {headingItem("The meadow", 3), headingItem("The storm", 4)})})
        .write((dir / "Field Notes.pdf").string());

    pages({"Kitchen Book", "Bread", "Soup", "Cake"})
        .setOutline(
            {headingItem("Recipes", 1, {headingItem("Bread", 1), headingItem("Soup", 2), headingItem("Cake", 3)})})
        .write((dir / "Kitchen Book.pdf").string());

    PageSpec landscape;
    landscape.width = 842;
    landscape.height = 595;
    pages({"Star Atlas", "Northern sky", "Southern sky"}, landscape)
        .setOutline({headingItem("Northern sky", 1), headingItem("Southern sky", 2)})
        .write((dir / "Star Atlas.pdf").string());

    std::cout << dir.string() << "\n";
    return 0;
}
