// The neural network both deliverables run: CNN, a three-layer feed-forward
// classifier with its neurons, connections and feature vectors, its file records,
// and the learning passes (CNNTrainer) that the designer runs on a worker thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "algo/platform.h"

namespace zor2 {

inline constexpr int32_t kTypeNeuralNetwork = 1;

/// What a new sensory neuron starts with: an empty observed range.
inline constexpr double kSensoryMinimumStart = 10000000.0;
inline constexpr double kSensoryMaximumStart = -10000000.0;

/// One weighted link into a processor or output neuron. The source is the
/// neuron of the layer below named by `sourceId`, resolved to its index.
struct CNNConnection {
    int32_t source = -1;
    int32_t id = 0;
    int32_t sourceId = 0;
    int32_t destId = 0;
    double weight = 0.0;
    double change = 0.0;  // accumulated during a learning pass, applied at its end
    double reservedA = 0.0;
    double reservedB = 0.0;
};

struct CNNSensoryNeuron {
    int32_t id = 0;
    /// Set while the input this neuron serves has a source: a vector's feature
    /// then does not replace the raw value the source delivered.
    bool held = false;
    double activation = 0.0;
    double raw = 0.0;
    double minimum = kSensoryMinimumStart;
    double range = 0.0;
    double maximum = kSensoryMaximumStart;

    /// Takes `value` into the observed range.
    void Widen(double value);
};

struct CNNProcessorNeuron {
    int32_t id = 0;
    std::vector<CNNConnection> connections;  // one from each sensory neuron
    double netInput = 0.0;
    double output = 0.0;
};

struct CNNOutputNeuron {
    int32_t id = 0;
    std::vector<CNNConnection> connections;  // one from each processor neuron
    double netInput = 0.0;
    double activation = 0.0;
    double target = 0.0;
    double lastError = 0.0;
    bool winner = false;
    bool withinTolerance = false;
    bool isTarget = false;
};

/// Carried by the file records only: nothing creates one and nothing reads one.
struct CNNBiasNeuron {
    int32_t id = 0;
};

/// One input value of a feature vector; its id is the id of the input it feeds.
struct CNNFeature {
    int32_t id = 0;
    std::string name;
    double value = 0.0;
    int32_t sensory = -1;  // index of the sensory neuron with this id, or -1
};

/// One example: input values and the output that should win for them.
struct CNNFeatureVector {
    int32_t id = 0;
    std::string name;
    std::vector<CNNFeature> features;
    int32_t targetId = 0;
    int32_t target = -1;  // index of the target output neuron, or -1 when no output has the id
    bool learned = false;
    int32_t lastWinnerId = 0;
    int32_t lastWinner = -1;
    double margin = 0.0;
    double lastTargetActivation = 0.0;
};

/// The network. Neurons are held by value; connections and features refer to
/// the neurons below by index, resolved from their ids after every change of
/// structure (ResolveReferences) so a cycle never looks an id up.
class CNN {
  public:
    int32_t m_id = 0;
    std::vector<CNNSensoryNeuron> m_sensory;
    std::vector<CNNProcessorNeuron> m_processors;
    std::vector<CNNOutputNeuron> m_outputs;
    std::vector<CNNBiasNeuron> m_bias;
    std::vector<CNNFeatureVector> m_vectors;

    /// Normalises the raw values, computes both layers and marks the winner.
    /// Returns the winner's index, or -1 with no outputs (or none comparable).
    int32_t RunNetwork() {
        RunHidden();
        return RunOutputs();
    }
    /// Its two halves: the sensory and processor layers; then the output layer
    /// from the processors' outputs, with the winner.
    void RunHidden();
    int32_t RunOutputs();

