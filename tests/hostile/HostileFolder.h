// A temporary questions folder that tests fill with hostile entries: files,
// pipes, sockets, folders and links. m_files is the program's file system
// with that folder as its questions folder.
#pragma once

#include "platform/Recording.h"
#include "script/Limits.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace numbrelle::hostile {

class HostileFolder : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_folder + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const { m_files.addQuestionBytes(name, bytes); }
    void makeFifo(const std::string& name) const { ASSERT_EQ(mkfifo(path(name).c_str(), 0600), 0); }
    void makeSocket(const std::string& name) const
    {
        const std::string where = path(name);
        ASSERT_LT(where.size(), sizeof(sockaddr_un::sun_path));
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        where.copy(address.sun_path, where.size());
        const int bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        close(fd);
        ASSERT_EQ(bound, 0);
    }
    void link(const std::string& target, const std::string& name) const
    {
        ASSERT_EQ(symlink(target.c_str(), path(name).c_str()), 0);
    }

    FolderFileSystem m_files { maxQuestionFileBytes };
    const std::string m_folder = m_files.questionsFolder();
};

} // namespace numbrelle::hostile
