#pragma once

#include <pthread.h>
#include <sched.h>

#include <functional>
#include <mutex>

// A thread that starts, and stays, on another processor than the thread that starts it, until
// released. On a machine with two processors the scheduler often queues a new thread behind its
// starter and moves it only later: the remux's scan then began late, and the copy, busy in the
// kernel meanwhile, had to wait for it. Before the starter waits
// for the thread it releases it, so a thread kept off an idle processor never holds it up.
// Where the starter may run on one processor only, the thread goes wherever the scheduler puts it.
class ApartThread {
  public:
    // Starts `work` at once; it must not throw (a std::packaged_task hands back a result or an
    // error). Throws std::system_error when no thread can be started.
    explicit ApartThread(std::function<void()> work);
    // Waits for `work` to end.
    ~ApartThread();
    ApartThread(const ApartThread&) = delete;
    ApartThread& operator=(const ApartThread&) = delete;

    // From here the thread may run on every processor it could have run on.
    void release();

  private:
    static void* run(void* self);

    std::function<void()> m_work;
    std::mutex m_mutex;
    bool m_kept = false;  // on the other processors, until released or ended
    cpu_set_t m_allowed = {};
    pthread_t m_thread = {};
};
