// The network's computation, structure operations, reference resolution and
// learning rules, shared by the designer and the runtime.
#include "components/decision/neural_network_kernel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace zor2 {

namespace {

/// Ids already taken in one list, and the engine's id rule for a new one.
class CIdDraw {
  public:
    template <class List>
    explicit CIdDraw(const List& list) : m_taken(kMaxDrawnId + 1, false) {
        for (const auto& item : list) Take(item.id);
    }
    /// A free id, or 0 when every id is taken.
    int32_t Next(IRandomSource& random) {
        if (m_count >= static_cast<size_t>(kMaxDrawnId)) return 0;
        for (;;) {
            const int32_t id = IdFromDraw(random.Next15() & 0x7FFF);
            if (!m_taken[static_cast<size_t>(id)]) {
                Take(id);
                return id;
            }
        }
    }

  private:
    void Take(int32_t id) {
        if (id >= 1 && id <= kMaxDrawnId && !m_taken[static_cast<size_t>(id)]) {
            m_taken[static_cast<size_t>(id)] = true;
            ++m_count;
        }
    }
    std::vector<bool> m_taken;
    size_t m_count = 0;
};

template <class List>
std::unordered_map<int32_t, int32_t> IndexById(const List& list) {
    std::unordered_map<int32_t, int32_t> index;
    index.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i) index.emplace(list[i].id, static_cast<int32_t>(i));
    return index;
}

/// Index of `id` in `index`; ids of 0 or less name nothing.
int32_t Lookup(const std::unordered_map<int32_t, int32_t>& index, int32_t id) {
    if (id <= 0) return -1;
    const auto it = index.find(id);
    return it == index.end() ? -1 : it->second;
}

double Logistic(double x) {
    return 1.0 / (1.0 + std::exp(-x));
}

template <class Neuron, class Source, class Value>
void ComputeLayer(std::vector<Neuron>& layer, const std::vector<Source>& below, Value value) {
    for (Neuron& n : layer) {
        double net = 0.0;
        for (const CNNConnection& c : n.connections)
            if (c.source >= 0) net += value(below[static_cast<size_t>(c.source)]) * c.weight;
        n.netInput = net;
        if constexpr (requires { n.output; })
            n.output = Logistic(net);
        else
            n.activation = Logistic(net);
    }
}

/// Below this, a target activation counts as saturated.
constexpr double kSaturated = 0.002;
/// The share of a constant input's value by which its zero range is widened.
constexpr double kZeroRangeWidening = static_cast<double>(0.05f);

}  // namespace

void CNNSensoryNeuron::Widen(double value) {
    minimum = std::min(minimum, value);
    maximum = std::max(maximum, value);
    range = maximum - minimum;
}

double DrawWeight(IRandomSource& random) {
    return static_cast<double>(random.Next15() % 101 - 50) / 100.0;
}

// --- computation -----------------------------------------------------------------

void CNN::RunHidden() {
    for (CNNSensoryNeuron& s : m_sensory) s.activation = (s.raw - s.minimum) * (6.0 / s.range) - 3.0;
    ComputeLayer(m_processors, m_sensory, [](const CNNSensoryNeuron& s) { return s.activation; });
}

int32_t CNN::RunOutputs() {
    ComputeLayer(m_outputs, m_processors, [](const CNNProcessorNeuron& p) { return p.output; });
    // On ties the later neuron wins; an undefined activation wins no comparison.
    double best = -1.0;
    int32_t winner = -1;
    for (size_t i = 0; i < m_outputs.size(); ++i) {
        m_outputs[i].winner = false;
        if (m_outputs[i].activation >= best) {
            best = m_outputs[i].activation;
            winner = static_cast<int32_t>(i);
        }
    }
    if (winner >= 0) m_outputs[static_cast<size_t>(winner)].winner = true;
    return winner;
}

// --- structure ---------------------------------------------------------------------

template <class Neuron, class Sources>
int32_t CNN::Connect(Neuron& n, const Sources& sources, IRandomSource& random) {
    CIdDraw ids(n.connections);
    int32_t made = 0;
    n.connections.reserve(n.connections.size() + sources.size());
    for (size_t i = 0; i < sources.size(); ++i) {
        CNNConnection c;
        c.id = ids.Next(random);
        if (c.id == 0) break;
        c.source = static_cast<int32_t>(i);
        c.sourceId = sources[i].id;
        c.destId = n.id;
        c.weight = DrawWeight(random);
        n.connections.push_back(c);
        ++made;
    }
    return made;
}

int32_t CNN::ConnectProcessor(size_t p, IRandomSource& random) {
    return p < m_processors.size() ? Connect(m_processors[p], m_sensory, random) : 0;
}

