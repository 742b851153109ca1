// Reads ID3v2 tags of 16, 64 and 256 MiB, each dominated by one huge title, in Latin-1, UTF-8,
// UTF-16 and unsynchronised form. Each read runs in a child process of its own, so that its
// peak resident memory (getrusage's ru_maxrss of that child, the program's own few MiB
// included) belongs to that read alone. Prints one line per tag: the read's wall time, what
// came out, the peak memory and the child's processor time. Linux only; the tags are
// written to the temporary folder and removed afterwards.
//   tag_read_bench [MiB...]        default 16 64 256
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/id3v2_tag_reader.h"

namespace {

using namespace std::string_literals;

constexpr std::uint32_t kLargestTag = 0x0FFFFFFF;  // what four sync-safe bytes can state

std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

std::string SyncSafe(std::uint32_t value) {
    return {static_cast<char>((value >> 21) & 0x7F), static_cast<char>((value >> 14) & 0x7F),
            static_cast<char>((value >> 7) & 0x7F), static_cast<char>(value & 0x7F)};
}

struct Kind {
    const char* Name;
    int Version;
    bool Unsynchronised;
    std::string Encoding;  // the title frame's encoding byte and byte-order mark
    std::string Unit;      // repeated to fill the title, as stored in the file
};

// 2.4 for the three encodings; 2.3 unsynchronises the whole tag, so its title of 0xFF bytes
// ("ÿ") is stored with a 0x00 behind every byte.
const std::vector<Kind>& Kinds() {
    static const std::vector<Kind> kinds = {
        {"Latin-1", 4, false, std::string(1, '\0'), "Wellen \xFC" "ber dem Meer "},
        {"UTF-8", 4, false, "\x03", "Wellen \xE6\xB3\xA2\xE6\xB5\xAA \xF0\x9F\x8C\x8A "},
        {"UTF-16", 4, false, "\x01\xFF\xFE", "W\0e\0l\0l\0e\0n\0 \0\xE2\x6C\x6A\x6D \0"s},
        {"unsynchronised", 3, true, std::string(1, '\0'), std::string("\xFF\0", 2)},
    };
    return kinds;
}

// Writes a tag of about `mib` MiB: the huge title, then a short artist, then a little audio.
void WriteTag(const std::string& path, const Kind& kind, std::uint32_t mib) {
    const std::string artistBody = std::string(1, '\0') + "Artist";
    const std::string artistFrame =
        "TPE1" + (kind.Version == 4 ? SyncSafe(7) : BigEndian(7)) + std::string(2, '\0') + artistBody;
    const std::uint64_t wanted = std::min<std::uint64_t>(std::uint64_t{mib} << 20, kLargestTag);
    const std::uint64_t units = (wanted - artistFrame.size() - 10 - kind.Encoding.size()) / kind.Unit.size();
    const std::uint64_t stored = kind.Encoding.size() + units * kind.Unit.size();
    // An unsynchronised frame's size counts the bytes after the 0x00s are removed.
    const auto titleSize = static_cast<std::uint32_t>(kind.Unsynchronised ? kind.Encoding.size() + units : stored);
    const auto area = static_cast<std::uint32_t>(10 + stored + artistFrame.size());

    std::ofstream out(path, std::ios::binary);
    out << "ID3" << static_cast<char>(kind.Version) << '\0' << static_cast<char>(kind.Unsynchronised ? 0x80 : 0)
        << SyncSafe(area);
    out << "TIT2" << (kind.Version == 4 ? SyncSafe(titleSize) : BigEndian(titleSize)) << std::string(2, '\0')
        << kind.Encoding;
    std::string block;
    while (block.size() < (1u << 20)) block += kind.Unit;
    for (std::uint64_t left = units; left > 0;) {
        const std::uint64_t now = std::min<std::uint64_t>(left, block.size() / kind.Unit.size());
        out.write(block.data(), static_cast<std::streamsize>(now * kind.Unit.size()));
        left -= now;
    }
    out << artistFrame << "\xFF\xFB\x90\x64" << std::string(4000, '\x55');
}

int CountCharacters(const std::string& utf8) {
    int count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// In the child: reads the tag and prints the time and what came out.
int ReadOnce(const std::string& path) {
    lurvane::ID3v2TagInfo info;
    const auto start = std::chrono::steady_clock::now();
    const bool found = lurvane::ReadID3v2Tag(path, info);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%10.1f %12d %8s", took.count(), CountCharacters(info.Title), info.Artist == "Artist" ? "yes" : "NO");
    std::fflush(stdout);
    return found ? 0 : 1;
}

struct ChildUse {
    double PeakMiB = -1;
    double CpuMs = -1;  // user and system time of the whole child, its start included
};

// Runs this program on `path` in a child process.
ChildUse ReadInChild(const std::string& self, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        execl(self.c_str(), self.c_str(), "--read", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return {};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf(" (read failed)");
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_usec) / 1000.0;
    };
    return {static_cast<double>(usage.ru_maxrss) / 1024.0, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--read") return ReadOnce(argv[2]);
    std::vector<std::uint32_t> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(static_cast<std::uint32_t>(std::atoi(argv[i])));
    if (sizes.empty()) sizes = {16, 64, 256};

    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string path =
        (std::filesystem::temp_directory_path() / ("lurvane_tag_bench_" + std::to_string(getpid()) + ".mp3")).string();
    std::printf("%8s %-15s %10s %12s %8s %9s %10s\n", "tag_MiB", "form", "read_ms", "title_chars", "artist", "peak_MiB",
                "child_cpu_ms");
    for (const std::uint32_t mib : sizes) {
        for (const Kind& kind : Kinds()) {
            WriteTag(path, kind, mib);
            std::printf("%8u %-15s ", mib, kind.Name);
            std::fflush(stdout);
            const ChildUse use = ReadInChild(self, path);
            std::printf(" %9.1f %10.1f\n", use.PeakMiB, use.CpuMs);
        }
    }
    std::filesystem::remove(path);
    return 0;
}
