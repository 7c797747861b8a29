// Loaded into the printer application by the tests (LD_PRELOAD): every thread it starts runs
// its work only after a pause, so that the moment between the framework handing a job to its
// thread and the thread starting the job is long enough for a test to send a request into it.
#include <dlfcn.h>
#include <pthread.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr auto kPause = std::chrono::milliseconds(300);

struct Start {
    void* (*work)(void*);
    void* argument;
};

void* startLate(void* data) {
    const Start start = *static_cast<Start*>(data);
    delete static_cast<Start*>(data);
    std::this_thread::sleep_for(kPause);
    return start.work(start.argument);
}

using CreateFunction = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                              void* (*work)(void*), void* argument) {
    static const auto create = reinterpret_cast<CreateFunction>(dlsym(RTLD_NEXT, "pthread_create"));
    if (!create)
        std::abort();
    auto* start = new Start{work, argument};
    const int result = create(thread, attributes, startLate, start);
    if (result != 0)
        delete start;
    return result;
}
