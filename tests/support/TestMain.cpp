#include "support/TestMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMap>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace zarvo::test {
namespace {

struct RegisteredTest {
    AppKind kind;
    TestRunner runner;
};

QMap<QString, RegisteredTest> &Registry()
{
    static QMap<QString, RegisteredTest> registry;
    return registry;
}

int Usage(const char *program)
{
    std::fprintf(stderr, "usage: %s TEST [QtTest options]\ntests:", program);
    for (const QString &name : Registry().keys())
        std::fprintf(stderr, " %s", qPrintable(name));
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

bool RegisterTest(const char *sourceFile, AppKind kind, TestRunner runner)
{
    const QString name = QFileInfo(QString::fromUtf8(sourceFile)).completeBaseName();
    // Two files of one name in one executable would hide one of them.
    if (Registry().contains(name)) {
        std::fprintf(stderr, "test %s is registered twice\n", qPrintable(name));
        std::abort();
    }
    Registry().insert(name, {kind, std::move(runner)});
    return true;
}

} // namespace zarvo::test

int main(int argc, char **argv)
{
    using namespace zarvo::test;
    if (argc < 2 || !Registry().contains(QString::fromUtf8(argv[1])))
        return Usage(argv[0]);
    const RegisteredTest &test = Registry().value(QString::fromUtf8(argv[1]));

    // The class sees the command line without the test's name, as under QTEST_MAIN.
    std::vector<char *> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    int count = int(args.size());
    args.push_back(nullptr);

    std::unique_ptr<QCoreApplication> app;
    if (test.kind == AppKind::Widgets) {
        app = std::make_unique<QApplication>(count, args.data());
        app->setAttribute(Qt::AA_Use96Dpi, true);
    } else {
        app = std::make_unique<QCoreApplication>(count, args.data());
    }
    return test.runner(count, args.data());
}
