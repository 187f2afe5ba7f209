// What the check can tell from the statement list alone, before anything
// runs: names that no declaration in the file gives a variable (a misspelt
// reference shows as its own text, a misspelt target stores nothing), and
// declarations that can run more than once.
#pragma once

#include "script/StatementList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace numbrelle::runner {

struct NameWarning {
    std::int32_t index = -1; // the statement
    std::string what; // one line, naming the name
};

// Every [name] reference, target and operand that names no variable declared
// anywhere in the file, skipping what is plainly meant as written: numbers,
// texts to print, and compared or assigned texts unlike every declared name.
std::vector<NameWarning> checkNames(const StatementList& list);

// Declarations that lie inside a while or for loop.
std::vector<NameWarning> declarationsInLoops(const StatementList& list);

// Names declared more than once in one run, given how many times each
// statement ran in it (one count per statement of list): the later
// declarations are never found, so a larger bound has no effect. A name
// declared only by one statement inside a loop is left to declarationsInLoops.
std::vector<NameWarning> repeatedDeclarations(const StatementList& list, const std::vector<int>& timesRan);

} // namespace numbrelle::runner
