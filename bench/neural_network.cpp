// Neural network costs: one learning pass over 1,000 vectors of 20 features
// (30 processor and 5 output neurons), beside FANN's incremental training epoch
// on the same topology and data when FANN is installed; and the runtime cycle.
#include "components/decision/neural_network.h"

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zor2runtime.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/system.h"
#include "persistence/runtime_export.h"

#ifdef ZOR2_BENCH_FANN
#include <doublefann.h>
#endif

namespace zor2 {
namespace {

constexpr int kFeatures = 20;
constexpr int kOutputs = 5;
constexpr int kVectors = 1000;

/// Vectors around one centre per class, the same for both learners.
struct CData {
    std::vector<std::vector<double>> features;
    std::vector<int> classes;
};

const CData& Data() {
    static const CData data = [] {
        CData d;
        std::mt19937 rng(2024);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::normal_distribution<double> noise(0.0, 0.12);
        std::vector<std::vector<double>> centres(kOutputs, std::vector<double>(kFeatures));
        for (auto& c : centres)
            for (double& v : c) v = unit(rng);
        for (int i = 0; i < kVectors; ++i) {
            const int k = i % kOutputs;
            std::vector<double> f(kFeatures);
            for (int j = 0; j < kFeatures; ++j) f[static_cast<size_t>(j)] = centres[k][j] + noise(rng);
            d.features.push_back(std::move(f));
            d.classes.push_back(k);
        }
        return d;
    }();
    return data;
}

/// Sensory neurons 1..20 with the data's ranges, outputs 101..105, 30
/// processors (inputs + 2 * outputs), weights from a fixed seed.
CNN MakeNetwork() {
    CNN nn;
    for (int j = 1; j <= kFeatures; ++j) nn.AddSensory(j);
    for (int o = 0; o < kOutputs; ++o) nn.AddOutput(101 + o);
    const CData& d = Data();
    for (int i = 0; i < kVectors; ++i) {
        CNNFeatureVector v;
        for (int j = 0; j < kFeatures; ++j) {
            const double value = d.features[i][static_cast<size_t>(j)];
            v.features.push_back({j + 1, {}, value, j});
            nn.m_sensory[static_cast<size_t>(j)].Widen(value);
        }
        v.targetId = 101 + d.classes[static_cast<size_t>(i)];
        nn.m_vectors.push_back(std::move(v));
    }
    CLcgRandom random(7);
    nn.Restructure(random);
    return nn;
}

std::vector<double*> WeightsOf(CNN& nn) {
    std::vector<double*> w;
    nn.ForEachConnection([&w](CNNConnection& c) { w.push_back(&c.weight); });
    return w;
}

/// One pass from the same fresh weights every time, so that no pass profits
/// from vectors learned by the passes before it. Argument 1 makes every pass
/// the first of its run, which also computes the processor outputs the later
/// passes of a run take from their cache.
void BM_LearnPass(benchmark::State& state) {
    const bool firstOfRun = state.range(0) != 0;
    CNN nn = MakeNetwork();
    const std::vector<double*> weights = WeightsOf(nn);
    std::vector<double> fresh;
    for (double* w : weights) fresh.push_back(*w);
    CNNTrainer trainer;
    trainer.m_progress.running = true;
    CManualClock clock;
    CLcgRandom random(3);
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t i = 0; i < weights.size(); ++i) *weights[i] = fresh[i];
        trainer.m_separationPhase = true;
        if (firstOfRun) trainer.Restart(0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(trainer.LearnPass(nn, clock, random));
    }
    state.counters["vectors/s"] = benchmark::Counter(kVectors, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["connections"] = static_cast<double>(nn.ConnectionCount());
}
BENCHMARK(BM_LearnPass)->ArgName("firstOfRun")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef ZOR2_BENCH_FANN
/// FANN's incremental epoch: forward, backward and update per vector, with
/// the same logistic activation and the same learn rate.
void BM_FannIncrementalEpoch(benchmark::State& state) {
    struct fann* ann = fann_create_standard(3, kFeatures, 30, kOutputs);
    fann_set_activation_function_hidden(ann, FANN_SIGMOID);
    fann_set_activation_function_output(ann, FANN_SIGMOID);
    fann_set_training_algorithm(ann, FANN_TRAIN_INCREMENTAL);
    fann_set_learning_rate(ann, 0.2f);
    std::srand(7);
    fann_randomize_weights(ann, -0.5, 0.5);
    struct fann_train_data* data = fann_create_train(kVectors, kFeatures, kOutputs);
    const CData& d = Data();
    for (int i = 0; i < kVectors; ++i) {
        for (int j = 0; j < kFeatures; ++j) data->input[i][j] = d.features[i][static_cast<size_t>(j)];
        for (int k = 0; k < kOutputs; ++k)
            data->output[i][k] = k == d.classes[static_cast<size_t>(i)] ? 0.9 : 0.2;
    }
    for (auto _ : state) benchmark::DoNotOptimize(fann_train_epoch(ann, data));
    state.counters["vectors/s"] = benchmark::Counter(kVectors, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["connections"] = static_cast<double>(fann_get_total_connections(ann));
    fann_destroy_train(data);
    fann_destroy(ann);
}
BENCHMARK(BM_FannIncrementalEpoch)->Unit(benchmark::kMillisecond);
#endif

/// The forward computation alone, as a cycle runs it.
void BM_RunNetwork(benchmark::State& state) {
    CNN nn = MakeNetwork();
    for (size_t j = 0; j < nn.m_sensory.size(); ++j) nn.m_sensory[j].raw = Data().features[0][j];
    for (auto _ : state) benchmark::DoNotOptimize(nn.RunNetwork());
}
BENCHMARK(BM_RunNetwork);

/// One runtime cycle of a system that is a trained network between 20 system
/// inputs and 5 system outputs.
void BM_RuntimeCycle(benchmark::State& state) {
    static CLcgRandom random(11);
    static CSilentPrompter prompter;
    CSystem system;
    system.SetRandom(&random);
    system.SetPrompter(&prompter);
    CNetwork* m = system.CreateModule("Decide", 0, 0);
    auto* nn = dynamic_cast<CModelNeuralNetwork*>(m->DropComponent(kTypeNeuralNetwork, 0, 0));
    for (int j = 0; j < kFeatures; ++j) {
        CExternalInput* in = system.CreateSystemInput("f" + std::to_string(j), 1);
        CNetworkInput* mi = system.ConnectSystemInput(*in, *m)->m_moduleInput;
        m->RequestConnectModuleInput(*mi, *nn, nullptr);
    }
    for (int o = 0; o < kOutputs; ++o) nn->AddNetworkOutput();
    // The benchmark's network, vectors and weights, under the component's ids.
    CNN trained = MakeNetwork();
    CNN& net = nn->Network();
    for (size_t j = 0; j < net.m_sensory.size(); ++j) {
        const int32_t id = net.m_sensory[j].id;
        net.m_sensory[j] = trained.m_sensory[j];
        net.m_sensory[j].id = id;
    }
    net.Restructure(random);
    for (CModelOutput* out : nn->m_outputs.Snapshot()) {
        CNetworkOutput* mo = m->CreateOutput(out->m_name);
        m->RequestConnectToModuleOutput(*nn, out, *mo);
        system.ConnectSystemOutput(*m, *system.CreateSystemOutput(out->m_name, 1), mo);
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zor2_bench_nn_" + std::to_string(::getpid()) + ".z2r"))
            .string();
    if (ExportRuntimeFile(system, path) != 0 ||
        qxAISystem_Load(path.c_str(), system.m_systemId, nullptr) != 1) {
        state.SkipWithError("cannot export and load the system");
        return;
    }
    for (int j = 0; j < kFeatures; ++j)
        qxAISystem_SetValue(system.m_inputs.At(static_cast<size_t>(j))->m_id,
                            Data().features[3][static_cast<size_t>(j)]);
    for (auto _ : state) benchmark::DoNotOptimize(qxAISystem_Execute());
    qxAISystem_Unload();
    std::filesystem::remove(path);
}
BENCHMARK(BM_RuntimeCycle);

}  // namespace
}  // namespace zor2
