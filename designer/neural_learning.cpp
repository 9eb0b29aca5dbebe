// The learning run: the worker's loop, stopping and collecting it.
#include "designer/neural_learning.h"

#include "components/decision/neural_network.h"

namespace zor2 {

bool CNeuralLearning::Start(CModelNeuralNetwork& network) {
    if (m_network) return false;
    network.BeginLearning();
    CNNProgress& progress = network.Trainer().m_progress;
    progress.running.store(true);
    network.m_learning = true;
    m_network = &network;
    m_ended.store(false);
    m_worker = std::thread([this, &network, &progress] {
        while (progress.running.load(std::memory_order_relaxed)) {
            const int32_t notLearned = network.LearnPass();
            if (network.Trainer().Aborted()) break;
            if (notLearned == 0) progress.running.store(false);
        }
        m_ended.store(true, std::memory_order_release);
    });
    return true;
}

CModelNeuralNetwork* CNeuralLearning::Collect() {
    if (m_worker.joinable()) m_worker.join();
    CModelNeuralNetwork* network = m_network;
    m_network = nullptr;
    if (network) {
        network->Trainer().m_progress.running.store(false);
        network->m_learning = false;
        network->EndLearning();
    }
    return network;
}

CModelNeuralNetwork* CNeuralLearning::Stop() {
    if (!m_network) return nullptr;
    m_network->Trainer().m_progress.running.store(false);
    return Collect();
}

CModelNeuralNetwork* CNeuralLearning::Poll() {
    if (!m_network) return nullptr;
    m_network->m_elapsedText = m_network->ElapsedText();
    return m_ended.load(std::memory_order_acquire) ? Collect() : nullptr;
}

std::string LearningRefusal(const CModelNeuralNetwork& network) {
    return "The neural network \"" + network.m_name +
           "\" is learning. Stop learning first: while it learns, the project cannot be changed, saved or simulated.";
}

}  // namespace zor2
