#pragma once
// Counting the allocations a piece of code makes. A program that links counted_allocation.cpp
// has every form of the global operator new and delete replaced; the growable buffer's
// allocator is counted as well.

void StartCountingAllocations();
long StopCountingAllocations();

// Runs body() and answers how many allocations it made.
template <typename Body>
long CountAllocations(Body body) {
    StartCountingAllocations();
    body();
    return StopCountingAllocations();
}