    /// Connects processor `p` from every sensory neuron with random weights;
    /// returns the number of connections made.
    int32_t ConnectProcessor(size_t p, IRandomSource& random);
    /// Connects output neuron `o` from every processor neuron.
    int32_t ConnectOutput(size_t o, IRandomSource& random);
    /// A new random weight for every connection, processors first; the
    /// accumulated changes stay.
    void RandomizeWeights(IRandomSource& random);
    /// Adds processors up to sensory + 2 * outputs, connects every output
    /// neuron from every processor and draws all weights; returns the number
    /// of processors added.
    int32_t Restructure(IRandomSource& random);

    CNNSensoryNeuron& AddSensory(int32_t id);
    CNNOutputNeuron& AddOutput(int32_t id);
    /// A processor with a fresh id, connected from every sensory neuron but
    /// feeding no output; false when no id is left.
    bool AddProcessor(IRandomSource& random);
    /// Keeps the sensory neurons whose ids are in `sensoryIds` and the output
    /// neurons whose ids are in `outputIds`; the others go with the connections
    /// and features that refer to them.
    void Retain(const std::vector<int32_t>& sensoryIds, const std::vector<int32_t>& outputIds);
    /// Removes every neuron and every vector.
    void Clear();

    /// Resolves connection sources, feature neurons and vector target and
    /// winner neurons from their ids. A connection whose source names no
    /// neuron of the layer below cannot be computed: false with `error` set
    /// (the references stay unresolved; nothing else changes).
    bool ResolveReferences(std::string& error);

    /// Every connection: those into the processors, then those into the outputs.
    template <class Fn>
    void ForEachConnection(Fn fn) {
        for (CNNProcessorNeuron& p : m_processors)
            for (CNNConnection& c : p.connections) fn(c);
        for (CNNOutputNeuron& o : m_outputs)
            for (CNNConnection& c : o.connections) fn(c);
    }
    template <class Fn>
    void ForEachConnection(Fn fn) const {
        const_cast<CNN*>(this)->ForEachConnection([&fn](const CNNConnection& c) { fn(c); });
    }

    int32_t FindSensory(int32_t id) const;
    int32_t FindOutput(int32_t id) const;
    size_t ConnectionCount() const;

  private:
    template <class Neuron, class Sources>
    int32_t Connect(Neuron& n, const Sources& sources, IRandomSource& random);
};

/// A weight from one 15-bit draw: (r mod 101 - 50) / 100, i.e. -0.50 .. 0.50.
double DrawWeight(IRandomSource& random);

// --- learning ------------------------------------------------------------------

/// Single-precision constants of the learning rules, widened to double.
inline constexpr double kDefaultLearnRate = static_cast<double>(0.2f);
inline constexpr double kDefaultTargetWinner = static_cast<double>(0.9f);
inline constexpr double kDefaultTargetLoser = static_cast<double>(0.2f);
inline constexpr double kDefaultTolerance = static_cast<double>(0.02f);
inline constexpr double kMinimumWinningGap = static_cast<double>(0.05f);
inline constexpr double kLearnedShare = static_cast<double>(0.95f);
inline constexpr double kLearnRateMinimum = static_cast<double>(0.02f);
inline constexpr double kLearnRateMaximum = 0.5;
inline constexpr double kTargetLoserMinimum = static_cast<double>(0.0001f);
inline constexpr double kToleranceMinimum = 0.00001;
inline constexpr double kToleranceMaximum = 0.1;

struct CNNLearnParams {
    double learnRate = kDefaultLearnRate;
    double targetWinner = kDefaultTargetWinner;
    double targetLoser = kDefaultTargetLoser;
    double tolerance = kDefaultTolerance;
    bool maxSeparation = true;
};

/// What a learning run shares with the window thread: the flag that keeps it
/// going (the window may clear it) and the counters the passes update.
struct CNNProgress {
    std::atomic<bool> running{false};
    std::atomic<int32_t> iterations{0};
    std::atomic<int32_t> learned{0};
    std::atomic<int32_t> notLearned{0};
    std::atomic<int32_t> vectorsWalked{0};  // vectors of the current pass walked so far
    std::atomic<uint32_t> elapsedMs{0};
};

/// The learning rules over a CNN and its feature vectors. It knows no thread:
/// a run repeats LearnPass while `progress.running` stays set, and a pass
/// stops between two vectors once it is cleared.
class CNNTrainer {
  public:
    CNNLearnParams m_params;
    /// Read by the window thread (the box shows it) while a run sets it.
    std::atomic<bool> m_separationPhase{false};
    uint32_t m_startMs = 0;
    CNNProgress m_progress;

