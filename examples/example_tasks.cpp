// The examples that teach: small real tasks built from the component families
// (spectra, a trained network, a decision table with a timed sequence, running
// statistics over a played log, patterns on a display, vector arithmetic).
#include "examples/example_tasks.h"

#include <cstdio>
#include <string>
#include <vector>

#include "algo/csv_file.h"
#include "components/decision/action_sequence.h"
#include "components/decision/decision_matrix.h"
#include "components/decision/neural_network.h"
#include "components/decision/pattern.h"
#include "components/decision/segmenter.h"
#include "components/math/compare.h"
#include "components/math/stats.h"
#include "components/math/vector.h"
#include "components/signals/fft_mfcc.h"
#include "components/signals/signal.h"
#include "components/utility/csv_data.h"
#include "examples/example_builder.h"

namespace zor2::examples {
namespace {

// Palette type ids the examples drop.
constexpr int32_t kSubtract = 22;
constexpr int32_t kMultiply = 23;
constexpr int32_t kRunningStats = 27;
constexpr int32_t kMovingAverage = 58;
constexpr int32_t kCompareBelowConstant = 20;
constexpr int32_t kVector2DMagnitude = 61;
constexpr int32_t kVector2DNormalize = 63;
constexpr int32_t kVector2DArithmetic = 65;
constexpr int32_t kIndicatorLight = 73;
constexpr int32_t kSevenSegment = 74;
constexpr int32_t kCsvInput = 45;
constexpr int32_t kCsvOutput = 44;

// Colours as the designer stores them: red in the low byte.
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kBlue = 0xFF0000;

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

/// An inputs file for `zor21-cli run --inputs` and `zor2run --inputs`: a header
/// of system input ids, then one row of values per cycle.
std::string InputsCsv(const std::vector<CExternalInput*>& inputs,
                      const std::vector<std::vector<double>>& rows) {
    std::string text;
    for (size_t i = 0; i < inputs.size(); ++i)
        text += (i ? "," : "") + std::to_string(inputs[i] ? inputs[i]->m_id : 0);
    text += '\n';
    for (const std::vector<double>& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) text += (i ? "," : "") + Number(row[i]);
        text += '\n';
    }
    return text;
}

/// The signal generator of a fixed sample rate and frame size, its frequency taken from `tone`.
CNetworkModel* ToneSource(CSystem& s, CNetwork& m, CExternalInput* tone, int32_t frame, int32_t x,
                          int32_t y) {
    auto* gen = static_cast<CModelSignalGen*>(Drop(m, kTypeSignalGen, x, y));
    if (!gen) return nullptr;
    gen->SetParams({.sampleRate = 11025, .frameSize = frame, .frequency = tone ? tone->m_value : 100.0});
    FeedTo(m, Bring(s, tone, m), gen, 20);
    return gen;
}

CModelSignalFFT* Spectrum(CNetwork& m, CNetworkModel* frames, int32_t points, int32_t x, int32_t y) {
    CNetworkModel* window = Drop(m, kTypeSignalWindow, x, y);
    WireTo(m, frames, 10, window, 10);
    auto* fft = static_cast<CModelSignalFFT*>(Drop(m, kTypeSignalFft, x + 180, y));
    if (!fft) return nullptr;
    fft->SetPoints(points);
    fft->SetSampleRate(11025.0);
    WireTo(m, window, 10, fft, 10);
    return fft;
}

}  // namespace

// --- tone_detector -----------------------------------------------------------------

