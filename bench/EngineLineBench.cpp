// Engine cost per polled line. An instrument on a thread of its own answers
// every "?" at once with the next line of a job download; the engine runs on
// its pool worker exactly as in the program. The floor is a bare ping-pong of
// two threads that hand a line over through the same primitives (a lock and
// two manual-reset events), measured in the same run.
// Usage: engine_line_bench [LINES]   (default 100000)

#include "JobDownload.h"
#include "Median.h"

#include "platform/ManualResetEvent.h"
#include "platform/QelSerialPro.h"
#include "protocol/CKestaCom.h"
#include "protocol/ReplyTags.h"
#include "protocol/TransferRequest.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 5;
const std::string kLine =
    "*110001+0000000000000P12 81..00+0000000001234567 82..00-0000000000045678 \r\n";

// Answers each command of a job download as soon as it is sent, from its own
// thread, as a port's receive thread would deliver it.
class AnsweringInstrument : public QelSerialPro {
public:
    explicit AnsweringInstrument(int lines) : lines_(lines) {}
    ~AnsweringInstrument() override { DisConnectSerial(); }

    int ConnectSerial(const CMiniDCB* /*dcb*/) override {
        thread_ = std::thread([this] { Deliver(); });
        return 1;
    }
    int DisConnectSerial() override {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) {
            thread_.join();
        }
        return 1;
    }
    int OuterThreadSendMsg(const char* data, int count) override {
        const std::string command(data, static_cast<std::size_t>(count));
        std::string answer;
        if (command == "?\r\n" || command.rfind("JOB/RCV/", 0) == 0) {
            answer = sent_++ < lines_ ? kLine : std::string("\x1A\r\n");
        } else if (command.rfind("FORM/SET/", 0) == 0) {
            answer = "GSI,0,1,3\r\n";
        } else {
            answer = "?\r\n";
        }
        {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(answer));
        }
        wake_.notify_one();
        return 1;
    }
    std::string LastError() const override { return {}; }

private:
    void Deliver() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
            if (stop_) {
                return;
            }
            const std::string answer = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            Receiver()->OnReceive(nullptr, answer.data(), static_cast<int>(answer.size()));
            lock.lock();
        }
    }

    const int lines_;
    int sent_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    bool stop_ = false;
    std::thread thread_;
};

class CountingLink : public CKestaCom {
public:
    explicit CountingLink(int lines)
        : CKestaCom([lines] { return std::make_unique<AnsweringInstrument>(lines); }) {}
    ~CountingLink() override { ShutdownWorker(); }

    int OnDeviceReply(const char* tag, const char* /*data*/, int length) override {
        if (std::strcmp(tag, ReplyTags::kData) == 0) {
            bytes_ += length;
        } else if (std::strcmp(tag, ReplyTags::kTaskEnd) == 0) {
            done_.Set();
        }
        return 1;
    }
    void WaitForEnd() { done_.Wait(); }
    long Bytes() const { return bytes_; }

protected:
    void ShowLinkMessage(const std::string& text) override {
        std::fprintf(stderr, "link: %s\n", text.c_str());
    }
    void OnLinkLost(const std::string& reason) override {
        std::fprintf(stderr, "link lost: %s\n", reason.c_str());
    }

private:
    ManualResetEvent done_;
    long bytes_ = 0;
};

double EngineLinesPerSecond(int lines) {
    CountingLink link(lines);
    link.OpenPort("COM1", "19200", "8", "0", "0");
    bench::JobDownload().BuildScript(link.Engine());
    const auto start = Clock::now();
    link.StartDownload();
    link.WaitForEnd();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (link.Bytes() != static_cast<long>(lines) * static_cast<long>(kLine.size())) {
        std::fprintf(stderr, "wrong byte count %ld\n", link.Bytes());
        std::exit(1);
    }
    link.ClosePort();
    return lines / seconds;
}

// Two threads hand a line to each other: one copies it into a shared buffer
// under the lock and signals, the other takes it and signals back.
double PingPongRoundsPerSecond(int rounds) {
    std::mutex lock;
    ManualResetEvent data;
    ManualResetEvent done;
    std::array<char, 1024> shared{};
    std::size_t sharedLength = 0;
    std::thread taker([&] {
        std::array<char, 1024> local{};
        for (int i = 0; i < rounds; ++i) {
            data.Wait();
            data.Reset();
            {
                std::lock_guard guard(lock);
                std::memcpy(local.data(), shared.data(), sharedLength);
                sharedLength = 0;
            }
            done.Set();
        }
    });
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) {
        {
            std::lock_guard guard(lock);
            std::memcpy(shared.data(), kLine.data(), kLine.size());
            sharedLength = kLine.size();
        }
        data.Set();
        done.Wait();
        done.Reset();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    taker.join();
    return rounds / seconds;
}

} // namespace

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::vector<double> engine;
    std::vector<double> floor;
    for (int round = 0; round < kRounds; ++round) {
        floor.push_back(PingPongRoundsPerSecond(lines));
        engine.push_back(EngineLinesPerSecond(lines));
        std::printf("round %d: engine %.0f lines/s, ping-pong %.0f rounds/s, ratio %.2f\n",
                    round + 1, engine.back(), floor.back(), engine.back() / floor.back());
    }
    const double e = bench::Median(engine);
    const double f = bench::Median(floor);
    std::printf("median over %d rounds of %d lines: engine %.0f lines/s, floor %.0f rounds/s, "
                "ratio %.2f (target >= 0.5)\n",
                kRounds, lines, e, f, e / f);
    return 0;
}