    /// Feeds the vector's features to the sensory neurons that no source holds
    /// and sets the output neurons' targets.
    void ApplyVector(CNN& nn, const CNNFeatureVector& v) const;
    /// Runs every vector, marks the learned ones, stores the counts; returns
    /// the not-learned count, or -1 when the outputs are saturated.
    int32_t EvaluateVectors(CNN& nn);
    /// Whether the target output leads the others clearly enough (stores the margin).
    bool IsVectorLearned(const CNN& nn, CNNFeatureVector& v) const;
    /// Adds the weight changes of output neuron `n` for error term `h`.
    void AccumulateDeltas(const CNN& nn, CNNOutputNeuron& n, double h) const;
    /// One pass over all vectors (see the rules in the source); returns the
    /// not-learned count. A pass stopped midway (Aborted) leaves the weights,
    /// the vectors and the counters as they were before it.
    int32_t LearnPass(CNN& nn, IClock& clock, IRandomSource& random);
    bool Aborted() const { return m_aborted; }
    /// Gives every sensory neuron whose range is 0 a usable one.
    static void FixZeroRanges(CNN& nn);
    /// Zero counters and the start time `nowMs` (Erase Knowledge, a new run).
    void Restart(uint32_t nowMs);

  private:
    /// Within a run the processor weights stay as they are (only the output
    /// layer learns), so the first pass stores each vector's processor outputs
    /// and the later ones compute the output layer alone. A saturation reset
    /// and Restart drop the cache.
    enum class EHidden { Compute, Store, Cached };
    int32_t Evaluate(CNN& nn, EHidden hidden);
    /// ApplyVector and the forward computation of vector `v`; returns the winner.
    int32_t RunVector(CNN& nn, size_t v, EHidden hidden);
    /// Whether the cache can stand for the processor outputs: every vector sets
    /// every sensory neuron no source holds (otherwise a vector's outputs depend
    /// on the vector before it). Sizes the cache when it can.
    bool HiddenCacheable(const CNN& nn);

