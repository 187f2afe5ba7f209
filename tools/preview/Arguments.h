// The command line of numbrelle-preview.
#pragma once

#include "tools/preview/PngExport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace numbrelle::preview {

struct Arguments {
    bool help = false;
    std::optional<PngOptions> png; // --png: images instead of the window
    std::string file; // the window's file
    std::uint32_t seed = 1;
};

struct ParsedArguments {
    std::optional<Arguments> arguments;
    std::string error; // one line, when arguments is empty
};

ParsedArguments ParseArguments(const std::vector<std::string>& arguments);
extern const char* const previewUsage;

} // namespace numbrelle::preview
