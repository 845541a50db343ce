// The remux's scan runs on a thread kept off the copying thread's processor until the copy waits
// for it: the scheduler otherwise queued it behind the copy for milliseconds.
#include <pthread.h>
#include <sched.h>

#include <QtTest>
#include <atomic>
#include <latch>
#include <thread>

#include "convert/ApartThread.h"

namespace {

cpu_set_t ownProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    sched_getaffinity(0, sizeof set, &set);
    return set;
}

int ownProcessorCount() {
    const cpu_set_t set = ownProcessors();
    return CPU_COUNT(&set);
}

bool subsetOf(const cpu_set_t& part, const cpu_set_t& whole) {
    cpu_set_t both;
    CPU_AND(&both, &part, &whole);
    return CPU_EQUAL(&both, &part);
}

// Runs `body` on a thread of its own, so processors the test takes from it stay taken from it.
template <typename Body>
void onOwnThread(Body body) {
    std::thread(body).join();
}

// Keeps the calling thread to the processor it runs on; that processor.
cpu_set_t keepToThisProcessor() {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);
    return one;
}

}  // namespace

class ApartThreadTest : public QObject {
    Q_OBJECT

  private slots:
    void startsOffTheStartersProcessor();
    void releasedMayRunAnywhere();
    void oneProcessorLeftAlone();
    void releaseAfterTheEndTouchesNoOtherThread();
};

void ApartThreadTest::startsOffTheStartersProcessor() {
    const cpu_set_t allowed = ownProcessors();
    if (CPU_COUNT(&allowed) < 2)
        QSKIP("one processor only");
    cpu_set_t seen;
    int ranOn = -1;
    {
        ApartThread thread([&] {
            seen = ownProcessors();
            ranOn = sched_getcpu();
        });
    }
    QVERIFY(subsetOf(seen, allowed));
    QCOMPARE(CPU_COUNT(&seen), CPU_COUNT(&allowed) - 1);
    QVERIFY(ranOn >= 0 && CPU_ISSET(ranOn, &seen));
}

void ApartThreadTest::releasedMayRunAnywhere() {
    const cpu_set_t allowed = ownProcessors();
    if (CPU_COUNT(&allowed) < 2)
        QSKIP("one processor only");
    std::latch started(1);
    std::latch released(1);
    cpu_set_t before;
    cpu_set_t after;
    {
        ApartThread thread([&] {
            before = ownProcessors();
            started.count_down();
            released.wait();
            after = ownProcessors();
        });
        started.wait();
        thread.release();
        released.count_down();
    }
    QCOMPARE(CPU_COUNT(&before), CPU_COUNT(&allowed) - 1);
    QVERIFY(CPU_EQUAL(&after, &allowed));
}

void ApartThreadTest::oneProcessorLeftAlone() {
    cpu_set_t one;
    cpu_set_t seen;
    std::atomic<bool> ran = false;
    onOwnThread([&] {
        one = keepToThisProcessor();
        ApartThread thread([&] {
            seen = ownProcessors();
            ran = true;
        });
        thread.release();
    });
    QVERIFY(ran);
    QVERIFY(CPU_EQUAL(&seen, &one));
}

// The handle of a thread that has ended but is not yet joined names, to the C library, whatever
// thread calls with it: releasing it then would hand the caller every processor.
void ApartThreadTest::releaseAfterTheEndTouchesNoOtherThread() {
    if (ownProcessorCount() < 2)
        QSKIP("one processor only");
    cpu_set_t one;
    cpu_set_t afterwards;
    onOwnThread([&] {
        std::latch done(1);
        ApartThread thread([&done] { done.count_down(); });
        done.wait();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the thread ends too
        one = keepToThisProcessor();
        thread.release();
        afterwards = ownProcessors();
    });
    QVERIFY(CPU_EQUAL(&afterwards, &one));
}

QTEST_GUILESS_MAIN(ApartThreadTest)
#include "tst_ApartThread.moc"