void ToneDetector(CSystem& s) {
    CNetwork* m = s.CreateModule("detect", 200, 120);
    CExternalInput* tone = Input(s, "tone Hz", 440.0);
    CNetworkModel* gen = ToneSource(s, *m, tone, 256, 140, 60);
    CModelSignalFFT* fft = Spectrum(*m, gen, 256, 320, 60);
    auto* band = static_cast<CModelSegmenter*>(Drop(*m, kTypeSegmenterMultiple, 680, 60));
    if (band) band->SetThresholds({{.m_value = 400.0}, {.m_value = 480.0}});
    WireTo(*m, fft, 40, band, 10);
    CNetworkModel* lamp = Drop(*m, kIndicatorLight, 880, 80);
    WireTo(*m, band, 2, lamp, 20);
    PublishOutput(s, *m, fft, 40, "peak Hz");
    PublishOutput(s, *m, band, 2, "A4 heard");
    WriteDataFile("tone_detector_inputs.csv",
                  InputsCsv({tone}, {{440}, {300}, {880}, {445}, {1000}, {430}, {600}, {440}}));
}

// --- vowel_classifier --------------------------------------------------------------

namespace {

struct CVowel {
    const char* name;
    double f1, f2;  // the first two formants, Hz
};
constexpr CVowel kVowels[] = {
    {"a", 730, 1090}, {"e", 530, 1840}, {"i", 270, 2290}, {"o", 570, 840}, {"u", 300, 870}};
// Each vowel is learned from its formants and from a lower and a higher voice.
constexpr double kVoices[] = {0.94, 1.0, 1.06};

/// Runs the spectrum chain once per vowel and voice and writes the feature
/// vectors: name, one column per MFCC output, the vowel.
std::string FeatureVectors(CSystem& s, CExternalInput* f1, CExternalInput* f2, const CModelSignalMFCC& mfcc) {
    std::string text = "name";
    for (const CModelOutput* out : mfcc.m_outputs) text += ",c" + std::to_string(out->m_id);
    text += ",vowel\n";
    for (const CVowel& v : kVowels) {
        for (double voice : kVoices) {
            f1->SetValue(v.f1 * voice);
            f2->SetValue(v.f2 * voice);
            s.RunCycle();
            text += std::string(v.name) + "_" + Number(voice);
            for (const CModelOutput* out : mfcc.m_outputs) text += "," + Number(out->m_value);
            text += "," + std::string(v.name) + "\n";
        }
    }
    return text;
}

}  // namespace

void VowelClassifier(CSystem& s) {
    CNetwork* m = s.CreateModule("classify", 200, 120);
    CExternalInput* f1 = Input(s, "F1 Hz", kVowels[0].f1);
    CExternalInput* f2 = Input(s, "F2 Hz", kVowels[0].f2);
    CNetworkModel* low = ToneSource(s, *m, f1, 512, 140, 40);
    CNetworkModel* high = ToneSource(s, *m, f2, 512, 140, 200);
    CNetworkModel* mix = Drop(*m, kTypeSignalMixer, 320, 120);
    WireTo(*m, low, 10, mix, 10);
    WireTo(*m, high, 10, mix, 20);
    CModelSignalFFT* fft = Spectrum(*m, mix, 512, 500, 120);
    auto* mfcc = static_cast<CModelSignalMFCC*>(Drop(*m, kTypeVoiceMfcc, 860, 120));
    if (!mfcc || !f1 || !f2) return Check(false, "building the vowel chain");
    std::vector<CMelEntry> entries = DefaultMelEntries(10);
    for (CMelEntry& e : entries) e.enabled = e.id >= 2 && e.id <= 9;
    Check(mfcc->Configure({.sampleRate = 11025,
                           .filterCount = 10,
                           .lowestCentre = 200.0,
                           .highestCentre = 3000.0,
                           .bins = 256},
                          entries),
          "building the mel filter bank");
    WireTo(*m, fft, 20, mfcc, 10);

    s.ResetSystem();
    const std::string vectors = WriteDataFile("vowels.csv", FeatureVectors(s, f1, f2, *mfcc));
    auto* nn = static_cast<CModelNeuralNetwork*>(Drop(*m, kTypeNeuralNetwork, 1080, 120));
    CCSVFile file;
    std::string error;
    Check(nn && file.Open(vectors, ECsvMode::Read) && nn->ImportNew(file, {}, error) > 0,
          "importing the feature vectors");
    if (!nn) return;
    nn->BeginLearning();
    nn->Trainer().m_progress.running = true;
    int32_t notLearned = 1;
    for (int pass = 0; pass < 2000 && notLearned > 0; ++pass) notLearned = nn->LearnPass();
    nn->Trainer().m_progress.running = false;
    nn->EndLearning();
    Check(notLearned == 0, "learning the vowels");
    size_t k = 0;
    for (CModelOutput* out : mfcc->m_outputs)
        if (k < nn->m_inputs.Size()) WireTo(*m, mfcc, out->m_id, nn, nn->m_inputs.At(k++)->m_id);
    for (const CVowel& v : kVowels)
        for (CModelOutput* out : nn->m_outputs)
            if (out->m_name == v.name) PublishOutput(s, *m, nn, out->m_id, v.name);
    s.ResetSystem();
    std::vector<std::vector<double>> rows;
    for (const CVowel& v : kVowels) rows.push_back({v.f1 * 1.03, v.f2 * 0.97});
    WriteDataFile("vowel_classifier_inputs.csv", InputsCsv({f1, f2}, rows));
}

