#include "ByteArena.h"

#include <sys/mman.h>

#include <algorithm>

namespace dataset {

namespace {
constexpr std::size_t kHugePage = 2 * 1024 * 1024;
}

// Touching fresh memory a 4 KB page at a time costs more than filling it, so
// blocks of whole huge pages are aligned to them and ask the kernel for them.
// Only advice: the kernel may ignore it.
ByteArena::Block::Block(std::size_t size)
    : align_(size >= kHugePage ? std::align_val_t{kHugePage} : std::align_val_t{64}) {
    data_ = static_cast<char*>(::operator new(size, align_));
    if (size >= kHugePage)
        ::madvise(data_, size / kHugePage * kHugePage, MADV_HUGEPAGE);
}

ByteArena::Block::~Block() {
    if (data_ != nullptr)
        ::operator delete(data_, align_);
}

char* ByteArena::newBlock(std::size_t size) {
    blocks_.emplace_back(size);
    held_ += size;
    return blocks_.back().data();
}

char* ByteArena::allocate(std::size_t size) {
    if (size > kMaxChunk / 4) {
        // Exactly sized, and the current chunk keeps its tail for later rows.
        return newBlock(size);
    }
    if (size > left_) {
        // A quarter of what is held already: the unused tail of the newest
        // chunk stays under a fifth of the whole, whatever the set's size.
        std::size_t chunk = std::clamp(held_ / 4, kFirstChunk, kMaxChunk);
        while (chunk < size)
            chunk *= 2;
        next_ = newBlock(chunk);
        left_ = chunk;
    }
    char* at = next_;
    next_ += size;
    left_ -= size;
    return at;
}

}  // namespace dataset
