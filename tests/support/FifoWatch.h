#pragma once
// A named pipe for tests of readers that must never open one. A watcher thread
// notices any reader that opens the pipe, counts it and lets it go (it opens
// the pipe for writing and closes it at once, so the reader reads an empty
// file), so a reader that opens it fails the test instead of blocking it.

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FifoWatch {
public:
    explicit FifoWatch(const QString& path) : m_path(path)
    {
        m_made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
        m_watcher = std::thread([this] { watch(); });
    }
    // Removes the pipe: unwatched, it could block whatever opens it later.
    ~FifoWatch()
    {
        m_stop = true;
        m_watcher.join();
        if (m_made) ::unlink(QFile::encodeName(m_path).constData());
    }
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;

    bool made() const { return m_made; }
    const QString& path() const { return m_path; }
    // How many times a reader had the pipe open.
    int timesOpened() const { return m_opened; }

private:
    void watch()
    {
        const QByteArray name = QFile::encodeName(m_path);
        while (!m_stop) {
            // Without waiting: this succeeds only while some reader has the pipe open.
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ++m_opened;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    QString m_path;
    bool m_made = false;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_opened{0};
    std::thread m_watcher;
};
