// The signal, spectrum and statistics components in the designer: their property
// dialogs (the Voice MFCC's edits its own bank and outputs), their port phases,
// and damaged records refused by the project loader and the runtime library.
#include <gtest/gtest.h>
#include <zor2runtime.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "components/math/stats.h"
#include "components/signals/signal.h"
#include "components/signals/fft_mfcc.h"
#include "designer/command_host.h"
#include "designer/commands_window.h"
#include "designer/component_properties.h"
#include "designer_commands/doc_fixture.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"

namespace zor2::test {
namespace {

/// A window that edits a property sheet with `edit` and confirms it.
struct CSheetHost final : ICommandHost {
    std::function<void(CPropertySheet&)> edit;
    bool EditProperties(CPropertySheet& sheet) override {
        edit(sheet);
        return true;
    }
};

class SignalDoc : public DocTest {
  protected:
    SignalDoc() { DesignNewModule(); }
    /// Opens the component's dialog through the command, edits it, confirms it.
    ECmd Edit(CNetworkModel& c, std::function<void(CPropertySheet&)> edit) {
        CSheetHost host;
        host.edit = std::move(edit);
        CCommandContext ctx{m_doc, host};
        return EditComponentProperties(ctx, c);
    }
    static size_t Picked(const CPropertySheet& s) {
        const CPropField* list = s.Find("selected");
        return static_cast<size_t>(std::count(list->picks.begin(), list->picks.end(), 1));
    }
};

TEST_F(SignalDoc, VoiceMfccDialogBuildsItsBankAndOutputs) {
    auto* mfcc = static_cast<CModelSignalMFCC*>(Add(kTypeVoiceMfcc));
    EXPECT_FALSE(mfcc->Bank().Initialized());
    EXPECT_TRUE(mfcc->m_outputs.Empty());
    CPropertySheet sheet = ReadComponentProperties(*mfcc);
    // A bank never built starts from 256 bins, 100 Hz up to 5000 Hz (half of 22,050 Hz is more).
    EXPECT_EQ(sheet.Find("low")->value, 100.0);
    EXPECT_EQ(sheet.Find("high")->value, 5000.0);
    EXPECT_EQ(sheet.Find("bins")->options[sheet.Find("bins")->choice], "256 bins (512-point FFT)");
    const CPropField* list = sheet.Find("selected");
    ASSERT_EQ(list->options.size(), 22u);  // the guards 1 and 24 are not offered
    EXPECT_EQ(list->options[0].substr(0, 12), "2: f: 100.0-");

    ASSERT_EQ(Edit(*mfcc,
                   [](CPropertySheet& s) {
                       s.SetPicked("selected", 0, true);
                       s.SetPicked("selected", 3, true);
                   }),
              ECmd::Done);
    ASSERT_TRUE(mfcc->Bank().Initialized());
    std::vector<std::pair<int32_t, std::string>> outputs;
    for (const CModelOutput* o : mfcc->m_outputs) {
        outputs.emplace_back(o->m_id, o->m_name);
        EXPECT_TRUE(o->m_template);
    }
    char c5[32];
    std::snprintf(c5, sizeof c5, "c5 %0.0fHz", mfcc->Bank().Filters()[4].centre);
    EXPECT_EQ(outputs[1], (std::pair<int32_t, std::string>{5, c5}));
    EXPECT_EQ(outputs[0].first, 2);
    EXPECT_EQ(mfcc->m_maxOutputs, 2);

    // Reopened: the picks stand; fewer filters keep the picks that still exist.
    ASSERT_EQ(Edit(*mfcc,
                   [&](CPropertySheet& s) {
                       EXPECT_EQ(Picked(s), 2u);
                       EXPECT_TRUE(s.SetSpin("filters", 4));
                       EXPECT_EQ(s.Find("selected")->options.size(), 2u);
                       EXPECT_EQ(Picked(s), 1u);
                   }),
              ECmd::Done);
    EXPECT_EQ(mfcc->m_outputs.Size(), 1u);
    EXPECT_EQ(mfcc->Settings().filterCount, 4);
    // Unchanged, OK keeps the outputs (and what is wired to them).
    EXPECT_EQ(Edit(*mfcc, [](CPropertySheet&) {}), ECmd::Unavailable);
    EXPECT_EQ(mfcc->m_outputs.Size(), 1u);
}

TEST_F(SignalDoc, VoiceMfccCentresStepWithinTheirBounds) {
    auto* mfcc = static_cast<CModelSignalMFCC*>(Add(kTypeVoiceMfcc));
    CPropertySheet s = ReadComponentProperties(*mfcc);
    for (int i = 0; i < 20; ++i) s.Step("low", false);
    EXPECT_EQ(s.Find("low")->value, 20.0);  // down while above 20
    EXPECT_EQ(s.Find("low")->text, "20");
    for (int i = 0; i < 600; ++i) s.Step("high", false);
    EXPECT_EQ(s.Find("high")->value, 120.0);  // never closer than 100 Hz: no bank could be built
    s.Step("high", true);
    EXPECT_EQ(s.Find("high")->value, 130.0);
    for (int i = 0; i < 20; ++i) s.Step("low", true);
    EXPECT_EQ(s.Find("low")->value, 30.0);
    EXPECT_EQ(s.Find("selected")->options.size(), 22u);
}

TEST_F(SignalDoc, VoiceMfccAsksBeforeItsConnectionsAreReplaced) {
    auto* mfcc = static_cast<CModelSignalMFCC*>(Add(kTypeVoiceMfcc));
    ASSERT_EQ(Edit(*mfcc, [](CPropertySheet& s) { s.SetPicked("selected", 0, true); }), ECmd::Done);
    CNetworkModel* total = Add(kTypeRunningTotal, 300, 100);
    ASSERT_EQ(mfcc->m_owner->RequestConnect(*mfcc, mfcc->FirstOutput(), *total, total->FirstInput()), 0);
    Select(mfcc);
    bool opened = false;
    Answer({EAnswer::No});
    EXPECT_EQ(Edit(*mfcc, [&](CPropertySheet&) { opened = true; }), ECmd::Cancelled);
    EXPECT_FALSE(opened);
    EXPECT_EQ(
        LastQuestion(),
        "This component has 1 existing output connections. If you modify the number of segment outputs, these connections will be deleted. You will need to manually reconnect them after the new segmentation is made. Do you wish to continue?");
    Answer({EAnswer::Yes});
    EXPECT_EQ(Edit(*mfcc, [](CPropertySheet& s) { s.SetPicked("selected", 1, true); }), ECmd::Done);
    EXPECT_EQ(mfcc->m_outputs.Size(), 2u);
    EXPECT_EQ(mfcc->CountConnectionsOut(), 0);
    EXPECT_FALSE(total->FirstInput()->HasSource());
}

TEST_F(SignalDoc, GeneratorFftAndAverageDialogs) {
    auto* gen = static_cast<CModelSignalGen*>(Add(kTypeSignalGen));
    ASSERT_EQ(Edit(*gen,
                   [](CPropertySheet& s) {
                       s.Choose("frameSize", 3);  // 256
                       s.SetSpin("sampleRate", 8000);
                       s.SetSpin("frequency", 125);
                   }),
              ECmd::Done);
    EXPECT_EQ(gen->Params().frameSize, 256);
    EXPECT_EQ(gen->FirstOutput()->m_arrayCount, 256);  // published at once
    EXPECT_EQ(gen->FirstOutput()->m_arrayData[64], gen->FirstOutput()->m_arrayData[0]);

    auto* fft = static_cast<CModelSignalFFT*>(Add(kTypeSignalFft, 300, 100));
    ASSERT_EQ(Edit(*fft,
                   [](CPropertySheet& s) {
                       EXPECT_EQ(s.Find("points")->options[2], "256 Input Pts (128 bins)");
                       EXPECT_EQ(s.Find("sampleRate")->options[1], "11,025 Hz");
                       s.Choose("points", 1);
                       s.Choose("sampleRate", 0);
                   }),
              ECmd::Done);
    EXPECT_EQ(fft->Points(), 128);
    EXPECT_EQ(fft->SampleRate(), 8000.0);
    EXPECT_EQ(fft->HelperText()[1], "FFT Input Pts: 128 (N/2 = 64 bins)");

    auto* avg = static_cast<CModelStatsMovingAvg*>(Add(kTypeMovingAverage, 500, 100));
    ASSERT_EQ(Edit(*avg,
                   [](CPropertySheet& s) {
                       EXPECT_FALSE(s.SetSpin("length", 101));
                       s.SetSpin("length", 3);
                   }),
              ECmd::Done);
    EXPECT_EQ(avg->Average().Length(), 3);
    EXPECT_EQ(avg->HelperText(), std::vector<std::string>{"Moving Avg Length: 3"});
}

TEST_F(SignalDoc, RunningStatsThroughItsPorts) {
    CNetwork* m = Ed().CurrentModule(Sys());
    CNetworkModel* stats = Add(kTypeRunningStats);
    CExternalInput* inputs[3];
    const char* names[] = {"on", "value", "reset"};
    for (int i = 0; i < 3; ++i) {
        inputs[i] = Sys().CreateSystemInput(names[i], 1);
        CExternalConnection* c = Sys().ConnectSystemInput(*inputs[i], *m);
        ASSERT_EQ(m->RequestConnectModuleInput(*c->m_moduleInput, *stats, stats->FindInput(10 * (i + 1))), 0);
    }
    struct Cycle {
        double on, value, reset;
        double count, mean, change;
        const char* valueText;
    } cycles[] = {
        {1, 4, 0, 1, 4, 0, "4.00"},  {1, 8, 0, 2, 6, 4, "8.00"}, {0, 100, 0, 2, 6, 4, "8.00"},
        {1, 6, 0, 3, 6, -2, "6.00"}, {1, 9, 1, 0, 0, 0, "9.00"}, {1, 9, 1, 0, 0, 0, "9.00"},
        {1, 2, 0, 1, 2, 0, "2.00"},
    };
    Sys().ResetSystem();
    int n = 0;
    for (const Cycle& c : cycles) {
        SCOPED_TRACE(++n);
        inputs[0]->SetValue(c.on);
        inputs[1]->SetValue(c.value);
        inputs[2]->SetValue(c.reset);
        Sys().RunCycle();
        std::vector<double> out;
        for (const CModelOutput* o : stats->m_outputs) out.push_back(o->m_value);
        EXPECT_EQ(out[3], c.count);
        EXPECT_EQ(out[2], c.mean);
        EXPECT_EQ(out[6], c.change);
        EXPECT_EQ(stats->FindInput(20)->ValueString(), c.valueText);
    }
}

TEST_F(SignalDoc, InputsShowWhatTheyTake) {
    struct Case {
        int32_t type, input;
        double value;  // NAN: the input stays open
        const char* text;
    } cases[] = {
        {kTypeSignalGen, 20, 440.7, "440 Hz"},      {kTypeSignalGen, 30, 8000.9, "8000/sec"},
        {kTypeSignalGen, 40, 256, "256"},           {kTypeSignalGen, 10, 0, "Off"},
        {kTypeSignalGain, 20, 1.5, "1.50"},         {kTypeSignalPreEmp, 20, 0.904, "0.90"},
        {kTypeSignalDelay, 20, 0.126, "0.13"},      {kTypeSignalDelay, 30, 0.5, "0.50"},
        {kTypeSignalDelay, 40, 22050, "22050/sec"}, {kTypeSignalFft, 20, 11025, "11025/sec"},
        {kTypeSignalFft, 10, NAN, "0 pts"},         {kTypeRunningTotal, 10, 2.5, "2.50"},
        {kTypeRunningTotal, 10, NAN, "-"},          {kTypeMovingAverage, 10, 3, "3.00"},
        {kTypeRunningStats, 30, 1, "RESET"},        {kTypeRunningStats, 20, NAN, "-"},
    };
    CNetwork* m = Ed().CurrentModule(Sys());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " input " << c.input);
        CNetworkModel* component = Add(c.type);
        if (!std::isnan(c.value)) {
            CNetworkModel* k = Add(kConstant, 300, 300);
            k->m_value = c.value;
            ASSERT_EQ(m->RequestConnect(*k, k->FirstOutput(), *component, component->FindInput(c.input)), 0);
        }
        Sys().RunCycle();
        EXPECT_EQ(component->FindInput(c.input)->ValueString(), c.text);
    }
}

