#pragma once
// Paths given to a reader that are no regular file, each with what the reader
// says of it: a folder, a device and a pipe (watched: a reader must never open
// it). Beside them a 100 GB file that is sparse, so it takes no disk.

#include "tests/support/FifoWatch.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <vector>

class NotAFilePaths {
public:
    struct Case {
        QString path;
        QString reason;
    };

    explicit NotAFilePaths(const QString& folder)
        : m_folder(QDir(folder).filePath(QStringLiteral("a folder"))),
          m_fifo(QDir(folder).filePath(QStringLiteral("pipe"))),
          m_huge(QDir(folder).filePath(QStringLiteral("huge")))
    {
        QDir().mkpath(m_folder);
        QFile huge(m_huge);
        m_made = m_fifo.made() && huge.open(QIODevice::WriteOnly) && huge.resize(100LL << 30);
    }

    bool made() const { return m_made; }
    std::vector<Case> cases() const
    {
        return {{m_folder, m_folder + QStringLiteral(" is a folder, not a file.")},
                {QStringLiteral("/dev/zero"), QStringLiteral("/dev/zero is a device, not a file.")},
                {m_fifo.path(), m_fifo.path() + QStringLiteral(" is a pipe, not a file.")}};
    }
    const QString& hugeFile() const { return m_huge; }
    int pipeOpened() const { return m_fifo.timesOpened(); }

private:
    QString m_folder;
    FifoWatch m_fifo;
    QString m_huge;
    bool m_made = false;
};
