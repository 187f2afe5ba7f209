// numbrelle_count_passes FILE...: the statement passes of one run of each
// question file, one number per line. bench/compare divides them by CPU time.
// A file whose run shows a message box measures something other than what it
// says, so that is an error.

#include "platform/Files.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "script/Limits.h"
#include "tests/support/ScriptRun.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace numbrelle;
    if (argc < 2) {
        std::cerr << "usage: numbrelle_count_passes FILE...\n";
        return 2;
    }
    StdFileSystem files { maxQuestionFileBytes };
    for (int i = 1; i < argc; ++i) {
        StdRandom random;
        random.seed(1);
        testing::ScriptRun run(random);
        run.build(ReadQuestionFile(files, argv[i]));
        const std::int64_t passes = run.countPasses();
        if (!run.box.texts.empty()) {
            std::cerr << argv[i] << ": the run showed a message box\n";
            return 1;
        }
        std::cout << passes << '\n';
    }
    return 0;
}
