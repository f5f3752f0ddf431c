#include "framework/core/Asset.h"

Asset::Asset(void* object) : _object(object) {}

Asset::~Asset() = default;

void Asset::Lock()
{
    ++_lockCount;
}

void Asset::Unlock()
{
    if (_lockCount > 0) {
        --_lockCount;
    }
}
