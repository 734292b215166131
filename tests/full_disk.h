// SPDX-License-Identifier: GPL-3.0-or-later
// A full disk for the tests of failed writes: a small tmpfs on a folder
// where the test may mount one, otherwise a limit that lets files grow to
// 100 bytes.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <sys/resource.h>

class FullDisk {
public:
    // Mounts the empty tmpfs on folder, where allowed.
    explicit FullDisk(const QString& folder)
        : folder_(folder),
          mounted_(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) == 0)
    {
        getrlimit(RLIMIT_FSIZE, &limit_);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &limit_);
        if (mounted_)
            QProcess::execute("umount", {folder_});
    }
    // From now on nothing more fits.
    void fill()
    {
        const rlimit full{mounted_ ? limit_.rlim_cur : 100, limit_.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &full);
        QFile filler(QDir(folder_).filePath("Füllung"));
        if (mounted_ && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write(QByteArray(4096, 'x')) > 0) {}
    }

private:
    QString folder_;
    bool mounted_;
    rlimit limit_{};
};
