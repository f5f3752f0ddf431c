// Image files: plain and scrambled forms, the loaders and the file constructor of Canvas.
#include "SDL.h"
#include "framework/media/Canvas.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestSupport.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void CopyFixture(const std::string& fixture, const std::string& to)
{
    mkdir("images", 0755);
    ASSERT_TRUE(testsupport::WriteFile(
        to, testsupport::ReadFile(testsupport::FixturePath("images/" + fixture))));
}

// Every pixel of a and b equal, compared as colours (formats may differ).
void ExpectSamePixels(SDL_Surface* a, SDL_Surface* b)
{
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(a->w, b->w);
    ASSERT_EQ(a->h, b->h);
    Canvas reader(nullptr);
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            ASSERT_EQ(reader.GetPixel(a, x, y), reader.GetPixel(b, x, y)) << x << "," << y;
        }
    }
}

std::string DebugLog()
{
    Debug::DebugFlush();
    return testsupport::ReadFile("debug.txt");
}

std::string FixtureBytes(const std::string& fixture)
{
    return testsupport::ReadFile(testsupport::FixturePath("images/" + fixture));
}

void PutBigEndian(std::string& bytes, size_t at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * (width - 1 - i)));
    }
}

void PutLittleEndian16(std::string& bytes, size_t at, uint32_t value)
{
    bytes[at] = static_cast<char>(value);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

uint32_t Crc32(const std::string& bytes, size_t from, size_t count)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + count; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// Where the PNG chunk of that type starts (at its length field).
size_t PngChunk(const std::string& png, const char* type)
{
    const size_t at = png.find(type);
    EXPECT_NE(at, std::string::npos) << type;
    return at - 4;
}

// The PNG with the header's size replaced and its check value made right again, so that only
// the size is wrong.
std::string PngOfSize(uint32_t width, uint32_t height)
{
    std::string png = FixtureBytes("alpha.png");
    const size_t ihdr = PngChunk(png, "IHDR");
    PutBigEndian(png, ihdr + 8, width, 4);
    PutBigEndian(png, ihdr + 12, height, 4);
    PutBigEndian(png, ihdr + 8 + 13, Crc32(png, ihdr + 4, 4 + 13), 4);
    return png;
}

std::string LittleEndian(uint32_t value, int width)
{
    std::string bytes(width, '\0');
    for (int i = 0; i < width; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

std::string BigEndian(uint32_t value, int width)
{
    std::string bytes(width, '\0');
    PutBigEndian(bytes, 0, value, width);
    return bytes;
}

// A one-bit grey PNG of that size with data enough for its pixels, so that only the size can
// refuse it.
std::string GreyPngOfSize(uint32_t width, uint32_t height)
{
    std::string png = PngOfSize(width, height);
    const size_t ihdr = PngChunk(png, "IHDR");
    png[ihdr + 16] = 1; // bit depth
    png[ihdr + 17] = 0; // grey
    PutBigEndian(png, ihdr + 8 + 13, Crc32(png, ihdr + 4, 4 + 13), 4);
    const size_t data = (static_cast<size_t>(width) / 8 + 1) * height / 1000 + 1;
    std::string chunk = BigEndian(static_cast<uint32_t>(data), 4) + "IDAT" +
                        std::string(data, '\0') + std::string(4, '\0');
    PutBigEndian(chunk, 8 + data, Crc32(chunk, 4, 4 + data), 4);
    png.insert(PngChunk(png, "IEND"), chunk);
    return png;
}

// A TGA header declaring 8000 x 8000 run-length pixels, and two bytes of data.
std::string RunLengthTga()
{
    std::string tga(20, '\0');
    tga[2] = 10;
    PutLittleEndian16(tga, 12, 8000);
    PutLittleEndian16(tga, 14, 8000);
    tga[16] = 24;
    return tga;
}

std::string PngWithDataLength(uint32_t length)
{
    std::string png = FixtureBytes("alpha.png");
    PutBigEndian(png, PngChunk(png, "IDAT"), length, 4);
    return png;
}

// Where the JPEG segment of that marker starts (at its 0xFF).
size_t JpegSegment(const std::string& jpeg, unsigned char marker)
{
    const size_t at = jpeg.find(std::string{'\xFF', static_cast<char>(marker)}, 2);
    EXPECT_NE(at, std::string::npos) << static_cast<int>(marker);
    return at;
}

std::string JpegOfSize(uint32_t width, uint32_t height)
{
    std::string jpeg = FixtureBytes("photo.jpg");
    const size_t frame = JpegSegment(jpeg, 0xC0);
    PutBigEndian(jpeg, frame + 5, height, 2);
    PutBigEndian(jpeg, frame + 7, width, 2);
    return jpeg;
}

// Where the first GIF image starts (at its ","), past the colour table and the extensions.
size_t GifImage(const std::string& gif)
{
    const auto flags = static_cast<unsigned char>(gif[10]);
    size_t pos = 13 + ((flags & 0x80) != 0 ? 3u << ((flags & 7) + 1) : 0);
    while (pos < gif.size() && gif[pos] == '!') {
        pos += 2;
        while (pos < gif.size() && gif[pos] != 0) {
            pos += 1 + static_cast<unsigned char>(gif[pos]);
        }
        ++pos;
    }
    EXPECT_EQ(gif[pos], ',');
    return pos;
}

std::string GifOfSize(uint32_t width, uint32_t height)
{
    std::string gif = FixtureBytes("anim.gif");
    const size_t image = GifImage(gif);
    PutLittleEndian16(gif, image + 5, width);
    PutLittleEndian16(gif, image + 7, height);
    return gif;
}

} // namespace

TEST(CanvasFilesTest, PngJpegAndGifLoad)
{
    struct Case
    {
        const char* file;
        int w, h;
    };
    for (const Case c : {Case{"sheet4x2.png", 400, 100}, Case{"photo.jpg", 32, 16},
                         Case{"anim.gif", 12, 10}, Case{"alpha.png", 8, 4}}) {
        SCOPED_TRACE(c.file);
        const std::string name = std::string("images/") + c.file;
        CopyFixture(c.file, name);
        SDL_Surface* s = Canvas::LoadImgToSurface(name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->w, c.w);
        EXPECT_EQ(s->h, c.h);
        SDL_FreeSurface(s);
    }
    // Spot checks of the decoded colours.
    Canvas reader(nullptr);
    SDL_Surface* jpeg = Canvas::LoadImgToSurface("images/photo.jpg");
    const Color left = reader.GetPixel(jpeg, 4, 8);
    const Color right = reader.GetPixel(jpeg, 28, 8);
    EXPECT_NEAR(left.GetR(), 200, 6);
    EXPECT_NEAR(left.GetB(), 40, 6);
    EXPECT_NEAR(right.GetB(), 200, 6);
    SDL_FreeSurface(jpeg);
    SDL_Surface* gif = Canvas::LoadImgToSurface("images/anim.gif");
    EXPECT_EQ(reader.GetPixel(gif, 5, 5), Color(0, 200, 0, 255));
    EXPECT_EQ(reader.GetPixel(gif, 0, 0), Color(255, 0, 255, 255));
    SDL_FreeSurface(gif);
    SDL_Surface* png = Canvas::LoadImgToSurface("images/alpha.png");
    EXPECT_NE(png->format->Amask, 0u);
    EXPECT_EQ(reader.GetPixel(png, 3, 2), Color(90, 120, 200, 130));
    EXPECT_EQ(reader.GetPixel(png, 0, 1).GetA(), 0);
    SDL_FreeSurface(png);
}

TEST(CanvasFilesTest, FirstLoadWritesTheScrambledCopyWhichLaterLoadsAlone)
{
    CopyFixture("sheet4x2.png", "images/a.png");
    const std::string plainBytes = testsupport::ReadFile("images/a.png");
    ASSERT_FALSE(testsupport::FileExists("images/a.pnge"));

    SDL_Surface* fromPlain = Canvas::LoadImgToSurface("images/a.png");
    ASSERT_NE(fromPlain, nullptr);
    ASSERT_TRUE(testsupport::FileExists("images/a.pnge"));
    const std::string scrambled = testsupport::ReadFile("images/a.pnge");
    ASSERT_EQ(scrambled.size(), plainBytes.size());
    EXPECT_NE(scrambled, plainBytes);
    // One key byte for the whole file: the XOR of the two forms is constant.
    const char key = static_cast<char>(scrambled[0] ^ plainBytes[0]);
    for (size_t i = 0; i < scrambled.size(); ++i) {
        ASSERT_EQ(static_cast<char>(scrambled[i] ^ plainBytes[i]), key) << i;
    }

    ASSERT_EQ(std::remove("images/a.png"), 0);
    SDL_Surface* fromCopy = Canvas::LoadImgToSurface(" \timages/a.png\t "); // trimmed
    ExpectSamePixels(fromPlain, fromCopy);
    SDL_FreeSurface(fromCopy);

    // Only the copy exists: the plain loader does not consult it; the file constructor does.
    EXPECT_EQ(Canvas::LoadImg("images/a.png"), nullptr);
    Canvas asStored("images/a.png", Canvas::PerPixelFormat());
    ASSERT_TRUE(asStored.IsLoaded());
    ExpectSamePixels(fromPlain, asStored.GetSurface());
    SDL_FreeSurface(fromPlain);
}

TEST(CanvasFilesTest, ScrambledCopyIsSyncedBeforeItsRenameAndItsFolderAfter)
{
    CopyFixture("sheet4x2.png", "images/a.png");
    const std::string folder = std::filesystem::canonical("images").string();
    std::vector<std::string> synced;
    testsupport::OnSync([&](const std::string& path, bool isFolder) {
        const bool partial = path.rfind(folder + "/a.pnge.part", 0) == 0;
        synced.push_back(std::string(isFolder ? (path == folder ? "folder" : path)
                                              : (partial ? "partial" : path)) +
                         (testsupport::FileExists("images/a.pnge") ? " copy" : ""));
    });
    ASSERT_TRUE(Canvas::ScrambleImageFile("images/a.png", "images/a.pnge"));
    testsupport::OnSync(nullptr);
    EXPECT_EQ(synced, (std::vector<std::string>{"partial", "folder copy"}));
}

TEST(CanvasFilesTest, ScrambledCopyNeverWritesThroughWhatIsPlantedAtItsPrivateName)
{
    CopyFixture("sheet4x2.png", "images/a.png");
    const std::string partial =
        "images/a.pnge.part" + std::to_string(getpid()) + "-" + std::to_string(SDL_ThreadID());
    std::filesystem::create_directories("outside");
    const char* cases[] = {"a link to a file outside", "a link to a file not there yet"};
    for (const char* what : cases) {
        SCOPED_TRACE(what);
        std::remove("outside/secret");
        std::remove("images/a.pnge");
        if (what == cases[0]) {
            testsupport::WriteFile("outside/secret", "kept");
        }
        ASSERT_EQ(symlink("../outside/secret", partial.c_str()), 0);
        ASSERT_TRUE(Canvas::ScrambleImageFile("images/a.png", "images/a.pnge"));
        EXPECT_EQ(testsupport::FileExists("outside/secret"), what == cases[0]);
        if (what == cases[0]) {
            EXPECT_EQ(testsupport::ReadFile("outside/secret"), "kept");
        }
        EXPECT_EQ(testsupport::ReadFile("images/a.pnge").size(),
                  testsupport::ReadFile("images/a.png").size());
        EXPECT_FALSE(std::filesystem::is_symlink("images/a.pnge"));
        EXPECT_FALSE(testsupport::FileExists(partial));
    }
}

TEST(CanvasFilesTest, ScrambledFileWithoutEndingIsRecognisedByContent)
{
    CopyFixture("sheet4x2.png", "images/noending");
    SDL_Surface* plain = Canvas::LoadImgToSurface("images/noending");
    ASSERT_TRUE(testsupport::FileExists("images/noendinge"));
    ASSERT_EQ(std::remove("images/noending"), 0);
    SDL_Surface* copy = Canvas::LoadImgToSurface("images/noending");
    ExpectSamePixels(plain, copy);
    SDL_FreeSurface(plain);
    SDL_FreeSurface(copy);
}

TEST(CanvasFilesTest, MissingEmptyAndUndecodableFilesGiveNull)
{
    EXPECT_EQ(Canvas::LoadImgToSurface("images/none.png"), nullptr);
    EXPECT_NE(DebugLog().find("Can't open real image file images/none.png"), std::string::npos);

    mkdir("images", 0755);
    ASSERT_TRUE(testsupport::WriteFile("images/empty.pnge", ""));
    EXPECT_EQ(Canvas::LoadImgToSurface("images/empty.png"), nullptr);

    ASSERT_TRUE(testsupport::WriteFile("images/junk.png", "this is no picture"));
    EXPECT_EQ(Canvas::LoadImgCompatibleToSurface("images/junk.png", nullptr), nullptr);
    EXPECT_NE(DebugLog().find("Surface is null!! images/junk.png"), std::string::npos);

    Canvas missing("images/none.png", nullptr);
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.GetSurface(), nullptr);
    Canvas unnamed(std::string(), nullptr);
    EXPECT_FALSE(unnamed.IsLoaded());
}

TEST(CanvasFilesTest, ConvertingLoadsUseTheGivenOrTheDefaultFormat)
{
    CopyFixture("sheet4x2.png", "images/s.png");
    SDL_Surface* as16 = SDL_CreateRGBSurface(0, 1, 1, 16, 0xF800, 0x07E0, 0x001F, 0);
    SDL_Surface* c = Canvas::LoadImgCompatibleToSurface("images/s.png", as16->format);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->format->BitsPerPixel, 16);
    SDL_FreeSurface(c);

    // No default set: the null format loads as stored.
    Canvas stored("images/s.png", nullptr);
    EXPECT_EQ(stored.GetSurface()->format->BitsPerPixel, 24);
    Canvas::SetDefaultPixelFormat(as16->format);
    Canvas converted("images/s.png", nullptr);
    EXPECT_EQ(converted.GetSurface()->format->BitsPerPixel, 16);
    Canvas* wrapped = Canvas::LoadImgCompatible("images/s.png", nullptr);
    ASSERT_NE(wrapped, nullptr);
    EXPECT_TRUE(wrapped->IsLoaded());
    EXPECT_EQ(wrapped->GetSurface()->format->BitsPerPixel, 16);
    delete wrapped;
    Canvas::SetDefaultPixelFormat(nullptr);
    SDL_FreeSurface(as16);
}