int32_t CNN::ConnectOutput(size_t o, IRandomSource& random) {
    return o < m_outputs.size() ? Connect(m_outputs[o], m_processors, random) : 0;
}

void CNN::RandomizeWeights(IRandomSource& random) {
    ForEachConnection([&random](CNNConnection& c) { c.weight = DrawWeight(random); });
}

int32_t CNN::Restructure(IRandomSource& random) {
    const int64_t wanted = static_cast<int64_t>(m_sensory.size()) +
                           2 * static_cast<int64_t>(m_outputs.size()) -
                           static_cast<int64_t>(m_processors.size());
    int32_t added = 0;
    for (int64_t i = 0; i < wanted && AddProcessor(random); ++i) ++added;
    for (size_t o = 0; o < m_outputs.size(); ++o) ConnectOutput(o, random);
    RandomizeWeights(random);
    std::string unused;
    ResolveReferences(unused);
    return added;
}

CNNSensoryNeuron& CNN::AddSensory(int32_t id) {
    CNNSensoryNeuron& s = m_sensory.emplace_back();
    s.id = id;
    return s;
}

CNNOutputNeuron& CNN::AddOutput(int32_t id) {
    CNNOutputNeuron& o = m_outputs.emplace_back();
    o.id = id;
    // A vector waiting for an output of this id now finds it.
    for (CNNFeatureVector& v : m_vectors) {
        if (v.target < 0 && v.targetId == id) v.target = static_cast<int32_t>(m_outputs.size() - 1);
        if (v.lastWinner < 0 && v.lastWinnerId == id)
            v.lastWinner = static_cast<int32_t>(m_outputs.size() - 1);
    }
    return o;
}

bool CNN::AddProcessor(IRandomSource& random) {
    const int32_t id = CIdDraw(m_processors).Next(random);
    if (id == 0) return false;
    m_processors.emplace_back().id = id;
    ConnectProcessor(m_processors.size() - 1, random);
    return true;
}

void CNN::Retain(const std::vector<int32_t>& sensoryIds, const std::vector<int32_t>& outputIds) {
    const std::unordered_set<int32_t> sensory(sensoryIds.begin(), sensoryIds.end());
    const std::unordered_set<int32_t> outputs(outputIds.begin(), outputIds.end());
    std::erase_if(m_sensory, [&](const CNNSensoryNeuron& s) { return !sensory.count(s.id); });
    std::erase_if(m_outputs, [&](const CNNOutputNeuron& o) { return !outputs.count(o.id); });
    const auto kept = IndexById(m_sensory);
    for (CNNProcessorNeuron& p : m_processors)
        std::erase_if(p.connections, [&](const CNNConnection& c) { return Lookup(kept, c.sourceId) < 0; });
    for (CNNFeatureVector& v : m_vectors)
        std::erase_if(v.features, [&](const CNNFeature& f) { return Lookup(kept, f.id) < 0; });
    std::string unused;
    ResolveReferences(unused);
}

void CNN::Clear() {
    m_sensory.clear();
    m_processors.clear();
    m_outputs.clear();
    m_bias.clear();
    m_vectors.clear();
}

bool CNN::ResolveReferences(std::string& error) {
    const auto sensory = IndexById(m_sensory);
    const auto processors = IndexById(m_processors);
    const auto outputs = IndexById(m_outputs);
    // Every connection needs its source; check them all before changing anything.
    auto check = [&error](const auto& layer, const auto& below, const char* kind, const char* belowKind) {
        for (const auto& n : layer) {
            for (const CNNConnection& c : n.connections) {
                if (Lookup(below, c.sourceId) >= 0) continue;
                char text[200];
                std::snprintf(
                    text, sizeof text,
                    "connection %d into %s neuron %d names %s neuron %d, which the network does not hold",
                    c.id, kind, n.id, belowKind, c.sourceId);
                error = text;
                return false;
            }
        }
        return true;
    };
    if (!check(m_processors, sensory, "processor", "sensory") ||
        !check(m_outputs, processors, "output", "processor"))
        return false;
    for (CNNProcessorNeuron& p : m_processors)
        for (CNNConnection& c : p.connections) c.source = Lookup(sensory, c.sourceId);
    for (CNNOutputNeuron& o : m_outputs)
        for (CNNConnection& c : o.connections) c.source = Lookup(processors, c.sourceId);
    for (CNNFeatureVector& v : m_vectors) {
        for (CNNFeature& f : v.features) f.sensory = Lookup(sensory, f.id);
        v.target = Lookup(outputs, v.targetId);
        v.lastWinner = Lookup(outputs, v.lastWinnerId);
    }
    return true;
}

int32_t CNN::FindSensory(int32_t id) const {
    for (size_t i = 0; i < m_sensory.size(); ++i)
        if (m_sensory[i].id == id) return static_cast<int32_t>(i);
    return -1;
}

