// The shared kernels of the pattern, segmenter, LED and CSV data components:
// bit sets and their limit, recording, analysis, bins and pairs, threshold
// order and ranges, the display's shift, and playing and logging CSV files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "components/decision/pattern_kernel.h"
#include "components/decision/segmenter_kernel.h"
#include "components/utility/csv_data_kernel.h"
#include "components/utility/led_matrix_kernel.h"
#include "data_fixture.h"

namespace zor2::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(PatternKernel, BitSetsStopAtThe32ndInput) {
    struct Case {
        const char* name;
        std::vector<double> values;
        uint32_t bits;
    };
    std::vector<double> forty(40, 1.0);
    std::vector<double> onlyHigh(40, 0.0);
    onlyHigh[31] = 1.0;
    onlyHigh[35] = 1.0;
    const Case cases[] = {
        {"0.5 and 0.5", {0.5, 0.5}, 3u},
        {"on at 1e-7, off below, NaN off", {1e-7, 9e-8, -1e-7, kNaN}, 0b0101u},
        {"inputs beyond the 32nd do not count", forty, 0xFFFFFFFFu},
        {"bit 31 is the last", onlyHigh, 0x80000000u},
        {"none", {}, 0u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PatternBits(c.values), c.bits);
    }
    // Generator outputs are 2^k, up to 2^31; beyond the bit set they are 0.
    EXPECT_EQ(GeneratorOutput(0b101u, 0), 1.0);
    EXPECT_EQ(GeneratorOutput(0b101u, 1), 0.0);
    EXPECT_EQ(GeneratorOutput(0b101u, 2), 4.0);
    EXPECT_EQ(GeneratorOutput(0x80000000u, 31), 2147483648.0);
    EXPECT_EQ(GeneratorOutput(0xFFFFFFFFu, 32), 0.0);
    EXPECT_EQ(PatternsPossible(4), 8.0);
    EXPECT_EQ(PatternsPossible(1), 0.0);
    EXPECT_EQ(TriggerKey(5.9), 5);
    EXPECT_EQ(TriggerKey(kNaN), INT32_MIN);
}

TEST(PatternKernel, RecorderNumbersNewPatternsAndTracksTheMostCommon) {
    struct Step {
        uint32_t bits;
        bool recorded;
        int32_t number;  // of a new pattern
        size_t unique;
        int32_t mostCommon;
    };
    const Step steps[] = {
        {5, true, 0, 1, 0},  {5, false, 0, 1, 0}, {3, true, 1, 2, 0},
        {3, false, 0, 2, 0}, {3, false, 0, 2, 1},  // 3 has more hits now
        {5, false, 0, 2, 1},                       // equal counts: the earlier most common stays
        {0, true, 2, 3, 1},
    };
    CLcgRandom random(3);
    CPatternRecording r;
    // A loaded pattern that uses number 1 under the component's own id is not
    // matched and does not block its number.
    r.m_recorded.push_back({4242, 7, "own", 1});
    int32_t total = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.bits);
        const auto result = r.Record(s.bits, 4242, random);
        EXPECT_EQ(result.recorded, s.recorded);
        if (s.recorded) {
            EXPECT_EQ(result.number, s.number);
        }
        EXPECT_EQ(r.m_recorded.size(), s.unique + 1);
        EXPECT_EQ(r.m_total, ++total);
        EXPECT_EQ(r.MostCommonNumber(), s.mostCommon);
    }
    for (const CPattern& p : r.m_recorded) EXPECT_TRUE(p.m_id >= 1 && p.m_id <= 31999);
    EXPECT_NE(r.m_recorded[1].m_id, 4242);
    r.Reset();
    EXPECT_TRUE(r.m_recorded.empty());
    EXPECT_EQ(r.MostCommonNumber(), 0);
}

TEST(PatternKernel, AnalyzerMatchesRegisteredPatternsAndTheRuntimeKeepsTheLast1000) {
    CPatternAnalysis a;
    a.m_registered = {{7, 3, "both"}, {8, 1, "first"}, {99, 2, "own id"}};
    struct Case {
        uint32_t bits;
        int32_t matched;
    };
    for (const Case& c : {Case{3, 7}, Case{1, 8}, Case{2, 0}, Case{0, 0}}) {
        SCOPED_TRACE(c.bits);
        const CPattern* match = a.Analyze(c.bits, 99);
        EXPECT_EQ(match ? match->m_id : 0, c.matched);
    }
    EXPECT_EQ(a.m_identified, 2);
    EXPECT_EQ(a.m_unidentified, 2);
    EXPECT_EQ(a.m_analyzed.back().m_id, 103);
    EXPECT_EQ(a.m_registered[0].m_hits, 1);
    a.Reset();
    EXPECT_EQ(a.m_registered[0].m_hits, 0);
    for (int i = 0; i < 1005; ++i) a.Analyze(3, 99, kRuntimeAnalyzedLimit);
    EXPECT_EQ(a.m_analyzed.size(), kRuntimeAnalyzedLimit);
    EXPECT_EQ(a.m_analyzed[4].m_id, 100 + 1004);  // the oldest were overwritten
    EXPECT_EQ(a.m_identified, 1005);
}