// --- thermostat ------------------------------------------------------------------------

void Thermostat(CSystem& s) {
    CNetwork* m = s.CreateModule("control", 200, 120);
    CExternalInput* room = Input(s, "room C", 15.0);
    CExternalInput* hour = Input(s, "hour", 3.0);
    auto* table = static_cast<CModelDecisionMatrix*>(Drop(*m, kTypeDecisionMatrix, 320, 60));
    if (!table) return;
    FeedTo(*m, Bring(s, room, *m), table, kDecisionInput1PortId);
    FeedTo(*m, Bring(s, hour, *m), table, kDecisionInput2PortId);
    // Room: at most 16, up to 19, up to 23, above. Hour: night, day (6 to 22), night.
    Check(table->DeleteAllThresholds(1) && table->DeleteAllThresholds(2), "clearing the thresholds");
    for (double t : {16.0, 19.0, 23.0}) Check(table->AddThreshold(1, t), "a room threshold");
    for (double t : {6.0, 22.0}) Check(table->AddThreshold(2, t), "an hour threshold");
    CModelOutput* heat = table->AddDecisionOutput("Heat", kRed);
    CModelOutput* cool = table->AddDecisionOutput("Cool", kBlue);
    if (!heat || !cool) return Check(false, "adding the decisions");
    // Frost protection all night and day, comfort heating by day, cooling by day only.
    Check(table->AssignDecisions({{0, 0}, {0, 1}, {0, 2}, {1, 1}}, heat->m_id) == 4, "the heating cells");
    Check(table->AssignDecisions({{3, 1}}, cool->m_id) == 1, "the cooling cell");

    // While heating, the burner runs in two-second cycles: the fan starts, the
    // flame ramps up over half a second and burns for the rest of the cycle.
    auto* burner = static_cast<CModelActionSequence*>(Drop(*m, kTypeActionSequence, 320, 300));
    if (!burner) return;
    WireTo(*m, table, heat->m_id, burner, kSequencerEnableInputId);
    WireTo(*m, Constant(*m, 1.0, 140, 340), 0, burner, kSequencerPatternInputId);
    CActionSequence& cycle = burner->NewSequence();
    cycle.m_name = "burner cycle";
    cycle.m_repeat = true;
    CModelOutput* fan = burner->NewOutput();
    CModelOutput* flame = burner->NewOutput();
    if (!fan || !flame) return Check(false, "adding the sequencer outputs");
    fan->m_name = "Fan";
    flame->m_name = "Flame";
    burner->AddAction(cycle, fan->m_id, 0.0, 2000.0);
    CAction& ramp = burner->AddAction(cycle, flame->m_id, 300.0, 500.0);
    ramp.m_type = kActionDynamic;
    ramp.m_startValue = 0.0;
    ramp.m_endValue = 1.0;
    burner->AddAction(cycle, flame->m_id, 800.0, 1200.0);
    burner->Sequencer().Reset();

    // The sequencer holds its outputs while disabled, so heat gates them.
    const char* names[] = {"fan", "flame"};
    int32_t row = 0;
    for (CModelOutput* out : {fan, flame}) {
        CNetworkModel* gate = Drop(*m, kMultiply, 640, 280 + 100 * row);
        WireTo(*m, burner, out->m_id, gate, 0);
        WireTo(*m, table, heat->m_id, gate, 0);
        PublishOutput(s, *m, gate, 0, names[row++]);
    }
    PublishOutput(s, *m, table, heat->m_id, "heat");
    PublishOutput(s, *m, table, cool->m_id, "cool");

    std::vector<std::vector<double>> rows;
    const struct {
        int cycles;
        double hour, room;
    } day[] = {{10, 3, 15}, {25, 8, 18}, {10, 12, 21}, {10, 15, 26}, {5, 23, 22}};
    for (const auto& part : day)
        for (int i = 0; i < part.cycles; ++i) rows.push_back({part.room, part.hour});
    WriteDataFile("thermostat_inputs.csv", InputsCsv({room, hour}, rows));
}

