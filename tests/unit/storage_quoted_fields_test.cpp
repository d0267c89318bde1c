#include "storage/QuotedFields.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace morv {
namespace {

using R = FieldReader::Result;

TEST(QuotedFields, LineQuotesEveryFieldAndEndsWithCrLf) {
    EXPECT_EQ(QuotedLine({u"1", u"みそ汁", u"", u"1.5"}), u"\"1\",\"みそ汁\",\"\",\"1.5\"\r\n");
    EXPECT_EQ(QuotedLine({u" a ", u"b,c"}), u"\" a \",\"b,c\"\r\n");
}

struct ReadCase {
    const char* name;
    const char16_t* text;
    int count;
    std::vector<QStringList> records;  // the records read before `last`
    R last;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class QuotedFieldsRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(QuotedFieldsRead, ReadsRecordsInSequence) {
    const ReadCase& c = GetParam();
    FieldReader reader(QString::fromUtf16(c.text));
    QStringList fields;
    for (const QStringList& expected : c.records) {
        ASSERT_EQ(reader.next(c.count, fields), R::Record);
        EXPECT_EQ(fields, expected);
    }
    EXPECT_EQ(reader.next(c.count, fields), c.last);
    if (c.last == R::End) {
        EXPECT_EQ(reader.next(c.count, fields), R::End);  // stays at the end
    }
}

INSTANTIATE_TEST_SUITE_P(
    QuotedFields, QuotedFieldsRead,
    ::testing::Values(
        ReadCase{"Lines", u"\"a\",\"b\"\r\n\"c\",\"d\"\r\n", 2, {{"a", "b"}, {"c", "d"}}, R::End},
        ReadCase{"NoFinalLineEnd", u"\"a\",\"b\"", 2, {{"a", "b"}}, R::End},
        ReadCase{"LfAndCrLineEnds",
                 u"\"a\",\"b\"\n\"c\",\"d\"\r\"e\",\"f\"",
                 2,
                 {{"a", "b"}, {"c", "d"}, {"e", "f"}},
                 R::End},
        ReadCase{"EmptyLinesBetweenRecords",
                 u"\r\n\r\n\"a\",\"b\"\r\n  \r\n\r\n\"c\",\"d\"\r\n\r\n",
                 2,
                 {{"a", "b"}, {"c", "d"}},
                 R::End},
        ReadCase{"EmptyFields", u"\"\",\"\",,\"\"\r\n", 4, {{"", "", "", ""}}, R::End},
        ReadCase{"QuotedCommaAndLineEnd", u"\"a,b\",\"c\r\nd\"\r\n", 2, {{"a,b", "c\r\nd"}}, R::End},
        ReadCase{"UnquotedTrimmed", u"  x y , 12 \t\r\n", 2, {{"x y", "12"}}, R::End},
        ReadCase{"JunkAfterQuoteDropped", u"\"a\"junk ,\"b\"x\r\n", 2, {{"a", "b"}}, R::End},
        ReadCase{"BlanksInsideQuotesKept", u" \" a \" ,\"b\"", 2, {{" a ", "b"}}, R::End},
        ReadCase{
            "RecordSpansLines", u"\"a\"\r\n\"b\"\r\n\"c\",\"d\"\r\n", 2, {{"a", "b"}, {"c", "d"}}, R::End},
        ReadCase{"ExtraFieldsStartNextRecord", u"\"a\",\"b\",\"c\"\r\n", 2, {{"a", "b"}}, R::Broken},
        ReadCase{
            "CutShort", u"\"1\",\"a\",\"\",\"2\"\r\n\"1\",\"b\"\r\n", 4, {{"1", "a", "", "2"}}, R::Broken},
        ReadCase{"TrailingComma", u"\"a\",", 2, {}, R::Broken},
        ReadCase{"UnclosedQuote", u"\"a\",\"b\r\n", 2, {}, R::Broken}, ReadCase{"Empty", u"", 4, {}, R::End},
        ReadCase{"OnlyBlankLines", u"  \r\n\n", 4, {}, R::End}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morv
