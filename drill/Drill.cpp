#include "drill/Drill.h"

#include "script/Numbers.h"

#include <cmath>

namespace numbrelle {

namespace {

constexpr char16_t crlf[] = u"\r\n";

bool isDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

} // namespace

Text FoldWideDigit(TextView text)
{
    Text folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        char16_t c = folded[i];
        if (c >= 0xFF01 && c <= 0xFF5E)
            folded[i] = static_cast<char16_t>(c - 0xFF01 + 0x21);
        else if (c == 0x2212)
            folded[i] = u'-';
        // The long-vowel mark sits where the minus sign is on a Japanese
        // keyboard, so it is a minus only in front of a number.
        else if (c == 0x30FC && i + 1 < folded.size() && isDigit(folded[i + 1]))
            folded[i] = u'-';
    }
    return folded;
}

std::vector<TextView> AcceptedAnswers(TextView answerText)
{
    std::vector<TextView> answers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = answerText.find(u'_', start);
        answers.push_back(answerText.substr(start, end == TextView::npos ? TextView::npos : end - start));
        if (end == TextView::npos)
            return answers;
        start = end + 1;
    }
}

bool CheckAnswer(TextView answerText, TextView typed)
{
    const Text wanted = FoldWideDigit(typed);
    for (TextView candidate : AcceptedAnswers(answerText)) {
        if (FoldWideDigit(candidate) == wanted)
            return true;
    }
    return false;
}

Text FirstAnswer(TextView answerText) { return Text(AcceptedAnswers(answerText).front()); }

Marking MarkAnswer(TextView answerText, TextView typed)
{
    if (CheckAnswer(answerText, typed))
        return { true, u"○", u"正解です。" };
    Text message = u"違います。";
    message += crlf;
    message += crlf;
    message += u"解答：";
    message += typed;
    message += crlf;
    message += u"正解：";
    message += FirstAnswer(answerText);
    return { false, u"×", message };
}

std::int32_t ElapsedSeconds(float startTime, float now)
{
    double t = std::floor(static_cast<double>(now));
    if (t < startTime)
        return 0;
    return static_cast<std::int32_t>(t - std::floor(static_cast<double>(startTime)));
}

Text TimeText(std::int32_t elapsedSeconds)
{
    std::int32_t minutes = elapsedSeconds / 60;
    std::int32_t seconds = elapsedSeconds % 60;
    Text text;
    if (minutes != 0)
        text += IntegerText(minutes) + u"分";
    if (seconds != 0)
        text += IntegerText(seconds) + u"秒";
    return text.empty() ? Text(u"0秒") : text;
}

int Score(int correct, int count)
{
    if (count <= 0)
        return 0;
    return static_cast<int>(RoundHalfEven(static_cast<double>(correct) / count * 100));
}

Text CounterText(std::int32_t questionNo, std::int32_t questionCount)
{
    return IntegerText(questionNo) + u"/" + IntegerText(questionCount);
}

Text ResultHeading(TextView title) { return Text(u"成績") + crlf + Text(title); }

Text ResultSheet(TextView timeText, int questionCount, int correctCount)
{
    Text sheet = u"時間：";
    sheet += timeText;
    sheet += crlf;
    sheet += crlf;
    sheet += u"問題数：" + IntegerText(questionCount) + crlf;
    sheet += u"正解数：" + IntegerText(correctCount) + crlf;
    sheet += u"誤答数：" + IntegerText(questionCount - correctCount) + crlf;
    sheet += crlf;
    sheet += u"点数：" + IntegerText(Score(correctCount, questionCount)) + u"点";
    return sheet;
}

} // namespace numbrelle
