// A display-settings service for tests: a list of modes to offer and a
// transcript of every call, shared with whatever else the test records.
#pragma once

#include "platform/DisplaySettings.h"

#include <string>
#include <vector>

namespace numbrelle::test {

class RecordingDisplaySettings final : public DisplaySettings {
public:
    explicit RecordingDisplaySettings(std::vector<DisplayModeInfo> modes = {}, std::vector<std::string>* log = nullptr)
        : m_modes(std::move(modes))
        , m_log(log ? log : &m_ownLog)
    {
    }

    bool enumMode(int number, DisplayModeInfo& mode) override
    {
        m_log->push_back("enumMode " + std::to_string(number));
        if (number < 0 || static_cast<size_t>(number) >= m_modes.size())
            return false;
        mode = m_modes[static_cast<size_t>(number)];
        return true;
    }
    bool changeMode(int number) override
    {
        m_log->push_back("changeMode " + std::to_string(number));
        return true;
    }
    void restore() override { m_log->push_back("restore"); }

    const std::vector<std::string>& log() const { return *m_log; }

private:
    std::vector<DisplayModeInfo> m_modes;
    std::vector<std::string> m_ownLog;
    std::vector<std::string>* m_log;
};

} // namespace numbrelle::test
