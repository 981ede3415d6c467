#include "test_support.h"

#include <QFile>
#include <QLocale>

#include <csignal>
#include <sys/resource.h>

namespace tq::test {

QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

FileSizeLimit::FileSizeLimit(long bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_previousUnlimited = limit.rlim_cur == RLIM_INFINITY;
    m_previous = static_cast<long>(limit.rlim_cur);
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN); // a short write, not a signal
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_previousUnlimited ? RLIM_INFINITY : static_cast<rlim_t>(m_previous);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_previousHandler);
}

bool japaneseLocale() {
    return QLocale::system().language() == QLocale::Japanese;
}

} // namespace tq::test
