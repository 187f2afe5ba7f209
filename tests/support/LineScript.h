// A question script for the window's and the library's tests that needs no
// interpreter: files written one statement a line as key=value. Keys: title,
// category, description, question, answer (appended with "_" between),
// draw=kind,x1,y1,x2,y2,text,red,green,blue, and msgbox. "{n}" in a question
// stands for the number of the run, so that each question differs.
#pragma once

#include "drill/QuestionScript.h"
#include "platform/MessageBox.h"

#include <charconv>
#include <string>
#include <utility>
#include <vector>

namespace numbrelle::testing {

class LineScript final : public QuestionScript {
public:
    explicit LineScript(MessageBox& messages)
        : m_messages(messages)
    {
    }

    void BuildStatementList(TextView script) override
    {
        ++builds;
        m_lines.clear();
        for (TextView line : pieces(script, u"\r\n")) {
            const std::size_t equals = line.find(u'=');
            if (equals != TextView::npos && equals > 0)
                m_lines.emplace_back(utf8(line.substr(0, equals)), Text(line.substr(equals + 1)));
        }
    }

    void RunScript() override
    {
        ++runs;
        m_record = QuestionRecord {};
        for (const auto& [key, value] : m_lines)
            runLine(key, value);
    }

    const QuestionRecord& record() const override { return m_record; }

    int builds = 0;
    int runs = 0;

private:
    static std::vector<TextView> pieces(TextView text, TextView separator)
    {
        std::vector<TextView> out;
        for (std::size_t start = 0;;) {
            const std::size_t end = text.find(separator, start);
            out.push_back(text.substr(start, end == TextView::npos ? TextView::npos : end - start));
            if (end == TextView::npos)
                return out;
            start = end + separator.size();
        }
    }

    // A number field; 0 for anything that is not a 16-bit number.
    static std::int16_t number(const std::vector<TextView>& fields, std::size_t i)
    {
        const std::string digits = i < fields.size() ? utf8(fields[i]) : std::string();
        std::int16_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
    }

    static DrawingCommand drawing(TextView value)
    {
        const std::vector<TextView> f = pieces(value, u",");
        DrawingCommand c;
        c.kind = static_cast<DrawingKind>(number(f, 0));
        c.x1 = number(f, 1);
        c.y1 = number(f, 2);
        c.x2 = number(f, 3);
        c.y2 = number(f, 4);
        c.text = f.size() > 5 ? Text(f[5]) : Text();
        c.red = number(f, 6);
        c.green = number(f, 7);
        c.blue = number(f, 8);
        return c;
    }

    Text numbered(const Text& question) const
    {
        Text out;
        const Text n = asciiText(std::to_string(runs));
        const std::vector<TextView> parts = pieces(question, u"{n}");
        for (std::size_t i = 0; i < parts.size(); ++i)
            out += (i ? n : Text()) + Text(parts[i]);
        return out;
    }

    void runLine(const std::string& key, const Text& value)
    {
        if (key == "title")
            m_record.title += value;
        else if (key == "category")
            m_record.categoryText += value;
        else if (key == "description")
            m_record.descriptionText += value;
        else if (key == "question")
            m_record.questionText += numbered(value);
        else if (key == "answer")
            m_record.answerText += (m_record.answerText.empty() ? Text() : Text(u"_")) + value;
        else if (key == "msgbox")
            m_messages.show(value);
        else if (key == "draw")
            m_record.drawingList.entries.push_back(drawing(value));
    }

    MessageBox& m_messages;
    std::vector<std::pair<std::string, Text>> m_lines;
    QuestionRecord m_record;
};

} // namespace numbrelle::testing
