// Stand-ins for the services that record what they are asked to do and answer
// from a script: the tests use them, and the headless runner shows what a
// RecordingMessageBox kept instead of showing boxes.
#pragma once

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace numbrelle {

// Keeps every text in order; show returns at once, as if OK had been pressed.
class RecordingMessageBox final : public MessageBox {
public:
    void show(const std::u16string& text) override { texts.push_back(text); }

    std::vector<std::u16string> texts;
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
// test decides exactly what each random statement draws. With no values it
// answers 0. Seeds are recorded, not used.
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

} // namespace numbrelle
