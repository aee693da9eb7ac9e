// Memo: the DBT file of a table with M fields.
//
// 512-byte blocks; block 0 holds the next free block number. A memo is its
// text and 0x1A 0x1A over consecutive blocks from its first block. There is
// no free list: a changed memo is written at the end and the old blocks stay
// as garbage until the table is packed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/dbf/file.h"

namespace kestrel::dbf {

constexpr uint32_t kMemoBlock = 512;

class Memo {
  public:
    /// Writes an empty memo file (header block only) at `path`.
    static Status Create(FileSystem* fs, const std::string& path);
    /// Opens a memo file. In shared mode every allocation is made under the
    /// memo lock (byte 0) and the header is re-read under it.
    static Status Open(FileSystem* fs, const std::string& path, bool read_only, bool exclusive,
                       std::unique_ptr<Memo>* out);

    const std::string& path() const { return file_->path(); }

    /// Reads the memo starting at `block` up to its first 0x1A (or the end of
    /// the file). Corruption when the block lies beyond the file.
    Status Read(uint32_t block, std::string* text) const;
    /// Writes `text` in new blocks at the end and returns its first block.
    /// InvalidArgument when the text contains 0x1A; Busy when another user
    /// holds the memo lock for too long.
    Status Write(std::string_view text, uint32_t* block);
    /// Empties the memo file (exclusive use only).
    Status Zap();

  private:
    Memo(std::unique_ptr<File> file, bool exclusive)
        : file_(std::move(file)), exclusive_(exclusive) {}
    Status ReadNextFree(uint32_t* next) const;

    std::unique_ptr<File> file_;
    bool exclusive_;
};

}  // namespace kestrel::dbf
