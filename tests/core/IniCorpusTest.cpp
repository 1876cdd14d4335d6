#include "IniRoundTrip.h"
#include "TestFiles.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// Every seed of the INI fuzz corpus goes through the same checks as the fuzzer.
TEST(IniCorpus, EverySeedKeepsTheRules)
{
    const QDir corpus(QString(TIVARO_INI_CORPUS));
    const QStringList seeds = corpus.entryList(QDir::Files);
    ASSERT_GE(seeds.size(), 10) << "corpus not found in " TIVARO_INI_CORPUS;
    for (const QString& seed : seeds) {
        const QByteArray input = readFile(corpus.filePath(seed));
        // Every choice of section, key and value on the same file.
        for (int s = 0; s < 5; ++s) {
            for (int k = 0; k < 5; ++k) {
                for (int v = 0; v < 6; ++v) {
                    QByteArray variant = input;
                    variant.resize(std::max<qsizetype>(variant.size(), 3));
                    variant[0] = char(s);
                    variant[1] = char(k);
                    variant[2] = char(v);
                    EXPECT_EQ(checkIniRoundTrip(variant), QString())
                        << seed.toStdString() << " " << s << k << v;
                }
            }
        }
    }
}

} // namespace
