#pragma once

#include "framework/core/Export.h"

// The holder of one named asset: the object, whether the registry owns it, and how many users
// hold a lock on it. Locked assets are never purged.
class FRAMEWORK_API Asset
{
public:
    explicit Asset(void* object);
    virtual ~Asset();

    Asset(const Asset&) = delete;
    Asset& operator=(const Asset&) = delete;

    // Deletes the held object and forgets it.
    virtual void Release() = 0;

    void Lock();
    // Never below 0: an extra unlock cannot cancel a later lock.
    void Unlock();
    bool Locked() const { return _lockCount > 0; }
    int GetLockCount() const { return _lockCount; }
    bool Owned() const { return _owned; }
    void SetOwned(bool owned) { _owned = owned; }
    void* GetObject() const { return _object; }

protected:
    void* _object = nullptr; // deleted by Release
    bool _owned = true;
    int _lockCount = 0;
};
