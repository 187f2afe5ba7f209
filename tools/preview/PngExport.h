// numbrelle-preview --png: the question screen of runs 1..N of each file, and
// its picture alone, written as images, with the layout warnings of every run
// printed. Needs no display: it runs on Qt's offscreen platform.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace numbrelle::preview {

struct PngOptions {
    std::string folder; // made when missing; empty: the warnings alone, no image
    int runs = 1;
    std::vector<std::string> files;
};

enum PngStatus : int {
    NoWarning = 0,
    LayoutWarned = 1,
    PngFailed = 2, // a file that cannot be shown, or an image that cannot be written
};

// Writes (unless folder is empty) <folder>/<name>-<seed>.png for each run, and <name>-<seed>-picture.png
// when the run drew, where name is the file's name without its extension.
// Warnings go to out, one per problem with the runs that show it; what could
// not be done goes to err.
int WritePngs(const PngOptions& options, std::ostream& out, std::ostream& err);

} // namespace numbrelle::preview
