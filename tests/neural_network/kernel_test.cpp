// The shared network kernel: normalisation, the winner rule, the learned test,
// the error scaling of a pass, learning a separable set, a stopped pass, and the
// runtime record with its damaged forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "components/decision/neural_network_kernel.h"

namespace zor2 {
namespace {

/// Sensory neurons 1..inputs over [0, 1], outputs 101.., fully connected by Restructure.
CNN MakeNetwork(int inputs, int outputs, uint32_t seed) {
    CNN nn;
    for (int i = 1; i <= inputs; ++i) {
        CNNSensoryNeuron& s = nn.AddSensory(i);
        s.Widen(0.0);
        s.Widen(1.0);
    }
    for (int o = 0; o < outputs; ++o) nn.AddOutput(101 + o);
    CLcgRandom random(seed);
    nn.Restructure(random);
    return nn;
}

void AddVector(CNN& nn, std::vector<double> values, int32_t target) {
    CNNFeatureVector v;
    for (size_t i = 0; i < values.size(); ++i)
        v.features.push_back({static_cast<int32_t>(i + 1), {}, values[i], static_cast<int32_t>(i)});
    v.targetId = target;
    v.target = nn.FindOutput(target);
    nn.m_vectors.push_back(v);
}

std::vector<double> Weights(const CNN& nn) {
    std::vector<double> w;
    nn.ForEachConnection([&w](const CNNConnection& c) { w.push_back(c.weight); });
    return w;
}

TEST(NeuralKernel, NormalisesTheObservedRangeOntoPlusMinusThree) {
    struct Case {
        const char* name;
        double minimum, maximum, raw, expected;
    } cases[] = {
        {"at the minimum", 2.0, 6.0, 2.0, -3.0},       {"at the maximum", 2.0, 6.0, 6.0, 3.0},
        {"in the middle", 2.0, 6.0, 4.0, 0.0},         {"beyond the maximum", 0.0, 1.0, 2.0, 9.0},
        {"zero range above", 5.0, 5.0, 6.0, INFINITY}, {"zero range at the value", 5.0, 5.0, 5.0, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNN nn;
        CNNSensoryNeuron& s = nn.AddSensory(1);
        s.Widen(c.minimum);
        s.Widen(c.maximum);
        s.raw = c.raw;
        nn.RunNetwork();
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(nn.m_sensory[0].activation));
        else
            EXPECT_EQ(nn.m_sensory[0].activation, c.expected);
    }
}

TEST(NeuralKernel, ConstantInputsGetARangeThatNormalisesThem) {
    struct Case {
        double value, minimum, maximum;
    } cases[] = {
        {2.0, 2.0 - 2.0 * double(0.05f), 2.0 + 2.0 * double(0.05f)},
        {0.0, 0.0, 3.0},
        {-4.0, -4.0 + 4.0 * double(0.05f), -4.0 - 4.0 * double(0.05f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CNN nn;
        CNNSensoryNeuron& s = nn.AddSensory(1);
        s.Widen(c.value);
        s.raw = 7.0;
        CNNTrainer::FixZeroRanges(nn);
        EXPECT_EQ(s.minimum, c.minimum);
        EXPECT_EQ(s.maximum, c.maximum);
        EXPECT_EQ(s.range, c.maximum - c.minimum);
        EXPECT_EQ(s.raw, 0.0);
        s.raw = c.value;
        nn.RunNetwork();
        EXPECT_TRUE(std::isfinite(s.activation));
    }
}

TEST(NeuralKernel, TheHighestOutputWinsAndTiesGoToTheLaterOne) {
    struct Case {
        const char* name;
        std::vector<double> outputWeights;  // one processor feeds each output with this weight
        double raw;
        int32_t winner;
    } cases[] = {
        {"no outputs", {}, 1.0, -1},
        {"two equal", {0.5, 0.5}, 1.0, 1},
        {"first higher", {0.5, -0.5}, 1.0, 0},
        {"last two equal", {-0.5, 0.5, 0.5}, 1.0, 2},
        {"undefined activations win nothing", {0.5, 0.5}, NAN, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNN nn;
        CNNSensoryNeuron& s = nn.AddSensory(1);
        s.Widen(0.0);
        s.Widen(1.0);
        s.raw = c.raw;
        nn.m_processors.push_back({7, {{0, 1, 1, 7, 1.0}}});
        for (size_t o = 0; o < c.outputWeights.size(); ++o)
            nn.AddOutput(101 + static_cast<int32_t>(o))
                .connections.push_back({0, 1, 7, 101, c.outputWeights[o]});
        EXPECT_EQ(nn.RunNetwork(), c.winner);
        for (size_t o = 0; o < nn.m_outputs.size(); ++o)
            EXPECT_EQ(nn.m_outputs[o].winner, static_cast<int32_t>(o) == c.winner);
    }
}

TEST(NeuralKernel, AVectorIsLearnedWhenItsTargetLeadsClearly) {
    struct Case {
        const char* name;
        bool separation;
        std::vector<double> activations;  // the target is the first output
        bool learned;
    } cases[] = {
        {"gap below 0.05", false, {0.30, 0.26}, false},
        {"gap above 0.05", false, {0.35, 0.29}, true},
        {"another output leads", false, {0.35, 0.50}, false},
        {"strict: target far below the winner value", true, {0.6, 0.1}, false},
        {"strict: both within tolerance", true, {0.89, 0.21}, true},
        {"strict: beyond both targets", true, {0.95, 0.05}, true},
        {"strict: best other too high", true, {0.95, 0.3}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNN nn;
        for (size_t o = 0; o < c.activations.size(); ++o)
            nn.AddOutput(101 + static_cast<int32_t>(o)).activation = c.activations[o];
        CNNTrainer trainer;
        trainer.m_separationPhase = c.separation;
        CNNFeatureVector v;
        v.targetId = 101;
        v.target = 0;
        EXPECT_EQ(trainer.IsVectorLearned(nn, v), c.learned);
        EXPECT_DOUBLE_EQ(v.margin, c.activations[0] - c.activations[1]);
    }
}

TEST(NeuralKernel, APassScalesTheErrorBeyondTenVectors) {
    // Identical unlearned vectors add the same change each: ten add ten times
    // it, eleven add eleven times a share of 1 / (11 * 0.75).
    double change[2] = {};
    for (int n : {10, 11}) {
        CNN nn = MakeNetwork(2, 2, 5);
        nn.m_sensory[0].raw = 0.2;
        nn.m_sensory[1].raw = 0.9;
        nn.RunNetwork();
        // The output that loses is the target, so no vector is learned.
        const size_t target = nn.m_outputs[0].activation < nn.m_outputs[1].activation ? 0 : 1;
        for (int i = 0; i < n; ++i) AddVector(nn, {0.2, 0.9}, nn.m_outputs[target].id);
        CNNTrainer trainer;
        trainer.m_params.maxSeparation = false;
        trainer.m_progress.running = true;
        const double before = nn.m_outputs[target].connections[0].weight;
        CManualClock clock;
        CLcgRandom random(1);
        trainer.LearnPass(nn, clock, random);
        change[n - 10] = nn.m_outputs[target].connections[0].weight - before;
    }
    ASSERT_NE(change[0], 0.0);
    EXPECT_NEAR(change[1] / change[0], 11.0 / (11.0 * 0.75) / 10.0, 1e-9);
}

TEST(NeuralKernel, LearnsASeparableSetCompletelyAndAlikeForOneSeed) {
    std::vector<double> first;
    for (int run = 0; run < 2; ++run) {
        CNN nn = MakeNetwork(2, 3, 42);
        const double points[][2] = {{0.1, 0.1}, {0.2, 0.15}, {0.9, 0.1},  {0.8, 0.2},
                                    {0.1, 0.9}, {0.2, 0.8},  {0.15, 0.2}, {0.85, 0.15}};
        const int32_t targets[] = {101, 101, 102, 102, 103, 103, 101, 102};
        for (int i = 0; i < 8; ++i) AddVector(nn, {points[i][0], points[i][1]}, targets[i]);
        CNNTrainer trainer;
        trainer.m_separationPhase = true;
        trainer.m_progress.running = true;
        CManualClock clock;
        CLcgRandom random(42);
        int32_t notLearned = -1;
        for (int pass = 0; pass < 20000 && notLearned != 0; ++pass)
            notLearned = trainer.LearnPass(nn, clock, random);
        ASSERT_EQ(notLearned, 0);
        EXPECT_EQ(trainer.m_progress.learned.load(), 8);
        for (const CNNFeatureVector& v : nn.m_vectors) EXPECT_TRUE(v.learned);
        if (run == 0)
            first = Weights(nn);
        else
            EXPECT_EQ(Weights(nn), first);
    }
}

TEST(NeuralKernel, AStoppedPassLeavesTheNetworkAsBefore) {
    CNN nn = MakeNetwork(2, 2, 9);
    AddVector(nn, {0.1, 0.2}, 101);
    AddVector(nn, {0.9, 0.8}, 102);
    CNNTrainer trainer;
    trainer.EvaluateVectors(nn);
    const std::vector<double> weights = Weights(nn);
    const int32_t learned = trainer.m_progress.learned;
    CManualClock clock;
    CLcgRandom random(3);
    trainer.m_progress.running = false;
    trainer.LearnPass(nn, clock, random);
    EXPECT_TRUE(trainer.Aborted());
    EXPECT_EQ(Weights(nn), weights);
    EXPECT_EQ(trainer.m_progress.iterations.load(), 0);
    EXPECT_EQ(trainer.m_progress.learned.load(), learned);
    for (const CNNOutputNeuron& o : nn.m_outputs)
        for (const CNNConnection& c : o.connections) EXPECT_EQ(c.change, 0.0);
}

// --- the runtime record ---------------------------------------------------------

std::vector<uint8_t> RuntimeBytes(CNN& nn) {
    CByteWriter w;
    CNNRuntimeWriter ar(w);
    NetworkRecord<false>(ar, nn);
    return w.Bytes();
}

TEST(NeuralKernel, TheRuntimeRecordReadsBackAndDamageIsRefused) {
    CNN nn = MakeNetwork(3, 2, 11);
    nn.m_bias.push_back({77});
    const std::vector<uint8_t> bytes = RuntimeBytes(nn);
    EXPECT_EQ(bytes.size(), 4 + 16 + 3 * kNNSensoryBytes + (7 + 2) * kNNNeuronBytes +
                                nn.ConnectionCount() * kNNConnectionBytes + kNNBiasBytes);
    struct Case {
        const char* name;
        void (*damage)(CNN&);
        bool resolves;
    } cases[] = {
        {"intact", [](CNN&) {}, true},
        {"processor connection from no sensory neuron",
         [](CNN& n) { n.m_processors[0].connections[1].sourceId = 999; }, false},
        {"output connection from no processor", [](CNN& n) { n.m_outputs[1].connections[0].sourceId = -4; },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNN damaged = nn;
        c.damage(damaged);
        std::vector<uint8_t> file = RuntimeBytes(damaged);
        CByteReader in(file);
        CNNRuntimeReader ar(in);
        CNN read;
        NetworkRecord<false>(ar, read);
        ASSERT_FALSE(in.Failed()) << in.Error();  // the damage shows when resolving
        std::string error;
        EXPECT_EQ(read.ResolveReferences(error), c.resolves);
        EXPECT_EQ(error.empty(), c.resolves) << error;
        if (c.resolves) {
            EXPECT_EQ(RuntimeBytes(read), file);
        }
    }
    // Counts the remaining bytes cannot hold fail before anything is allocated.
    std::vector<uint8_t> file = bytes;
    const int32_t huge = 0x7FFFFFFF;
    std::memcpy(file.data() + 8, &huge, 4);  // the processor count
    CByteReader in(file);
    CNNRuntimeReader ar(in);
    CNN read;
    NetworkRecord<false>(ar, read);
    EXPECT_TRUE(in.Failed());
    EXPECT_TRUE(read.m_processors.empty());
}

}  // namespace
}  // namespace zor2
