#pragma once

#include "framework/core/Asset.h"

// Holds an object of type T and deletes it through T's own (virtual) destructor.
template <typename T> class TypedAsset final : public Asset
{
public:
    explicit TypedAsset(T* object) : Asset(object) {}
    ~TypedAsset() override { TypedAsset::Release(); }

    void Release() override
    {
        delete static_cast<T*>(_object);
        _object = nullptr;
    }

    T* Get() const { return static_cast<T*>(_object); }
};