TEST(CanvasFilesTest, CopyThatCannotBeWrittenStillLoadsThePlainFile)
{
    // A folder standing where the copy should go: no copy can be written, even by root.
    CopyFixture("alpha.png", "images/b.png");
    ASSERT_EQ(mkdir("images/b.pnge", 0755), 0);
    ASSERT_TRUE(testsupport::WriteFile("images/b.pnge/keep", "x"));
    SDL_Surface* s = Canvas::LoadImgToSurface("images/b.png");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 8);
    SDL_FreeSurface(s);
    EXPECT_NE(DebugLog().find("Can't open encrypted image file images/b.png"), std::string::npos);
}

TEST(CanvasFilesTest, ReadOnlyFolderStillLoadsImages)
{
    CopyFixture("sheet4x2.png", "images/c.png");
    ASSERT_EQ(chmod("images", 0555), 0);
    // Root writes anywhere: the load then runs in a child that gives up root.
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chmod(".", 0755), 0);
        ASSERT_EQ(chmod("images/c.png", 0644), 0);
    }
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (root && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(3);
        }
        SDL_Surface* s = Canvas::LoadImgToSurface("images/c.png");
        const bool ok =
            s != nullptr && s->w == 400 && s->h == 100 && !testsupport::FileExists("images/c.pnge");
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    chmod("images", 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A tiny file whose header declares a huge chunk or picture kept SDL_image busy for minutes (a
// 75-byte PNG declaring 2 GB of data: 3.6 s, ever longer as the length grows; a 3 KB GIF
// declaring 3414 x 2954 pixels: over a minute).
TEST(CanvasFilesTest, PicturesDeclaringMoreThanTheirFileHoldsAreRefusedBeforeDecoding)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        const char* why;
        const char* ending = ".png";
    };
    std::vector<Case> cases = {
        {"png-data-16mb", PngWithDataLength(0x01000000), "a chunk longer than the file"},
        {"png-data-2gb", PngWithDataLength(0x7FFFFFFF), "a chunk longer than the file"},
        {"png-wide", PngOfSize(9000, 4), "an image larger than 4096 x 4096"},
        {"png-tall", PngOfSize(8, 0xFFFFFFFF), "an image larger than 4096 x 4096"},
        {"png-more-than-its-data", PngOfSize(4000, 4000), "an image larger than its data can hold"},
        {"png-truncated", FixtureBytes("alpha.png"), "a chunk longer than the file"},
        {"jpeg-wide", JpegOfSize(9000, 16), "an image larger than 4096 x 4096"},
        {"jpeg-tall", JpegOfSize(32, 65535), "an image larger than 4096 x 4096"},
        {"jpeg-truncated", FixtureBytes("photo.jpg"), "a segment longer than the file"},
        {"gif-screen", FixtureBytes("anim.gif"), "a screen larger than 1024 x 1024"},
        {"gif-image", GifOfSize(9000, 10), "an image larger than 1024 x 1024"},
        {"gif-truncated", FixtureBytes("anim.gif"), "a block longer than the file"},
        {"jpeg-more-than-its-data", JpegOfSize(4000, 4000),
         "an image larger than its data can hold"},
        {"gif-more-than-its-data", GifOfSize(1000, 1000), "an image larger than its data can hold"},
        // The reader skips bytes that start no block; so does the check.
        {"gif-after-junk", GifOfSize(1000, 1000), "an image larger than its data can hold"},
        // SDL_image crashed on the first and spent minutes on the second.
        {"gif-empty", GifOfSize(0, 10), "an image without pixels"},
        {"gif-wide-codes", FixtureBytes("anim.gif"), "codes wider than 12 bits"},
    };
    std::string& png = cases[5].bytes;
    png.resize(PngChunk(png, "IDAT") + 20);
    std::string& jpeg = cases[8].bytes;
    jpeg.resize(JpegSegment(jpeg, 0xC4) + 10);
    PutLittleEndian16(cases[9].bytes, 6, 9000);
    std::string& cut = cases[11].bytes;
    cut.resize(GifImage(cut) + 14);
    std::string& junk = cases[14].bytes;
    junk.insert(GifImage(junk), "junk");
    std::string& codes = cases[16].bytes;
    codes[GifImage(codes) + 10] = static_cast<char>(241);

    // TGA has no signature: not even its own ending lets it through.
    cases.push_back({"tga-more-than-its-data", RunLengthTga(), "unknown content", ".tga"});
    // A GIF within the bound of other pictures but beyond what the game's GIFs need.
    cases.push_back(
        {"gif-wider-than-a-gif-needs", GifOfSize(2000, 10), "an image larger than 1024 x 1024"});
    // SDL_image reads a GIF as a GIF whatever its name.
    cases.push_back({"gif-named-tga", GifOfSize(0, 10), "an image without pixels", ".tga"});

    mkdir("images", 0755);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Plain, and scrambled as the game ships its pictures.
        const std::string plain = std::string("images/") + c.what + c.ending;
        ASSERT_TRUE(testsupport::WriteFile(plain, c.bytes));
        std::string scrambled = c.bytes;
        for (char& b : scrambled) {
            b = static_cast<char>(b ^ 0xA5);
        }
        const std::string twin = std::string("images/") + c.what + "-s" + c.ending;
        ASSERT_TRUE(testsupport::WriteFile(twin + "e", scrambled));
        for (const std::string& name : {plain, twin}) {
            EXPECT_EQ(Canvas::LoadImgToSurface(name), nullptr) << name;
            EXPECT_NE(DebugLog().find(std::string("Picture refused before decoding (") + c.why +
                                      "): " + name),
                      std::string::npos)
                << name;
        }
    }
}

