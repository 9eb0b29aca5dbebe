// The projects behind the golden files: built through the engine's own editing
// operations from a fixed random seed, so the same code always builds the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/system.h"

namespace zor2::test {

/// One golden case: the folder under tests/data/golden, the seed of the
/// system's random source and the builder that fills a new project.
struct CGoldenCase {
    const char* name;
    uint32_t seed;
    /// Adds the case's contents to a new project; every refused step is
    /// appended to `problems`.
    void (*build)(CSystem& system, std::vector<std::string>& problems);
};

std::span<const CGoldenCase> GoldenCases();

/// A new project built by `c` with its own seeded random source, which stays
/// attached to `system` while `random` lives. Returns the refused steps.
std::vector<std::string> BuildGoldenProject(const CGoldenCase& c, CSystem& system, CLcgRandom& random);

/// The file names of a case's golden files.
std::string GoldenProjectName(const CGoldenCase& c);   // "<case>.zr2"
std::string GoldenRuntimeName(const CGoldenCase& c);   // "<case>.z2r"
std::string GoldenManifestName(const CGoldenCase& c);  // the manifest the export writes beside it
inline constexpr const char* kGoldenProjectInfo = "info_zr2.txt";
inline constexpr const char* kGoldenRuntimeInfo = "info_z2r.txt";

/// Values the all-types project computes from its inputs x, y and enable
/// (system outputs "Sum", "Negated", "Seven"), for plausibility checks.
struct CGoldenInputs {
    double x, y, enable;
};
double GoldenSum(const CGoldenInputs& in);      // x + y + 2.5
double GoldenNegated(const CGoldenInputs& in);  // -(x + y + 2.5) * 2.5
inline constexpr double kGoldenSeven = 7.0;

}  // namespace zor2::test
