// Runtime Neural Network: the record, the input pull and the forward computation.
#include "components/decision/neural_network_rt.h"

#include <string>

namespace zor2 {

size_t CRModelNeuralNetwork::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) {
        CNNRuntimeReader ar(in);
        NetworkRecord<false>(ar, m_nn);
    }
    std::string error;
    if (!in.Failed() && !m_nn.ResolveReferences(error))
        in.Fail("neural network component " + std::to_string(m_id) + ": " + error);
    if (!in.Failed()) {
        m_sensoryInputs.clear();
        m_neuronOutputs.clear();
        for (const CNNSensoryNeuron& s : m_nn.m_sensory) m_sensoryInputs.push_back(FindInput(s.id));
        for (const CNNOutputNeuron& o : m_nn.m_outputs) {
            CRModelOutput* out = nullptr;
            for (CRModelOutput& candidate : m_outputs)
                if (candidate.m_id == o.id && !out) out = &candidate;
            m_neuronOutputs.push_back(out);
        }
    }
    return offset + (in.Position() - start);
}

int32_t CRModelNeuralNetwork::GetInputValues() {
    for (size_t i = 0; i < m_sensoryInputs.size(); ++i) {
        CRModelInput* input = m_sensoryInputs[i];
        if (!input) continue;
        input->Pull();
        m_nn.m_sensory[i].raw = input->m_value;
    }
    return 0;
}

int32_t CRModelNeuralNetwork::Execute() {
    m_nn.RunNetwork();
    for (size_t i = 0; i < m_neuronOutputs.size(); ++i)
        if (CRModelOutput* out = m_neuronOutputs[i]) out->m_value = m_nn.m_outputs[i].activation;
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> CreateNeuralNetwork(int32_t typeId) {
    return std::make_unique<CRModelNeuralNetwork>(typeId);
}
constexpr CRuntimeType kNeuralNetworkTypes[] = {{kTypeNeuralNetwork, CreateNeuralNetwork}};
}  // namespace

std::span<const CRuntimeType> NeuralNetworkRuntimeTypes() {
    return kNeuralNetworkTypes;
}

}  // namespace zor2
