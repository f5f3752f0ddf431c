#pragma once

#include "SDL_mixer.h"
#include "framework/core/Debug.h"
#include "framework/core/Export.h"

#include <map>
#include <string>

// One sound effect: a sample loaded from a file now or on first play. Configuration files
// register their sounds by name (RegisterSounds); the registry plays them on the first free
// channel of the pool (Channel).
//
// The registry is shared by the main thread, which plays by name, and loading threads, whose
// configuration files register and unregister sounds: every registry call takes its own lock,
// and a play by name holds it until the mixer has the sample, so an owner that unregisters its
// sounds before deleting them never frees one that is being started.
class FRAMEWORK_API Sound : public Debug
{
public:
    // The channel number returned when no pool entry was free: the mixer picked a channel of
    // its own, and Channel(kNoChannel) reaches it (with every other channel).
    static constexpr int kNoChannel = -1;
    // Returned for a name no map holds: nothing plays, and Channel(kNotPlayed) acts on none, so
    // stopping "its" channel later cannot silence another sound.
    static constexpr int kNotPlayed = -2;

    Sound(const char* file, bool deferLoad);
    ~Sound() override;

    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // A new sound, owned by the caller.
    static Sound* LoadSound(const std::string& file, bool deferLoad);

    // Loads the sample unless it is loaded. A failed load is logged once and tried again by the
    // next call.
    void Init();
    // Init() of the first registered sound of that name.
    static void Init(const std::string& name);

    Mix_Chunk* GetChunk() const { return _chunk; }
    bool IsValid() const { return _chunk != nullptr; }
    const std::string& GetFile() const { return _file; }

    // Volume 0..128. Without a loaded sample SetVolume does nothing and GetVolume is -1.
    void SetVolume(int volume);
    int GetVolume();

    // Loads the sample if needed and plays it on the first free channel of the pool (loops as
    // the mixer counts them: 0 once, -1 for ever). Returns that channel's number, or
    // kNoChannel when no pool entry was free.
    int Play(int loops);
    // The same for the first registered sound of that name; kNotPlayed for an unknown name.
    static int Play(const std::string& name, int loops);
    // As Play by name, faded in over ms.
    static int FadeIn(const std::string& name, int ms, int loops);

    // Adds a copy of the map to the registry; the sounds stay owned by the caller, who removes
    // the map with UnRegisterSounds before deleting them.
    static void RegisterSounds(std::map<std::string, Sound*>& sounds);
    // Removes the first registered map equal to the given one.
    static void UnRegisterSounds(std::map<std::string, Sound*>& sounds);

    // Every mixer channel.
    static void Pause();
    static void Resume();

private:
    // With the registry locked: the first sound of that name, or null.
    static Sound* Find(const std::string& name);

    Mix_Chunk* _chunk = nullptr; // owned; freed by the destructor
    std::string _file;
    bool _reportedLoadFailure = false;
};
