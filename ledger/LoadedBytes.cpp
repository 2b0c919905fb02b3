#include "ledger/LoadedBytes.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace orvo {

namespace {

// Below this a mapping costs more than it saves.
constexpr std::size_t kMapFrom = std::size_t{1} << 20;
constexpr std::size_t kLargePage = std::size_t{2} << 20;

struct Mapping {
    char* mapping;
    std::size_t mapped;
    char* data;  // whole large pages from a large page's start
};

// `size` bytes in large pages where the system gives them. One page more is
// mapped to find a large page's start, so that the first page can be large
// too; the pages are touched, and so taken, only when used.
Mapping mapLargePages(std::size_t size) {
    size = (size + kLargePage - 1) / kLargePage * kLargePage;
    void* p = ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    Mapping m{static_cast<char*>(p), size + kLargePage, nullptr};
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    m.data = m.mapping + ((kLargePage - at % kLargePage) % kLargePage);
#ifdef MADV_HUGEPAGE
    ::madvise(m.data, size, MADV_HUGEPAGE);  // a hint: without it the pages are small
#endif
    return m;
}

}  // namespace

LargePageArena::LargePageArena(std::size_t slabSize)
    : slabSize_((slabSize + kLargePage - 1) / kLargePage * kLargePage) {}

LargePageArena::~LargePageArena() {
    for (const Slab& s : slabs_) ::munmap(s.mapping, s.mapped);
}

void* LargePageArena::do_allocate(std::size_t bytes, std::size_t alignment) {
    if (closed_ || slabSize_ == 0 || bytes > slabSize_)
        return std::pmr::new_delete_resource()->allocate(bytes, alignment);
    auto at = reinterpret_cast<std::uintptr_t>(next_);
    at = (at + alignment - 1) / alignment * alignment;
    if (slabs_.empty() || at + bytes > reinterpret_cast<std::uintptr_t>(slabs_.back().end)) {
        const Mapping m = mapLargePages(slabSize_);
        slabs_.push_back({m.mapping, m.mapped, m.data, m.data + slabSize_});
        at = reinterpret_cast<std::uintptr_t>(m.data);
    }
    next_ = reinterpret_cast<char*>(at + bytes);
    return reinterpret_cast<void*>(at);
}

void LargePageArena::do_deallocate(void* p, std::size_t bytes, std::size_t alignment) {
    const char* c = static_cast<const char*>(p);
    for (const Slab& s : slabs_)
        if (c >= s.begin && c < s.end) return;  // given back with the slab
    std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
}

LoadedBytes::LoadedBytes(std::size_t capacity)
    // A line takes at least a byte and its end in the file, and a position
    // of sixteen bytes in its block: a slab of a third of the file's size
    // holds those of a file of usual records, a few more an odd one.
    : capacity_(capacity), arena_(capacity < kMapFrom ? 0 : capacity / 3) {
    if (capacity < kMapFrom) {
        data_ = new char[capacity == 0 ? 1 : capacity];
        return;
    }
    const Mapping m = mapLargePages(capacity);
    mapping_ = m.mapping;
    mapped_ = m.mapped;
    data_ = m.data;
}

LoadedBytes::~LoadedBytes() {
    if (mapped_)
        ::munmap(mapping_, mapped_);
    else
        delete[] data_;
}

}  // namespace orvo
