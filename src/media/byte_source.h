// Where the tag reader gets its bytes: a file read piece by piece, so that a long recording is
// never held whole, or bytes already in memory (tests, the fuzz target).
#pragma once

#include <cstddef>
#include <cstdint>
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
    // A file that cannot be opened is an empty source.
    explicit FileByteSource(const std::string& path);
    std::uint64_t Size() const override { return size_; }
    std::string Read(std::uint64_t offset, std::size_t count) const override;

private:
    FilePtr file_;
    std::uint64_t size_ = 0;
};

}  // namespace lurvane
