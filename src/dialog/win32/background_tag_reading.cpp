#include "dialog/win32/background_tag_reading.h"

namespace lurvane::win32 {

void BackgroundTagReading::Start(const std::string& file, HWND window, UINT message, std::uint32_t number) {
    Stop();
    if (!reader_) return;
    number_ = number;
    outcome_ = std::make_shared<Outcome>();
    worker_ = std::jthread([reader = reader_, outcome = outcome_, file, window, message,
                            number](std::stop_token stop) {
        std::optional<SongTag> tag = reader(file, stop);
        if (stop.stop_requested()) return;
        {
            const std::lock_guard lock(outcome->Lock);
            outcome->Tag = std::move(tag);
        }
        PostMessageW(window, message, number, 0);
    });
}

std::optional<SongTag> BackgroundTagReading::Take(std::uint32_t number) {
    if (number != number_ || !outcome_) return std::nullopt;
    const std::lock_guard lock(outcome_->Lock);
    return std::move(outcome_->Tag);
}

void BackgroundTagReading::Stop() {
    if (!worker_.joinable()) return;
    worker_.request_stop();
    worker_.detach();
}

}  // namespace lurvane::win32
