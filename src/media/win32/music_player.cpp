#include "media/win32/music_player.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

#include "media/sound_commands.h"
#include "media/win32/sound.h"

namespace lurvane::win32 {
namespace {

// A status query's answer, shared by the asker and the thread.
struct Reply {
    bool Passed = false;     // the thread has answered it, or skipped it once nobody waited
    bool Abandoned = false;  // the asker stopped waiting
    std::string Text;
};

enum class Kind { Play, Measure, Stop, Query, Quit };

struct Request {
    Kind What = Kind::Quit;
    std::string Text;  // the file, or the query's command
    bool Repeat = false;
    uint64_t Generation = 0;  // of the play: a later play or stop makes its outcome stale
    std::shared_ptr<Reply> Answer;
    std::function<void(int32_t)> Measured;
};

}  // namespace

struct MusicPlayer::Shared {
    explicit Shared(std::shared_ptr<SoundDevice> device) : Device(std::move(device)), Player(*Device) {}

    std::shared_ptr<SoundDevice> Device;
    Sound Player;  // the thread's alone
    KernelHandle Wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};

    std::mutex Lock;  // guards everything below; never held while the device works
    std::condition_variable Answered;
    std::deque<Request> Queue;
    bool Playing = false;  // the playing flag as the windows see it
    uint64_t Generation = 0;
    std::shared_ptr<Reply> Unanswered;  // the last query given up on

    void Push(Request request) {
        Queue.push_back(std::move(request));
        SetEvent(Wake.get());
    }
    // A play or a measurement that has not begun need not begin once a stop or the end is
    // asked for.
    void DropPendingStarts() {
        std::erase_if(Queue, [](const Request& r) {
            return r.What == Kind::Play || r.What == Kind::Measure;
        });
    }
};

MusicPlayer::MusicPlayer(std::shared_ptr<SoundDevice> device) : shared_(std::make_shared<Shared>(std::move(device))) {
    auto forThread = std::make_unique<std::shared_ptr<Shared>>(shared_);
    thread_.reset(CreateThread(nullptr, 0, &MusicPlayer::Work, forThread.get(), 0, nullptr));
    // The thread keeps what it shares with the player, so that one left stuck in the device at
    // the end touches nothing freed. Without a thread there is no music: requests go unheard.
    if (thread_) forThread.release();
}

MusicPlayer::~MusicPlayer() { Finish(1000); }

DWORD WINAPI MusicPlayer::Work(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Shared>> owner(static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **owner;
    while (true) {
        // The device may post to windows of this thread while it plays.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Request request;
        {
            std::unique_lock lock(shared.Lock);
            if (shared.Queue.empty()) {
                lock.unlock();
                HANDLE wake = shared.Wake.get();
                MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
                continue;
            }
            request = std::move(shared.Queue.front());
            shared.Queue.pop_front();
            if (request.What == Kind::Query && request.Answer->Abandoned) {
                request.Answer->Passed = true;
                continue;
            }
        }
        switch (request.What) {
        case Kind::Quit:
            return 0;
        case Kind::Play:
            if (!shared.Player.PlayBackgroundSound(request.Text, request.Repeat)) {
                const std::lock_guard lock(shared.Lock);
                if (shared.Generation == request.Generation) shared.Playing = false;
            }
            break;
        case Kind::Measure: {
            shared.Player.OpenBackgroundSound(request.Text);
            const int32_t length = shared.Player.GetSoundLength();
            shared.Player.StopBackgroundSound();
            request.Measured(length);
            break;
        }
        case Kind::Stop:
            shared.Player.StopBackgroundSound();
            break;
        case Kind::Query: {
            std::string reply = shared.Device->Query(request.Text);
            {
                const std::lock_guard lock(shared.Lock);
                request.Answer->Text = std::move(reply);
                request.Answer->Passed = true;
            }
            shared.Answered.notify_all();
            break;
        }
        }
    }
}

void MusicPlayer::PlayBackgroundSound(const std::string& file, bool repeat) {
    const std::lock_guard lock(shared_->Lock);
    shared_->Playing = true;
    shared_->Push({Kind::Play, file, repeat, ++shared_->Generation, nullptr, nullptr});
}

void MusicPlayer::MeasureSoundLength(const std::string& file, std::function<void(int32_t)> done) {
    const std::lock_guard lock(shared_->Lock);
    shared_->Push({Kind::Measure, file, false, 0, nullptr, std::move(done)});
}

void MusicPlayer::StopBackgroundSound() {
    const std::lock_guard lock(shared_->Lock);
    shared_->Playing = false;
    ++shared_->Generation;
    shared_->DropPendingStarts();
    // Stops in a row, while the device is busy, would each send the same two commands.
    if (shared_->Queue.empty() || shared_->Queue.back().What != Kind::Stop) shared_->Push({Kind::Stop, {}, false, 0, nullptr, nullptr});
}

bool MusicPlayer::IsBackgroundSoundPlaying() const {
    const std::lock_guard lock(shared_->Lock);
    return shared_->Playing;
}

std::optional<std::string> MusicPlayer::Ask(const std::string& query) {
    std::unique_lock lock(shared_->Lock);
    // The device has not got past a question nobody waited for: it is still busy, and this
    // one would wait in vain too.
    if (shared_->Unanswered != nullptr && !shared_->Unanswered->Passed) return std::nullopt;
    auto reply = std::make_shared<Reply>();
    shared_->Push({Kind::Query, query, false, 0, reply, nullptr});
    if (shared_->Answered.wait_for(lock, std::chrono::milliseconds(kQueryWait), [&reply] { return reply->Passed; }))
        return std::move(reply->Text);
    reply->Abandoned = true;
    shared_->Unanswered = std::move(reply);
    return std::nullopt;
}

int32_t MusicPlayer::GetSoundPosition() {
    const std::optional<std::string> reply = Ask(SoundPositionQuery());
    return reply ? SoundMillisecondsFromReply(*reply) : 0;
}

int32_t MusicPlayer::GetSoundLength() {
    const std::optional<std::string> reply = Ask(SoundLengthQuery());
    return reply ? SoundMillisecondsFromReply(*reply) : 0;
}

std::optional<std::string> MusicPlayer::GetSoundMode() {
    const std::optional<std::string> reply = Ask(SoundModeQuery());
    if (!reply) return std::nullopt;
    return SoundModeFromReply(*reply);
}

bool MusicPlayer::Finish(DWORD bound) {
    if (!thread_) return true;
    {
        const std::lock_guard lock(shared_->Lock);
        shared_->DropPendingStarts();
        shared_->Push({Kind::Quit, {}, false, 0, nullptr, nullptr});
    }
    const bool ended = WaitForSingleObject(thread_.get(), bound) == WAIT_OBJECT_0;
    thread_.reset();
    return ended;
}

}  // namespace lurvane::win32
