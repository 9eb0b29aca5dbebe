// Display texts of port values.
#include "engine/value_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "algo/number_text.h"
#include "engine/ports.h"

namespace zor2 {
namespace {

TEST(ValueText, ComponentOutputRule) {
    struct Case {
        double value;
        int32_t decimals;
        int32_t dataType;
        const char* text;
    } cases[] = {
        {0.7, 2, kDataOnOff, "OFF"},     {-1.0, 2, kDataOnOff, "ON"},      {1.0, 0, kDataOnOff, "ON"},
        {0.0, 0, kDataYesNo, "NO"},      {2.9, 0, kDataYesNo, "YES"},      {0.9, 2, kDataYesNo, "0.90"},
        {3.99, 0, kDataDouble, "3"},     {-3.99, 0, kDataInteger, "-3"},   {1.25, 1, kDataDouble, "1.2"},
        {1.255, 2, kDataDouble, "1.25"}, {1.0, 3, kDataDouble, "1.000"},   {1.0, 4, kDataDouble, "1.0000"},
        {1.0, 7, kDataDouble, "1.0000"}, {1.0, -1, kDataDouble, "1.0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CModelOutput out;
        out.m_decimals = c.decimals;
        out.m_dataType = c.dataType;
        out.SetValue(c.value);
        EXPECT_EQ(out.ValueString(), c.text);
    }
}

TEST(ValueText, TruncationOutsideIntRangeIsNotUndefined) {
    EXPECT_EQ(TruncToInt32(1e300), INT32_MIN);
    EXPECT_EQ(TruncToInt32(-1e300), INT32_MIN);
    EXPECT_EQ(TruncToInt32(std::nan("")), INT32_MIN);
    EXPECT_EQ(TruncToInt32(2147483647.9), 2147483647);
    EXPECT_EQ(TruncToInt32(-2147483648.5), INT32_MIN);
}

TEST(ValueText, SystemInputFollowsDecimalsAndKeepsTextOtherwise) {
    struct Case {
        int32_t decimals;
        const char* text;
    } cases[] = {{0, "3"}, {1, "3.1"}, {2, "3.14"}, {3, "3.142"}, {4, "3.1416"}, {5, "old"}, {-1, "old"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.decimals);
        CExternalInput in;
        in.m_text.SetText("old");
        in.m_decimals = c.decimals;
        in.SetValue(3.14159);
        EXPECT_EQ(in.ValueString(), c.text);
    }
}

TEST(ValueText, DataTypeLabels) {
    const char* labels[] = {"Double", "Array", "Integer", "On/Off", "Neural Net Node", "Yes/No"};
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(DataTypeLabel(i), labels[i]);
    EXPECT_STREQ(DataTypeLabel(6), "Unkown data type");
    EXPECT_STREQ(DataTypeLabel(-1), "Unkown data type");
}

TEST(ValueText, G17TextIsPrintfsText) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  -1.5,
                                  0.1,
                                  1e16,
                                  1e17,
                                  123456789012345678.0,
                                  1e300,
                                  -1e-300,
                                  5e-324,
                                  std::numeric_limits<double>::max(),
                                  kInf,
                                  -kInf,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN()};
    // Random bit patterns reach every exponent, subnormals and NaN payloads.
    std::mt19937_64 bits(20);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t b = bits();
        double v;
        std::memcpy(&v, &b, sizeof v);
        values.push_back(v);
    }
    for (double v : values) {
        char want[64];
        std::snprintf(want, sizeof want, "%.17g", v);
        char got[kG17Chars];
        const std::string text(got, FormatG17(got, v));
        ASSERT_EQ(text, want);
    }
}

TEST(ValueText, StaticTextKeepsItsPointer) {
    CValueText t;
    t.SetNumber("%.2f", 1.0);
    t.SetStatic("On");
    EXPECT_EQ(t.Str(), "On");
    t.SetText("typed");
    EXPECT_EQ(t.Str(), "typed");
}

TEST(ValueText, LongFormattedTextIsComplete) {
    CValueText t;
    t.SetNumber("%.2f", 1e300);
    EXPECT_EQ(t.Str().size(), 304u);
}

}  // namespace
}  // namespace zor2
