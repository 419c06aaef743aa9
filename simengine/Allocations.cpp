#include "simengine/Allocations.h"

#include <cstdlib>

namespace sim {

void* Allocations::Allocate(std::size_t bytes)
{
    void* block = std::calloc(1, bytes ? bytes : 1);
    if (!block) return nullptr;
    try {
        std::lock_guard lock(m_lock);
        m_blocks.emplace(block, bytes);
    } catch (const std::bad_alloc&) {
        std::free(block);
        return nullptr;
    }
    return block;
}

bool Allocations::Release(const void* block)
{
    {
        std::lock_guard lock(m_lock);
        if (m_blocks.erase(block) == 0) return false;
    }
    std::free(const_cast<void*>(block));
    return true;
}

std::size_t Allocations::BlockSize(const void* block) const
{
    std::lock_guard lock(m_lock);
    const auto it = m_blocks.find(block);
    return it == m_blocks.end() ? 0 : it->second;
}

std::size_t Allocations::Outstanding() const
{
    std::lock_guard lock(m_lock);
    return m_blocks.size();
}

}  // namespace sim
