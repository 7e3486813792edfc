// Files for the tests: temporary directories, whole files read and written,
// the generated data, little-endian fields and WAV files made to measure.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A fresh directory under $TMPDIR, removed with its contents on destruction
// (also when a test took away its write permission).
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&)                      = delete;
    TempDir&           operator=(const TempDir&) = delete;
    const std::string& path() const { return dir; }
    std::string        file(const std::string& name) const { return dir + "/" + name; }

  private:
    std::string dir;
};

// Works in `dir` while it lives, then goes back where it was.
class InDirectory {
  public:
    explicit InDirectory(const std::string& dir);
    ~InDirectory();
    InDirectory(const InDirectory&)            = delete;
    InDirectory& operator=(const InDirectory&) = delete;

  private:
    std::string previous;
};

std::string readFile(const std::string& path); // empty when it cannot be read
Bytes       readBytes(const std::string& path);
void        writeFile(const std::string& path, const std::string& content);
void        writeBytes(const std::string& path, const Bytes& bytes);

// A generated data file of the build.
std::string dataPath(const std::string& name);

uint32_t le16(const Bytes& b, size_t at);
uint32_t le32(const Bytes& b, size_t at);

// A RIFF WAVE of PCM `samples` (already in the sample format) with the
// header claiming `rate`, `channels` and `bits`, and the samples' own size
// as the data size unless `claimedDataBytes` is given.
Bytes wavFile(uint32_t rate, uint16_t channels, uint16_t bits, const Bytes& samples,
              int64_t claimedDataBytes = -1);

// 16-bit samples as a WAV's bytes.
Bytes pcm16(const std::vector<int16_t>& samples);
