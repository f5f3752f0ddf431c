#pragma once

#include "framework/core/Export.h"

#include <cstdint>
#include <string>

struct SDL_RWops;

// One file opened through an SDL file stream. The file classes never log: a failure shows only
// in the state and in the results.
//
// Bytes go through unchanged (the stream is always opened in binary); LogFile writes its own
// "\r\n" line ends so the log keeps the line ends its readers expect.
class FRAMEWORK_API File
{
public:
    static constexpr int32_t kNeverOpened = 0;
    static constexpr int32_t kClosed = 1;
    static constexpr int32_t kOpen = 2;
    static constexpr int32_t kOpenFailed = 3;

    explicit File(const std::string& name);
    virtual ~File();

    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens with a C mode text ("r", "w", "a", "rw", "wa", with or without "+" and "b").
    // Opening an open file opens a second stream and forgets the first.
    virtual bool Open(const std::string& mode);
    virtual bool OpenR();
    virtual bool OpenW();
    virtual bool OpenA();
    // Reads and writes an existing file from its start; fails for a missing file.
    virtual bool OpenRW();
    // Appends, creating the file when it is missing.
    virtual bool OpenWA();
    // One block of size bytes: 1 when all of them were read, 0 otherwise.
    virtual int Read(char* buffer, int size);
    // The first count characters, or the whole text when count is below 1 or not below its
    // length: 1 when written, 0 otherwise.
    virtual int Write(const std::string& text, int count);
    // whence: 0 from the start, 1 from the current position, 2 from the end. Returns the new
    // position; -1 when not open or the seek fails, -2 when the current position is unknown.
    virtual int Seek(int offset, int whence);
    virtual int Tell();
    virtual void Close();
    // Closes and reopens for appending, so everything written so far reaches the disk.
    virtual void Flush();

    // Removes a file: 0 when removed or absent, -1 on any other failure.
    static int Delete(const char* path);
    // Whether anything (a file, a folder, a link) is there under the path, readable or not.
    static bool Exists(const std::string& path);
    // Whether twin is an empty file beside a plain file that holds bytes: a scrambled copy cut
    // short by an earlier system, or emptied by hand, which gives way to the plain file rather
    // than showing nothing at every start.
    static bool IsEmptyTwinOf(const std::string& twin, const std::string& plain);
    // Writes the folder that holds path to the disk, so that a file just renamed or made in it
    // survives a crash under its new name; false when the folder could not be synced.
    static bool SyncFolderOf(const std::string& path);

    const std::string& GetName() const { return _name; }
    // Text after the last "." of the name once the file was opened; null when there is none.
    const char* GetExtension() const { return _extension; }
    int32_t GetState() const { return _state; }
    bool IsOpen() const { return _stream != nullptr; }

private:
    std::string _name;
    const char* _extension = nullptr; // points into _name
    SDL_RWops* _stream = nullptr;     // owned; closed in Close()
    int32_t _state = kNeverOpened;
};
