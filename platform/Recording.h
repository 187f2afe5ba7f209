// Stand-ins for the services that record what they are asked to do and answer
// from a script. Every test, benchmark and fuzz target uses these, and the
// headless runner shows what a RecordingMessageBox kept instead of showing
// boxes. One of each, so that no test grows a double of its own.
#pragma once

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/DisplaySettings.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/StdFileSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace numbrelle {

// Keeps every text in order; show returns at once, as if OK had been pressed.
// whileShown, when set, runs while the box would be up, so that a test can
// look at what the window shows behind it.
class RecordingMessageBox final : public MessageBox {
public:
    void show(const std::u16string& text) override
    {
        texts.push_back(text);
        if (whileShown)
            whileShown();
    }

    std::vector<std::u16string> texts;
    std::function<void()> whileShown;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(float seconds = 0)
        : seconds(seconds)
    {
    }
    float secondsSinceMidnight() override { return seconds; }

    float seconds;
};

class RecordingBeeper final : public Beeper {
public:
    void beep() override { ++beeps; }

    int beeps = 0;
};

// Answers the given values in turn, starting over after the last, so that a
// test decides exactly what each random statement draws: one value makes a
// generator that always answers it. With no values it answers 0. Seeds are
// recorded, not used; for a real sequence with a fixed seed use StdRandom.
class ScriptedRandom final : public RandomSource {
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::vector<float> values)
        : values(std::move(values))
    {
    }
    void seed(std::uint32_t value) override { seeds.push_back(value); }
    float next() override
    {
        if (values.empty())
            return 0;
        float value = values[m_next % values.size()];
        ++m_next;
        return value;
    }

    std::vector<float> values;
    std::vector<std::uint32_t> seeds;

private:
    std::size_t m_next = 0;
};

// A file system held in memory: folders list their files in the order they are
// given, and every path that was read is recorded.
class MemoryFileSystem final : public FileSystem {
public:
    std::string programFolder() override { return folder; }
    std::vector<std::string> listFiles(const std::string& path) override
    {
        auto it = listings.find(path);
        return it == listings.end() ? std::vector<std::string> {} : it->second;
    }
    std::optional<std::string> readBytes(const std::string& path) override
    {
        reads.push_back(path);
        auto it = contents.find(path);
        if (it == contents.end())
            return std::nullopt;
        return it->second;
    }

    std::string folder = "/program";
    std::map<std::string, std::vector<std::string>> listings;
    std::map<std::string, std::string> contents;
    std::vector<std::string> reads;
};

// The program's own file system with another program folder: a fresh
// temporary one holding an empty "questions" folder, removed with everything
// in it at the end, or a folder that is given and left as it is. Files larger
// than maxFileBytes are unreadable, as for the program's own.
class FolderFileSystem final : public FileSystem {
public:
    explicit FolderFileSystem(std::size_t maxFileBytes)
        : m_owned(true)
        , m_files(maxFileBytes)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "numbrelle-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_folder = pattern;
        std::filesystem::create_directory(questionsFolder());
    }
    FolderFileSystem(std::string folder, std::size_t maxFileBytes)
        : m_folder(std::move(folder))
        , m_files(maxFileBytes)
    {
    }
    ~FolderFileSystem() override
    {
        std::error_code ignored;
        if (m_owned)
            std::filesystem::remove_all(m_folder, ignored);
    }
    FolderFileSystem(const FolderFileSystem&) = delete;
    FolderFileSystem& operator=(const FolderFileSystem&) = delete;

    std::string questionsFolder() const { return m_folder + "/questions"; }
    // Writes a file into the questions folder and answers its path:
    // addQuestion in code page 932, as a teacher's editor saves UTF-8 text,
    // addQuestionBytes exactly as given.
    std::string addQuestion(const std::string& name, const std::string& utf8) const
    {
        return addQuestionBytes(name, EncodeCp932(utf8));
    }
    std::string addQuestionBytes(const std::string& name, const std::string& bytes) const
    {
        std::string path = questionsFolder() + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    void removeQuestionsFolder() const { std::filesystem::remove_all(questionsFolder()); }

    std::string programFolder() override { return m_folder; }
    std::vector<std::string> listFiles(const std::string& folder) override { return m_files.listFiles(folder); }
    std::optional<std::string> readBytes(const std::string& path) override { return m_files.readBytes(path); }

private:
    std::string m_folder;
    bool m_owned = false;
    StdFileSystem m_files;
};

// Offers the given modes and records every call: the mode numbers asked for
// and switched to, the restores, and a transcript ("enumMode 0", "changeMode
// 3", "restore") in a log that a test may share with its other recorders.
class RecordingDisplaySettings final : public DisplaySettings {
public:
    explicit RecordingDisplaySettings(std::vector<DisplayModeInfo> modes = {}, std::vector<std::string>* log = nullptr)
        : modes(std::move(modes))
        , log(log)
    {
    }

    bool enumMode(int number, DisplayModeInfo& mode) override
    {
        asked.push_back(number);
        note("enumMode " + std::to_string(number));
        if (number < 0 || static_cast<std::size_t>(number) >= modes.size())
            return false;
        mode = modes[static_cast<std::size_t>(number)];
        return true;
    }
    bool changeMode(int number) override
    {
        changes.push_back(number);
        note("changeMode " + std::to_string(number));
        return true;
    }
    void restore() override
    {
        ++restores;
        note("restore");
    }

    std::vector<DisplayModeInfo> modes;
    std::vector<int> asked;
    std::vector<int> changes;
    int restores = 0;
    std::vector<std::string>* log;

private:
    void note(std::string entry)
    {
        if (log)
            log->push_back(std::move(entry));
    }
};

} // namespace numbrelle
