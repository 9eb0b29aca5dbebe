// CNeuralLearning: the one learning run of the designer. It owns the worker
// thread that repeats the network's learning passes; the window thread only
// reads the run's counters, may stop it, and collects it once it has ended.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace zor2 {

class CModelNeuralNetwork;

class CNeuralLearning {
  public:
    CNeuralLearning() = default;
    ~CNeuralLearning() { Stop(); }
    CNeuralLearning(const CNeuralLearning&) = delete;
    CNeuralLearning& operator=(const CNeuralLearning&) = delete;

    /// Starts passes over `network` on the worker thread until every vector is
    /// learned or Stop. From here until the run is collected, the network, its
    /// vectors and its ports belong to the worker. False when a run exists.
    bool Start(CModelNeuralNetwork& network);
    /// Clears the running flag and waits for the worker, which ends between two
    /// vectors and leaves the network as after its last whole pass. Returns the
    /// network the run had (null when none ran).
    CModelNeuralNetwork* Stop();
    /// The window's timer tick: brings the box's time text up to date; returns
    /// the network when its run ended by itself and has now been collected.
    CModelNeuralNetwork* Poll();

    /// A run exists (working, or ended and not yet collected).
    bool Running() const { return m_network != nullptr; }
    CModelNeuralNetwork* Network() const { return m_network; }

  private:
    CModelNeuralNetwork* Collect();

    CModelNeuralNetwork* m_network = nullptr;
    std::thread m_worker;
    std::atomic<bool> m_ended{false};
};

/// The message every command refused while a network learns shows.
std::string LearningRefusal(const CModelNeuralNetwork& network);

}  // namespace zor2
