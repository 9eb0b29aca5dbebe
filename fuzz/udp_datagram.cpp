// Fuzz target: datagrams from the real-time link's peer, handled by a link
// over the sample project as the designer's event loop hands them over.
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/system.h"
#include "realtime/udp_link.h"
#include "simulation/sim_controller.h"
#include "support/sample_project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zor2;
    static CSystem* system = [] {
        auto* s = new CSystem;
        test::BuildSampleProject(*s);
        return s;
    }();
    static CSimController* simulator = new CSimController(*system);
    static CUdpLink* link = [] {
        // Not started: nothing is bound or sent, every reply counts as a failed send.
        auto* l = new CUdpLink(*system);
        l->Attach(simulator);
        return l;
    }();
    // As received: at most 2047 bytes, read up to the first NUL.
    const size_t n = size < kUdpMaxMessage ? size : kUdpMaxMessage;
    const auto* text = reinterpret_cast<const char*>(data);
    const void* nul = std::memchr(text, '\0', n);
    link->HandleDatagram(
        std::string_view(text, nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : n));
    if (simulator->IsActive()) simulator->Stop();
    return 0;
}
