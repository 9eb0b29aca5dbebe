// Readable summaries of project (.zr2), module (.zrm) and runtime (.z2r)
// files for the headless designer's `info` command.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zor2 {

class CSystem;
class CNetwork;

/// The summary of a loaded system: name and id, modules with levels and
/// their components with type names and stages, system inputs and outputs.
std::string DescribeSystem(const CSystem& system);
/// One module and its components, indented by two spaces.
std::string DescribeModule(const CNetwork& module);

/// Walks the bytes of a runtime file and summarises them. Component bodies
/// beyond their base record are skipped by the size the designer's own
/// export gives each type; the walk must then end exactly at the last byte,
/// or the summary is refused. Returns false with `error` set when the file
/// cannot be read.
bool DescribeRuntimeFile(const std::vector<uint8_t>& bytes, std::string& summary, std::string& error);

}  // namespace zor2
