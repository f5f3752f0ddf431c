#include "framework/core/ConfigFile.h"

#include "framework/core/DebugLifetime.h"
#include "framework/core/File.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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
    if (_fileName.empty()) {
        return;
    }
    const bool read = IsEncryptionOn() && !_plain ? LoadScrambled(required) : LoadPlain();
    if (read) {
        HandleSounds(_yieldWhileLoading);
    }
}

bool ConfigFile::LoadPlain()
{
    std::string bytes;
    switch (ReadWhole(_fileName, bytes)) {
    case ReadResult::kRead:
        Parse(bytes, false);
        return true;
    case ReadResult::kUnreadable:
        KeepUnread(_fileName);
        return false;
    case ReadResult::kMissing:
        break;
    }
    DebugVar(-1, "FILE NOT FOUND! - %s", _fileName.c_str());
    return false;
}

bool ConfigFile::LoadScrambled(bool required)
{
    const std::string scrambledName = _fileName + "e";
    std::string bytes;
    std::string plainBytes;
    ReadResult read = ReadWhole(scrambledName, bytes);
    if (read == ReadResult::kUnreadable) {
        KeepUnread(scrambledName);
        if (ReadWhole(_fileName, plainBytes) != ReadResult::kRead) {
            return false;
        }
        DebugVar(-1, "READING %s IN ITS PLACE", _fileName.c_str());
        Parse(plainBytes, false);
        return true;
    }
    if (read == ReadResult::kRead && bytes.empty() &&
        ReadWhole(_fileName, plainBytes) == ReadResult::kRead && !plainBytes.empty()) {
        // Left by a write cut short on an earlier system, or by hand: it would show nothing
        // at every start. The plain file holds the entries; the copy is made again from it.
        DebugVar(-1, "ENCRYPTED FILE EMPTY! READING %s", _fileName.c_str());
        if (!required) {
            Encrypt(_fileName, scrambledName);
        }
        Parse(plainBytes, false);
        return true;
    }
    if (read == ReadResult::kRead && !DecodesToEntries(bytes)) {
        if (!SetDamagedAside(scrambledName)) {
            if (ReadWhole(_fileName, plainBytes) != ReadResult::kRead) {
                return false;
            }
            Parse(plainBytes, false);
            return true;
        }
        read = ReadResult::kMissing;
    }
    if (read == ReadResult::kMissing) {
        if (required) {
            DebugVar(-1, "FILE NOT FOUND!(required encrypt)! - %s", _fileName.c_str());
            return false;
        }
        DebugVar(1, "ENCRYPTED FILE NOT FOUND! ENCRYPTING...%s", scrambledName.c_str());
        const ReadResult plainRead = ReadWhole(_fileName, plainBytes);
        if (plainRead == ReadResult::kUnreadable) {
            // A copy made now would be read in its place for ever after.
            KeepUnread(_fileName);
            return false;
        }
        if (plainRead == ReadResult::kRead) {
            Encrypt(_fileName, scrambledName);
            read = ReadWhole(scrambledName, bytes);
            if (read != ReadResult::kRead) {
                // The copy could not be made (a read-only folder): the plain file holds the
                // same entries.
                DebugVar(1, "ENCRYPTED FILE NOT WRITTEN! READING %s", _fileName.c_str());
                Parse(plainBytes, false);
                return true;
            }
        }
    }
    DebugVar(1, "READING FROM ENCRYPTED FILE %s", scrambledName.c_str());
    if (read != ReadResult::kRead) {
        DebugVar(-1, "FILE NOT FOUND! - %s", _fileName.c_str());
        return false;
    }
    Parse(bytes, true);
    return true;
}

void ConfigFile::KeepUnread(const std::string& path)
{
    _unreadFile = path;
    DebugVar(-1, "FILE NOT READ! IT IS LEFT AS IT IS - %s", path.c_str());
    NoteUnread(path);
}

bool ConfigFile::SetDamagedAside(const std::string& path)
{
    const std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        _unreadFile = path;
        DebugVar(-1, "ENCRYPTED FILE DAMAGED! IT IS LEFT AS IT IS - %s", path.c_str());
        return false;
    }
    File::SyncFolderOf(aside);
    DebugVar(-1, "ENCRYPTED FILE DAMAGED! KEPT AS %s", aside.c_str());
    return true;
}

bool ConfigFile::DecodesToEntries(std::string_view bytes) const
{
    size_t pos = 0;
    std::string_view line;
    int lineInPeriod = 0;
    bool entries = true;
    while (entries && NextLine(bytes, pos, line)) {
        const std::string decoded = DecodeLine(line, lineInPeriod);
        entries = decoded.empty() || decoded[0] == '#' || decoded[0] == ';' || decoded[0] == '[' ||
                  decoded.find('=') != std::string::npos;
        lineInPeriod = (lineInPeriod + 1) % kScrambleLineModulus;
    }
    if (entries) {
        return true;
    }
    // A plain file may hold lines of its own kind; its faithful copy is no damage.
    std::string plainBytes;
    return ReadWhole(_fileName, plainBytes) == ReadResult::kRead && Scrambled(plainBytes) == bytes;
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

bool ConfigFile::Flush()
{
    if (!_changed) {
        return true;
    }
    if (_fileName.empty()) {
        _changed = false;
        return true;
    }
    const bool scrambled = IsEncryptionOn() && !_plain;
    const std::string target = scrambled ? _fileName + "e" : _fileName;
    if (!_unreadFile.empty()) {
        _writeError =
            _unreadFile == target ? "it could not be read" : _unreadFile + " could not be read";
    } else if (const int error = WriteWhole(target, Compose(scrambled)); error != 0) {
        _writeError = std::strerror(error);
    } else {
        _writeError.clear();
    }
    if (_playerData) {
        NoteWrite(target, _writeError, _unreadFile);
    }
    if (!_writeError.empty()) {
        // The change stays pending: a later Flush (or the destructor) tries again.
        DebugVar(-1, "FILE NOT WRITTEN! - %s (%s)", target.c_str(), _writeError.c_str());
        return false;
    }
    _changed = false;
    return true;
}

ConfigFile::ReadResult ConfigFile::ReadWhole(const std::string& path, std::string& bytes)
{
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::kMissing : ReadResult::kUnreadable;
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
        return ReadResult::kUnreadable;
    }
    return ReadResult::kRead;
}

int ConfigFile::WriteWhole(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".tmp";
    // A temporary file left by a write cut short, or planted, is never written through: a link
    // there would carry the player's data to wherever it points. It goes, and a new file is
    // made in its place, refused should anything take the name meanwhile.
    if (::unlink(temporary.c_str()) != 0 && errno != ENOENT) {
        return errno;
    }
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    auto step = [&error](bool done) {
        if (!done && error == 0) {
            error = errno != 0 ? errno : EIO;
        }
    };
    errno = 0;
    size_t written = 0;
    while (error == 0 && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        step(n > 0);
        written += n > 0 ? static_cast<size_t>(n) : 0;
    }
    // The file keeps the permissions of the one it replaces.
    struct stat old;
    if (error == 0 && ::stat(path.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777); // best effort
    }
    step(error != 0 || ::fsync(fd) == 0);
    step(::close(fd) == 0);
    step(error != 0 || std::rename(temporary.c_str(), path.c_str()) == 0);
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename itself reaches the disk only with the folder.
    File::SyncFolderOf(path);
    return 0;
}
