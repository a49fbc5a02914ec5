#pragma once

#include <QtTest>

#include <functional>

// Several test files share one executable per test folder, which saves a link and a moc pass
// for each of them. Each file registers its test class under the file's name; CTest runs one
// class per process (`zarvo_tests_core test_txtfile [QtTest options]`), so a class still gets a
// process of its own, as it would with QTEST_MAIN.
namespace zarvo::test {

enum class AppKind { Core, Widgets };
using TestRunner = std::function<int(int argc, char **argv)>;

bool RegisterTest(const char *sourceFile, AppKind kind, TestRunner runner);

template<typename TestClass> int RunTest(int argc, char **argv)
{
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace zarvo::test

#define ZARVO_TEST_REGISTER_(TestClass, kind)                                                        \
    namespace {                                                                                     \
    const bool zarvoTestRegistered = ::zarvo::test::RegisterTest(                                   \
        __FILE__, kind, &::zarvo::test::RunTest<TestClass>);                                         \
    }

// In place of QTEST_MAIN: the class runs under a QApplication.
#define ZARVO_TEST_MAIN(TestClass) ZARVO_TEST_REGISTER_(TestClass, ::zarvo::test::AppKind::Widgets)
// In place of QTEST_GUILESS_MAIN: the class runs under a QCoreApplication.
#define ZARVO_TEST_GUILESS_MAIN(TestClass)                                                          \
    ZARVO_TEST_REGISTER_(TestClass, ::zarvo::test::AppKind::Core)
