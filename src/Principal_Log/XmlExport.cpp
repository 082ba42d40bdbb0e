#include "XmlExport.h"

#include "dataset/XmlPacket.h"
#include "os/Os.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace {

// Hands the packet to a thread of its own in pieces of about a megabyte, so
// building the next piece overlaps writing the last. At most a few pieces
// wait at any time: memory stays small whatever the packet's size.
class BackgroundWriter {
  public:
    explicit BackgroundWriter(os::ReplacementFile& file) : file_(file), thread_([this] { run(); }) {
        current_.reserve(kPiece + kPiece / 8);
    }
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    ~BackgroundWriter() { finish(); }

    void write(std::string_view piece) {
        current_.append(piece);
        if (current_.size() >= kPiece)
            handOver();
    }
    // Everything written, the thread ended.
    void finish() {
        if (!thread_.joinable())
            return;
        if (!current_.empty())
            handOver();
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

  private:
    static constexpr std::size_t kPiece = 1024 * 1024;
    static constexpr std::size_t kWaiting = 3;

    void handOver() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return queue_.size() < kWaiting; });
        queue_.push_back(std::move(current_));
        lock.unlock();
        changed_.notify_all();
        current_ = std::string();
        current_.reserve(kPiece + kPiece / 8);
    }
    void run() {
        for (;;) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !queue_.empty() || done_; });
            if (queue_.empty())
                return;
            std::string piece = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            changed_.notify_all();
            file_.write(piece);
        }
    }

    os::ReplacementFile& file_;
    std::string current_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    bool done_ = false;
    std::thread thread_;  // last: starts when everything else is ready
};

}  // namespace

std::optional<std::string> exportXmlPacket(const dataset::ResultSet& set, const std::string& path) {
    os::ReplacementFile file(path);
    if (auto failure = file.failure())
        return failure;
    {
        BackgroundWriter writer(file);
        dataset::writeXmlPacket(set, [&](std::string_view piece) { writer.write(piece); });
        writer.finish();
    }
    return file.commit();
}
