// numbrelle_count_passes FILE...: the statement passes of one run of each
// question file, one number per line. bench/compare divides them by CPU time.
// A file whose run shows a message box measures something other than what it
// says, so that is an error.

#include "bench/PassCounter.h"
#include "platform/Files.h"
#include "platform/Recording.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace numbrelle;
    if (argc < 2) {
        std::cerr << "usage: numbrelle_count_passes FILE...\n";
        return 2;
    }
    StdFileSystem files;
    for (int i = 1; i < argc; ++i) {
        RecordingMessageBox boxes;
        StdRandom random;
        random.seed(1);
        Interpreter interp(boxes, random);
        interp.BuildStatementList(ReadQuestionFile(files, argv[i]));
        const std::int64_t passes = countPasses(interp);
        if (!boxes.texts.empty()) {
            std::cerr << argv[i] << ": the run showed a message box\n";
            return 1;
        }
        std::cout << passes << '\n';
    }
    return 0;
}