// --- sensor_log --------------------------------------------------------------------------

void SensorLog(CSystem& s) {
    // A day of readings, one per hour: a warm afternoon and a humid night.
    std::string log = "temperature,humidity\n";
    for (int h = 0; h < 24; ++h) {
        const int warm = h < 14 ? h : 28 - h;
        log += Number(12.0 + 0.75 * warm + (h % 3 == 0 ? 0.5 : 0.0)) + "," + Number(90.0 - 2.5 * warm) + "\n";
    }
    const std::string dataPath = WriteDataFile("sensor_log.csv", log);

    CNetwork* m = s.CreateModule("log", 200, 120);
    auto* source = static_cast<CModelDataImport*>(Drop(*m, kCsvInput, 140, 60));
    if (!source) return;
    source->ChangeFile(dataPath);
    Check(source->Player().IsOpen(), "opening the sensor log");
    CNetworkModel* stats = Drop(*m, kRunningStats, 360, 40);
    WireTo(*m, source, kCsvFirstColumnOutput, stats, 20);
    auto* average = static_cast<CModelStatsMovingAvg*>(Drop(*m, kMovingAverage, 360, 300));
    if (average) average->SetLength(4);
    WireTo(*m, source, kCsvFirstColumnOutput, average, 0);
    auto* report = static_cast<CModelLogBook*>(Drop(*m, kCsvOutput, 640, 200));
    if (!report) return;
    WireTo(*m, source, kCsvFirstColumnOutput, report, kNewInput);
    WireTo(*m, stats, 30, report, kNewInput);
    WireTo(*m, average, 10, report, kNewInput);
    WireTo(*m, source, kCsvFirstColumnOutput + 1, report, kNewInput);
    // A new CSV Data Output starts a log of its own at once; the report replaces
    // it, written into the folder the project runs from.
    std::remove(report->Path().c_str());
    report->SetPath("sensor_report.csv");
    PublishOutput(s, *m, stats, 30, "mean");
    PublishOutput(s, *m, stats, 20, "max");
    PublishOutput(s, *m, stats, 70, "std dev");
    PublishOutput(s, *m, average, 10, "last 4 h");
}

// --- digit_display -----------------------------------------------------------------------

