// Runs a fuzz target over every file of its regression folder, the way
// libFuzzer runs one input. A target that finds a fault traps, which kills
// this program and fails the test; the last name printed is the culprit.

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
// Defined only by the targets that need set-up.
extern "C" [[gnu::weak]] int LLVMFuzzerInitialize(int *argc, char ***argv);

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    const QDir dir(QString::fromUtf8(RENVIKA_FUZZ_REGRESSIONS));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    if (names.isEmpty()) {
        std::fprintf(stderr, "no regression inputs in %s\n", RENVIKA_FUZZ_REGRESSIONS);
        return 1;
    }
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qUtf8Printable(file.fileName()));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::printf("replaying %s (%lld bytes)\n", qUtf8Printable(name), static_cast<long long>(bytes.size()));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(names.size()));
    return 0;
}
