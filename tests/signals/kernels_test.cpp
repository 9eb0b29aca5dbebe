// The shared kernels: the fast transform against its recursive form bit for
// bit, the spectrum's peak, the mel filter bank, frame shaping and statistics.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "bench/fft_transcription.h"
#include "components/math/stats_kernel.h"
#include "components/signals/fft_kernel.h"
#include "components/signals/mel_kernel.h"
#include "components/signals/signal_kernel.h"

namespace zor2 {
namespace {

std::vector<double> Values(const CArrayValue& v) {
    return v.data ? std::vector<double>(v.data, v.data + v.count) : std::vector<double>{};
}

TEST(Fft, EqualsTheRecursiveFormBitForBitAtEverySize) {
    std::mt19937_64 rng(15);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    CFft fft;  // one transform reused across sizes, as a component reuses it
    for (int32_t n = 2; n <= 4096; n *= 2) {
        // A full frame, a short one (zero padded) and one with signed zeros.
        for (int32_t shape = 0; shape < 3; ++shape) {
            SCOPED_TRACE(testing::Message() << "n " << n << " shape " << shape);
            std::vector<double> x(static_cast<size_t>(shape == 1 ? n / 2 + 1 : n));
            for (size_t j = 0; j < x.size(); ++j)
                x[j] = shape == 2 && j % 3 ? (j % 2 ? -0.0 : 0.0) : uniform(rng);
            fft.Prepare(n);
            fft.Load(x.data(), static_cast<int32_t>(x.size()));
            fft.Run();
            const std::vector<reference::CComplex> expected = reference::Fft(x.data(), x.size(), n);
            int differing = 0;
            for (int32_t k = 0; k < n; ++k)
                differing +=
                    std::bit_cast<uint64_t>(fft.Re()[k]) != std::bit_cast<uint64_t>(expected[k].re) ||
                    std::bit_cast<uint64_t>(fft.Im()[k]) != std::bit_cast<uint64_t>(expected[k].im);
            EXPECT_EQ(differing, 0);
        }
    }
}

TEST(Fft, TransformSizeIsTheLargestPowerOfTwoNotAbove) {
    const std::pair<int64_t, int32_t> cases[] = {{-4, 0},
                                                 {0, 0},
                                                 {1, 0},
                                                 {2, 2},
                                                 {3, 2},
                                                 {1000, 512},
                                                 {1024, 1024},
                                                 {65535, 32768},
                                                 {1 << 16, 65536},
                                                 {1 << 20, 65536},
                                                 {int64_t{1} << 40, 65536}};
    for (const auto& [n, size] : cases) EXPECT_EQ(FftSizeFor(n), size) << n;
}

TEST(Spectrum, PeakAndFrequencies) {
    struct Case {
        const char* name;
        std::vector<double> frame;
        int32_t points;
        int32_t peak;
    };
    std::vector<double> sine(256);
    for (size_t j = 0; j < sine.size(); ++j) sine[j] = std::sin(2 * M_PI * 10 * j / 256.0);
    const Case cases[] = {
        {"ten cycles peak at bin 10", sine, 256, 10},
        {"silence gives bin 0", std::vector<double>(64, 0.0), 64, 0},
        {"equal magnitudes at 0 and 1: the lower", {1, 0, 0, 0}, 4, 0},
        {"equal magnitudes at 1 and 3: the lower", {0, 0, 1, 0, 0, 0, -1, 0}, 8, 1},
        {"short frame zero padded", {0, 1, 0, -1}, 16, 4},
    };
    CSpectrumAnalyser a;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(a.Analyse(c.frame.data(), static_cast<int32_t>(c.frame.size()), c.points, 11025.7));
        EXPECT_EQ(a.Summary().peak, c.peak);
        EXPECT_EQ(a.Summary().peakMagnitude, a.Spectrum()[c.peak]);
    }
    a.Analyse(sine.data(), 256, 256, 11025.7);
    const CSpectrumSummary& s = a.Summary();
    EXPECT_EQ(s.bins, 128);
    EXPECT_DOUBLE_EQ(s.binSize, 11025.0 / 256);
    EXPECT_DOUBLE_EQ(s.lowestFreq, 11025.0 / 256);
    EXPECT_DOUBLE_EQ(s.peakFreq, 10 * 11025.0 / 256);
    EXPECT_DOUBLE_EQ(s.nyquistFreq, 127 * 11025.0 / 256);
    // Nothing to transform: no frame, an empty one, a single sample.
    const double one = 1.0;
    for (const auto& [frame, count] : {std::pair{(const double*)nullptr, 4}, {&one, 0}, {&one, 1}}) {
        EXPECT_FALSE(a.Analyse(frame, count, count, 8000));
        EXPECT_EQ(a.Summary().bins, 0);
    }
}

CMelFilterBank Bank(int32_t n, int32_t bins = 256, double low = 100, double high = 5000,
                    double rate = 22050) {
    CMelFilterBank bank;
    EXPECT_TRUE(bank.Build(n, bins, low, high, rate, MelResolution(rate, bins)));
    return bank;
}

TEST(MelFilterBank, FiltersAreBoundedByTheirNeighboursCentres) {
    const CMelFilterBank bank = Bank(24);
    const auto& f = bank.Filters();
    ASSERT_EQ(f.size(), 24u);
    EXPECT_EQ(f.front().lower, 0.0);
    EXPECT_NEAR(f.front().centre, 100.0, 1e-9);
    EXPECT_NEAR(f.back().centre, 5000.0, 1e-9);
    for (size_t k = 1; k + 1 < f.size(); ++k) {
        EXPECT_EQ(f[k].lower, f[k - 1].centre);
        EXPECT_EQ(f[k].upper, f[k + 1].centre);
        EXPECT_LE(f[k].firstBin, f[k].centreBin);
        EXPECT_LE(f[k].centreBin, f[k].lastBin);
    }
}

TEST(MelFilterBank, BuildsOnlyFromAUsableRange) {
    struct Case {
        const char* name;
        int32_t n, bins;
        double low, high;
    } cases[] = {
        {"range of 99 Hz", 10, 256, 1000, 1099},
        {"one filter", 1, 256, 100, 5000},
        {"too many filters", kMaxMelFilters + 1, 256, 100, 5000},
        {"no bins", 24, 0, 100, 5000},
        {"too many bins", 24, kMaxMelBins + 1, 100, 5000},
        {"no number", 24, 256, NAN, 5000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMelFilterBank fresh;
        EXPECT_FALSE(fresh.Build(c.n, c.bins, c.low, c.high, 22050, MelResolution(22050, c.bins)));
        EXPECT_FALSE(fresh.Initialized());
        CMelFilterBank built = Bank(24);
        EXPECT_FALSE(built.Build(c.n, c.bins, c.low, c.high, 8000, MelResolution(22050, c.bins)));
        EXPECT_EQ(built.FilterCount(), 24);
        EXPECT_EQ(built.Rate(), 22050);
        EXPECT_NEAR(built.LowestCentre(), 100.0, 1e-9);
    }
}

TEST(MelFilterBank, Coefficients) {
    std::vector<double> ones(256, 1.0);
    CMelFilterBank two = Bank(2);
    two.Compute(ones.data(), 256);
    for (const CMelFilter& f : two.Filters()) EXPECT_EQ(f.coefficient, 0.0);  // no filter between the guards

    CMelFilterBank bank = Bank(24);
    bank.Compute(ones.data(), 256);
    const double full = bank.Filters()[5].coefficient;
    EXPECT_NE(full, 0.0);
    // A shorter spectrum is read as far as it goes; silence stays finite.
    const std::vector<double> silence(256, 0.0);
    for (const auto& [spectrum, count] :
         {std::pair<const double*, int32_t>{ones.data(), 10}, {silence.data(), 256}}) {
        bank.Compute(spectrum, count);
        for (const CMelFilter& f : bank.Filters()) EXPECT_TRUE(std::isfinite(f.coefficient)) << f.id;
    }
    EXPECT_EQ(bank.Filters()[1].logEnergy, std::log(DBL_MIN));
    bank.Compute(nullptr, 0);
    for (const CMelFilter& f : bank.Filters()) EXPECT_EQ(f.coefficient, 0.0);
}

TEST(Shaping, Frames) {
    const std::vector<double> ones3 = {1, 1, 1}, ramp = {1, 2, 3}, four = {1, 2, 3, 4},
                              six = {1, 1, 1, 1, 5, 6};
    auto frame = [](const std::vector<double>& v) {
        return CFrame{v.data(), static_cast<int32_t>(v.size())};
    };
    struct Case {
        const char* name;
        void (*shape)(CFrame a, CFrame b, CFrameBuffer& out);
        std::vector<double> a, b, expected;
    } cases[] = {
        {"gain", [](CFrame a, CFrame, CFrameBuffer& o) { ScaleFrame(a, -2.0, o); }, ramp, {}, {-2, -4, -6}},
        {"pre-emphasis feeds back its output",
         [](CFrame a, CFrame, CFrameBuffer& o) { PreEmphasizeFrame(a, 0.5, o); },
         ones3,
         {},
         {1, 0.5, 0.75}},
        {"echo one sample late",
         [](CFrame a, CFrame, CFrameBuffer& o) {
             EchoFrame(a, {0.1, 10, 0.5}, o);
         },
         ramp,
         {},
         {1, 2.5, 4}},
        {"echo beyond the frame",
         [](CFrame a, CFrame, CFrameBuffer& o) {
             EchoFrame(a, {1.0, 10, 0.5}, o);
         },
         ramp,
         {},
         ramp},
        {"echo of a negative delay",
         [](CFrame a, CFrame, CFrameBuffer& o) {
             EchoFrame(a, {-0.1, 10, 0.5}, o);
         },
         ramp,
         {},
         ramp},
        {"mixer copies the longer tail",
         [](CFrame a, CFrame b, CFrameBuffer& o) { CombineFrames(a, b, false, o); },
         four,
         six,
         {2, 3, 4, 5, 5, 6}},
        {"modulation copies the tail unmultiplied",
         [](CFrame a, CFrame b, CFrameBuffer& o) { CombineFrames(a, b, true, o); },
         six,
         ramp,
         {1, 2, 3, 1, 5, 6}},
        {"mixer without a second frame",
         [](CFrame a, CFrame, CFrameBuffer& o) { CombineFrames(a, {}, false, o); },
         ramp,
         {},
         ramp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFrameBuffer out;
        c.shape(frame(c.a), frame(c.b), out);
        EXPECT_EQ(Values(out.Value()), c.expected);
        EXPECT_EQ(out.Value().minimum, *std::min_element(c.expected.begin(), c.expected.end()));
        EXPECT_EQ(out.Value().maximum, *std::max_element(c.expected.begin(), c.expected.end()));
    }
    // No frame in: none out, extremes 0; an empty frame: extremes at their starting values.
    CFrameBuffer out;
    CombineFrames({}, frame(ramp), false, out);
    EXPECT_EQ(out.Value().data, nullptr);
    EXPECT_EQ(out.Value().minimum, 0.0);
    ScaleFrame({ramp.data(), 0}, 2.0, out);
    EXPECT_NE(out.Value().data, nullptr);
    EXPECT_EQ(out.Value().count, 0);
    EXPECT_EQ(out.Value().minimum, 1e8);
    EXPECT_EQ(out.Value().maximum, -1e8);
}

TEST(Shaping, Windows) {
    struct Case {
        int32_t type, n;
        size_t at;
        double expected;
    } cases[] = {
        {kWindowHanning, 1024, 0, 0.0},
        {kWindowHamming, 1024, 0, 0.54 - 0.46},
        {kWindowBlackman, 16, 0, 0.42 - 0.5 + 0.08},
        {kWindowHanning, 1, 0, 1.0},  // one point weighs 1
        {7, 8, 3, 1.0},               // an unknown type passes the frame unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " n " << c.n);
        CSignalWindow window;
        const std::vector<double> ones(static_cast<size_t>(c.n), 1.0);
        CFrameBuffer out;
        WindowFrame({ones.data(), c.n}, window, c.type, out);
        EXPECT_NEAR(out.Value().data[c.at], c.expected, 1e-15);
    }
    // Without a frame the window keeps the last extremes.
    CSignalWindow window;
    CFrameBuffer out;
    const std::vector<double> ramp = {1, 2, 3};
    WindowFrame({ramp.data(), 3}, window, 99, out);
    WindowFrame({}, window, 99, out);
    EXPECT_EQ(out.Value().data, nullptr);
    EXPECT_EQ(out.Value().maximum, 3.0);
}

TEST(Generator, Frames) {
    CSignalGenerator g;
    // 125 Hz at 8000 Hz: eight table entries per sample, one period in 64 samples.
    std::vector<double> f = Values(g.Frame(125, 65, 8000));
    ASSERT_EQ(f.size(), 65u);
    EXPECT_EQ(f[64], f[0]);
    EXPECT_EQ(f[1], 0.5 * static_cast<float>(std::sin(8 * 6.2831853 / 512)));
    EXPECT_EQ(f[16], 0.5 * static_cast<float>(std::sin(128 * 6.2831853 / 512)));
    struct Case {
        const char* name;
        double frequency;
        int32_t size, rate, count;
    } cases[] = {
        {"disabled: zeros of the full size", 0.0, 1024, 44100, 1024},
        {"rate 0: an empty frame", 100.0, 1024, 0, 0},
        {"negative size: an empty frame", 100.0, -5, 44100, 0},
        {"negative frequency wraps", -333.0, 100, 8000, 100},
        {"huge frequency ends", 1e300, 100, 8000, 100},
        {"size beyond the largest frame", 100.0, 1 << 30, 8000, kMaxGeneratorFrame},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CArrayValue& v = g.Frame(c.frequency, c.size, c.rate);
        EXPECT_NE(v.data, nullptr);
        ASSERT_EQ(v.count, c.count);
        for (double s : Values(v)) ASSERT_TRUE(std::fabs(s) <= 0.5);
        if (c.frequency == 0.0) {
            EXPECT_EQ(v.maximum, 0.0);
        }
    }
}

TEST(Statistics, SignalStatsTakesTheMidRange) {
    const std::vector<double> frame = {1, 2, 9};
    CSignalStats s;
    s.Take({frame.data(), 3});
    EXPECT_EQ(std::vector<double>({s.minimum, s.maximum, s.mean}), std::vector<double>({1, 9, 5}));
    s.Take({frame.data(), 0});
    EXPECT_EQ(std::vector<double>({s.minimum, s.maximum, s.mean}), std::vector<double>({1e12, -1e12, 0}));
    s.Take({});
    EXPECT_EQ(std::vector<double>({s.minimum, s.maximum, s.mean}), std::vector<double>({0, 0, 0}));
}

TEST(Statistics, RunningStatsSeries) {
    struct Step {
        bool reset;
        double v;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<double> outputs;  // Min, Max, Mean, Count, Variance, Std Deviation, Chg
    } cases[] = {
        {"4, 8, 6", {{false, 4}, {false, 8}, {false, 6}}, {4, 8, 6, 3, 8.0 / 3, std::sqrt(8.0 / 3), -2}},
        {"reset in the middle",
         {{false, 5}, {false, 7}, {true, 1}, {false, 2}, {false, 4}},
         {2, 4, 3, 2, 1, 1, 2}},
        {"reset held", {{false, 5}, {true, 6}, {true, 7}}, {0, 0, 0, 0, 0, 0, 0}},
        {"one value", {{false, -2.5}}, {-2.5, -2.5, -2.5, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRunningStats s;
        double sum = 0.0;
        double out[7] = {};
        for (const Step& step : c.steps) {
            s.Take(true, step.reset, true, step.v, sum);
            s.Outputs(s.count > 0 ? step.v : 0.0, out);
        }
        for (int i = 0; i < 7; ++i) EXPECT_DOUBLE_EQ(out[i], c.outputs[static_cast<size_t>(i)]) << i;
    }
    // Disabled: nothing is taken, but a reset still counts.
    CRunningStats s;
    double sum = 0.0;
    s.Take(true, false, true, 3.0, sum);
    s.Take(false, false, true, 9.0, sum);
    EXPECT_EQ(s.count, 1);
    s.Take(false, true, true, 9.0, sum);
    EXPECT_FALSE(s.Take(true, false, true, 1.0, sum));
    EXPECT_EQ(s.count, 0);
}

TEST(Statistics, MovingAverageAndRunningTotal) {
    CMovingAverage avg;
    avg.Restart(3);
    double sum = 0.0;
    std::vector<double> outputs;
    for (double v : {3.0, 6.0, 9.0, 12.0}) {
        avg.Take(v, sum);
        outputs.push_back(avg.Output(sum));
    }
    // The window's average already in the cycle it fills.
    EXPECT_EQ(outputs, std::vector<double>({0, 0, 6, 9}));
    avg.Restart();
    avg.Take(1.0, sum);
    EXPECT_EQ(avg.Output(sum), 0.0);
    CMovingAverage huge;
    huge.Restart(1 << 30);  // a damaged length: the window stays bounded
    huge.Take(1.0, sum);
    EXPECT_EQ(huge.Length(), 1 << 30);
    EXPECT_EQ(RunningTotalOutput(true, 3.0), 3.0);
    EXPECT_EQ(RunningTotalOutput(false, 3.0), 0.0);
}

}  // namespace
}  // namespace zor2
