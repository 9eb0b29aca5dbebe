// Spectral analysis cost: the transform at 256, 1024 and 4096 points beside FFTW's
// estimate plan for the same complex transform (when FFTW is installed) and beside
// the step-by-step recursive form; the Voice MFCC step for 24 filters over 256
// bins; and 1,000 frames of generator → window → FFT → Voice MFCC run by the runtime.
#include "components/signals/fft_mfcc.h"

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zor2runtime.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "components/signals/fft_kernel.h"
#include "components/signals/mel_kernel.h"
#include "components/signals/signal.h"
#include "engine/system.h"
#include "fft_transcription.h"
#include "persistence/runtime_export.h"

#ifdef ZOR2_HAVE_FFTW
#include <fftw3.h>
#endif

namespace zor2 {
namespace {

std::vector<double> Frame(int n) {
    std::mt19937_64 rng(static_cast<uint64_t>(n));
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<double> frame(static_cast<size_t>(n));
    for (double& x : frame) x = uniform(rng);
    return frame;
}

void FftOurs(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> frame = Frame(n);
    CFft fft;
    fft.Prepare(n);
    for (auto _ : state) {
        fft.Load(frame.data(), n);
        fft.Run();
        benchmark::DoNotOptimize(fft.Re());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FftOurs)->Arg(256)->Arg(1024)->Arg(4096);

#ifdef ZOR2_HAVE_FFTW
// The same transform: a real frame loaded as complex values, N complex results.
void FftFftwEstimate(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> frame = Frame(n);
    fftw_complex* in = fftw_alloc_complex(static_cast<size_t>(n));
    fftw_complex* out = fftw_alloc_complex(static_cast<size_t>(n));
    fftw_plan plan = fftw_plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_ESTIMATE);
    for (auto _ : state) {
        for (int j = 0; j < n; ++j) {
            in[j][0] = frame[static_cast<size_t>(j)];
            in[j][1] = 0.0;
        }
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
}
BENCHMARK(FftFftwEstimate)->Arg(256)->Arg(1024)->Arg(4096);
#endif

void FftTranscription(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> frame = Frame(n);
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::Fft(frame.data(), frame.size(), static_cast<size_t>(n)));
}
BENCHMARK(FftTranscription)->Arg(256)->Arg(1024)->Arg(4096);

void MfccStep(benchmark::State& state) {
    CMelFilterBank bank;
    bank.Build(24, 256, 100.0, 5000.0, 22050.0, MelResolution(22050.0, 256));
    std::vector<double> spectrum = Frame(256);
    for (double& s : spectrum) s = std::fabs(s) + 0.01;
    for (auto _ : state) {
        bank.Compute(spectrum.data(), 256);
        benchmark::DoNotOptimize(bank.Filters().data());
    }
}
BENCHMARK(MfccStep);

class CSilentPrompter final : public IPrompter {
  public:
    EAnswer Ask(std::string_view, EButtons) override { return EAnswer::Yes; }
    void Tell(std::string_view) override {}
    void Beep() override {}
};

/// generator (its frequency from system input "f") → Hanning window → 512-point
/// FFT → Voice MFCC with 24 filters over 256 bins, every coefficient a system output.
std::string ExportChain() {
    static CLcgRandom random(5);
    static CSilentPrompter prompter;
    CSystem system;
    system.SetRandom(&random);
    system.SetPrompter(&prompter);
    CNetwork* m = system.CreateModule("Chain", 0, 0);
    CExternalInput* f = system.CreateSystemInput("f", 1);
    CNetworkInput* fIn = system.ConnectSystemInput(*f, *m)->m_moduleInput;
    auto* gen = static_cast<CModelSignalGen*>(m->DropComponent(35, 0, 0));
    gen->SetParams({22050, 512, 440.0, -1.0});
    m->RequestConnectModuleInput(*fIn, *gen, gen->FindInput(20));
    CNetworkModel* window = m->DropComponent(38, 0, 0);
    m->RequestConnect(*gen, gen->FirstOutput(), *window, window->FirstInput());
    auto* fft = static_cast<CModelSignalFFT*>(m->DropComponent(32, 0, 0));
    fft->SetPoints(512);
    fft->SetSampleRate(22050.0);
    m->RequestConnect(*window, window->FirstOutput(), *fft, fft->FirstInput());
    auto* mfcc = static_cast<CModelSignalMFCC*>(m->DropComponent(33, 0, 0));
    std::vector<CMelEntry> entries = DefaultMelEntries(24);
    for (CMelEntry& e : entries) e.enabled = e.id > 1 && e.id < 24;
    mfcc->Configure({22050, 24, 100.0, 5000.0, 256}, entries);
    m->RequestConnect(*fft, fft->FindOutput(20), *mfcc, mfcc->FirstInput());
    for (CModelOutput* o : mfcc->m_outputs.Snapshot()) {
        CNetworkOutput* mo = m->CreateOutput(o->m_name);
        m->RequestConnectToModuleOutput(*mfcc, o, *mo);
        system.ConnectSystemOutput(*m, *system.CreateSystemOutput(o->m_name, 1), mo);
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zor2_bench_chain_" + std::to_string(::getpid()) + ".z2r"))
            .string();
    ExportRuntimeFile(system, path);
    return path;
}

void ChainThousandFrames(benchmark::State& state) {
    const std::string path = ExportChain();
    if (qxAISystem_Load(path.c_str(), 0, nullptr) != 1) {
        state.SkipWithError("the chain did not load");
        return;
    }
    int32_t fId = 0;
    qxAISystemPortInfo info{};
    qxAISystem_GetAllSystemInputs(0, &info);
    fId = info.id;
    for (auto _ : state) {
        for (int frame = 0; frame < 1000; ++frame) {
            qxAISystem_SetValue(fId, 200.0 + frame % 50);  // a new frame every cycle
            qxAISystem_Execute();
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    qxAISystem_Unload();
    std::filesystem::remove(path);
}
BENCHMARK(ChainThousandFrames)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zor2