    bool m_aborted = false;
    bool m_hiddenCached = false;   // m_hidden holds the processor outputs of every vector
    std::vector<double> m_hidden;  // vector by vector, one output per processor
};

// --- records -------------------------------------------------------------------

/// Smallest sizes of the records in both files, for the count checks.
inline constexpr size_t kNNSensoryBytes = 28;
inline constexpr size_t kNNNeuronBytes = 8;
inline constexpr size_t kNNConnectionBytes = 44;
inline constexpr size_t kNNBiasBytes = 4;
inline constexpr size_t kNNVectorBytes = 26;   // with an empty name in its one-byte form
inline constexpr size_t kNNFeatureBytes = 13;  // likewise

/// The network record. `kProject` adds the vector count and the vectors (the
/// project file); without it, it is the runtime file's record. `Ar` moves each
/// field in its direction: IsLoading, I32, F64, Bool, Str (project only),
/// CheckCount(count, minBytes, what) and Failed.
template <bool kProject, class Ar>
void NetworkRecord(Ar& ar, CNN& nn) {
    auto count = [](const auto& list) { return static_cast<int32_t>(list.size()); };
    int32_t s = count(nn.m_sensory), p = count(nn.m_processors), o = count(nn.m_outputs),
            b = count(nn.m_bias), v = count(nn.m_vectors);
    ar.I32(nn.m_id);
    ar.I32(s);
    ar.I32(p);
    ar.I32(o);
    ar.I32(b);
    if constexpr (kProject) ar.I32(v);
    const bool loading = ar.IsLoading();
    // Counts read from a file are checked against the bytes left before anything is allocated.
    auto sized = [&](auto& list, int32_t n, size_t minBytes, const char* what) {
        if (loading) {
            if (ar.Failed() || !ar.CheckCount(n, minBytes, what)) return false;
            list.assign(static_cast<size_t>(n), {});
        }
        return true;
    };
    auto connections = [&](std::vector<CNNConnection>& list) {
        int32_t c = count(list);
        ar.I32(c);
        if (!sized(list, c, kNNConnectionBytes, "neural network connection")) return false;
        for (CNNConnection& k : list) {
            ar.I32(k.id);
            ar.I32(k.sourceId);
            ar.I32(k.destId);
            ar.F64(k.weight);
            ar.F64(k.reservedA);
            ar.F64(k.change);
            ar.F64(k.reservedB);
        }
        return !ar.Failed();
    };
    if (!sized(nn.m_sensory, s, kNNSensoryBytes, "sensory neuron")) return;
    for (CNNSensoryNeuron& n : nn.m_sensory) {
        ar.I32(n.id);
        ar.F64(n.minimum);
        ar.F64(n.maximum);
        ar.F64(n.range);
    }
    if (!sized(nn.m_processors, p, kNNNeuronBytes, "processor neuron")) return;
    for (CNNProcessorNeuron& n : nn.m_processors) {
        ar.I32(n.id);
        if (!connections(n.connections)) return;
    }
    if (!sized(nn.m_outputs, o, kNNNeuronBytes, "output neuron")) return;
    for (CNNOutputNeuron& n : nn.m_outputs) {
        ar.I32(n.id);
        if (!connections(n.connections)) return;
    }
    if (!sized(nn.m_bias, b, kNNBiasBytes, "bias neuron")) return;
    for (CNNBiasNeuron& n : nn.m_bias) ar.I32(n.id);
    if constexpr (kProject) {
        if (!sized(nn.m_vectors, v, kNNVectorBytes, "feature vector")) return;
        for (CNNFeatureVector& vec : nn.m_vectors) {
            ar.I32(vec.id);
            ar.Str(vec.name);
            ar.I32(vec.targetId);
            ar.Bool(vec.learned);
            ar.F64(vec.lastTargetActivation);
            ar.I32(vec.lastWinnerId);
            int32_t f = count(vec.features);
            ar.I32(f);
            if (!sized(vec.features, f, kNNFeatureBytes, "feature")) return;
            for (CNNFeature& feature : vec.features) {
                ar.I32(feature.id);
                ar.Str(feature.name);
                ar.F64(feature.value);
            }
        }
    }
}

/// The runtime record through the runtime file's byte reader and writer.
class CNNRuntimeReader {
  public:
    explicit CNNRuntimeReader(CByteReader& in) : m_in(in) {}
    bool IsLoading() const { return true; }
    void I32(int32_t& v) { m_in.I32(v); }
    void F64(double& v) { m_in.F64(v); }
    bool CheckCount(int32_t n, size_t minBytes, const char* what) {
        return m_in.CheckCount(n, minBytes, what);
    }
    bool Failed() const { return m_in.Failed(); }

  private:
    CByteReader& m_in;
};

class CNNRuntimeWriter {
  public:
    explicit CNNRuntimeWriter(CByteWriter& out) : m_out(out) {}
    bool IsLoading() const { return false; }
    void I32(int32_t v) { m_out.I32(v); }
    void F64(double v) { m_out.F64(v); }
    bool CheckCount(int32_t, size_t, const char*) { return true; }
    bool Failed() const { return false; }

  private:
    CByteWriter& m_out;
};

}  // namespace zor2
