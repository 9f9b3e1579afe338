// Block layout of effect (effe) tags: every Location, Translation and count
// follows from the head list size and the groups' chunks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "duplication/object_table.h"

namespace duplication {

// A chunk of a reference or particle sublist; a chunk may name nothing
// (empty path), which keeps its room but writes no Dependency.
struct EffectChunk {
    std::string tag_class;
    std::string path;
};

struct EffectGroup {
    std::vector<EffectChunk> references;  // 104-byte chunks, Dependency at +0x24
    std::vector<EffectChunk> particles;   // 232-byte chunks, Dependency at +0x60
};

// The blocks of an effect body in ascending Location order.
std::vector<Block> effect_blocks(std::uint32_t head_count, const std::vector<EffectGroup>& groups);

}  // namespace duplication
