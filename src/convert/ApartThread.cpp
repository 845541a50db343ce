#include "convert/ApartThread.h"

#include <system_error>

namespace {

// Every processor the caller may use but the one it runs on; none when that leaves none.
bool elsewhere(const cpu_set_t& allowed, cpu_set_t& others) {
    const int here = sched_getcpu();
    if (here < 0 || here >= CPU_SETSIZE || !CPU_ISSET(here, &allowed))
        return false;
    others = allowed;
    CPU_CLR(here, &others);
    return CPU_COUNT(&others) > 0;
}

class Attributes {
  public:
    Attributes() { m_valid = pthread_attr_init(&m_attr) == 0; }
    ~Attributes() {
        if (m_valid)
            pthread_attr_destroy(&m_attr);
    }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;

    // The kernel places the new thread on one of `processors` before it runs.
    bool keepTo(const cpu_set_t& processors) {
        return m_valid && pthread_attr_setaffinity_np(&m_attr, sizeof processors, &processors) == 0;
    }
    const pthread_attr_t* get() const { return m_valid ? &m_attr : nullptr; }

  private:
    pthread_attr_t m_attr = {};
    bool m_valid = false;
};

}  // namespace

ApartThread::ApartThread(std::function<void()> work) : m_work(std::move(work)) {
    Attributes attributes;
    cpu_set_t others = {};
    m_kept = sched_getaffinity(0, sizeof m_allowed, &m_allowed) == 0 &&
             elsewhere(m_allowed, others) && attributes.keepTo(others);
    int error = pthread_create(&m_thread, attributes.get(), &ApartThread::run, this);
    if (error != 0 && m_kept) {  // the placement refused: a thread anywhere will do
        m_kept = false;
        error = pthread_create(&m_thread, nullptr, &ApartThread::run, this);
    }
    if (error != 0)
        throw std::system_error(error, std::generic_category(), "thread");
}

ApartThread::~ApartThread() {
    pthread_join(m_thread, nullptr);
}

void ApartThread::release() {
    const std::lock_guard lock(m_mutex);
    if (m_kept)
        pthread_setaffinity_np(m_thread, sizeof m_allowed, &m_allowed);
    m_kept = false;
}

void* ApartThread::run(void* self) {
    auto* thread = static_cast<ApartThread*>(self);
    thread->m_work();
    // An ended thread's handle names no thread the kernel knows; release must leave it alone.
    const std::lock_guard lock(thread->m_mutex);
    thread->m_kept = false;
    return nullptr;
}
