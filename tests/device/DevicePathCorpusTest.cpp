#include "DevicePathCheck.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Every seed of the device path fuzz corpus goes through the fuzzer's own checks.
TEST(DevicePathCorpus, NothingOutsideTheFolderIsReached)
{
    const QDir corpus(QString(TIVARO_DEVICE_CORPUS));
    const QStringList seeds = corpus.entryList(QDir::Files);
    ASSERT_GE(seeds.size(), 10) << "corpus not found in " TIVARO_DEVICE_CORPUS;
    for (const QString& seed : seeds) {
        QFile f(corpus.filePath(seed));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray input = f.readAll();
        // The same paths through every operation.
        for (char op = 0; op < 9; ++op) {
            input[0] = op;
            const QString problem =
                checkDevicePath(reinterpret_cast<const uint8_t*>(input.constData()), size_t(input.size()));
            EXPECT_EQ(problem.toStdString(), "")
                << seed.toStdString() << " op " << int(op);
        }
    }
}

} // namespace
