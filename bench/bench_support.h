#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

#include <memory>

namespace tq::bench {

// Builds the flash image `image` from the description file `description` with the image
// builder of tools/; true when it succeeded.
bool BuildImage(const QString &description, const QString &image);

// The path of a ready description in tools/fixtures/.
QString Fixture(const QString &name);

// Writes a description object to a file and gives its path.
QString WriteDescription(const QJsonObject &description, const QString &path);

// The largest resident size this process has had so far, in MB (for one benchmark, run it
// alone with --benchmark_filter).
double PeakMemoryMB();

// The resident size of this process now, in MB (growth between two readings shows memory
// kept, the peak only ever rises).
double ResidentMB();

// The peak resident size started again from the current size, and read back in MB: the
// memory a step takes at its highest.
void ResetPeakResident();
double PeakResidentMB();

// An image whose five block areas have every block written, each block a log of its own
// date, all of the instrument `serial`.
QJsonObject FullBlockAreas(const QString &serial);

// One fixture of type F for the whole benchmark run, made on first use and dropped before
// the application goes (its widgets must go first).
template <typename F> F &SharedFixture() {
    static std::unique_ptr<F> fixture;
    if (!fixture) {
        qAddPostRoutine([] { fixture.reset(); });
        fixture = std::make_unique<F>();
    }
    return *fixture;
}

} // namespace tq::bench
