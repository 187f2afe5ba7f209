// Question files written to a temporary folder and run through the runner's
// main, the output read back as JSON lines.
#pragma once

#include "tools/Runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>

namespace numbrelle {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class RunnerTest : public testing::Test {
protected:
    RunnerTest()
    {
        std::string pattern = (fs::temp_directory_path() / "numbrelle-run-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_folder = pattern;
    }
    ~RunnerTest() override
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    std::string write(const std::string& name, const std::string& bytes)
    {
        std::string path = m_folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string path(const std::string& name) const { return m_folder + "/" + name; }

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
    std::string m_folder;
};

} // namespace numbrelle
