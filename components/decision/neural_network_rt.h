// Runtime Neural Network (type 1): executes the trained network exported by the
// designer; it never learns and always publishes the activations.
#pragma once

#include <vector>

#include "components/decision/neural_network_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

class CRModelNeuralNetwork final : public CRNetworkModel {
  public:
    explicit CRModelNeuralNetwork(int32_t typeId) : CRNetworkModel(typeId) {}
    /// Refuses (fails `in`) a network whose connections name missing neurons.
    size_t ReadRuntime(CByteReader& in, size_t offset) override;
    int32_t GetInputValues() override;
    int32_t Execute() override;

    const CNN& Network() const { return m_nn; }

  private:
    CNN m_nn;
    std::vector<CRModelInput*> m_sensoryInputs;   // per sensory neuron, its input or null
    std::vector<CRModelOutput*> m_neuronOutputs;  // per output neuron, its output or null
};

}  // namespace zor2
