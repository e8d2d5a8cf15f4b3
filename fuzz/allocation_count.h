#pragma once

// Counts the heap bytes that the calling thread asks for while a piece of code
// runs, so that a reader can be held to a bound on what a file of n bytes may
// make it allocate. Every request counts in full, freed or not: the sum is what
// the allocator was asked for, which is at least the peak.
//
// Under AddressSanitizer the count comes from the sanitizer's allocation hook
// (malloc and new alike); elsewhere this program replaces the global operator
// new, which is where every std::string and std::vector allocates.

#include <cstddef>
#include <utility>

namespace fuzz {

void startCountingAllocations();
std::size_t stopCountingAllocations();

template <typename F>
std::size_t bytesAllocatedBy(F&& f)
{
    startCountingAllocations();
    std::forward<F>(f)();
    return stopCountingAllocations();
}

}  // namespace fuzz
