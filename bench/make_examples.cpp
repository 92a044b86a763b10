// Writes a few small documents with real bookmarks, so that a first run shows a list that is
// ready to combine: tomefuse-make-examples DIR
#include <filesystem>
#include <iostream>

#include "support/PdfBuilder.h"

using tomefuse::test::OutlineSpec;
using tomefuse::test::PageSpec;
using tomefuse::test::PdfBuilder;

namespace {

OutlineSpec item(std::string title, int page, std::vector<OutlineSpec> children = {}) {
    OutlineSpec spec;
    spec.title = std::move(title);
    spec.page = page;
    spec.top = 792;
    spec.children = std::move(children);
    return spec;
}

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
        .setOutline({item("Spring", 1, {item("The marsh", 1), item("The heron", 2)}),
                     item("Summer", 3, {item("The meadow", 3), item("The storm", 4)})})
        .write((dir / "Field Notes.pdf").string());

    pages({"Kitchen Book", "Bread", "Soup", "Cake"})
        .setOutline({item("Recipes", 1, {item("Bread", 1), item("Soup", 2), item("Cake", 3)})})
        .write((dir / "Kitchen Book.pdf").string());

    PageSpec landscape;
    landscape.width = 842;
    landscape.height = 595;
    pages({"Star Atlas", "Northern sky", "Southern sky"}, landscape)
        .setOutline({item("Northern sky", 1), item("Southern sky", 2)})
        .write((dir / "Star Atlas.pdf").string());

    std::cout << dir.string() << "\n";
    return 0;
}
