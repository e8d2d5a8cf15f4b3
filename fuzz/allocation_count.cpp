#include "fuzz/allocation_count.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define FUZZ_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FUZZ_ADDRESS_SANITIZER 1
#endif
#endif

namespace fuzz {

namespace {

// Per thread, so that a sanitizer's or the fuzzer's own helper threads never
// add to a count they did not cause.
thread_local bool counting = false;
thread_local std::size_t counted = 0;

void count(std::size_t size)
{
    if (counting) {
        counted += size;
    }
}

}  // namespace

#if defined(FUZZ_ADDRESS_SANITIZER)

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                                         void (*freeHook)(const volatile void*));

namespace {

void mallocHook(const volatile void*, std::size_t size) { count(size); }
void freeHook(const volatile void*) {}

}  // namespace

void startCountingAllocations()
{
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(mallocHook, freeHook) != 0;
    if (!installed) {
        std::abort();
    }
    counted = 0;
    counting = true;
}

#else

void startCountingAllocations()
{
    counted = 0;
    counting = true;
}

#endif

std::size_t stopCountingAllocations()
{
    counting = false;
    return counted;
}

}  // namespace fuzz

#if !defined(FUZZ_ADDRESS_SANITIZER)

// The array, nothrow and sized forms of the standard library all end in these.
void* operator new(std::size_t size)
{
    fuzz::count(size);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

#endif
