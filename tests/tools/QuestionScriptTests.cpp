// Realistic question scripts end to end: written as files, run through the
// runner with --json, and each question checked against its own numbers.
#include "RunnerFixture.h"

#include "platform/Files.h"

#include <cstdio>
#include <set>

namespace numbrelle {
namespace {

TEST_F(RunnerTest, TwoDigitAdditionAnswersItsOwnQuestion)
{
    std::string file = write("add",
        EncodeCp932("title(2桁のたし算);\r\nlinetext(たし算);\r\n"
                    "int(a);int(b);int(c);\r\n"
                    "random(a,89,10);random(b,89,10);=+(c,a,b);\r\n"
                    "strout([a]\\s+\\s[b]\\s=);\r\nans([c]);\r\n"));
    Result result = run({ "--json", "--seed", "7", "--runs", "3000", file });
    ASSERT_EQ(result.status, 0) << result.out;
    ASSERT_EQ(result.lines.size(), 3000u);
    std::set<int> seen;
    for (const Json& line : result.lines) {
        const std::string text = line["question"];
        int a = 0, b = 0, consumed = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "%d + %d =%n", &a, &b, &consumed), 2) << text;
        ASSERT_EQ(static_cast<std::size_t>(consumed), text.size()) << text;
        EXPECT_GE(a, 10);
        EXPECT_LE(a, 99);
        EXPECT_EQ(line["answer"], std::to_string(a + b));
        EXPECT_TRUE(line["messages"].empty());
        seen.insert(a);
        seen.insert(b);
    }
    // Both ends of the range turn up, rarer than the rest but not never.
    EXPECT_TRUE(seen.count(10) && seen.count(99));
}

TEST_F(RunnerTest, LoopBuildsAMultiplicationTable)
{
    std::string file = write("table",
        EncodeCp932("title(九九);\r\nint(n);int(i);int(p);\r\nrandom(n,7,2);\r\n"
                    "for(i,1,9){\r\n  =*(p,n,i);\r\n  strout([n]\\s×\\s[i]\\s=\\s[p]\\n);\r\n};\r\n"
                    "ans([p]);\r\n"));
    Result result = run({ "--json", "--seed", "3", "--runs", "5", file });
    ASSERT_EQ(result.status, 0) << result.out;
    for (const Json& line : result.lines) {
        const std::string text = line["question"];
        std::istringstream rows(text);
        int count = 0;
        int n = 0;
        for (std::string row; std::getline(rows, row);) {
            ++count;
            int left = 0, right = 0, product = 0;
            ASSERT_EQ(std::sscanf(row.c_str(), "%d × %d = %d", &left, &right, &product), 3) << row;
            EXPECT_EQ(right, count);
            EXPECT_EQ(product, left * right);
            n = left;
        }
        EXPECT_EQ(count, 9);
        EXPECT_EQ(line["answer"], std::to_string(n * 9));
    }
}

TEST_F(RunnerTest, RectanglePictureCarriesItsSideLengths)
{
    std::string file = write("rect",
        EncodeCp932("title(長方形の面積);\r\nint(w);int(h);int(s);int(x2);int(y2);\r\n"
                    "random(w,6,3);random(h,6,3);=*(s,w,h);\r\n"
                    "=*(x2,w,100);=+(x2,x2,100);=*(y2,h,100);=+(y2,y2,100);\r\n"
                    "square(100,100,x2,y2,2,0,0,255);\r\n"
                    "print(w,450,50);print(h,20,450);\r\n"
                    "strout(たて[h]cm、よこ[w]cmの長方形の面積は？);\r\nans([s]_[s]cm2);\r\n"));
    Result result = run({ "--json", "--seed", "11", "--runs", "20", file });
    ASSERT_EQ(result.status, 0) << result.out;
    for (const Json& line : result.lines) {
        const Json& drawing = line["drawing"];
        ASSERT_EQ(drawing.size(), 3u);
        const Json& box = drawing[0];
        const int w = (box["x2"].get<int>() - 100) / 100;
        const int h = (box["y2"].get<int>() - 100) / 100;
        EXPECT_EQ(box,
            (Json { { "kind", 1 }, { "x1", 100 }, { "y1", 100 }, { "x2", 100 + w * 100 }, { "y2", 100 + h * 100 },
                { "text", "2" }, { "red", 0 }, { "green", 0 }, { "blue", 255 } }));
        EXPECT_EQ(drawing[1]["kind"], 3);
        EXPECT_EQ(drawing[1]["text"], std::to_string(w));
        EXPECT_EQ(drawing[2]["text"], std::to_string(h));
        EXPECT_EQ(line["answer"], std::to_string(w * h) + "_" + std::to_string(w * h) + "cm2");
        EXPECT_EQ(
            line["question"], "たて" + std::to_string(h) + "cm、よこ" + std::to_string(w) + "cmの長方形の面積は？");
    }
}

} // namespace
} // namespace numbrelle
