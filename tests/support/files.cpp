// Files for the tests.
#include "files.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string name = std::string(base && *base ? base : "/tmp") + "/swarm-test-XXXXXX";
    if (!mkdtemp(&name[0]))
        throw std::runtime_error("mkdtemp failed");
    dir = name;
}

TempDir::~TempDir()
{
    std::error_code error;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(dir, error); // left behind when it cannot go
}

InDirectory::InDirectory(const std::string& dir) : previous(fs::current_path().string())
{
    fs::current_path(dir);
}

InDirectory::~InDirectory()
{
    std::error_code error;
    fs::current_path(previous, error);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes readBytes(const std::string& path)
{
    const std::string text = readFile(path);
    return Bytes(text.begin(), text.end());
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
}

void writeBytes(const std::string& path, const Bytes& bytes)
{
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string dataPath(const std::string& name) { return std::string(SWARM_DATA_DIR) + "/" + name; }

uint32_t le16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t le32(const Bytes& b, size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }

namespace {

void put32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void put16(Bytes& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

} // namespace

Bytes wavFile(uint32_t rate, uint16_t channels, uint16_t bits, const Bytes& samples,
              int64_t claimedDataBytes)
{
    const uint32_t frameBytes = channels * (bits / 8u);
    const uint32_t claimed    = claimedDataBytes < 0 ? static_cast<uint32_t>(samples.size())
                                                     : static_cast<uint32_t>(claimedDataBytes);
    Bytes          out        = {'R', 'I', 'F', 'F'};
    put32(out, 36 + claimed);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * frameBytes);
    put16(out, static_cast<uint16_t>(frameBytes));
    put16(out, bits);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, claimed);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

Bytes pcm16(const std::vector<int16_t>& samples)
{
    Bytes out;
    for (int16_t s : samples)
        put16(out, static_cast<uint16_t>(s));
    return out;
}
