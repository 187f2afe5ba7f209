#include "platform/StdFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace numbrelle {

namespace {

unsigned char foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

bool FileNameLess(const std::string& a, const std::string& b)
{
    auto folded = [](char c) { return foldAscii(static_cast<unsigned char>(c)); };
    auto ia = a.begin();
    auto ib = b.begin();
    for (; ia != a.end() && ib != b.end(); ++ia, ++ib) {
        if (folded(*ia) != folded(*ib))
            return folded(*ia) < folded(*ib);
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    // Compare unsigned bytes, so that names in a multibyte encoding sort the same everywhere.
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

std::string StdFileSystem::programFolder()
{
    std::string path(PATH_MAX, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return ".";
    path.resize(static_cast<std::size_t>(length));
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> StdFileSystem::listFiles(const std::string& folder)
{
    std::vector<std::string> names;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return names;
    int dirFd = dirfd(dir.get());
    while (dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        // stat follows links: a link to a regular file is a file; a dangling
        // or looping link fails and is left out. stat never opens the file,
        // so a FIFO or a device cannot block the listing.
        struct stat info { };
        if (fstatat(dirFd, name.c_str(), &info, 0) != 0 || !S_ISREG(info.st_mode))
            continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), FileNameLess);
    return names;
}

std::optional<std::string> StdFileSystem::readBytes(const std::string& path)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return std::nullopt;
    struct stat info { };
    if (fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    if (static_cast<std::uint64_t>(info.st_size) > m_maxFileBytes)
        return std::nullopt;

    // Read to the end rather than trusting st_size: the file may change while
    // it is read, and some files report no size at all.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t count = read(file.get(), buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
        if (bytes.size() > m_maxFileBytes)
            return std::nullopt;
    }
    return bytes;
}

} // namespace numbrelle
