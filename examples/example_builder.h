// Editing helpers the example writer builds its projects with: every step goes
// through the engine's own operations, and a refused step marks the run failed.
#pragma once

#include <cstdint>
#include <string>

#include "engine/system.h"

namespace zor2::examples {

/// False once any step failed; the writer then exits 1.
bool AllSucceeded();
inline constexpr int32_t kNewInput = -1;
void Check(bool condition, const char* what);

CNetworkModel* Drop(CNetwork& m, int32_t type, int32_t x, int32_t y);
CNetworkModel* Constant(CNetwork& m, double value, int32_t x, int32_t y);
/// Wires `src`'s first output into the first free template input of `dst`, or a new one.
void Wire(CNetwork& m, CNetworkModel* src, CNetworkModel* dst);
/// Wires output `outId` of `src` into input `inId` of `dst`. An `outId` of 0
/// picks the first output; an `inId` of 0 the first free template input (else
/// a new one) as Wire does, and kNewInput always a new input.
void WireTo(CNetwork& m, CNetworkModel* src, int32_t outId, CNetworkModel* dst, int32_t inId);

CExternalInput* Input(CSystem& s, const char* name, double initial);
/// Brings system input `p` into module `m` through a new module input.
CNetworkInput* Bring(CSystem& s, CExternalInput* p, CNetwork& m);
/// Feeds input `inId` of `dst` from module input `mi`; 0 leaves the choice to the module.
void FeedTo(CNetwork& m, CNetworkInput* mi, CNetworkModel* dst, int32_t inId);
/// Feeds `dst` from system input `p` through a new module input.
void FeedFromInput(CSystem& s, CExternalInput* p, CNetwork& m, CNetworkModel* dst);

/// Publishes output `outId` of `src` (0: its first) as module output and system output `name`.
CNetworkOutput* PublishOutput(CSystem& s, CNetwork& m, CNetworkModel* src, int32_t outId, const char* name);
/// Publishes `src`'s first output.
CNetworkOutput* Publish(CSystem& s, CNetwork& m, CNetworkModel* src, const char* name);

/// Where the data files of the examples go. Projects name them relative to the
/// folder's parent ("examples/FILE"), which the writer makes its working folder.
void SetDataFolder(const std::string& folder, const std::string& relativeName);
/// Writes `text` as data file `name`; returns the path a project refers to it by.
std::string WriteDataFile(const std::string& name, const std::string& text);

}  // namespace zor2::examples
