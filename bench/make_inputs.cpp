// Writes the benchmark inputs, deterministically: tomefuse-bench-inputs SHAPE DIR
//   A    20 files of 50 pages, each with a 3-level outline of 30 items
//   B    200 files of 10 pages
//   C    2,000 files of 2 pages
//   add  1,000 files of 10 pages, each with a 20-item outline
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "support/Fixtures.h"
#include "support/PdfBuilder.h"

using tomefuse::test::headingItem;
using tomefuse::test::OutlineSpec;
using tomefuse::test::PdfBuilder;

namespace {

// top items, each with `sections` children, each with `subsections` children, spread over pages.
std::vector<OutlineSpec> outline(int pages, int top, int sections, int subsections) {
    std::vector<OutlineSpec> items;
    const int total = top * (1 + sections * (1 + subsections));
    int n = 0;
    auto nextPage = [&] { return (n++ * pages) / total; };
    for (int t = 0; t < top; ++t) {
        OutlineSpec chapter = headingItem("Chapter " + std::to_string(t + 1), nextPage());
        for (int s = 0; s < sections; ++s) {
            OutlineSpec section = headingItem("Section " + std::to_string(t + 1) + "." + std::to_string(s + 1), nextPage());
            for (int u = 0; u < subsections; ++u) {
                section.children.push_back(headingItem("Part " + std::to_string(u + 1), nextPage()));
            }
            chapter.children.push_back(std::move(section));
        }
        items.push_back(std::move(chapter));
    }
    return items;
}

void writeFiles(const std::filesystem::path& dir, int files, int pages, const std::vector<OutlineSpec>& items) {
    std::filesystem::create_directories(dir);
    for (int f = 0; f < files; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "in-%04d.pdf", f);
        PdfBuilder builder;
        builder.addPages(pages).setOutline(items);
        builder.write((dir / name).string());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tomefuse-bench-inputs A|B|C|add DIR\n";
        return 2;
    }
    const std::string shape = argv[1];
    const std::filesystem::path dir = argv[2];
    if (shape == "A") {
        writeFiles(dir, 20, 50, outline(50, 3, 3, 2));
    } else if (shape == "B") {
        writeFiles(dir, 200, 10, {});
    } else if (shape == "C") {
        writeFiles(dir, 2000, 2, {});
    } else if (shape == "add") {
        writeFiles(dir, 1000, 10, outline(10, 4, 4, 0));
    } else {
        std::cerr << "tomefuse-bench-inputs: unknown shape " << shape << "\n";
        return 2;
    }
    return 0;
}
