#include "simengine/Allocations.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace sim {

namespace {

void Free(void* block, void* pages)
{
    if (pages) ::VirtualFree(pages, 0, MEM_RELEASE);
    else std::free(block);
}

}  // namespace

void* Allocations::Remember(void* block, Block details)
{
    try {
        std::lock_guard lock(m_lock);
        m_blocks.emplace(block, details);
    } catch (const std::bad_alloc&) {
        Free(block, details.pages);
        return nullptr;
    }
    return block;
}

void* Allocations::Allocate(std::size_t bytes)
{
    void* block = std::calloc(1, bytes ? bytes : 1);
    return block ? Remember(block, {bytes, nullptr}) : nullptr;
}

void* Allocations::AllocateAtPageEnd(std::size_t bytes)
{
    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    const std::size_t dataBytes = std::max<std::size_t>(1, (bytes + page - 1) / page) * page;
    auto* pages = static_cast<char*>(::VirtualAlloc(nullptr, dataBytes + page, MEM_RESERVE, PAGE_NOACCESS));
    if (!pages) return nullptr;
    if (!::VirtualAlloc(pages, dataBytes, MEM_COMMIT, PAGE_READWRITE)) {
        ::VirtualFree(pages, 0, MEM_RELEASE);
        return nullptr;
    }
    return Remember(pages + dataBytes - bytes, {bytes, pages});
}

bool Allocations::Release(const void* block)
{
    Block details{};
    {
        std::lock_guard lock(m_lock);
        const auto it = m_blocks.find(block);
        if (it == m_blocks.end()) return false;
        details = it->second;
        m_blocks.erase(it);
    }
    Free(const_cast<void*>(block), details.pages);
    return true;
}

std::size_t Allocations::BlockSize(const void* block) const
{
    std::lock_guard lock(m_lock);
    const auto it = m_blocks.find(block);
    return it == m_blocks.end() ? 0 : it->second.bytes;
}

std::size_t Allocations::Outstanding() const
{
    std::lock_guard lock(m_lock);
    return m_blocks.size();
}

}  // namespace sim
