// Question files written to a temporary folder and run through the runner's
// main, the output read back as JSON lines.
#pragma once

#include "platform/Recording.h"
#include "script/Limits.h"
#include "tools/Runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace numbrelle {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class RunnerTest : public testing::Test {
protected:
    std::string write(const std::string& name, const std::string& bytes)
    {
        return m_files.addQuestionBytes(name, bytes);
    }
    std::string path(const std::string& name) const { return m_files.questionsFolder() + "/" + name; }

    struct Result {
        int status;
        std::string out;
        std::string err;
        std::vector<Json> lines;
    };
    Result run(std::vector<std::string> arguments)
    {
        std::ostringstream out, err;
        int status = runner::runMain(arguments, out, err);
        Result result { status, out.str(), err.str(), {} };
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);) {
            if (arguments.end() != std::find(arguments.begin(), arguments.end(), "--json")
                || arguments.end() != std::find(arguments.begin(), arguments.end(), "--list"))
                result.lines.push_back(Json::parse(line));
        }
        return result;
    }

private:
    FolderFileSystem m_files { maxQuestionFileBytes };
};

} // namespace numbrelle