TEST_F(SignalDoc, AnalysisWithoutAFramePublishesZeros) {
    auto* mfcc = static_cast<CModelSignalMFCC*>(Add(kTypeVoiceMfcc));
    ASSERT_EQ(Edit(*mfcc, [](CPropertySheet& s) { s.SetPicked("selected", 4, true); }), ECmd::Done);
    CNetworkModel* fft = Add(kTypeSignalFft, 300, 100);
    for (CModelOutput* o : mfcc->m_outputs) o->m_value = 9.0;
    for (CModelOutput* o : fft->m_outputs) o->m_value = 9.0;
    Sys().RunCycle();
    for (const CNetworkModel* c : {static_cast<CNetworkModel*>(mfcc), fft})
        for (const CModelOutput* o : c->m_outputs) EXPECT_EQ(o->m_value, 0.0) << o->m_name;
    EXPECT_EQ(fft->FindOutput(20)->m_arrayData, nullptr);
}

/// The offset of the first `needle` in `bytes`.
size_t Find(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& needle) {
    return static_cast<size_t>(std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) -
                               bytes.begin());
}

TEST_F(SignalDoc, DamagedFilterCountsAreRefused) {
    CNetworkModel* mfcc = Add(kTypeVoiceMfcc);
    ASSERT_NE(mfcc, nullptr);
    // The settings as both records hold them: rate 22050, then the filter count 24.
    const std::vector<uint8_t> settings = {0x22, 0x56, 0, 0, 24, 0, 0, 0};
    std::vector<uint8_t> project = SaveProjectBytes(Sys());
    std::vector<uint8_t> runtime = ExportRuntimeBytes(Sys());
    for (std::vector<uint8_t>* bytes : {&project, &runtime}) {
        const size_t at = Find(*bytes, settings);
        ASSERT_LT(at, bytes->size());
        const int32_t huge = 1 << 24;
        std::memcpy(bytes->data() + at + 4, &huge, 4);
    }
    CSystem loaded;
    const CFileResult r = LoadProjectBytes(loaded, project);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("Voice MFCC filter count out of range"), std::string::npos) << r.message;

    CTempFile file("damaged.z2r");
    file.Write(std::string(runtime.begin(), runtime.end()));
    EXPECT_EQ(qxAISystem_Load(file.Path().c_str(), 0, nullptr), 32);
    qxAISystem_Unload();
}

}  // namespace
}  // namespace zor2::test
