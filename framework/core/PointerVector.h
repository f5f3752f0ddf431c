#pragma once

#include "framework/core/Export.h"

#include <memory>

// A fixed-capacity array of untyped, not-owned pointers. Pushes beyond the capacity are dropped.
class FRAMEWORK_API PointerVector
{
public:
    PointerVector();
    explicit PointerVector(int capacity);
    ~PointerVector();

    PointerVector(const PointerVector&) = delete;
    PointerVector& operator=(const PointerVector&) = delete;

    // Appends p; a null p is refused with a log line, a push into a full vector is ignored.
    void PushBack(void* p);
    // Removes entry i and closes the gap; an index outside the entries is ignored.
    void Erase(int i);
    // Removes every entry.
    void EraseAll();
    // Removes the last entry and returns it; null when empty.
    void* PopBack();

    // Entry i, unchecked: i must be below Capacity().
    void* operator[](int i) const { return _data[i]; }
    int Size() const { return _size; }
    int Capacity() const { return _capacity; }
    bool Empty() const { return _size == 0; }

protected:
    // Drops the entries and starts over, empty, with the given capacity.
    void Allocate(int capacity);
    // Moves the non-null entries to the front in their order; the size is left as it is.
    void Compact();

private:
    std::unique_ptr<void*[]> _data;
    int _capacity = 0;
    int _size = 0;
};
