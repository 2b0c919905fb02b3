#pragma once
// The bytes of a ledger file as its load read them (a CSV file's, each line
// turned into its record in place before the list sees it; or the lines a
// bulk add copied in). The list's lines point into them rather than each
// being copied out, and they never change once in the list: a line written
// afterwards (an edit) is kept by its block instead.
//
// Taken from the system in large pages where it gives them: a million-line
// load spends more on having fresh small pages zeroed than on reading. The
// positions of the lines in the list's blocks (a sixth of a ledger's memory)
// are taken the same way while the load builds them (lineArena()).

#include <cstddef>
#include <memory_resource>
#include <vector>

namespace orvo {

// Room handed out in large pages and given back all at once; what is asked
// for after close(), and what is given back that it did not hand out, go to
// the heap.
class LargePageArena : public std::pmr::memory_resource {
public:
    explicit LargePageArena(std::size_t slabSize);
    ~LargePageArena() override;
    LargePageArena(const LargePageArena&) = delete;
    LargePageArena& operator=(const LargePageArena&) = delete;

    void close() { closed_ = true; }

private:
    struct Slab {
        char* mapping;
        std::size_t mapped;
        char* begin;
        char* end;
    };
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override;
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    std::size_t slabSize_;
    std::vector<Slab> slabs_;
    char* next_ = nullptr;
    bool closed_ = false;
};

class LoadedBytes {
public:
    // Room for `capacity` bytes; throws std::bad_alloc when there is none.
    explicit LoadedBytes(std::size_t capacity);
    ~LoadedBytes();
    LoadedBytes(const LoadedBytes&) = delete;
    LoadedBytes& operator=(const LoadedBytes&) = delete;

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t capacity() const { return capacity_; }
    bool holds(const char* p) const { return p >= data_ && p < data_ + capacity_; }

    // For the blocks a load of these bytes builds; closed when it ends.
    LargePageArena& lineArena() const { return arena_; }

private:
    char* data_ = nullptr;
    std::size_t capacity_ = 0;
    char* mapping_ = nullptr;
    std::size_t mapped_ = 0;  // bytes mapped from mapping_, 0 when allocated on the heap
    mutable LargePageArena arena_;
};

}  // namespace orvo
