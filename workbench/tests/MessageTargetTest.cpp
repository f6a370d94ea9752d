#include "workbench/MessageTarget.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

namespace {

class Target : public QObject, public MessageTarget {
public:
    Target() : MessageTarget(this) {}

    std::atomic<int> handled{0};
    std::atomic<bool> ranOnGuiThread{false};
    std::atomic<bool> workerDoneDuringHandler{false};
    const std::atomic<bool>* workerDone = nullptr;

protected:
    LResult OnUserMessage(UserMessage message, WParam wParam, LParam lParam) override {
        ++handled;
        ranOnGuiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        if (workerDone != nullptr) {
            workerDoneDuringHandler = workerDone->load();
        }
        return static_cast<LResult>(message) + static_cast<LResult>(wParam) + lParam;
    }
};

// Waits without running the event loop, as a GUI thread blocked in a wait does.
bool WaitWithoutEvents(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct Worker {
    std::optional<LResult> result;
    std::atomic<bool> done{false};
    std::thread thread;

    void Send(MessageTarget& target, UserMessage message, WParam wParam = 0, LParam lParam = 0) {
        thread = std::thread([this, &target, message, wParam, lParam] {
            result = target.TrySendUserMessage(message, wParam, lParam);
            done = true;
        });
    }
    void Join() { thread.join(); }
};

} // namespace

class MessageTargetTest : public QObject {
    Q_OBJECT

private slots:
    void messageNumbersMatchTheWindowSystem();
    void sendOnTheGuiThreadIsADirectCall();
    void workerWaitsWhileTheGuiThreadRunsTheHandler();
    void closedTargetRefusesEverySend();
    void destroyingTheTargetReleasesAWaitingWorker();
};

void MessageTargetTest::messageNumbersMatchTheWindowSystem() {
    QCOMPARE(static_cast<unsigned>(UM_DROP_TARGET), 0x0405u);
    QCOMPARE(static_cast<unsigned>(UM_DRAG_SOURCE), 0x040Au);
    QCOMPARE(static_cast<unsigned>(UM_DOWNLOAD), 0x040Fu);
    QCOMPARE(static_cast<unsigned>(UM_DELETE_FILE), 0x0414u);
    QCOMPARE(static_cast<unsigned>(UM_INIT_DONE), 0x0419u);
    QCOMPARE(static_cast<unsigned>(UM_PROGRESS), 0x041Eu);
    QCOMPARE(static_cast<unsigned>(UM_MOVE_FILE), 0x0423u);
    QCOMPARE(static_cast<unsigned>(UM_COPY_FILE), 0x0425u);
    QCOMPARE(static_cast<unsigned>(UM_PORT_SETTINGS), 0x0428u);
}

void MessageTargetTest::sendOnTheGuiThreadIsADirectCall() {
    Target target;
    QCOMPARE(target.SendUserMessage(UM_PROGRESS, 1, 2), LResult{UM_PROGRESS + 3});
    QCOMPARE(target.handled.load(), 1);
    QVERIFY(target.ranOnGuiThread);
}

void MessageTargetTest::workerWaitsWhileTheGuiThreadRunsTheHandler() {
    Target target;
    Worker worker;
    target.workerDone = &worker.done;
    worker.Send(target, UM_PROGRESS, 1, 40);
    // The handler runs only when the GUI thread processes its events.
    QVERIFY(WaitWithoutEvents([&] { return target.WaitingThreadSends() == 1; }));
    QCOMPARE(target.handled.load(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(worker.done, 20000);
    worker.Join();

    QCOMPARE(target.handled.load(), 1);
    QVERIFY(target.ranOnGuiThread);
    QVERIFY(!target.workerDoneDuringHandler);
    QCOMPARE(worker.result, std::optional<LResult>(UM_PROGRESS + 41));
    QCOMPARE(target.WaitingThreadSends(), 0u);
}

void MessageTargetTest::closedTargetRefusesEverySend() {
    Target target;
    target.CloseMessages();
    QVERIFY(target.MessagesClosed());
    Worker worker;
    worker.Send(target, UM_PROGRESS);
    worker.Join();
    QCOMPARE(worker.result, std::nullopt);
    QCOMPARE(target.TrySendUserMessage(UM_INIT_DONE), std::nullopt);
    QCoreApplication::processEvents();
    QCOMPARE(target.handled.load(), 0);
}

void MessageTargetTest::destroyingTheTargetReleasesAWaitingWorker() {
    auto target = std::make_unique<Target>();
    Worker worker;
    worker.Send(*target, UM_PROGRESS);
    QVERIFY(WaitWithoutEvents([&] { return target->WaitingThreadSends() == 1; }));
    target.reset();
    worker.Join();
    QCOMPARE(worker.result, std::nullopt);
    // The dropped call went with its target.
    QCoreApplication::processEvents();
}

QTEST_GUILESS_MAIN(MessageTargetTest)
#include "MessageTargetTest.moc"