int32_t CNN::FindOutput(int32_t id) const {
    for (size_t i = 0; i < m_outputs.size(); ++i)
        if (m_outputs[i].id == id) return static_cast<int32_t>(i);
    return -1;
}

size_t CNN::ConnectionCount() const {
    size_t n = 0;
    ForEachConnection([&n](const CNNConnection&) { ++n; });
    return n;
}

// --- learning ----------------------------------------------------------------------

void CNNTrainer::ApplyVector(CNN& nn, const CNNFeatureVector& v) const {
    for (const CNNFeature& f : v.features) {
        if (f.sensory < 0) continue;
        CNNSensoryNeuron& s = nn.m_sensory[static_cast<size_t>(f.sensory)];
        if (!s.held) s.raw = f.value;
    }
    for (CNNOutputNeuron& n : nn.m_outputs) {
        n.withinTolerance = false;
        n.isTarget = n.id == v.targetId;
        n.target = n.isTarget ? m_params.targetWinner : m_params.targetLoser;
    }
}

bool CNNTrainer::HiddenCacheable(const CNN& nn) {
    const size_t processors = nn.m_processors.size(), vectors = nn.m_vectors.size();
    // A cache beyond 64 MB is not worth its memory.
    if (processors == 0 || vectors > (size_t{8} << 20) / processors) return false;
    std::vector<bool> covered(nn.m_sensory.size());
    for (const CNNFeatureVector& v : nn.m_vectors) {
        for (size_t i = 0; i < covered.size(); ++i) covered[i] = nn.m_sensory[i].held;
        for (const CNNFeature& f : v.features)
            if (f.sensory >= 0) covered[static_cast<size_t>(f.sensory)] = true;
        // A neuron the vector leaves alone keeps the vector before's value.
        if (std::find(covered.begin(), covered.end(), false) != covered.end()) return false;
    }
    m_hidden.resize(vectors * processors);
    return true;
}

int32_t CNNTrainer::RunVector(CNN& nn, size_t index, EHidden hidden) {
    ApplyVector(nn, nn.m_vectors[index]);
    const size_t at = index * nn.m_processors.size();
    if (hidden == EHidden::Cached) {
        for (size_t p = 0; p < nn.m_processors.size(); ++p) nn.m_processors[p].output = m_hidden[at + p];
    } else {
        nn.RunHidden();
        if (hidden == EHidden::Store)
            for (size_t p = 0; p < nn.m_processors.size(); ++p) m_hidden[at + p] = nn.m_processors[p].output;
    }
    return nn.RunOutputs();
}

int32_t CNNTrainer::EvaluateVectors(CNN& nn) {
    return Evaluate(nn, EHidden::Compute);
}

int32_t CNNTrainer::Evaluate(CNN& nn, EHidden hidden) {
    int32_t learned = 0, notLearned = 0;
    bool saturated = false;
    for (size_t i = 0; i < nn.m_vectors.size(); ++i) {
        CNNFeatureVector& v = nn.m_vectors[i];
        const int32_t w = RunVector(nn, i, hidden);
        if (w >= 0) {
            v.learned = nn.m_outputs[static_cast<size_t>(w)].id == v.targetId;
            ++(v.learned ? learned : notLearned);
            v.lastWinner = w;
            v.lastWinnerId = nn.m_outputs[static_cast<size_t>(w)].id;
        }
        if (v.target >= 0) {
            v.lastTargetActivation = nn.m_outputs[static_cast<size_t>(v.target)].activation;
            saturated |= v.lastTargetActivation < kSaturated;
        }
    }
    const size_t n = nn.m_vectors.size();
    if (n > 0 && static_cast<double>(learned) / static_cast<double>(n) > kLearnedShare) {
        m_separationPhase = false;
    } else {
        if (saturated) notLearned = -1;
        if (m_params.maxSeparation) m_separationPhase = true;
    }
    m_progress.learned.store(learned, std::memory_order_relaxed);
    m_progress.notLearned.store(notLearned, std::memory_order_relaxed);
    return notLearned;
}

bool CNNTrainer::IsVectorLearned(const CNN& nn, CNNFeatureVector& v) const {
    if (v.target < 0) return false;
    const double a = nn.m_outputs[static_cast<size_t>(v.target)].activation;
    int32_t leader = -1;
    double best = -1000.0, margin = 100000.0;
    for (size_t i = 0; i < nn.m_outputs.size(); ++i) {
        const double activation = nn.m_outputs[i].activation;
        if (activation > best) {
            best = activation;
            leader = static_cast<int32_t>(i);
        }
        if (static_cast<int32_t>(i) != v.target && a - activation < margin) margin = a - activation;
    }
    v.margin = margin;
    if (leader < 0 || nn.m_outputs[static_cast<size_t>(leader)].id != v.targetId) return false;
    double other = -1000.0;
    for (size_t i = 0; i < nn.m_outputs.size(); ++i)
        if (static_cast<int32_t>(i) != leader && nn.m_outputs[i].activation > other)
            other = nn.m_outputs[i].activation;
    const CNNLearnParams& p = m_params;
    if (m_separationPhase && p.maxSeparation)
        return (std::fabs(a - p.targetWinner) <= p.tolerance || a > p.targetWinner) &&
               (std::fabs(other - p.targetLoser) <= p.tolerance || other < p.targetLoser);
    return a - other >= kMinimumWinningGap;
}

