#pragma once

#include "framework/core/Color.h"
#include "framework/core/Debug.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"
#include "framework/core/MultiType.h"
#include "framework/core/Point.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class Font;
class Image;
class ImageResource;
class Sound;

// The one reader and writer of configuration files: sections of key=value lines, read whole in
// the constructor into an ordered map of text values, answered by typed queries with defaults
// (optionally falling back to a parent file), changed in memory and written back by Flush.
//
// On disk a file may live in a scrambled form beside the plain one, named with "e" appended.
// While the global switch is on, objects not made as plain read and write that form instead.
//
// A file that is there but cannot be read (its rights, another owner, a folder in its place) is
// never written over: the object runs on its defaults, and the file is named to the player once
// (TakeFileNotices). A scrambled copy that is empty gives way to the plain file; one that does
// not decode to entries is kept beside it as "<name>.bad" and the plain file read in its place.
// An empty file name makes an object held in memory only: nothing is read or written.
class FRAMEWORK_API ConfigFile : public Debug
{
public:
    // The thrown object of a lookup that misses with useDefault false.
    static constexpr const char* kDoesNotExist = "does not exist";

    // The scrambling shift of the byte at position i of line n is
    // (i mod kScramblePositionModulus) + (n mod kScrambleLineModulus) + kScrambleBase.
    // Every scrambled file ever written depends on these three: never change them.
    static constexpr int kScramblePositionModulus = 7;
    static constexpr int kScrambleLineModulus = 11;
    static constexpr int kScrambleBase = 19;

    // Reads the file. parent (may be null, not owned, must outlive this object) answers the
    // lookups this file misses. plain: never scrambled, whatever the switch says. required: in
    // scrambled mode, a missing scrambled copy is not made from the plain file.
    ConfigFile(const std::string& file, ConfigFile* parent, bool yieldWhileLoading, bool plain,
               bool required);
    ConfigFile(const std::string& file, bool yieldWhileLoading, bool plain, bool required);
    // Releases the sounds this file registered, then flushes unwritten changes.
    ~ConfigFile() override;

    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    // Registers the sounds named in section "sounds"; called once at the end of construction.
    virtual void HandleSounds(bool yield);
    // Factories: each returns a new object that the caller owns, or null.
    virtual ImageResource* NewImageResource(const std::string& section, const std::string& key);
    virtual Image* NewImage(std::string section, std::string key, bool perPixel, int cols,
                            int rows);
    virtual Font* NewFont(std::string section, std::string fileKey, std::string sizeKey,
                          std::string styleKey);

    // The scrambling switch, on when the library is loaded; read by every later construction
    // and Flush.
    static void TurnEncryption(bool on);
    static bool IsEncryptionOn();

    // The entry's value. A miss is logged at level 1 and counted; with useDefault the parent is
    // asked, then the default is returned; without it kDoesNotExist is thrown.
    MultiType Value(const std::string& section, const std::string& key, std::string defaultValue,
                    bool useDefault);
    // The default is written with "%f" (64 gives 64.000000).
    MultiType Value(const std::string& section, const std::string& key, double defaultValue,
                    bool useDefault);
    // Exactly one comma between two integers; otherwise the parent's answer or the default.
    Point ValueAsPoint(const std::string& section, const std::string& key, Point defaultValue);
    // Read as a point; a miss or bad text gives 0 x 0, never defaultValue.
    Dimension ValueAsDimension(const std::string& section, const std::string& key,
                               Dimension defaultValue);
    // Red, green, blue; alpha 255 when all three lie in 0..255, else 0.
    Color ValueAsColor(const std::string& section, const std::string& key, Color defaultValue);
    // Failed lookups since construction.
    int NumErrors() const { return _numErrors; }
    std::vector<std::string> GetKeysInSection(std::string section);
    // The section of every entry whose combined key begins with prefix, once per entry.
    std::vector<std::string> GetSectionsThatStartWith(std::string prefix);

    // Changes stay in memory until Flush. A write that would break the file's lines (a line
    // break anywhere, "]" in the section, "=" in the key, a key starting with "#", ";" or "[")
    // is refused and logged.
    void Write(std::string section, std::string key, std::string value);
    void Write(std::string section, std::string key, int value);
    void Write(std::string section, std::string key, float value);
    void Write(std::string section, std::string key, Point value);
    void Write(std::string section, std::string key, Dimension value);
    // Red, green and blue; alpha is not written.
    void Write(std::string section, std::string key, Color value);
    void DeleteKey(std::string section, std::string key);
    void DeleteSection(std::string section);
    // Writes the whole file when it changed, through a temporary file renamed over the old one
    // (both on the disk before this returns), so a failed write never leaves a half-written
    // file. On failure the change stays pending and GetWriteError says why; an object whose
    // file could not be read always fails. true when nothing is left unwritten.
    bool Flush();
    // Why the last Flush failed, as the system words it ("No space left on device"); empty once
    // one succeeded.
    const std::string& GetWriteError() const { return _writeError; }
    // The file holds the player's own data (the profiles, progress, records): its failed writes
    // are told to the player through TakeFileNotices.
    void MarkAsPlayerData() { _playerData = true; }

