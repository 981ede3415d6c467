#pragma once

#include "trend_test_support.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tq::test {

// A trend test whose flash images are described as JSON objects.
class AlarmFolderTest : public TrendStoreTest {
protected:
    QString buildImage(const QJsonObject &description) {
        return image(QString::fromUtf8(QJsonDocument(description).toJson()));
    }
};

} // namespace tq::test