void CNNTrainer::AccumulateDeltas(const CNN& nn, CNNOutputNeuron& n, double h) const {
    for (CNNConnection& c : n.connections) {
        if (c.source < 0) continue;
        const double y = nn.m_processors[static_cast<size_t>(c.source)].output;
        double d = m_params.learnRate * h * y;
        // Weights rise at the full step toward a higher target and fall at half the step.
        if ((n.target < n.activation && d > 0) || (n.target >= n.activation && d < 0)) d *= -0.5;
        c.change += d;
    }
}

int32_t CNNTrainer::LearnPass(CNN& nn, IClock& clock, IRandomSource& random) {
    m_aborted = false;
    const int32_t before = m_progress.notLearned.load(std::memory_order_relaxed);
    m_progress.iterations.fetch_add(1, std::memory_order_relaxed);
    m_progress.elapsedMs.store(clock.TickMs() - m_startMs, std::memory_order_relaxed);
    const size_t count = nn.m_vectors.size();
    // The first pass of a run stores each vector's processor outputs as it goes.
    const EHidden hidden = m_hiddenCached        ? EHidden::Cached
                           : HiddenCacheable(nn) ? EHidden::Store
                                                 : EHidden::Compute;
    int32_t walked = 0;
    for (size_t i = 0; i < count; ++i) {
        CNNFeatureVector& v = nn.m_vectors[i];
        if (!m_progress.running.load(std::memory_order_relaxed)) {
            // Stopped midway: the pass never happened.
            for (CNNOutputNeuron& n : nn.m_outputs)
                for (CNNConnection& c : n.connections) c.change = 0.0;
            m_progress.iterations.fetch_sub(1, std::memory_order_relaxed);
            m_aborted = true;
            return before;
        }
        m_progress.vectorsWalked.store(++walked, std::memory_order_relaxed);
        RunVector(nn, i, hidden);
        if (IsVectorLearned(nn, v)) continue;
        for (CNNOutputNeuron& n : nn.m_outputs) {
            n.withinTolerance = std::fabs(n.activation - n.target) <= m_params.tolerance;
            if (n.withinTolerance) continue;
            // The activation is the logistic of the net input, as computed above.
            const double f = n.activation;
            const double g = n.target * (m_separationPhase && n.isTarget ? 1.4 : 1.2);
            double h = f * (g - f) * (g - f);
            n.lastError = h;
            if (count > 10) h = h / (static_cast<double>(count) * 0.75);
            AccumulateDeltas(nn, n, h);
        }
    }
    for (CNNOutputNeuron& n : nn.m_outputs) {
        for (CNNConnection& c : n.connections) {
            c.weight += c.change;
            c.change = 0.0;
        }
    }
    m_hiddenCached = hidden != EHidden::Compute;
    const int32_t r = Evaluate(nn, m_hiddenCached ? EHidden::Cached : EHidden::Compute);
    if (r >= 0) return r;  // evaluating again would give the same result
    // Saturated: every weight is drawn again, without reseeding.
    nn.ForEachConnection([&random](CNNConnection& c) {
        c.weight = DrawWeight(random);
        c.change = 0.0;
    });
    m_hiddenCached = false;
    return Evaluate(nn, EHidden::Compute);
}

void CNNTrainer::FixZeroRanges(CNN& nn) {
    for (CNNSensoryNeuron& s : nn.m_sensory) {
        if (s.range != 0.0) continue;
        if (s.minimum != 0.0) {
            s.minimum = s.minimum - s.minimum * kZeroRangeWidening;
            s.maximum = s.maximum + s.maximum * kZeroRangeWidening;
        } else {
            s.maximum = 3.0;
        }
        s.range = s.maximum - s.minimum;
        s.raw = 0.0;
    }
}

void CNNTrainer::Restart(uint32_t nowMs) {
    m_hiddenCached = false;
    m_startMs = nowMs;
    m_progress.iterations.store(0, std::memory_order_relaxed);
    m_progress.vectorsWalked.store(0, std::memory_order_relaxed);
    m_progress.elapsedMs.store(0, std::memory_order_relaxed);
}

}  // namespace zor2
