// Primitive encodings of the project archive: strings in every length form,
// the 8-bit form on read, and reads that run past the end.
#include "persistence/archive.h"

#include <gtest/gtest.h>

namespace zor2 {
namespace {

std::vector<uint8_t> Store(std::string text) {
    CArchive ar;
    ar.Str(text);
    return ar.TakeBytes();
}

TEST(ArchiveStrings, PrefixFormsByLength) {
    struct Case {
        size_t length;
        std::vector<uint8_t> prefix;
    };
    const Case cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {1, {0xFF, 0xFE, 0xFF, 0x01}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}},
        {0xFFFD, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'a');
        for (size_t i = 0; i < c.length; ++i) text[i] = static_cast<char>('a' + i % 26);
        const std::vector<uint8_t> bytes = Store(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.length);
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin()));
        // UTF-16LE code units follow.
        if (c.length) {
            EXPECT_EQ(bytes[c.prefix.size()], 'a');
            EXPECT_EQ(bytes[c.prefix.size() + 1], 0);
        }
        CArchive in(bytes.data(), bytes.size());
        std::string back = "unchanged";
        in.Str(back);
        EXPECT_FALSE(in.Failed()) << in.Error();
        EXPECT_EQ(back, text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(ArchiveStrings, TextOutsideAsciiTravelsAsUtf16) {
    const std::string text = "sys\u00e8me \U0001D11E";
    const std::vector<uint8_t> bytes = Store(text);
    // 7 characters of the 16-bit plane plus one surrogate pair: 9 code units.
    ASSERT_EQ(bytes[3], 9);
    EXPECT_EQ(bytes[4 + 2 * 3], 0xE8);
    EXPECT_EQ(bytes[4 + 2 * 7 + 1], 0xD8);  // high surrogate
    CArchive in(bytes.data(), bytes.size());
    std::string back;
    in.Str(back);
    EXPECT_EQ(back, text);
}

TEST(ArchiveStrings, EightBitFormIsReadWithoutMarker) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string expected;
    };
    std::vector<uint8_t> long8 = {0xFF, 0x2C, 0x01};
    long8.insert(long8.end(), 300, 'z');
    const Case cases[] = {
        {"empty", {0x00}, ""},
        {"short", {0x03, 'a', 'b', 'c'}, "abc"},
        {"latin-1", {0x02, 0xE9, '!'}, "\u00e9!"},
        {"16-bit length", long8, std::string(300, 'z')},
        {"32-bit length", {0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00, 'o', 'k'}, "ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CArchive in(c.bytes.data(), c.bytes.size());
        std::string back = "unchanged";
        in.Str(back);
        EXPECT_FALSE(in.Failed()) << in.Error();
        EXPECT_EQ(back, c.expected);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(ArchiveStrings, LengthsPastTheEndFailWithoutAllocating) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"no prefix", {}},
        {"marker cut", {0xFF, 0xFE}},
        {"wide text cut", {0xFF, 0xFE, 0xFF, 0x02, 'a', 0}},
        {"8-bit text cut", {0x05, 'a'}},
        {"huge 32-bit length", {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
        {"4G 8-bit length", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CArchive in(c.bytes.data(), c.bytes.size());
        std::string back = "unchanged";
        in.Str(back);
        EXPECT_TRUE(in.Failed());
        EXPECT_FALSE(in.Error().empty());
        EXPECT_EQ(back, "unchanged");
    }
}

TEST(ArchivePrimitives, LittleEndianFieldsAndStickyFailure) {
    CArchive out;
    int32_t i = -2;
    double d = 1.5;
    bool b = true;
    CRect r{1, 2, 3, 4};
    out.I32(i);
    out.F64(d);
    out.Bool(b);
    out.Rect(r);
    const std::vector<uint8_t> bytes = out.TakeBytes();
    const std::vector<uint8_t> expected = {0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 1, 1, 0,
                                           0,    0,    2,    0,    0, 0, 3, 0, 0, 0, 4,    0,    0, 0};
    EXPECT_EQ(bytes, expected);

    // Cut inside the rectangle: the failure sticks and later fields keep their values.
    CArchive in(bytes.data(), bytes.size() - 2);
    int32_t i2 = 0;
    double d2 = 0;
    bool b2 = false;
    CRect r2{9, 9, 9, 9};
    in.I32(i2);
    in.F64(d2);
    in.Bool(b2);
    in.Rect(r2);
    EXPECT_EQ(i2, -2);
    EXPECT_EQ(d2, 1.5);
    EXPECT_TRUE(b2);
    EXPECT_TRUE(in.Failed());
    EXPECT_EQ(in.ErrorOffset(), 25u);
    EXPECT_EQ(r2.bottom, 9);
    int32_t after = 7;
    in.I32(after);
    EXPECT_EQ(after, 7);
}

TEST(ArchiveCounts, CountsThatCannotFitAreRefused) {
    const std::vector<uint8_t> bytes(100, 0);
    struct Case {
        int32_t count;
        size_t minBytes;
        bool ok;
    };
    const Case cases[] = {
        {0, 28, true}, {3, 28, true}, {4, 28, false}, {-1, 1, false}, {INT32_MAX, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        CArchive in(bytes.data(), bytes.size());
        EXPECT_EQ(in.CheckCount(c.count, c.minBytes, "thing"), c.ok);
        EXPECT_EQ(in.Failed(), !c.ok);
        if (!c.ok) {
            EXPECT_NE(in.Error().find("thing"), std::string::npos);
        }
    }
}

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

TEST(ArchiveWriting, BytesStayInOrderWhateverLooksAtThem) {
    struct Case {
        const char* name;
        size_t count;      // bytes written, 0, 1, 2, ...
        size_t lookEvery;  // the bytes are looked at after every so many (0: never)
        size_t adopted;    // size of a used buffer handed in first (0: none)
    };
    const Case cases[] = {
        {"a few", 5, 0, 0},
        {"past the first growth", 1000, 0, 0},
        {"looked at while growing", 1000, 7, 0},
        {"into a reused buffer", 3000, 0, 4096},
        {"into a reused buffer, looked at", 3000, 100, 4096},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CArchive ar;
        if (c.adopted) ar.Adopt(std::vector<uint8_t>(c.adopted, 0xEE));
        for (size_t i = 0; i < c.count; ++i) {
            uint8_t b = static_cast<uint8_t>(i);
            ar.Byte(b);
            if (c.lookEvery && i % c.lookEvery == 0) ASSERT_EQ(ar.Bytes().size(), i + 1);
        }
        EXPECT_EQ(ar.Position(), c.count);
        EXPECT_EQ(ar.TakeBytes(), Counting(c.count));
    }
}

TEST(ArchiveWriting, RewindCopyAndOutsideChangesKeepTheBytesWhole) {
    CByteWriter w;
    w.I32(1);
    w.I32(2);
    CByteWriter copy = w;
    w.Truncate(4);
    w.I32(3);
    copy.I32(4);
    EXPECT_EQ(w.Bytes(), (std::vector<uint8_t>{1, 0, 0, 0, 3, 0, 0, 0}));
    EXPECT_EQ(copy.Bytes(), (std::vector<uint8_t>{1, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0}));
    // Writing goes on after whatever the vector holds once changed from outside.
    w.Bytes().push_back(9);
    w.Byte(10);
    w.Truncate(100);
    EXPECT_EQ(w.Bytes(), (std::vector<uint8_t>{1, 0, 0, 0, 3, 0, 0, 0, 9, 10}));
}

}  // namespace
}  // namespace zor2