TEST(MatchCount, BinsAndPairs) {
    struct Case {
        const char* name;
        std::vector<double> values;
        std::vector<uint8_t> connected;
        double tolerance;
        int32_t pairs;
        size_t bins;
        double most, mostHits, least, leastHits;
    };
    const Case cases[] = {
        {"1, 1, 2", {1, 1, 2}, {1, 1, 1}, 1e-5, 1, 2, 1, 2, 2, 1},
        {"three equal make three pairs", {4, 4, 4}, {1, 1, 1}, 1e-5, 3, 1, 4, 3, 4, 3},
        {"an open input pairs only with connected ones", {0, 0}, {1, 0}, 1e-5, 1, 1, 0, 2, 0, 2},
        {"two open inputs make no pair", {0, 0}, {0, 0}, 1e-5, 0, 1, 0, 2, 0, 2},
        {"tolerance joins pairs, not bins", {1, 1.5}, {1, 1}, 0.5, 1, 2, 1, 1, 1, 1},
        {"NaN pairs with nothing and bins alone", {kNaN, kNaN}, {1, 1}, 1e-5, 0, 2, kNaN, 1, kNaN, 1},
        {"bin tolerance is single-precision 1e-6",
         {1.0, 1.0 + 9e-7, 1.0 + 2e-6},
         {1, 1, 1},
         0,
         0,
         2,
         1,
         2,
         1.0 + 2e-6,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMatchCount m;
        m.Count(c.values, c.connected, c.tolerance);
        EXPECT_EQ(m.m_pairs, c.pairs);
        EXPECT_EQ(m.m_bins.size(), c.bins);
        ASSERT_NE(m.MostFrequent(), nullptr);
        EXPECT_TRUE(SameValue(m.MostFrequent()->m_value, c.most));
        EXPECT_EQ(m.MostFrequent()->m_hits, c.mostHits);
        EXPECT_TRUE(SameValue(m.LeastFrequent()->m_value, c.least));
        EXPECT_EQ(m.LeastFrequent()->m_hits, c.leastHits);
    }
}

TEST(Segmentation, SortsAndFindsTheRangeOfAValue) {
    struct Case {
        const char* name;
        std::vector<double> thresholds;  // in entry order
        std::vector<double> sorted;
        std::vector<std::pair<double, int32_t>> lookups;
    };
    const Case cases[] = {
        {"0 and 10", {10, 0}, {0, 10}, {{-3, 0}, {0, 0}, {0.5, 1}, {10, 1}, {10.01, 2}, {kNaN, -1}}},
        {"equal thresholds leave an empty middle range", {5, 5}, {5, 5}, {{5, 0}, {5.0001, 2}, {4, 0}}},
        {"one threshold", {-2}, {-2}, {{-2, 0}, {-1.5, 1}}},
        {"none: no range at all", {}, {}, {{0, -1}, {1e300, -1}}},
        {"above the limit follows in entry order",
         {2e9, 1, 3e9},
         {1, 2e9, 3e9},
         {{1.5, 1}, {2.5e9, 2}, {4e9, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSegmentation s;
        int32_t id = 0;
        for (double v : c.thresholds) s.m_thresholds.push_back({++id, v});
        s.Sort();
        s.Rebuild();
        std::vector<double> sorted;
        for (const CThreshold& t : s.m_thresholds) sorted.push_back(t.m_value);
        EXPECT_EQ(sorted, c.sorted);
        EXPECT_EQ(s.m_segments.size(), c.thresholds.empty() ? 0 : c.thresholds.size() + 1);
        for (const auto& [x, index] : c.lookups) EXPECT_EQ(s.Lookup(x), index) << x;
    }
    // Among equal values the later threshold is taken first.
    CSegmentation tie;
    tie.m_thresholds = {{1, 5.0}, {2, 5.0}};
    tie.Sort();
    EXPECT_EQ(tie.m_thresholds[0].m_id, 2);
}

TEST(LedMatrix, ShiftedFramesAndMissingCells) {
    std::vector<double> frame(64);
    for (int i = 0; i < 64; ++i) frame[static_cast<size_t>(i)] = i;
    struct Case {
        const char* name;
        const double* frame;
        int32_t count, shiftX, shiftY;
        std::vector<std::pair<int, double>> cells;  // (index, code)
    };
    const Case cases[] = {
        {"unshifted", frame.data(), 64, 0, 0, {{0, 0}, {63, 63}}},
        {"shift x 1: column c shows c + 1, the last column is outside",
         frame.data(),
         64,
         1,
         0,
         {{0, 1}, {6, 7}, {7, kLedOutside}, {15, kLedOutside}}},
        {"shift y -1: the first row is outside",
         frame.data(),
         64,
         0,
         -1,
         {{0, kLedOutside}, {8, 0}, {63, 55}}},
        {"a short frame leaves its missing cells off", frame.data(), 10, 0, 0, {{9, 9}, {10, 0}, {63, 0}}},
        {"no frame: every cell off", nullptr, 0, 0, 0, {{0, 0}, {63, 0}}},
        {"a huge shift stays outside", frame.data(), 64, INT32_MIN, 0, {{0, kLedOutside}, {63, kLedOutside}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLedCells cells;
        cells.fill(-1);
        ShiftFrame(c.frame, c.count, c.shiftX, c.shiftY, cells);
        for (const auto& [index, code] : c.cells) EXPECT_EQ(cells[static_cast<size_t>(index)], code) << index;
    }
    std::vector<CPattern64Bit> pictures(1);
    pictures[0].m_number = 2;
    pictures[0].m_cells.fill(3.0);
    CLedCells out;
    ControllerPicture(pictures, true, 2, out);
    EXPECT_EQ(out[63], 3.0);
    ControllerPicture(pictures, true, 1, out);
    EXPECT_EQ(out[0], 0.0);
    ControllerPicture(pictures, false, 2, out);
    EXPECT_EQ(out[0], 0.0);
}

TEST(CsvPlayer, PlaysRowsInTheOneDialect) {
    struct Case {
        const char* name;
        std::string content;
        bool loop;
        int32_t columns, rows;
        std::vector<std::vector<double>> played;  // per cycle; empty: not played
        int32_t shortLine = 0;
    };
    const Case cases[] = {
        {"quoting, empty fields, a closing comma that gives an empty last field",
         "a,\"b,\"\"x\"\"\",c\n1,\"2\",\n,,3\n",
         false,
         3,
         3,
         {{1, 2, 0}, {0, 0, 3}, {}},
         0},
        {"CR LF and no end on the last line", "a,b\r\n1,2\r\n3,4", false, 2, 3, {{1, 2}, {3, 4}, {}, {}}},
        {"numbers in C notation, text and non-finite read 0",
         "a,b,c,d,e,f\n 1.5,+3,abc,nan,1e999,2e-3x\n",
         false,
         6,
         2,
         {{1.5, 3, 0, 0, 0, 0.002}}},
        {"looping", "h\n1\n2\n", true, 1, 3, {{1}, {2}, {}, {1}, {2}}},
        {"a short line: missing columns read 0", "a,b,c\n1,2,3\n4\n", false, 3, 3, {{1, 2, 3}, {4, 0, 0}}, 3},
        {"header only", "a,b\n", true, 2, 1, {{}, {}}},
        {"empty file", "", true, 0, 0, {{}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempDir dir;
        const std::string path = dir.Write("data.csv", c.content);
        CCsvPlayer player;
        ASSERT_TRUE(player.Open(path));
        EXPECT_EQ(player.Columns(), c.columns);
        EXPECT_EQ(player.Rows(), c.rows);
        std::vector<double> row;
        for (size_t cycle = 0; cycle < c.played.size(); ++cycle) {
            const CCsvPlayer::EStep step = player.Advance(c.loop, row);
            if (c.played[cycle].empty()) {
                EXPECT_NE(step, CCsvPlayer::EStep::Played) << "cycle " << cycle;
                continue;
            }
            ASSERT_EQ(step, CCsvPlayer::EStep::Played) << "cycle " << cycle;
            EXPECT_EQ(row, c.played[cycle]) << "cycle " << cycle;
        }
        EXPECT_EQ(player.ShortLine(), c.shortLine);
    }
    CCsvPlayer missing;
    EXPECT_FALSE(missing.Open("/nonexistent/zor2/data.csv"));
    EXPECT_FALSE(missing.Error().empty());
    std::vector<double> row;
    EXPECT_EQ(missing.Advance(true, row), CCsvPlayer::EStep::Looped);  // nothing open: no hang, no row
    EXPECT_EQ(missing.Rows(), 0);
}

TEST(CsvLog, WritesEveryLineOrSaysWhyNot) {
    CTempDir dir;
    const std::string path = dir.Path("log.csv");
    EXPECT_NE(AppendCsvLog(path, {"1"}), "");  // appending never creates the file
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(CreateCsvLog(path, {"Tick Count", "a,b"}), "");
    EXPECT_EQ(AppendCsvLog(path, {"1", "2.50"}), "");
    EXPECT_EQ(dir.Read("log.csv"), "Tick Count,\"a,b\"\n1,2.50\n");
    EXPECT_EQ(ReadCsvLogHeader(path), (std::vector<std::string>{"Tick Count", "a,b"}));
    // A device that takes no data: the failed flush is reported, not taken for a written line.
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_NE(CreateCsvLog("/dev/full", {"Tick Count"}), "");
        EXPECT_NE(AppendCsvLog("/dev/full", {"1"}), "");
    }
    EXPECT_EQ(CsvFileName("/a/b\\c.csv"), "c.csv");
}

}  // namespace
}  // namespace zor2::test
