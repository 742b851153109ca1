// Where the tag reader gets its bytes: a file read piece by piece, so that a long recording is
// never held whole, or bytes already in memory (tests, the fuzz target).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "settings/file_bytes.h"

namespace lurvane {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // At most `count` bytes from `offset`: fewer at the end of the source, none past it or when
    // reading fails.
    virtual std::string Read(std::uint64_t offset, std::size_t count) const = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    // The bytes must outlive the source.
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::string Read(std::uint64_t offset, std::size_t count) const override;

private:
    std::string_view bytes_;
};

class FileByteSource final : public ByteSource {
public:
    // A file that cannot be opened is an empty source. Once `stop` is requested, reads find
    // nothing, so that a reader working through a long file ends at its next read.
    explicit FileByteSource(const std::string& path, std::stop_token stop = {});
    std::uint64_t Size() const override { return size_; }
    std::string Read(std::uint64_t offset, std::size_t count) const override;

private:
    FilePtr file_;
    std::uint64_t size_ = 0;
    std::stop_token stop_;
};

// Reads a source front to back through one buffer of fixed size, so that a stretch of any length
// costs the same memory, and moves forward without reading what it passes.
class ByteCursor {
public:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    ByteCursor(const ByteSource& source, std::uint64_t position)
        : source_(source), size_(source.Size()), position_(position) {}

    std::uint64_t Position() const { return position_; }
    void MoveTo(std::uint64_t position) { position_ = position; }

    // The byte at the position; none at the end of the source or when reading fails.
    std::optional<std::uint8_t> Current() {
        if (position_ - bufferStart_ >= buffer_.size() && !Fill()) return std::nullopt;
        return static_cast<std::uint8_t>(buffer_[static_cast<std::size_t>(position_ - bufferStart_)]);
    }
    // The same, moving past it.
    std::optional<std::uint8_t> Next() {
        const std::optional<std::uint8_t> byte = Current();
        if (byte) ++position_;
        return byte;
    }

    // The bytes from the position to the end of the buffer, read when there are none; empty at
    // the end of the source. MoveTo passes them.
    std::string_view Buffered() {
        if (position_ - bufferStart_ >= buffer_.size() && !Fill()) return {};
        return std::string_view(buffer_).substr(static_cast<std::size_t>(position_ - bufferStart_));
    }

    // At most `count` bytes from `offset`, without moving.
    std::string Peek(std::uint64_t offset, std::size_t count) const;

private:
    bool Fill();

    const ByteSource& source_;
    std::uint64_t size_;
    std::uint64_t position_;
    std::uint64_t bufferStart_ = 0;
    std::string buffer_;
};

}  // namespace lurvane
