#pragma once

#include "framework/core/Export.h"

#include <cstdint>
#include <string>

class LogFile;
class Rectangle;

// Base of nearly every engine object: a debug name, an object id from one counter, an entry in
// the table of live objects (the leak report at shut-down) and the logging calls that write the
// shared log "debug.txt".
class FRAMEWORK_API Debug
{
public:
    Debug();
    explicit Debug(const std::string& name);
    virtual ~Debug();

    Debug(const Debug&) = delete;
    Debug& operator=(const Debug&) = delete;

    // The library's copyright line, the second line of the log banner.
    virtual std::string GetCopyright();

    void SetName(const std::string& name);
    std::string GetName() const;
    std::string GetFullName() const;
    void SetPos(const std::string& text);
    void SetSize(const std::string& text);
    void SetId(const std::string& text);
    int32_t GetObjectId() const { return _objectId; }

    void SetLogLevel(int level);
    int GetLogLevel() const;
    void SetDebugFlag(bool flag);
    bool GetDebugFlag() const;
    void DebugOn(bool global);
    void DebugOff(bool global);

    // printf-style line at a level: negative levels are framed error lines, 0 is always
    // written, a positive level only below the object's log level.
    void DebugVar(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void DebugOut(const std::string& text);
    void DebugOut(const std::string& text, int n);
    void DebugOut(const std::string& a, const std::string& b);
    void DebugRect(int level, const std::string& text, const Rectangle& r);
    void DebugRaw(const std::string& text);
    static void DebugFlush();

    // Writes the banner; called once by the application's start-up.
    void DebugInit();
    // Writes the object-lifetime report and closes the shared log.
    static void CloseDebugFile();

    static void SetProductVersion(const std::string& text);
    static void SetProductName(const std::string& text);
    static void SetProductNameShort(const std::string& text);
    static void SetProductDistributor(const std::string& text);
    static std::string GetProductVersion();
    static std::string GetProductName();
    static std::string GetProductNameShort();
    static std::string GetProductDistributor();
    static std::string GetFrameworkVersion();

    // Recursive lock that guards object set-up, log levels and every write to the shared log.
    static void Lock();
    static void Unlock();

private:
    void Init(const std::string& name);
    void LogNow(const std::string& text);
    bool OkToLog() const;

    std::string _name;
    std::string _posText;
    std::string _sizeText;
    std::string _idText;
    int32_t _objectId = 0;
    bool _debugFlag = true;
    int32_t _logLevel = 0;
};
