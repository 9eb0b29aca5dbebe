// The runtime file's record field lists: the sizes they give, where their fields
// stand, the optional part, and where the loader and the file summary stop on
// damaged copies of the golden all-types file.
#include <gtest/gtest.h>

#include <cstring>

#include "algo/runtime_records.h"
#include "persistence/project_file.h"
#include "runtime/rt_loader.h"
#include "tools/cli_info.h"

namespace zor2 {
namespace {

TEST(RuntimeRecords, SmallestSizesFollowTheFileLayout) {
    struct Case {
        const char* name;
        size_t bytes;
        size_t expected;
    };
    const Case cases[] = {
        {"header", kRecordBytes<rtfile::CHeader>, 20},
        {"module", kRecordBytes<rtfile::CModule>, 220},
        {"component", rtfile::kComponentMinBytes, 36},
        {"component input", kRecordBytes<rtfile::CInputEntry>, 12},
        {"component output", kRecordBytes<rtfile::COutputEntry>, 12},
        {"connection, output form", kRecordBytes<rtfile::COutputConnection>, 28},
        {"connection, input form", kRecordBytes<rtfile::CInputConnection>, 28},
        {"module input", kRecordBytes<rtfile::CModuleInput>, 216},
        {"module output", kRecordBytes<rtfile::CModuleOutput>, 212},
        {"system input", kRecordBytes<rtfile::CSystemInput>, 212},
        {"system input connection", kRecordBytes<rtfile::CSystemInputConnection>, 16},
        {"system output without connection", kRecordBytes<rtfile::CSystemOutput>, 212},
        {"module connection", kRecordBytes<rtfile::CModuleConnection>, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.bytes, c.expected);
    }
}

int32_t I32At(const std::vector<uint8_t>& bytes, size_t offset) {
    int32_t v = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

template <class Record>
std::vector<uint8_t> Written(Record record) {
    CByteWriter w;
    WriteRecord(w, record);
    return w.Bytes();
}

TEST(RuntimeRecords, TheTwoConnectionFormsPlaceTheKindApart) {
    const rtfile::COutputConnection out{1, 3, 11, 12, 13, 14, 15};
    const rtfile::CInputConnection in{1, 4, 11, 12, 13, 14, 15};
    const std::vector<uint8_t> outBytes = Written(out), inBytes = Written(in);
    EXPECT_EQ(I32At(outBytes, 4), 3);    // second
    EXPECT_EQ(I32At(outBytes, 24), 15);  // module port last
    EXPECT_EQ(I32At(inBytes, 4), 11);    // source component second
    EXPECT_EQ(I32At(inBytes, 24), 4);    // kind last
    rtfile::CInputConnection back;
    CByteReader r(inBytes);
    ASSERT_TRUE(ReadRecord(r, back));
    EXPECT_EQ(back.m_kind, 4);
    EXPECT_EQ(back.m_modulePortId, 15);
}

TEST(RuntimeRecords, SystemOutputCarriesItsConnectionOnlyWhenItHasOne) {
    struct Case {
        const char* name;
        rtfile::CSystemOutput record;
        size_t bytes;
    };
    const Case cases[] = {
        {"connected", {41, 1, u"Result", 41, 41, 7, 9}, 224},
        {"unconnected", {42, 2, u"Loose", 0, 0, 0, 0}, 212},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = Written(c.record);
        EXPECT_EQ(bytes.size(), c.bytes);
        // A following record's fields must not be taken for the connection.
        bytes.insert(bytes.end(), 12, 0xEE);
        rtfile::CSystemOutput back;
        CByteReader r(bytes);
        ASSERT_TRUE(ReadRecord(r, back));
        EXPECT_EQ(r.Position(), c.bytes);
        EXPECT_EQ(back.m_name, c.record.m_name);
        EXPECT_EQ(back.m_moduleId, c.record.m_moduleId);
        EXPECT_EQ(back.m_moduleOutputId, c.record.m_moduleOutputId);
    }
}

TEST(RuntimeRecords, NamesAreCutToTheirField) {
    const std::vector<uint8_t> bytes = Written(rtfile::CModuleOutput{5, std::u16string(150, u'n'), 4, 6});
    ASSERT_EQ(bytes.size(), 212u);
    rtfile::CModuleOutput back;
    CByteReader r(bytes);
    ASSERT_TRUE(ReadRecord(r, back));
    EXPECT_EQ(back.m_name, std::u16string(99, u'n'));
    EXPECT_EQ(back.m_sourceConnectionId, 6);
}

TEST(RuntimeRecords, ListCountsAreCheckedBeforeAnythingIsAllocated) {
    struct Case {
        const char* name;
        int32_t count;
        size_t available;
        bool ok;
        std::string error;
    };
    const Case cases[] = {
        {"none", 0, 0, true, ""},
        {"exactly what remains", 2, 32, true, ""},
        {"one more than remains", 3, 32, false, "entry count exceeds the file"},
        {"negative", -1, 32, false, "entry count exceeds the file"},
        {"huge", 0x7fffffff, 32, false, "entry count exceeds the file"},
        {"entry cut short", 1, 12, false, "entry count exceeds the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes(c.available, 1);
        CByteReader r(bytes);
        std::vector<rtfile::CSystemInputConnection> items;
        int taken = 0;
        EXPECT_EQ(ReadRecords<rtfile::CSystemInputConnection>(r, c.count, "entry", items,
                                                              [&](auto&, const auto&) { ++taken; }),
                  c.ok);
        EXPECT_EQ(r.Error(), c.error);
        EXPECT_EQ(taken, c.ok ? c.count : 0);
        EXPECT_EQ(items.size(), c.ok ? static_cast<size_t>(c.count) : 0u);
    }
}

std::vector<uint8_t> GoldenRuntimeFile() {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(std::string(ZOR2_TEST_DATA) + "/golden/all_types/all_types.z2r", bytes));
    return bytes;
}

// Offsets into the golden file: header 0, first module 20 (its counts at 228,
// 232, 236), first component 240 (its input and output counts at 268 and 272,
// its first output's connection count at 284), system inputs 14075 (the first's
// connection count at 14283), system outputs 15003, the module connection 16559.
TEST(RuntimeFileFaults, LoaderAndSummaryNameEachFaultWhereItStands) {
    struct Case {
        const char* name;
        size_t patchAt;  // where `value` is written over the golden bytes
        int32_t value;
        long size;  // the damaged file's size; -1 keeps it, -2 adds a byte
        int32_t code;
        size_t offset;
        const char* detail;
        const char* summaryError;
    };
    const Case cases[] = {
        {"header cut short", 0, 4242, 10, -2, 8, "unexpected end of data",
         "unexpected end of data (at byte 8)"},
        {"module count", 4, 0x7fffffff, -1, -2, 20, "module count exceeds the file",
         "impossible module count 2147483647 (at byte 20)"},
        {"component count", 236, 100000, -1, -2, 240, "component count exceeds the file",
         "impossible component count 100000 (at byte 240)"},
        {"negative component count", 236, -1, -1, -2, 240, "component count exceeds the file",
         "impossible component count -1 (at byte 240)"},
        {"component input count", 268, 100000, -1, -2, 276, "component input count exceeds the file",
         "impossible component input count 100000 (at byte 276)"},
        {"component output count", 272, 1000000, -1, -2, 276, "component output count exceeds the file",
         "impossible component output count 1000000 (at byte 276)"},
        {"component connection count", 284, 5000, -1, -2, 288, "connection count exceeds the file",
         "impossible component connection count 5000 (at byte 288)"},
        {"module input count", 228, 1000000, -1, -2, 2677, "module input count exceeds the file",
         "impossible module input count 1000000 (at byte 2677)"},
        {"module output count", 232, 1000000, -1, -2, 3641, "module output count exceeds the file",
         "impossible module output count 1000000 (at byte 3641)"},
        {"unknown component type", 244, 99, -1, kReadUnsupportedType, 240,
         "component type without a runtime class",
         "component 7213 at byte 240 has type 99, which this designer does not know (at byte 456)"},
        {"system input count", 8, 0x7fffffff, -1, -3, 14075, "system input count exceeds the file",
         "impossible system input count 2147483647 (at byte 14075)"},
        {"system input connection count", 14283, 1000, -1, -3, 14287,
         "system input connection count exceeds the file",
         "impossible system input connection count 1000 (at byte 14287)"},
        {"system output count", 12, 0x7fffffff, -1, -4, 15003, "system output count exceeds the file",
         "impossible system output count 2147483647 (at byte 15003)"},
        {"system output cut short", 12, 7, 16547, -4, 16547, "unexpected end of data",
         "unexpected end of data (at byte 16547)"},
        {"module connection count", 16, 2, -1, -5, 16559, "module connection count exceeds the file",
         "impossible module connection count 2 (at byte 16559)"},
        {"a byte past the last record", 16, 1, -2, 0, 0, "",
         "1 bytes follow the last record (at byte 16579)"},
    };
    const std::vector<uint8_t> golden = GoldenRuntimeFile();
    ASSERT_EQ(golden.size(), 16579u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = golden;
        std::memcpy(bytes.data() + c.patchAt, &c.value, 4);
        if (c.size >= 0) bytes.resize(static_cast<size_t>(c.size));
        if (c.size == -2) bytes.push_back('x');
        CRSystem system;
        const CRReadResult r = ReadRuntimeSystem(system, bytes.data(), bytes.size(), 0);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.offset, c.offset);
        EXPECT_EQ(r.detail, c.detail);
        EXPECT_EQ(system.m_systemId, 4242);
        std::string summary, error;
        EXPECT_FALSE(DescribeRuntimeFile(bytes, summary, error));
        EXPECT_EQ(error, c.summaryError);
    }
}

}  // namespace
}  // namespace zor2