void DigitDisplay(CSystem& s) {
    // Segments a to g as bits 0 to 6 of each digit 0 to 9.
    constexpr uint32_t kSegments[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    CNetwork* m = s.CreateModule("display", 200, 120);
    CExternalInput* digit = Input(s, "digit", 0.0);
    auto* encoder = static_cast<CModelPatternGenerator*>(Drop(*m, kTypePatternGenerator, 320, 60));
    auto* reader = static_cast<CModelPatternAnalyzer*>(Drop(*m, kTypePatternAnalyzer, 640, 320));
    CNetworkModel* led = Drop(*m, kSevenSegment, 640, 20);
    if (!encoder || !reader || !led) return;
    std::vector<CPattern> patterns;
    for (int32_t d = 0; d < 10; ++d)
        patterns.push_back({.m_bits = kSegments[d], .m_name = std::to_string(d), .m_number = d});
    for (int i = 0; i < 7; ++i) Check(encoder->AddPatternOutput(), "a segment output");
    encoder->SetPatterns(patterns);
    FeedTo(*m, Bring(s, digit, *m), encoder, 20);
    // The analyzer reads the lit segments back and gives the id of the pattern
    // they match: 10 + the digit, so that the digit is the id less 10.
    for (CPattern& p : patterns) p.m_id = 10 + p.m_number;
    reader->Analysis().m_registered = patterns;
    int32_t seg = 20;
    for (CModelOutput* out : encoder->m_outputs) {
        WireTo(*m, encoder, out->m_id, led, seg);
        seg += 10;
        WireTo(*m, encoder, out->m_id, reader, kNewInput);
    }
    CNetworkModel* shown = Drop(*m, kSubtract, 880, 340);
    WireTo(*m, reader, 20, shown, 0);
    WireTo(*m, Constant(*m, 10.0, 640, 520), 0, shown, 0);
    PublishOutput(s, *m, shown, 0, "digit shown");
    PublishOutput(s, *m, reader, 10, "recognised");
    WriteDataFile("digit_display_inputs.csv",
                  InputsCsv({digit}, {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}, {9}, {12}}));
}

// --- homing ----------------------------------------------------------------------------------

void Homing(CSystem& s) {
    CNetwork* m = s.CreateModule("steer", 200, 120);
    CExternalInput* x = Input(s, "x", 0.0);
    CExternalInput* y = Input(s, "y", 0.0);
    auto* offset = static_cast<CModelVector2*>(Drop(*m, kVector2DArithmetic, 320, 60));
    if (!offset) return;
    Check(offset->SetOperation(kVectorSubtract), "choosing the subtraction");
    WireTo(*m, Constant(*m, 40.0, 140, 0), 0, offset, 20);
    WireTo(*m, Constant(*m, 30.0, 140, 160), 0, offset, 30);
    FeedTo(*m, Bring(s, x, *m), offset, 40);
    FeedTo(*m, Bring(s, y, *m), offset, 50);
    CNetworkModel* distance = Drop(*m, kVector2DMagnitude, 540, 40);
    CNetworkModel* heading = Drop(*m, kVector2DNormalize, 540, 220);
    for (CNetworkModel* c : {distance, heading}) {
        WireTo(*m, offset, 10, c, 20);
        WireTo(*m, offset, 20, c, 30);
    }
    auto* near = static_cast<CModelCompare*>(Drop(*m, kCompareBelowConstant, 760, 40));
    if (near) near->SetCompareValue(1.0);
    WireTo(*m, distance, 10, near, 0);
    WireTo(*m, near, 0, Drop(*m, kIndicatorLight, 960, 60), 20);
    PublishOutput(s, *m, distance, 10, "distance");
    PublishOutput(s, *m, heading, 10, "heading x");
    PublishOutput(s, *m, heading, 20, "heading y");
    PublishOutput(s, *m, near, 0, "arrived");
    std::vector<std::vector<double>> rows;
    for (int k = 0; k < 10; ++k) rows.push_back({4.0 * k, 3.0 * k});
    rows.push_back({39.6, 29.7});
    WriteDataFile("homing_inputs.csv", InputsCsv({x, y}, rows));
}

}  // namespace zor2::examples
