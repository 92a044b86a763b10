#pragma once

#include <string>
#include <vector>

namespace tomefuse::pdf_detail {

// A source's layers as the combined file's optional content takes them: its groups by output
// number, which start off, and its panel order, radio-button groups, locks and automatic states.
struct SourceLayers {
    std::string title;                     // the file's node in the layers panel, as PDF text
    std::vector<int> groups;               // in the order of its /OCGs
    std::vector<int> off;                  // off in its default configuration
    std::string order;                     // the items of its /Order, PDF text
    std::vector<std::string> radioGroups;  // each an array, PDF text
    std::vector<int> locked;
    struct Usage {
        std::string event;     // "/View", "/Print", "/Export"
        std::string category;  // the /Category array, PDF text
        std::vector<int> groups;
    };
    std::vector<Usage> usage;  // /AS
};

}  // namespace tomefuse::pdf_detail
