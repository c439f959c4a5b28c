#pragma once

// The radio memory fuzzer's input: what a radio answers to the read operation, block after block
// at the lengths the memory map gives them:
//   firmware phase, version, revision (3 bytes), then the blocks of kFixedBlocks in that order,
//   then the frequency records (6 bytes each, as many as the input still holds, at most 99).
// The frequency records come last because the limit block says how many the read asks for.

#include <array>
#include <string_view>

#include "radio/memory_map.h"
#include "radio/virtual_cp.h"

namespace fuzz::memory_input {

inline constexpr int kFirmwareBytes = 3;
inline constexpr std::array<std::string_view, 6> kFixedBlocks = {
    "identity", "synth_base", "limits", "serial_clone", "main", "band_edges"};

constexpr const mm::SBlock* FindBlock(std::string_view name) {
    for (const mm::SBlock& block : mm::kBlocks) {
        if (block.name == name) {
            return &block;
        }
    }
    return nullptr;
}

// Where a fixed block starts in the input; -1 for any other block.
constexpr int OffsetOf(std::string_view name) {
    int offset = kFirmwareBytes;
    for (const std::string_view fixed : kFixedBlocks) {
        if (fixed == name) {
            return offset;
        }
        offset += FindBlock(fixed)->length;
    }
    return -1;
}

inline constexpr int kFrequencyOffset = OffsetOf("band_edges") + FindBlock("band_edges")->length;
inline constexpr int kMaxSize = kFrequencyOffset + vcp::kFrequencyCount * mm::kPackedFrequencySize;
// Bytes of the limit block the fuzzer reads for itself.
inline constexpr int kLimitsChannels = 4;     // bits 4..0: channel records in use
inline constexpr int kLimitsFrequencies = 6;  // frequency records in use

}  // namespace fuzz::memory_input