// One hostile file of every kind SDL_image reads, each saved under a PNG name: the general
// loaders chose the reader by content, and the XPM crashed the game, the GIF hung it for good
// and the TIFF leaked at every load.
TEST(CanvasFilesTest, PicturesOfKindsTheGameDoesNotShipOrOverTheBoundAreRefusedBeforeDecoding)
{
    using std::string;
    const string xpm = "/* XPM */\nstatic char *x[] = {\n\"20000 20000 1 1\",\n\". c #000000\",\n"
                       "\"....\"};\n";
    // A graphic control extension whose first block is empty: the reader goes on reading
    // blocks, runs past the end of the file and never stops.
    string gif = FixtureBytes("anim.gif");
    gif.insert(GifImage(gif), string("!\xF9\0", 3));
    // Header and one directory entry of each size, 30000 x 30000.
    const string tiff = string("II*\0", 4) + LittleEndian(8, 4) + LittleEndian(2, 2) +
                        LittleEndian(256, 2) + LittleEndian(4, 2) + LittleEndian(1, 4) +
                        LittleEndian(30000, 4) + LittleEndian(257, 2) + LittleEndian(4, 2) +
                        LittleEndian(1, 4) + LittleEndian(30000, 4) + LittleEndian(0, 4);
    const string bmp = "BM" + LittleEndian(70, 4) + LittleEndian(0, 4) + LittleEndian(54, 4) +
                       LittleEndian(40, 4) + LittleEndian(30000, 4) + LittleEndian(30000, 4) +
                       LittleEndian(1, 2) + LittleEndian(24, 2) + string(24, '\0') +
                       string(16, '\x7F');
    // An icon directory of one entry whose picture lies far past the end of the file.
    const string iconEntry = string("\0\0\x10\0", 4) + LittleEndian(1, 2) + LittleEndian(32, 2) +
                             LittleEndian(0x7FFFFFFF, 4) + LittleEndian(0x7FFFFFF0, 4);
    const string ico = string("\0\0\1\0", 4) + LittleEndian(1, 2) + iconEntry;
    const string cur = string("\0\0\2\0", 4) + LittleEndian(1, 2) + iconEntry;
    const string lbm = "FORM" + BigEndian(0x7FFFFFF0, 4) + "ILBMBMHD" + BigEndian(20, 4) +
                       BigEndian(30000, 2) + BigEndian(30000, 2) + string(4, '\0') + "\x18" +
                       string(11, '\0') + "BODY" + BigEndian(0x7FFFFFF0, 4);
    string pcx(128, '\0');
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx.replace(8, 4, LittleEndian(65000, 2) + LittleEndian(65000, 2));
    pcx[65] = 3;
    pcx.replace(66, 2, LittleEndian(65001, 2));
    const string pnm = "P6\n30000 30000\n255\n" + string(16, '\x7F');
    const string webp = "RIFF" + LittleEndian(0x7FFFFFF0, 4) + "WEBPVP8 " +
                        LittleEndian(0x7FFFFFF0, 4) + string(10, '\0');
    const string xcf = string("gimp xcf file\0", 14) + BigEndian(30000, 4) + BigEndian(30000, 4) +
                       BigEndian(0, 4) + BigEndian(0x7FFFFFF0, 4);
    const string xv = "P7 332\n#END_OF_COMMENTS\n30000 30000 255\n" + string(16, '\x7F');

    struct Case
    {
        const char* what;
        string bytes;
        const char* why;
    };
    const std::vector<Case> cases = {
        {"xpm", xpm, "an XPM picture"},
        {"gif", gif, "a block longer than the file"},
        {"tiff", tiff, "a TIFF picture"},
        {"png", GreyPngOfSize(8192, 8192), "an image larger than 4096 x 4096"},
        {"jpeg", JpegOfSize(8192, 8192), "an image larger than 4096 x 4096"},
        {"bmp", bmp, "a BMP picture"},
        {"ico", ico, "an ICO picture"},
        {"cur", cur, "a CUR picture"},
        {"lbm", lbm, "an LBM picture"},
        {"pcx", pcx, "a PCX picture"},
        {"pnm", pnm, "a PNM picture"},
        {"tga", RunLengthTga(), "unknown content"},
        {"webp", webp, "a WEBP picture"},
        {"xcf", xcf, "an XCF picture"},
        {"xv", xv, "an XV picture"},
    };
    mkdir("images", 0755);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const string plain = string("images/hostile-") + c.what + ".png";
        ASSERT_TRUE(testsupport::WriteFile(plain, c.bytes));
        string scrambled = c.bytes;
        for (char& b : scrambled) {
            b = static_cast<char>(b ^ 0xA5);
        }
        const string twin = string("images/hostile-") + c.what + "-s.png";
        ASSERT_TRUE(testsupport::WriteFile(twin + "e", scrambled));
        for (const string& name : {plain, twin}) {
            // SDL_image's readers leave an error behind when they fail: none was entered.
            SDL_ClearError();
            EXPECT_EQ(Canvas::LoadImgToSurface(name), nullptr) << name;
            EXPECT_STREQ(SDL_GetError(), "") << name;
            EXPECT_NE(
                DebugLog().find(string("Picture refused before decoding (") + c.why + "): " + name),
                string::npos)
                << name;
        }
        // The plain loader takes the same road.
        SDL_ClearError();
        EXPECT_EQ(Canvas::LoadImg(plain), nullptr);
        EXPECT_STREQ(SDL_GetError(), "");
    }
}

