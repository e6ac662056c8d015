#pragma once

// A disk that fills up after `bytes` bytes of any one file, for as long as
// the object lives: writes past the limit fail with EFBIG as they would with
// ENOSPC on a full disk, without needing a small file system to be mounted.

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        // Past the limit the kernel also raises SIGXFSZ, which would end the
        // process; ignored, the write fails with an error instead.
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_ok)
            setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return m_ok; }

private:
    rlimit m_old{};
    bool m_ok = false;
    void (*m_oldHandler)(int) = nullptr;
};
