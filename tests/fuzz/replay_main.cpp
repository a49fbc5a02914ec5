#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// Replays every file of the fuzzing corpus through the fuzz target, so the cases it found stay
// fixed. Prints the closing line CTest and CI read.
int main(int argc, char **argv)
{
    int passed = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
            ++passed;
        }
    }
    if (passed == 0) {
        std::fprintf(stderr, "no corpus files found\n");
        return 1;
    }
    std::printf("fuzz corpus replay: %d passed, 0 failed\n", passed);
    return 0;
}
