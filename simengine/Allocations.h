// Every block the engine hands out, so that a Free operation releases only what the
// engine allocated (anything else is ignored) and tests can count what is still out.
#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <new>

namespace sim {

class Allocations {
public:
    // A zero-filled block; nullptr when memory is short.
    void* Allocate(std::size_t bytes);

    // A zero-filled block that ends where readable memory ends: the page after it is
    // reserved without access, so a read past its end faults. For records of a faulty
    // engine, whose readers must stop at the block's end.
    void* AllocateAtPageEnd(std::size_t bytes);

    // A record constructed in a new block; nullptr when memory is short.
    template <class T>
    T* New()
    {
        void* block = Allocate(sizeof(T));
        return block ? new (block) T() : nullptr;
    }

    // Frees a block of the engine; false (and nothing done) for any other address.
    bool Release(const void* block);

    // The size of the engine's block that starts at `block`, 0 when it is none.
    std::size_t BlockSize(const void* block) const;

    std::size_t Outstanding() const;

private:
    struct Block {
        std::size_t bytes;
        void* pages;      // the reservation of a page-end block, else null (heap)
    };
    void* Remember(void* block, Block details);

    mutable std::mutex m_lock;
    std::map<const void*, Block> m_blocks;
};

}  // namespace sim
