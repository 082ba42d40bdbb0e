#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace dataset {

// Append-only byte storage in chunks. Blocks never move, so the addresses it
// hands out stay valid for its whole life. Each chunk is a quarter of what is
// held (from 16 KB to a fixed maximum), so at any size at most one chunk's
// tail is unused; a piece larger than a quarter of the maximum gets a block
// of its own.
class ByteArena {
  public:
    ByteArena() = default;
    ByteArena(ByteArena&&) noexcept = default;
    ByteArena& operator=(ByteArena&&) noexcept = default;

    char* allocate(std::size_t size);
    // Bytes of every block held, used or not.
    std::size_t bytesHeld() const noexcept { return held_; }

  private:
    static constexpr std::size_t kFirstChunk = 16 * 1024;
    static constexpr std::size_t kMaxChunk = 2 * 1024 * 1024;  // one huge page

    class Block {
      public:
        explicit Block(std::size_t size);
        Block(Block&& other) noexcept : data_(other.data_), align_(other.align_) {
            other.data_ = nullptr;
        }
        Block& operator=(Block&&) = delete;
        Block(const Block&) = delete;
        ~Block();
        char* data() const noexcept { return data_; }

      private:
        char* data_;
        std::align_val_t align_;
    };

    char* newBlock(std::size_t size);

    std::vector<Block> blocks_;
    char* next_ = nullptr;
    std::size_t left_ = 0;
    std::size_t held_ = 0;
};

}  // namespace dataset
