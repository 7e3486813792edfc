// The bounded reader every data file goes through: regular files only, never
// blocking, never more than the limit, whatever the file claims or is.
#include "process.h"
#include "storage/bounded_file.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string text(const BoundedFile& file)
{
    return std::string(file.bytes.begin(), file.bytes.end());
}

TEST(BoundedFile, ReadsUpToTheLimitAndTellsWhetherTheFileGoesOn)
{
    TempDir     dir;
    BoundedFile file;
    writeFile(dir.file("f"), "0123456789");
    for (size_t limit : {size_t(11), size_t(10), size_t(9), size_t(1), size_t(0)}) {
        SCOPED_TRACE(limit);
        ASSERT_TRUE(readBoundedFile(dir.file("f").c_str(), limit, file));
        EXPECT_EQ(text(file), std::string("0123456789").substr(0, limit));
        EXPECT_EQ(file.whole, limit >= 10);
    }

    writeFile(dir.file("empty"), "");
    ASSERT_TRUE(readBoundedFile(dir.file("empty").c_str(), 100, file));
    EXPECT_TRUE(file.bytes.empty());
    EXPECT_TRUE(file.whole);

    // The installed game reaches its data through links.
    ASSERT_EQ(symlink(dir.file("f").c_str(), dir.file("link").c_str()), 0);
    ASSERT_TRUE(readBoundedFile(dir.file("link").c_str(), 100, file));
    EXPECT_EQ(text(file), "0123456789");
}

TEST(BoundedFile, SizeClaimsDoNotDecideWhatIsRead)
{
    // A 1 GB file that is all hole costs only the limit.
    TempDir dir;
    writeFile(dir.file("sparse"), "head");
    ASSERT_EQ(truncate(dir.file("sparse").c_str(), off_t(1) << 30), 0);
    BoundedFile file;
    ASSERT_TRUE(readBoundedFile(dir.file("sparse").c_str(), 1 << 20, file));
    EXPECT_EQ(file.bytes.size(), size_t(1) << 20);
    EXPECT_EQ(text(file).substr(0, 5), std::string("head\0", 5));
    EXPECT_FALSE(file.whole);

    // A regular file whose size reads 0 yet holds bytes (the kernel's files).
    ASSERT_TRUE(readBoundedFile("/proc/self/maps", 200, file));
    EXPECT_EQ(file.bytes.size(), 200u);
    EXPECT_FALSE(file.whole);
    ASSERT_TRUE(readBoundedFile("/proc/self/maps", 1 << 24, file));
    EXPECT_TRUE(file.whole);
    EXPECT_GT(file.bytes.size(), 200u);
}

TEST(BoundedFile, AnythingButARegularFileIsMissing)
{
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644), 0);
    ASSERT_EQ(mkdir(dir.file("dir").c_str(), 0755), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.file("zero").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("fifo").c_str(), dir.file("to_fifo").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("nothing").c_str(), dir.file("dangling").c_str()), 0);
    writeFile(dir.file("unreadable"), "x");
    ASSERT_EQ(chmod(dir.file("unreadable").c_str(), 0), 0);

    BoundedFile file;
    for (const char* name : {"fifo", "dir", "zero", "to_fifo", "dangling", "nothing"}) {
        file.bytes = {1, 2, 3};
        file.whole = true;
        EXPECT_FALSE(readBoundedFile(dir.file(name).c_str(), 100, file)) << name;
        EXPECT_TRUE(file.bytes.empty()) << name;
        EXPECT_FALSE(file.whole) << name;
    }
    for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null", "/dev/tty"})
        EXPECT_FALSE(readBoundedFile(device, 100, file)) << device;
    EXPECT_FALSE(readBoundedFile(nullptr, 100, file));
    // Root reads it regardless; anyone else is refused.
    EXPECT_EQ(readBoundedFile(dir.file("unreadable").c_str(), 100, file), geteuid() == 0);
}

} // namespace
