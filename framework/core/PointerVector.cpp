#include "framework/core/PointerVector.h"

#include "framework/core/Application.h"
#include "framework/core/Debug.h"

namespace {
constexpr int kDefaultCapacity = 50;
} // namespace

PointerVector::PointerVector() : PointerVector(kDefaultCapacity) {}

PointerVector::PointerVector(int capacity)
{
    Allocate(capacity);
}

PointerVector::~PointerVector() = default;

void PointerVector::Allocate(int capacity)
{
    // A negative capacity would make the allocation throw; treat it as an empty vector.
    _capacity = capacity > 0 ? capacity : 0;
    _data = std::make_unique<void*[]>(static_cast<size_t>(_capacity)); // zero-filled
    _size = 0;
}

void PointerVector::PushBack(void* p)
{
    if (p == nullptr) {
        const char* const text = "Adding NULL pointer to PointerVector";
        if (Application* app = Application::GetApplication()) {
            app->DebugOut(text);
        } else {
            Debug("PointerVector").DebugOut(text);
        }
        return;
    }
    if (_size >= _capacity) {
        return;
    }
    _data[_size++] = p;
}

void PointerVector::Erase(int i)
{
    if (i < 0 || i >= _size) {
        return;
    }
    for (int k = i; k + 1 < _size; ++k) {
        _data[k] = _data[k + 1];
    }
    --_size;
    _data[_size] = nullptr;
}

void PointerVector::EraseAll()
{
    for (int k = 0; k < _capacity; ++k) {
        _data[k] = nullptr;
    }
    _size = 0;
}

void* PointerVector::PopBack()
{
    if (_size == 0) {
        return nullptr;
    }
    --_size;
    void* const last = _data[_size];
    _data[_size] = nullptr;
    return last;
}

void PointerVector::Compact()
{
    int to = 0;
    for (int from = 0; from < _capacity; ++from) {
        if (_data[from] != nullptr) {
            _data[to++] = _data[from];
        }
    }
    for (; to < _capacity; ++to) {
        _data[to] = nullptr;
    }
}
