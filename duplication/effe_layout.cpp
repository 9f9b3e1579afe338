#include "duplication/effe_layout.h"

namespace duplication {
namespace {

constexpr std::uint32_t kHeadList = 0x2C;
constexpr std::uint32_t kGroupList = 0x38;
constexpr std::uint32_t kListStart = 0x40;
constexpr std::uint32_t kHeadChunk = 32;
constexpr std::uint32_t kGroupChunk = 68;
constexpr std::uint32_t kReferenceSublist = 0x30;
constexpr std::uint32_t kParticleSublist = 0x3C;
constexpr std::uint32_t kReferenceChunk = 104;
constexpr std::uint32_t kParticleChunk = 232;
constexpr std::uint32_t kReferenceField = 0x24;
constexpr std::uint32_t kParticleField = 0x60;

Block reflexive(std::uint32_t location, std::uint32_t translation, std::uint32_t count) {
    Block b;
    b.kind = BlockKind::Reflexive;
    b.location = location;
    b.translation = translation;
    b.count = count;
    return b;
}

}  // namespace

std::vector<Block> effect_blocks(std::uint32_t head_count, const std::vector<EffectGroup>& groups) {
    const auto group_count = static_cast<std::uint32_t>(groups.size());
    const std::uint32_t groups_start = kListStart + kHeadChunk * head_count;
    std::vector<Block> reflexives{reflexive(kHeadList, kListStart, head_count),
                                  reflexive(kGroupList, groups_start, group_count)};
    std::vector<Block> dependencies;

    // Chunks of all sublists follow the last group, in group order.
    std::uint32_t next = groups_start + kGroupChunk * group_count;
    auto sublist = [&](std::uint32_t location, const std::vector<EffectChunk>& chunks,
                       std::uint32_t size, std::uint32_t field) {
        if (chunks.empty()) return;  // no block for an empty sublist
        reflexives.push_back(reflexive(location, next, static_cast<std::uint32_t>(chunks.size())));
        for (const EffectChunk& chunk : chunks) {
            if (!chunk.path.empty()) {
                Block dep;
                dep.kind = BlockKind::Dependency;
                dep.location = next + field;
                dep.tag_class = chunk.tag_class;
                dep.path = chunk.path;
                dependencies.push_back(std::move(dep));
            }
            next += size;
        }
    };
    for (std::uint32_t k = 0; k < group_count; ++k) {
        const std::uint32_t start = groups_start + kGroupChunk * k;
        sublist(start + kReferenceSublist, groups[k].references, kReferenceChunk, kReferenceField);
        sublist(start + kParticleSublist, groups[k].particles, kParticleChunk, kParticleField);
    }
    reflexives.insert(reflexives.end(), dependencies.begin(), dependencies.end());
    return reflexives;
}

}  // namespace duplication
