#include "framework/core/ConfigFile.h"

#include "framework/core/DebugLifetime.h"

#include <atomic>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<bool>& EncryptionSwitch()
{
    static std::atomic<bool> on{true};
    return on;
}

// The log level found for the class "ConfigFile", handed to every later object.
std::atomic<int>& RememberedLevel()
{
    static std::atomic<int> level{0};
    return level;
}

} // namespace

ConfigFile::ConfigFile(const std::string& file, ConfigFile* parent, bool yieldWhileLoading,
                       bool plain, bool required)
    : _fileName(file), _yieldWhileLoading(yieldWhileLoading), _plain(plain), _parent(parent)
{
    Load(required);
}

ConfigFile::ConfigFile(const std::string& file, bool yieldWhileLoading, bool plain, bool required)
    : ConfigFile(file, nullptr, yieldWhileLoading, plain, required)
{}

ConfigFile::~ConfigFile()
{
    ReleaseSounds();
    Flush();
}

void ConfigFile::TurnEncryption(bool on)
{
    EncryptionSwitch() = on;
}

bool ConfigFile::IsEncryptionOn()
{
    return EncryptionSwitch();
}

void ConfigFile::Load(bool required)
{
    RememberedLevel() = DebugLifetime::SetDebugLevel("ConfigFile", this, RememberedLevel());

    std::string bytes;
    if (IsEncryptionOn() && !_plain) {
        const std::string scrambledName = _fileName + "e";
        bool read = ReadWhole(scrambledName, bytes);
        if (!read) {
            if (required) {
                DebugVar(-1, "FILE NOT FOUND!(required encrypt)! - %s", _fileName.c_str());
                return;
            }
            DebugVar(1, "ENCRYPTED FILE NOT FOUND! ENCRYPTING...%s", scrambledName.c_str());
            Encrypt(_fileName, scrambledName);
            read = ReadWhole(scrambledName, bytes);
            if (!read && ReadWhole(_fileName, bytes)) {
                // The copy could not be made (a read-only folder): the plain file holds the
                // same entries.
                DebugVar(1, "ENCRYPTED FILE NOT WRITTEN! READING %s", _fileName.c_str());
                Parse(bytes, false);
                HandleSounds(_yieldWhileLoading);
                return;
            }
        }
        DebugVar(1, "READING FROM ENCRYPTED FILE %s", scrambledName.c_str());
        if (!read) {
            DebugVar(-1, "FILE NOT FOUND! - %s", _fileName.c_str());
            return;
        }
        Parse(bytes, true);
    } else {
        if (!ReadWhole(_fileName, bytes)) {
            DebugVar(-1, "FILE NOT FOUND! - %s", _fileName.c_str());
            return;
        }
        Parse(bytes, false);
    }
    HandleSounds(_yieldWhileLoading);
}

bool ConfigFile::NextLine(std::string_view bytes, size_t& pos, std::string_view& line)
{
    if (pos >= bytes.size()) {
        return false;
    }
    const size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) {
        // A last line without a line end; a carriage return here is not part of a line end.
        line = bytes.substr(pos);
        pos = bytes.size();
        return true;
    }
    size_t length = end - pos;
    if (length > 0 && bytes[end - 1] == '\r') {
        --length;
    }
    line = bytes.substr(pos, length);
    pos = end + 1;
    return true;
}

void ConfigFile::Parse(std::string_view bytes, bool scrambled)
{
    std::string section;
    std::string combined;
    std::string decoded;
    size_t pos = 0;
    std::string_view line;
    // Only the line number modulo the line period matters to decoding.
    int lineInPeriod = 0;
    while (NextLine(bytes, pos, line)) {
        if (scrambled) {
            decoded = DecodeLine(line, lineInPeriod);
            ParseLine(decoded, section, combined);
        } else {
            ParseLine(line, section, combined);
        }
        lineInPeriod = (lineInPeriod + 1) % kScrambleLineModulus;
    }
}

void ConfigFile::ParseLine(std::string_view line, std::string& section, std::string& combined)
{
    if (line.empty() || line[0] == '#' || line[0] == ';') {
        return;
    }
    if (line[0] == '[') {
        const size_t close = line.find(']', 1);
        section.assign(line.substr(1, close == std::string_view::npos ? line.size() : close - 1));
        return;
    }
    // Nothing is trimmed: blanks around the key, the "=" and the value belong to them.
    const size_t equals = line.find('=');
    const std::string_view key = equals == std::string_view::npos ? line : line.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? line : line.substr(equals + 1);
    combined.assign(section);
    combined.push_back('/');
    combined.append(key);
    _values.insert_or_assign(combined, MultiType(std::string(value)));
}

std::string ConfigFile::Compose(bool scrambled)
{
    std::string out;
    std::string previous;
    int lineNumber = 0;
    auto emit = [&](const std::string& line) {
        if (scrambled && !line.empty()) {
            out += EncryptLine(line, lineNumber);
        } else {
            out += line;
        }
        out += "\r\n";
        ++lineNumber;
    };
    for (const auto& [combinedKey, entry] : _values) {
        const std::string value = entry;
        // Reading a header and an entry gives back the combined key whichever "/" it is cut at.
        // The first one is the rule; a later one keeps an entry whose key would then hold "="
        // (a section read with "/" and "=" in its name).
        size_t slash = combinedKey.find('/');
        const char* why = slash == std::string::npos ? "no section" : nullptr;
        while (slash != std::string::npos) {
            why = BreaksFile(std::string_view(combinedKey).substr(0, slash),
                             std::string_view(combinedKey).substr(slash + 1), value, false);
            if (why == nullptr) {
                break;
            }
            slash = combinedKey.find('/', slash + 1);
        }
        if (why != nullptr) {
            DebugVar(-1, "ENTRY NOT WRITTEN (%s)! - %s", why, combinedKey.c_str());
            continue;
        }
        const std::string section = combinedKey.substr(0, slash);
        if (section != previous) {
            emit(std::string());
            emit("[" + section + "]");
            previous = section;
        }
        emit(combinedKey.substr(slash + 1) + "=" + value);
    }
    return out;
}

void ConfigFile::Flush()
{
    if (!_changed) {
        return;
    }
    const bool scrambled = IsEncryptionOn() && !_plain;
    const std::string target = scrambled ? _fileName + "e" : _fileName;
    if (!WriteWhole(target, Compose(scrambled))) {
        // The change stays pending: a later Flush (or the destructor) tries again.
        DebugVar(-1, "FILE NOT WRITTEN! - %s", target.c_str());
        return;
    }
    _changed = false;
}

bool ConfigFile::ReadWhole(const std::string& path, std::string& bytes)
{
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    // A folder opens but can't be read.
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}

bool ConfigFile::WriteWhole(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), bytes.size(), 1, file) == 1;
    ok = std::fflush(file) == 0 && ok;
    // The file keeps the permissions of the one it replaces.
    struct stat old;
    if (ok && ::stat(path.c_str(), &old) == 0) {
        ::fchmod(fileno(file), old.st_mode & 07777); // best effort
    }
    ok = ok && ::fsync(fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        std::remove(temporary.c_str());
    }
    return ok;
}
