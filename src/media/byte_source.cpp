#include "media/byte_source.h"

#include <sys/types.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace lurvane {
namespace {

bool SeekTo(std::FILE* file, std::uint64_t offset, int origin) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(offset), origin) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

std::int64_t Position(std::FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

}  // namespace

std::string MemoryByteSource::Read(std::uint64_t offset, std::size_t count) const {
    if (offset >= bytes_.size()) return {};
    return std::string(bytes_.substr(static_cast<std::size_t>(offset), count));
}

FileByteSource::FileByteSource(const std::string& path, std::stop_token stop)
    : file_(OpenFileForReading(path)), stop_(std::move(stop)) {
    if (!file_) return;
    const std::int64_t end = SeekTo(file_.get(), 0, SEEK_END) ? Position(file_.get()) : -1;
    if (end < 0) {
        file_.reset();
        return;
    }
    size_ = static_cast<std::uint64_t>(end);
}

std::string FileByteSource::Read(std::uint64_t offset, std::size_t count) const {
    if (!file_ || offset >= size_ || stop_.stop_requested()) return {};
    if (count > size_ - offset) count = static_cast<std::size_t>(size_ - offset);
    if (!SeekTo(file_.get(), offset, SEEK_SET)) return {};
    std::string bytes(count, '\0');
    bytes.resize(std::fread(bytes.data(), 1, count, file_.get()));
    return bytes;
}

std::string ByteCursor::Peek(std::uint64_t offset, std::size_t count) const {
    if (offset >= size_) return {};
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    if (offset >= bufferStart_ && offset - bufferStart_ + count <= buffer_.size())
        return buffer_.substr(static_cast<std::size_t>(offset - bufferStart_), count);
    return source_.Read(offset, count);
}

bool ByteCursor::Fill() {
    if (position_ >= size_) return false;
    bufferStart_ = position_;
    buffer_ = source_.Read(position_, static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, size_ - position_)));
    return !buffer_.empty();
}

}  // namespace lurvane
