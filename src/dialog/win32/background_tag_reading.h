// Reads a music file's tag on a thread of its own: finding the tag may mean reading a long file
// to its end, maybe from a slow drive, and the dialog must answer meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "dialog/sound_page_rules.h"

namespace lurvane::win32 {

// Reads the tag of `file`; gives up early, with nothing, once `stop` is requested.
using TagReader = std::function<std::optional<SongTag>(const std::string& file, std::stop_token stop)>;

class BackgroundTagReading {
public:
    explicit BackgroundTagReading(TagReader reader) : reader_(std::move(reader)) {}
    BackgroundTagReading(const BackgroundTagReading&) = delete;
    BackgroundTagReading& operator=(const BackgroundTagReading&) = delete;
    ~BackgroundTagReading() { Stop(); }

    explicit operator bool() const { return static_cast<bool>(reader_); }

    // Starts reading `file` and stops the reading before; when done, posts `message` with
    // `number` as its wParam to `window`.
    void Start(const std::string& file, HWND window, UINT message, std::uint32_t number);
    // The tag that the reading numbered `number` found, once its message has come; nothing
    // for a file without one or for a reading that a later one replaced.
    std::optional<SongTag> Take(std::uint32_t number);
    // Stops a reading under way without waiting for its thread: it ends at its next piece of
    // the file, and the outcome it may still write is its own.
    void Stop();

private:
    struct Outcome {
        std::mutex Lock;
        std::optional<SongTag> Tag;
    };

    TagReader reader_;
    std::uint32_t number_ = 0;
    std::shared_ptr<Outcome> outcome_;
    std::jthread worker_;
};

}  // namespace lurvane::win32
