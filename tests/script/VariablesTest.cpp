#include "script/Compile.h"
#include "script/Numbers.h"
#include "script/VariableStore.h"

#include <gtest/gtest.h>

using namespace numbrelle;

namespace {

struct Declaration {
    VarType type;
    std::u16string operand;
};

struct Step {
    enum Kind { Store, Read, ReadNumeric } kind;
    std::u16string ref;
    std::u16string value; // stored text, or expected text read
    Fault fault;
};

struct StoreCase {
    const char* name;
    std::vector<Declaration> declarations;
    std::vector<Step> steps;
};

void runCase(const StoreCase& c)
{
    VariableStore store;
    store.clear();
    for (const Declaration& d : c.declarations)
        store.Declare(d.type, d.operand);
    int stepNumber = 0;
    for (const Step& step : c.steps) {
        ++stepNumber;
        const Ref ref(step.ref);
        if (step.kind == Step::Store) {
            EXPECT_EQ(store.StoreValue(ref, Value::ofText(step.value)), step.fault) << c.name << " step " << stepNumber;
            continue;
        }
        Value value;
        const Fault fault = step.kind == Step::Read ? store.OperandValue(ref, value) : store.NumericValue(ref, value);
        EXPECT_EQ(fault, step.fault) << c.name << " step " << stepNumber;
        if (fault == Fault::None) {
            EXPECT_EQ(utf8(value.toText()), utf8(step.value)) << c.name << " step " << stepNumber;
        }
    }
}

TEST(Variables, StoreAndRead)
{
    using S = Step;
    const StoreCase cases[] = {
        { "names fold and start at zero", { { VarType::Int, u"n," } },
            { { S::ReadNumeric, u"n", u"0", Fault::None }, { S::ReadNumeric, u"N", u"0", Fault::None },
                { S::ReadNumeric, u"n:1", u"", Fault::SubscriptOutOfRange } } },
        { "array bounds", { { VarType::Int, u"a:3," } },
            { { S::Store, u"a:3", u"9", Fault::None }, { S::Read, u"a:3", u"9", Fault::None },
                { S::Read, u"a:4", u"", Fault::SubscriptOutOfRange },
                { S::Store, u"a:4", u"1", Fault::SubscriptOutOfRange } } },
        { "int stores round half to even", { { VarType::Int, u"x," } },
            { { S::Store, u"x", u"2.5", Fault::None }, { S::Read, u"x", u"2", Fault::None },
                { S::Store, u"x", u"3.5", Fault::None }, { S::Read, u"x", u"4", Fault::None },
                { S::Store, u"x", u"-2.5", Fault::None }, { S::Read, u"x", u"-2", Fault::None },
                { S::Store, u"x", u"40000", Fault::Overflow }, { S::Read, u"x", u"-2", Fault::None },
                { S::Store, u"x", u"abc", Fault::TypeMismatch }, { S::Store, u"x", u"", Fault::TypeMismatch },
                { S::Read, u"x", u"-2", Fault::None } } },
        { "bit is false only for the text 0", { { VarType::Bit, u"b," } },
            { { S::Store, u"b", u"00", Fault::None }, { S::Read, u"b", u"1", Fault::None },
                { S::Store, u"b", u"0", Fault::None }, { S::Read, u"b", u"0", Fault::None },
                { S::Store, u"b", u"", Fault::None }, { S::Read, u"b", u"1", Fault::None },
                { S::Store, u"b", u"false", Fault::None }, { S::Read, u"b", u"1", Fault::None } } },
        { "single text forms", { { VarType::Single, u"s," } },
            { { S::Store, u"s", u"0.1", Fault::None }, { S::Read, u"s", u"0.1", Fault::None },
                { S::Store, u"s", u"12345678", Fault::None }, { S::Read, u"s", u"1.234568E+07", Fault::None },
                { S::Store, u"s", u"Infinity", Fault::TypeMismatch } } },
        { "unknown names", {},
            { { S::Store, u"nosuch", u"1", Fault::None }, { S::Read, u"hello", u"hello", Fault::None },
                { S::Read, u"12", u"12", Fault::None }, { S::Read, u"x:3", u"x:3", Fault::None },
                { S::Read, u"7:q", u"", Fault::TypeMismatch } } },
        { "str names are not numeric", { { VarType::Str, u"t," } },
            { { S::Store, u"t", u"abc", Fault::None }, { S::Read, u"t", u"abc", Fault::None },
                { S::ReadNumeric, u"t", u"t", Fault::None } } },
        { "index through an int variable", { { VarType::Int, u"a:3," }, { VarType::Int, u"i," } },
            { { S::Store, u"i", u"2", Fault::None }, { S::Store, u"a:i", u"9", Fault::None },
                { S::Read, u"a:2", u"9", Fault::None }, { S::Read, u"a:I", u"9", Fault::None },
                { S::Read, u"a:3.5", u"", Fault::SubscriptOutOfRange }, { S::Read, u"a:2.5", u"9", Fault::None },
                { S::Read, u"a:-1", u"", Fault::TypeMismatch }, { S::Read, u"a:1:2", u"9", Fault::None } } },
        { "first declaration wins", { { VarType::Int, u"n," }, { VarType::Int, u"n:9," } },
            { { S::Store, u"n", u"5", Fault::None }, { S::Read, u"n", u"5", Fault::None },
                { S::Read, u"n:9", u"", Fault::SubscriptOutOfRange } } },
        { "int wins over str", { { VarType::Str, u"x," }, { VarType::Int, u"x," } },
            { { S::Store, u"x", u"7", Fault::None }, { S::ReadNumeric, u"x", u"7", Fault::None },
                { S::Store, u"x", u"seven", Fault::TypeMismatch } } },
        { "name with a comma", { { VarType::Int, u"a,b," } },
            { { S::Store, u"a,b", u"3", Fault::None }, { S::Read, u"a,b", u"3", Fault::None } } },
        { "empty name", { { VarType::Int, u"" } },
            { { S::Store, u"", u"4", Fault::None }, { S::Read, u"", u"4", Fault::None } } },
        { "digits as a name", { { VarType::Int, u"5," } }, { { S::Read, u"5", u"0", Fault::None } } },
        { "zebra", { { VarType::Int, u"Zebra," } },
            { { S::Store, u"ZEBRA", u"1", Fault::None }, { S::Read, u"zebra", u"1", Fault::None } } },
    };
    for (const StoreCase& c : cases)
        runCase(c);
}

TEST(Variables, DeclarationBounds)
{
    const struct {
        std::u16string operand;
        Fault fault;
        int upperBound;
    } cases[] = {
        { u"n:9,", Fault::None, 9 },
        { u"n:5:,", Fault::None, 5 },
        { u"n:5:7,", Fault::None, 7 },
        { u"n:40000,", Fault::Overflow, 4000 },
        { u"n:k,", Fault::TypeMismatch, 0 },
        { u"n:2.5,", Fault::None, 2 },
        { u"n", Fault::None, 0 },
    };
    for (const auto& c : cases) {
        VariableStore store;
        EXPECT_EQ(store.Declare(VarType::Int, c.operand), c.fault) << utf8(c.operand);
        ASSERT_EQ(store.ints().size(), 1u);
        EXPECT_EQ(store.ints()[0].upperBound, c.upperBound) << utf8(c.operand);
        EXPECT_EQ(store.ints()[0].elements.size(), static_cast<std::size_t>(c.upperBound) + 1);
    }
}

TEST(Variables, GuardsAgainstRunawayDeclarations)
{
    VariableStore store;
    for (int i = 0; i < 32768; ++i)
        ASSERT_EQ(store.Declare(VarType::Bit, u"b,"), Fault::None);
    EXPECT_EQ(store.Declare(VarType::Bit, u"c,"), Fault::Overflow);
    EXPECT_EQ(store.bits().size(), 32768u);

    VariableStore big;
    // 1,048,576 elements in all: 31 arrays of 32768 plus what the bits above would take.
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(big.Declare(VarType::Int, u"a:32767,"), Fault::None) << i;
    EXPECT_EQ(big.Declare(VarType::Int, u"z,"), Fault::Overflow);
    EXPECT_EQ(big.ints().size(), 32u);

    VariableStore text;
    text.Declare(VarType::Str, u"s,");
    const std::u16string huge(maxTextLength + 1, u'x');
    EXPECT_EQ(text.StoreValue(Ref(u"s"), Value::ofText(huge)), Fault::Overflow);
    EXPECT_EQ(text.strs()[0].elements[0], u"");
}

TEST(Variables, ANameFoundLaterIsSeenAfterItsDeclaration)
{
    VariableStore store;
    store.clear();
    const Ref ref(u"late");
    Value value;
    ASSERT_EQ(store.OperandValue(ref, value), Fault::None);
    EXPECT_EQ(value.toText(), u"late");
    store.Declare(VarType::Int, u"late,");
    ASSERT_EQ(store.StoreValue(ref, Value::ofText(u"3")), Fault::None);
    ASSERT_EQ(store.OperandValue(ref, value), Fault::None);
    EXPECT_EQ(value.toText(), u"3");
    // A new run forgets everything, through the same cached reference.
    store.clear();
    ASSERT_EQ(store.OperandValue(ref, value), Fault::None);
    EXPECT_EQ(value.toText(), u"late");
}

// A resolved reference remembers where its element lies; it must never read
// through that memory once the store it was resolved against has changed, nor
// in another store.
TEST(Variables, AResolvedReferenceFollowsItsStore)
{
    const Ref n(u"n");
    const Ref element(u"a:i");
    std::int16_t quick = 0;
    Value value;

    VariableStore first;
    first.Declare(VarType::Int, u"n,");
    first.Declare(VarType::Int, u"a:3,");
    first.Declare(VarType::Int, u"i,");
    ASSERT_EQ(first.StoreValue(n, Value::ofInt(5)), Fault::None);
    ASSERT_EQ(first.StoreValue(Ref(u"i"), Value::ofInt(2)), Fault::None);
    ASSERT_EQ(first.StoreValue(element, Value::ofInt(7)), Fault::None);
    // The first numeric reads resolve; later ones take the quick way.
    ASSERT_EQ(first.NumericValue(n, value), Fault::None);
    ASSERT_EQ(first.NumericValue(element, value), Fault::None);
    ASSERT_TRUE(first.quickNumericInt(n, quick));
    EXPECT_EQ(quick, 5);
    ASSERT_TRUE(first.quickNumericInt(element, quick));
    EXPECT_EQ(quick, 7);

    // Many more declarations move the tables; the reference finds n again.
    for (int k = 0; k < 100; ++k)
        first.Declare(VarType::Int, u"more,");
    EXPECT_FALSE(first.quickNumericInt(n, quick));
    ASSERT_EQ(first.NumericValue(n, value), Fault::None);
    EXPECT_EQ(value.toText(), u"5");
    ASSERT_TRUE(first.quickNumericInt(n, quick));
    EXPECT_EQ(quick, 5);

    // The same references against another store read that store's variables.
    VariableStore second;
    second.Declare(VarType::Str, u"n,");
    second.Declare(VarType::Int, u"a:1,");
    second.Declare(VarType::Int, u"j,"); // as many declarations as the first had when a:i was resolved
    EXPECT_FALSE(second.quickNumericInt(n, quick));
    EXPECT_FALSE(second.quickNumericInt(element, quick));
    ASSERT_EQ(second.OperandValue(n, value), Fault::None);
    EXPECT_EQ(value.toText(), u"");
    // Here i names no variable: the index text "0i" is no number.
    EXPECT_EQ(second.NumericValue(element, value), Fault::TypeMismatch);

    // A new run of the first store forgets everything.
    first.clear();
    first.Declare(VarType::Int, u"n,");
    EXPECT_FALSE(first.quickNumericInt(n, quick));
    ASSERT_EQ(first.NumericValue(n, value), Fault::None);
    EXPECT_EQ(value.toText(), u"0");
}

TEST(Variables, SplitFieldsStopsAtTheLastField)
{
    Fields split = SplitFields(u"10,20,30,40,1,0,0,0,99,", 8);
    ASSERT_EQ(split.texts.size(), 8u);
    EXPECT_EQ(split.texts[7], u"0");
    EXPECT_EQ(split.lastRead, u",");
    EXPECT_EQ(split.closed, 8);
    split = SplitFields(u"a,", 3);
    EXPECT_EQ(split.texts[0], u"a");
    EXPECT_EQ(split.texts[1], u"");
    EXPECT_EQ(split.texts[2], u"");
    EXPECT_EQ(split.closed, 1);
    split = SplitFields(u"", 2);
    EXPECT_TRUE(split.lastRead.empty());
    EXPECT_EQ(split.closed, 0);
    // An unclosed last field is read to the end but not counted.
    split = SplitFields(u"x,9", 3);
    EXPECT_EQ(split.texts[1], u"9");
    EXPECT_EQ(split.lastRead, u"9");
    EXPECT_EQ(split.closed, 1);
}

} // namespace