// An empty scrambled copy beside an intact picture (a copy cut short, or emptied by hand) gave a
// black menu at every start.
TEST(CanvasFilesTest, EmptyScrambledCopyGivesWayToThePlainPictureAndIsMadeAgain)
{
    CopyFixture("sheet4x2.png", "images/e.png");
    const std::string plainBytes = testsupport::ReadFile("images/e.png");
    ASSERT_TRUE(testsupport::WriteFile("images/e.pnge", ""));

    SDL_Surface* s = Canvas::LoadImgToSurface("images/e.png");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 400);
    EXPECT_EQ(s->h, 100);
    SDL_FreeSurface(s);
    EXPECT_NE(DebugLog().find("ENCRYPTED FILE EMPTY! READING images/e.png"), std::string::npos);
    EXPECT_EQ(testsupport::ReadFile("images/e.pnge").size(), plainBytes.size());

    // The copy made again serves alone.
    ASSERT_EQ(std::remove("images/e.png"), 0);
    Canvas fromCopy("images/e.png", nullptr);
    ASSERT_TRUE(fromCopy.IsLoaded());
    EXPECT_EQ(fromCopy.GetSurface()->w, 400);
}

TEST(CanvasFilesTest, TheGamesPicturesPassTheChecks)
{
    int pictures = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(GAME_DATA_DIR) + "/images")) {
        const std::string path = entry.path().string();
        const std::string ending = entry.path().extension().string();
        if (!entry.is_regular_file() ||
            (ending != ".png" && ending != ".jpg" && ending != ".gif")) {
            continue;
        }
        // The plain reader: it leaves no scrambled copy in the data folder.
        Canvas* picture = Canvas::LoadImg(path);
        EXPECT_NE(picture, nullptr) << path;
        delete picture;
        ++pictures;
    }
    EXPECT_GT(pictures, 0);
    EXPECT_EQ(DebugLog().find("Picture refused"), std::string::npos);
}