    // Texts for the player about their files, each handed out once. With unreadToo, first
    // "<file> could not be read; nothing was changed." for every file found there but unreadable
    // since the last such call (a file is named once per run). Then "Your progress could not be
    // saved: <file>: <reason>." for every file of player data whose Flush failed since the last
    // call (a file is named again only after one of its writes succeeded), leaving out a failure
    // that comes of a file named unreadable in the same list (its next one is told).
    static std::vector<std::string> TakeFileNotices(bool unreadToo);
    // Names a file to the player as one that could not be read, once per run: also for a file
    // that was read but holds nothing its user can work with.
    static void NoteUnread(const std::string& path);

    // A copy of the entries held in memory (no file name), with the same parent; the caller owns
    // it. Used to give a dialog described here a text of the program's own.
    ConfigFile* NewMemoryCopy() const;

    // Writes the scrambled form of a plain file; nothing when the plain file can't be read.
    void Encrypt(std::string plainFile, std::string scrambledFile);
    // The scrambled form of one line (lineNumber counted from 0 over every line of the file).
    // Reads back exactly, blank runs included.
    static std::string EncryptLine(std::string line, int lineNumber);

    // A value read as a number and truncated toward zero, as int settings are read. A number
    // beyond int gives the nearest int; text that is not a number, or NaN, gives 0.
    static int AsInt(const MultiType& value);

    const std::string& GetFileName() const { return _fileName; }
    bool IsChanged() const { return _changed; }

protected:
    // Derived classes set their own class name, which appears in the lines of failed lookups.
    void SetClassLabel(const std::string& label) { _classLabel = label; }

    // Every entry under section + "/" + key, in byte-wise order. Derived classes may walk and
    // erase entries; whoever changes the map sets _changed so that Flush writes it.
    std::map<std::string, MultiType> _values;
    bool _changed = false;

private:
    enum class ReadResult { kRead, kMissing, kUnreadable };

    void Load(bool required);
    // Each true when entries were read (HandleSounds follows).
    bool LoadPlain();
    bool LoadScrambled(bool required);
    // The file is there but could not be read: logged, noted for the player, and never written.
    void KeepUnread(const std::string& path);
    // Moves a scrambled copy that does not decode to entries to path + ".bad"; false when it
    // stays (it is then never written over).
    bool SetDamagedAside(const std::string& path);
    // Whether scrambled bytes decode to lines that Flush or Encrypt could have written: blank,
    // comments, headers and key=value lines, or exactly the scrambled form of the plain file.
    bool DecodesToEntries(std::string_view bytes) const;
    void Parse(std::string_view bytes, bool scrambled);
    void ParseLine(std::string_view line, std::string& section, std::string& combined);
    // The entry, or null after logging and counting the miss.
    const MultiType* Find(const std::string& section, const std::string& key);
    void ReportMiss(const std::string& section, const std::string& key, const char* what);
    MultiType GetValue(const std::string& section, const std::string& key);
    // Why the entry can't be written as a line that reads back the same; null when it can.
    // strict also refuses carriage returns, which other editors take for line ends.
    static const char* BreaksFile(std::string_view section, std::string_view key,
                                  std::string_view value, bool strict);
    void Store(const std::string& section, const std::string& key, const std::string& value);
    std::string Compose(bool scrambled);
    void ReleaseSounds();

    // atoi without its undefined overflow: a number beyond int gives the nearest int.
    static int ParseInt(std::string_view text);
    static std::string DecodeLine(std::string_view line, int lineNumber);
    // The next line of bytes from pos, without its line end ("\n" or "\r\n"); false at the end.
    static bool NextLine(std::string_view bytes, size_t& pos, std::string_view& line);
    // A path that cannot be opened because nothing is there is missing; any other failure to
    // open or read it leaves it unreadable.
    static ReadResult ReadWhole(const std::string& path, std::string& bytes);
    // The scrambled form of a plain file's bytes, as Encrypt writes it.
    static std::string Scrambled(std::string_view plainBytes);
    // Writes to path + ".tmp", made anew (whatever stood there is removed first, and a link is
    // never followed), renames it over path and syncs the folder: 0, or the errno of the step
    // that failed.
    static int WriteWhole(const std::string& path, const std::string& bytes);
    // Registry of the files told to the player (ConfigFileNotices.cpp).
    // failure empty: the write succeeded; cause: the unreadable file that refused it, if any.
    static void NoteWrite(const std::string& path, const std::string& failure,
                          const std::string& cause);

    std::string _fileName;
    bool _yieldWhileLoading = false;
    std::map<std::string, Sound*> _sounds; // registered by this file, by name
    std::vector<Sound*> _ownedSounds;      // owned; deleted in ~ConfigFile, first made first
    bool _plain = false;
    ConfigFile* _parent = nullptr; // not owned
    std::string _classLabel = "Config File";
    int32_t _numErrors = 0;
    std::string _unreadFile; // there but unreadable (or damaged and kept): never written
    std::string _writeError;
    bool _playerData = false;
};
