#include "settings/file_bytes.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include "util/text_encoding.h"
#endif

namespace lurvane {
namespace {

bool HoldsNul(const std::string& path) { return path.find('\0') != std::string::npos; }

#ifdef _WIN32
std::wstring WidePath(const std::string& path) {
    std::u16string wide = Utf8ToUtf16(path);
    return std::wstring(wide.begin(), wide.end());
}

FilePtr Open(const std::string& path, bool forWriting) {
    return FilePtr(_wfopen(WidePath(path).c_str(), forWriting ? L"wb" : L"rb"));
}

bool Replace(const std::string& from, const std::string& to) {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void Remove(const std::string& path) { _wremove(WidePath(path).c_str()); }

bool Exists(const std::string& path, bool& missing) {
    struct _stat64 info;
    bool found = _wstat64(WidePath(path).c_str(), &info) == 0;
    missing = !found && errno == ENOENT;
    return found;
}
#else
FilePtr Open(const std::string& path, bool forWriting) { return FilePtr(std::fopen(path.c_str(), forWriting ? "wb" : "rb")); }

bool Replace(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

void Remove(const std::string& path) { std::remove(path.c_str()); }

bool Exists(const std::string& path, bool& missing) {
    struct stat info;
    bool found = ::stat(path.c_str(), &info) == 0;
    missing = !found && (errno == ENOENT || errno == ENOTDIR);
    return found;
}
#endif

}  // namespace

FilePtr OpenFileForReading(const std::string& path) {
    if (path.empty() || HoldsNul(path)) return nullptr;
    return Open(path, false);
}

FileContents ReadWholeFile(const std::string& path, std::size_t limit) {
    if (path.empty() || HoldsNul(path)) return {FileReadStatus::Missing, {}};
    FilePtr file = Open(path, false);
    if (!file) {
        bool missing = false;
        bool exists = Exists(path, missing);
        return {exists || !missing ? FileReadStatus::Unreadable : FileReadStatus::Missing, {}};
    }
    FileContents contents{FileReadStatus::Read, {}};
    // The size is only a hint (the file may change while it is read), but it spares the text
    // the doubling of its buffer while it grows.
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file.get());
        if (size > 0) contents.Bytes.reserve(std::min(static_cast<std::size_t>(size), limit));
        std::rewind(file.get());
    }
    char buffer[65536];
    while (true) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        if (contents.Bytes.size() + got > limit) return {FileReadStatus::TooLarge, {}};
        contents.Bytes.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    // A folder opens on some systems but cannot be read.
    if (std::ferror(file.get())) return {FileReadStatus::Unreadable, {}};
    return contents;
}

namespace {

bool WriteTo(FilePtr file, std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
    return std::fclose(file.release()) == 0;
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    if (path.empty() || HoldsNul(path)) return false;
    // The new contents go into a file beside the old one and take its place only once they are
    // written whole: a full disk or a failing write leaves the old contents as they were.
    const std::string beside = path + ".lurvane-new";
    if (FilePtr file = Open(beside, true)) {
        if (WriteTo(std::move(file), bytes) && Replace(beside, path)) return true;
        Remove(beside);
        return false;
    }
    // A folder that lets the file be changed but nothing be added to it.
    FilePtr file = Open(path, true);
    return file && WriteTo(std::move(file), bytes);
}

bool CheckFileExistance(const std::string& name) {
    if (name.empty() || HoldsNul(name)) return false;
    bool missing = false;
    return Exists(name, missing);
}

}  // namespace lurvane
