#include "ui/common/latest_value_throttle.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <gtest/gtest.h>

namespace tq {
namespace {

using namespace std::chrono_literals;

// Runs the event loop for `ms` milliseconds.
void runEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Shown {
    QStringList texts;
    LatestValueThrottle::Show show() {
        return [this](const QString &text) { texts << text; };
    }
};

// A burst of changes shows its first text at once and nothing else within the interval,
// however long the burst; what is waiting can be shown early or forgotten.
TEST(LatestValueThrottle, ABurstShowsItsFirstTextAtOnceAndWaitsWithTheRest) {
    struct Case {
        const char *name;
        void (*end)(LatestValueThrottle &);
        QStringList expected;
    };
    const Case cases[] = {
        {"nothing", [](LatestValueThrottle &) {}, {"block 1"}},
        {"flush", [](LatestValueThrottle &t) { t.Flush(); }, {"block 1", "block 3"}},
        {"flush twice",
         [](LatestValueThrottle &t) {
             t.Flush();
             t.Flush();
         },
         {"block 1", "block 3"}},
        {"drop then flush",
         [](LatestValueThrottle &t) {
             t.Drop();
             t.Flush();
         },
         {"block 1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Shown shown;
        LatestValueThrottle throttle(1h, shown.show());
        for (const char *text : {"block 1", "block 2", "block 3"})
            throttle.Set(QString::fromLatin1(text));
        c.end(throttle);
        runEvents(20);
        EXPECT_EQ(shown.texts, c.expected);
    }
}

// The last text of a burst is shown by the timer once the interval has passed, once; a
// dropped text never is.
TEST(LatestValueThrottle, TheLatestTextIsShownWhenTheIntervalHasPassed) {
    Shown shown;
    LatestValueThrottle throttle(30ms, shown.show());
    throttle.Set(QStringLiteral("start"));
    throttle.Set(QStringLiteral("block 1"));
    throttle.Set(QStringLiteral("block 2"));
    runEvents(150);
    EXPECT_EQ(shown.texts, (QStringList{"start", "block 2"}));

    // After a quiet interval a change shows at once.
    throttle.Set(QStringLiteral("block 3"));
    EXPECT_EQ(shown.texts.last(), QStringLiteral("block 3"));

    throttle.Set(QStringLiteral("block 4"));
    throttle.Drop();
    runEvents(150);
    EXPECT_EQ(shown.texts, (QStringList{"start", "block 2", "block 3"}));
}

} // namespace
} // namespace tq
