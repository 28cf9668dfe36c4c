// Runs every registered test class on Qt's offscreen platform (CTest sets it), with the
// settings of the front end and of the engine kept in a temporary directory.
#include "test_registry.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot create a temporary directory\n");
        return 1;
    }
    // Set before the application exists: QSettings and the engine read these once.
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QApplication app(argc, argv);
    QApplication::setOrganizationName("orvell");
    QApplication::setApplicationName("orvell");

    // Test functions named on the command line run only in the classes that have them.
    QStringList wanted;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-') {
            wanted << QString::fromLocal8Bit(argv[i]).section(':', 0, 0);
        }
    }
    int failures = 0;
    for (const auto& [name, factory] : orv::test::TestClasses()) {
        std::unique_ptr<QObject> tests(factory());
        bool has = wanted.isEmpty();
        const QMetaObject* meta = tests->metaObject();
        for (int m = meta->methodOffset(); m < meta->methodCount() && !has; ++m) {
            has = wanted.contains(QString::fromLatin1(meta->method(m).name()));
        }
        if (has) {
            failures += QTest::qExec(tests.get(), argc, argv);
        }
    }
    return failures == 0 ? 0 : 1;
}
